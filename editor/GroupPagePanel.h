#pragma once
// One page of the editor as a window, built from its table in dialog units:
// per row a write button (1005 + r, picture 152), a CParamLabel (1015 + r),
// its list (1025 on) or edit (1034 on) and its range text. The panel keeps
// the page model and the controls in step; the model decides.

#include <wx/panel.h>
#include <wx/timer.h>

#include <vector>

class CGroupPageModel;
struct PageRow;
class CParamGroupDlg;
class CParamLabel;
class wxStaticText;
class wxTextCtrl;

class CGroupPagePanel : public wxPanel {
public:
    CGroupPagePanel(wxWindow* parent, CGroupPageModel& model, CParamGroupDlg& editor, const std::vector<std::string>& labels);
    ~CGroupPagePanel() override;

    // The data exchange: controls into the model, the model into the controls.
    bool TakeControls();
    void ShowControls();
    void FocusRow(int row);
    // Draws the labels, the model's marked row red.
    void PaintLabels();

    CGroupPageModel& Model() { return m_model; }
    wxTextCtrl* Edit(int row) const;
    wxWindow* Control(int row) const { return m_controls[static_cast<std::size_t>(row)]; }
    CParamLabel* Label(int row) const { return m_labels[static_cast<std::size_t>(row)]; }
    wxWindow* RowButton(int row) const { return m_buttons[static_cast<std::size_t>(row)]; }
    // The lists of a packed row, most significant digit first (nullptr: a
    // digit without a list).
    const std::vector<wxWindow*>& DigitLists(int row) const { return m_packed[static_cast<std::size_t>(row)]; }
    // How far right the page's rows reach, every row label and option whole.
    int NeededWidth() const { return m_nNeededWidth; }

private:
    static wxString DigitName(const PageRow& row, const wxString& label, std::size_t digit);
    void FitColumns();
    void NameForReaders();
    // The input's accessible description: its range text, as shown now.
    void DescribeRow(int row);
    void OnEditText(int row);
    void ShowExplanation(int row);
    void OnTimer(wxTimerEvent& event);

    CGroupPageModel& m_model;
    CParamGroupDlg& m_editor;
    std::vector<wxWindow*> m_buttons;
    std::vector<wxWindow*> m_controls;          // per row: the edit, the list, or the first packed list
    std::vector<std::vector<wxWindow*>> m_packed; // per row: the lists of a packed row
    std::vector<CParamLabel*> m_labels;
    std::vector<wxStaticText*> m_ranges;
    std::vector<wxStaticText*> m_explanations;
    std::vector<wxString> m_descriptions; // per row, the description given
    int m_nNeededWidth = 0;
    bool m_bExchanging = false;
    wxTimer m_timer;
};
