#pragma once
// "Compare": the modeless window that lists the differences of the last
// comparison, saves them as text and prints them. Close only hides it; the
// next Compare rebuilds it for its mode.

#include "view/CompareList.h"

#include <wx/dialog.h>

class CD390DocData;
class CCompareListModel;
class wxDataViewCtrl;

class CCompareDlg : public wxDialog {
public:
    enum { IDD = 193, IDC_LIST = 1090, IDC_SAVE = 1096, IDC_PRINT = 1097 };

    // store: where the drive's groups that Compare read are kept (the
    // session's), for Save and Print.
    CCompareDlg(wxWindow* parent, int mode, std::vector<GroupRec>& store);

    // Columns for m_nMode, then the rows of doc (FillDiffList).
    void Rebuild(const CD390DocData& doc);
    void FillDiffList(const CD390DocData& doc);

    // The model and version of the drive the read modes read.
    GateContext m_drive;

    // Save and Print of the buttons.
    void OnSave();
    void OnPrint();

    const CCompareList& GetCompareList() const { return m_compare; }
    wxDataViewCtrl* GetList() const { return m_pList; }
    // The texts of a list row as shown.
    wxString GetItemText(int row, int column) const;

    int m_nMode;

private:
    // The name column is the list's width less the other three columns'.
    int NameColumnWidth() const;
    void FitNameColumn();

    std::vector<GroupRec>& m_store;
    void OnSaveButton(wxCommandEvent&) { OnSave(); }
    void OnPrintButton(wxCommandEvent&) { OnPrint(); }

    CCompareList m_compare;
    wxDataViewCtrl* m_pList = nullptr;
    CCompareListModel* m_pModel = nullptr;
};
