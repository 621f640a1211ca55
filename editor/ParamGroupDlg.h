#pragma once
// The parameter editor for one group (dialog 133): the group's pages in a
// notebook (1004), "Transmit Group" (1045), "Small Keyboard" (1044), OK and
// Cancel. The window-free CGroupEditor decides; this window shows its pages
// and forwards the buttons. A group whose page tables do not exist yet opens
// as the plain list of its set values: OK stores them; no row buttons, no
// Transmit Group.
//
// Run it with RunModalToMainFrame (OpenParamGroupEditor does).

#include "editor/EditorContext.h"
#include "editor/GroupEditor.h"

#include <wx/dialog.h>
#include <wx/recguard.h>

#include <functional>
#include <memory>
#include <vector>

class CGroupPagePanel;
class CSmallKeyboardDlg;
class wxNotebook;
class wxTextCtrl;

// What the caller hands the editor: the connection, the project, the station
// chooser, the view's refresh and its keyboard
// members (m_pCurEdit, m_dwEditSel, m_pKeypad).
struct EditorLinks {
    CDriveSession* drive = nullptr;
    CD390DocData* doc = nullptr;
    std::function<int()> chooseStation;       // the station, or -1
    std::function<void(int group)> groupStored; // the view shows the group's set values
    std::function<void()> flagsChanged;       // the list repaints its change marks
    wxTextCtrl** curEdit = nullptr;
    long* editSel = nullptr;
    wxWindow** keypad = nullptr;
};

class CParamGroupDlg : public wxDialog, public IEditorHost {
public:
    enum { IDD = 133, IDC_TAB = 1004, IDC_TRANSMIT = 1045, IDC_KEYBOARD = 1044 };

    CParamGroupDlg(wxWindow* parent, EditorLinks links);
    ~CParamGroupDlg() override;

    // Builds the tabs and pages of m_nGroup (or the plain list).
    void BuildEditor();

    int m_nGroup = -1; // the group shown, 0 to 14
    int m_nItem = -1;  // position among the group's listed parameters to mark; -1 none

    // The plain list of a group without page tables, in list order.
    std::vector<wxTextCtrl*> m_Fields;

    CGroupEditor* Editor() { return m_pEditor.get(); }
    wxNotebook* Notebook() { return m_pTab; }
    CGroupPagePanel* PagePanel(int page) { return m_Panels[static_cast<std::size_t>(page)]; }
    CSmallKeyboardDlg* Keyboard() { return m_pKeyboard; }
    // Where the way out (wxID_OK or wxID_CANCEL) is left, as the window is
    // destroyed when it closes.
    int* m_pResult = nullptr;

    // From the pages.
    void OnRowButton(int page, int row);
    // The edit the small keyboard types into from now on; nullptr: none.
    void EditFocused(wxTextCtrl* edit);

    // IEditorHost
    int ChooseStation() override;
    bool TakeControls(int page) override;
    void ShowControls(int page) override;
    void FocusRow(int page, int row) override;
    void SelectTab(int tab) override;
    void GroupStored(int group) override;
    void FlagsChanged() override;
    bool IsClosed() const override { return m_bEnded; }

private:
    void BuildPages(const GroupTable& table);
    void BuildFields();
    void OnOK(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnTransmitGroup(wxCommandEvent& event);
    void OnSmallKeyboard(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    bool IsInPage(wxWindow* window) const;
    void CloseKeyboard();
    // The focus to the row the editor was opened on, once, as it is shown.
    void FocusMarkedRow();
    void EndEditor(int code);

    EditorLinks m_links;
    std::unique_ptr<EditorContext> m_pContext;
    std::unique_ptr<CGroupEditor> m_pEditor;
    wxNotebook* m_pTab = nullptr;
    std::vector<CGroupPagePanel*> m_Panels;
    CSmallKeyboardDlg* m_pKeyboard = nullptr;
    std::vector<int> m_Records; // the plain list: record index of each field
    bool m_bMarkedRowFocused = false;
    // A row write or Transmit Group runs (its questions and waits included):
    // the editor neither closes nor starts another meanwhile.
    wxRecursionGuardFlag m_commandRunning = 0;
    bool m_bEnded = false; // OK or Cancel has closed it
};

// Opens the editor on a group (nItem -1 from a menu) modal to the main frame;
// wxID_OK when OK stored the group, which also marks the project modified.
int OpenParamGroupEditor(wxWindow* parent, const EditorLinks& links, int group, int nItem);
