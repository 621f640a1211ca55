#include "editor/GroupPagePanel.h"

#include "editor/GroupEditor.h"
#include "editor/GroupPageModel.h"
#include "editor/ParamGroupDlg.h"
#include "editor/ParamLabel.h"
#include "platform/Accessibility.h"
#include "platform/Accessible.h"
#include "platform/DialogUnits.h"
#include "platform/ResourceBitmap.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/bmpbuttn.h>
#include <wx/choice.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

namespace {

constexpr int kRowButtonFirst = 1005;
constexpr int kLabelFirst = 1015;

wxBitmap RowButtonBitmap()
{
    return LoadResourceBitmap(152);
}

bool IsEdit(const PageRow& row)
{
    return row.kind == RowKind::Decimal || row.kind == RowKind::Integer || row.kind == RowKind::Unsigned ||
           row.kind == RowKind::Text;
}

wxArrayString OptionTexts(const PageRow& row, int count = -1)
{
    wxArrayString texts;
    if (count < 0)
        count = row.optionCount;
    for (int k = 0; k < count; ++k)
        texts.Add(wxString::FromUTF8(LoadResString(row.optionFirst + static_cast<unsigned>(k))));
    return texts;
}

// A text of a row that describes its input (the range) or explains its
// choice. wx would make it the label of the next control that takes the
// focus, the next row's button, for screen readers; it labels nothing.
class CRowText : public wxStaticText {
public:
    CRowText(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size)
        : wxStaticText(parent, id, wxString(), pos, size)
    {
    }

protected:
    bool GTKWidgetNeedsMnemonic() const override { return false; }
};

} // namespace

CGroupPagePanel::CGroupPagePanel(wxWindow* parent, CGroupPageModel& model, CParamGroupDlg& editor,
                                 const std::vector<std::string>& labels)
    : wxPanel(parent, model.Table().templateId), m_model(model), m_editor(editor), m_timer(this)
{
    const int page = model.Page();
    const int width = model.Table().widthDu;
    for (int r = 0; r < model.RowCount(); ++r) {
        const PageRow& row = model.Row(r);
        const int y = 8 + 20 * r;
        char name[16];
        std::snprintf(name, sizeof name, "Write %02d-%02d", model.Table().group, row.item);
        auto* button = new wxBitmapButton(this, kRowButtonFirst + r, RowButtonBitmap(), DlgPoint(this, 6, y - 2),
                                          DlgSize(this, 16, 14));
        button->SetName(name);
        button->SetToolTip(name);
        button->Bind(wxEVT_BUTTON, [this, page, r](wxCommandEvent&) { m_editor.OnRowButton(page, r); });
        m_buttons.push_back(button);

        const wxString labelText = wxString::FromUTF8(labels[static_cast<std::size_t>(r)]);
        m_labels.push_back(new CParamLabel(this, kLabelFirst + r, labelText, DlgPoint(this, 26, y), DlgSize(this, 150, 10)));

        wxWindow* control = nullptr;
        std::vector<wxWindow*> packed;
        if (IsEdit(row)) {
            long style = wxTE_PROCESS_ENTER | (row.masked ? wxTE_PASSWORD : 0);
            auto* edit = new wxTextCtrl(this, row.controlId, wxString(), DlgPoint(this, 180, y - 2),
                                        DlgSize(this, 60, 12), style);
            edit->Bind(wxEVT_TEXT, [this, r](wxCommandEvent&) { OnEditText(r); });
            edit->Bind(wxEVT_TEXT_ENTER, [](wxCommandEvent&) {}); // Enter neither stores nor closes
            edit->Bind(wxEVT_SET_FOCUS, [this, edit](wxFocusEvent& event) {
                // Pages without the keyboard hook-up are no target of the
                // small keyboard: it types nowhere while one of their edits
                // has the focus.
                m_editor.EditFocused(m_model.Table().keyboardHook ? edit : nullptr);
                event.Skip();
            });
            control = edit;
        } else if (row.kind == RowKind::Option) {
            auto* list = new wxChoice(this, row.controlId, DlgPoint(this, 180, y - 2),
                                      DlgSize(this, std::max(60, width - 186), 12), OptionTexts(row));
            list->Bind(wxEVT_CHOICE, [this, r, list](wxCommandEvent&) {
                m_model.Select(r, list->GetSelection(), m_editor.Editor()->Context());
                if (m_model.Table().onSelect)
                    ShowControls();
                else
                    ShowExplanation(r);
            });
            control = list;
        } else {
            for (std::size_t d = 0; d < row.packedIds.size(); ++d) {
                const int count = model.DigitOptionCount(r, static_cast<int>(d));
                if (count == 0) {
                    packed.push_back(nullptr); // a digit without a list
                    continue;
                }
                auto* list = new wxChoice(this, row.packedIds[d], DlgPoint(this, 180 + 32 * static_cast<int>(d), y - 2),
                                          DlgSize(this, 30, 12), OptionTexts(row, count));
                list->Bind(wxEVT_CHOICE, [this, r, d, list](wxCommandEvent&) {
                    m_model.SelectDigit(r, static_cast<int>(d), list->GetSelection());
                    ShowExplanation(r);
                });
                list->SetName(DigitName(row, labelText, d));
                if (count == 1) {
                    list->Disable(); // one option offers no choice
                    list->Hide();
                }
                packed.push_back(list);
            }
            for (wxWindow* list : packed)
                if (list && list->IsShown()) {
                    control = list;
                    break;
                }
        }
        if (control && row.kind != RowKind::Packed)
            control->SetName(labelText); // the accessible name of the input is its row label
        m_controls.push_back(control);
        m_packed.push_back(packed);
        wxStaticText* range = nullptr;
        if (row.rangeText || row.rangeTextId != 65535)
            range = new CRowText(this, row.rangeTextId == 65535 ? wxID_ANY : row.rangeTextId, DlgPoint(this, 246, y),
                                 DlgSize(this, 80, 10));
        m_ranges.push_back(range);
        m_explanations.push_back(row.explain || row.explainDigit
                                     ? new CRowText(this, row.explainId == 65535 ? wxID_ANY : row.explainId,
                                                    DlgPoint(this, 26, y + 10), DlgSize(this, width - 32, 9))
                                     : nullptr);
    }
    m_descriptions.assign(m_controls.size(), wxString());
    ShowControls();
    FitColumns();
    NameForReaders();
    PaintLabels();
    if (model.Table().timerMs > 0) {
        Bind(wxEVT_TIMER, &CGroupPagePanel::OnTimer, this);
        m_timer.Start(model.Table().timerMs);
    }
}

wxString CGroupPagePanel::DigitName(const PageRow& row, const wxString& label, std::size_t digit)
{
    if (digit < row.digitNames.size())
        return wxString::Format(wxString::FromUTF8(LoadResString(IDS_PACKED_TERMINAL_NAME)), label,
                                wxString::FromUTF8(row.digitNames[digit]));
    return wxString::Format(wxString::FromUTF8(LoadResString(IDS_PACKED_DIGIT_NAME)), label, static_cast<int>(digit) + 1);
}

void CGroupPagePanel::FitColumns()
{
    // The template's columns in dialog units, widened where a row label or
    // an option text in the toolkit's font needs more: nothing is cut with
    // "..." that the editor can show whole.
    //
    // The row buttons: the template's 16 x 14 units hold the picture but not
    // GTK's button frame around it. A button grows about its centre, so it
    // stays level with its row, and the labels keep clear of it.
    const int gap = DlgSize(this, 4, 0).x;
    int labelX = DlgPoint(this, 26, 0).x;
    for (wxWindow* button : m_buttons) {
        const wxRect rect = button->GetRect();
        wxSize size = rect.GetSize();
        size.IncTo(button->GetBestSize());
        const int x = std::max(0, rect.x - (size.x - rect.width) / 2);
        const int y = std::max(0, rect.y - (size.y - rect.height) / 2);
        button->SetSize(x, y, size.x, size.y);
        labelX = std::max(labelX, x + size.x + gap / 2);
    }
    // The labels: as wide as the longest needs in the toolkit's font (its
    // best size, the label's own padding included, and never less than its
    // text with a gap), and as high as one needs.
    int labelWidth = DlgSize(this, 150, 0).x;
    for (CParamLabel* label : m_labels)
        labelWidth = std::max({labelWidth, label->GetBestSize().x, label->GetTextExtent(label->GetLabel()).x + gap});
    const int controlX = labelX + labelWidth + gap;
    const int shift = controlX - DlgPoint(this, 180, 0).x;
    const int rightEdge = DlgSize(this, m_model.Table().widthDu - 6, 0).x;
    m_nNeededWidth = 0;
    auto reach = [this](wxWindow* window) {
        m_nNeededWidth = std::max(m_nNeededWidth, window->GetPosition().x + window->GetSize().x);
    };
    for (int r = 0; r < m_model.RowCount(); ++r) {
        CParamLabel* label = m_labels[static_cast<std::size_t>(r)];
        label->SetSize(labelX, label->GetPosition().y, labelWidth,
                       std::max(label->GetSize().y, label->GetBestSize().y));
        std::vector<wxWindow*> moved = m_packed[static_cast<std::size_t>(r)];
        if (m_model.Row(r).kind != RowKind::Packed)
            moved = {Control(r)};
        moved.push_back(m_ranges[static_cast<std::size_t>(r)]);
        for (wxWindow* window : moved)
            if (window)
                window->Move(window->GetPosition().x + shift, window->GetPosition().y);
        if (auto* list = dynamic_cast<wxChoice*>(Control(r)); list && m_model.Row(r).kind == RowKind::Option) {
            const int fits = std::max(rightEdge - list->GetPosition().x, list->GetBestSize().x);
            list->SetSize(wxSize(fits, list->GetSize().y));
        }
        // The lists: as tall as the toolkit draws an entry in its frame (the
        // template's 12 units cut the letters' descenders). They grow about
        // their middle to stay level with their row, but keep clear of an
        // explanation under their row (growing up) or under the row above
        // (growing down).
        wxStaticText* below = m_explanations[static_cast<std::size_t>(r)];
        wxStaticText* above = r > 0 ? m_explanations[static_cast<std::size_t>(r - 1)] : nullptr;
        for (wxWindow* window : moved)
            if (auto* list = dynamic_cast<wxChoice*>(window)) {
                const wxRect rect = list->GetRect();
                const int height = std::max(rect.height, list->GetBestSize().y);
                int y = rect.y - (height - rect.height) / 2;
                if (below)
                    y = std::min(rect.GetBottom() + 1, below->GetPosition().y) - height;
                else if (above)
                    y = std::max(rect.y, above->GetPosition().y + above->GetBestSize().y);
                list->SetSize(rect.x, std::max(0, y), rect.width, height);
            }
        for (wxWindow* window : moved)
            if (window)
                reach(window);
        reach(label);
        if (wxStaticText* text = m_explanations[static_cast<std::size_t>(r)]) {
            // As high as its line: the template's box reaches into the next
            // row.
            text->SetSize(labelX, text->GetPosition().y, text->GetSize().x, text->GetBestSize().y);
            reach(text);
        }
    }
}

void CGroupPagePanel::NameForReaders()
{
    // Each row's texts name and describe that row's own controls, whatever
    // the toolkit would guess from the order of the controls.
    for (int r = 0; r < m_model.RowCount(); ++r) {
        CParamLabel* label = m_labels[static_cast<std::size_t>(r)];
        wxWindow* button = m_buttons[static_cast<std::size_t>(r)];
        SetAccessibleName(button, button->GetName());
        SetAccessibleRelation(button, AccessibleRelation::LabelledBy, {label});
        std::vector<wxWindow*> inputs = m_packed[static_cast<std::size_t>(r)];
        if (m_model.Row(r).kind != RowKind::Packed)
            inputs = {Control(r)};
        std::vector<wxWindow*> labelled = {button};
        for (wxWindow* input : inputs) {
            if (!input)
                continue;
            SetAccessibleName(input, input->GetName());
            SetAccessibleRelation(input, AccessibleRelation::LabelledBy, {label});
            labelled.push_back(input);
            if (wxStaticText* range = m_ranges[static_cast<std::size_t>(r)]) {
                SetAccessibleRelation(input, AccessibleRelation::DescribedBy, {range});
                SetAccessibleRelation(range, AccessibleRelation::DescriptionFor, {input});
            }
        }
        SetAccessibleRelation(label, AccessibleRelation::LabelFor, labelled);
    }
}

void CGroupPagePanel::DescribeRow(int row)
{
    wxWindow* input = Control(row);
    wxStaticText* range = m_ranges[static_cast<std::size_t>(row)];
    if (!input || !range)
        return;
    wxString& described = m_descriptions[static_cast<std::size_t>(row)];
    if (described == range->GetLabel())
        return;
    described = range->GetLabel();
    SetAccessibleDescription(input, described);
}

CGroupPagePanel::~CGroupPagePanel()
{
    m_timer.Stop();
}

wxTextCtrl* CGroupPagePanel::Edit(int row) const
{
    return dynamic_cast<wxTextCtrl*>(Control(row));
}

bool CGroupPagePanel::TakeControls()
{
    for (int r = 0; r < m_model.RowCount(); ++r) {
        RowState& state = m_model.m_rows[static_cast<std::size_t>(r)];
        if (wxTextCtrl* edit = Edit(r))
            state.text = edit->GetValue().utf8_string();
        else if (auto* list = dynamic_cast<wxChoice*>(Control(r)); list && m_model.Row(r).kind == RowKind::Option)
            state.selection = list->GetSelection();
    }
    CGroupEditor* editor = m_editor.Editor();
    return !editor || m_model.ExchangeWholeNumbers(editor->Context());
}

void CGroupPagePanel::ShowControls()
{
    m_bExchanging = true;
    wxWindow* focused = FindFocus();
    for (int r = 0; r < m_model.RowCount(); ++r) {
        const RowState& state = m_model.m_rows[static_cast<std::size_t>(r)];
        if (wxTextCtrl* edit = Edit(r)) {
            // A timer tick never rewrites the edit being typed in.
            if (edit != focused || !m_timer.IsRunning())
                if (edit->GetValue().utf8_string() != state.text)
                    edit->ChangeValue(wxString::FromUTF8(state.text));
        } else if (m_model.Row(r).kind == RowKind::Option) {
            static_cast<wxChoice*>(Control(r))->SetSelection(state.selection);
        } else {
            const auto& lists = m_packed[static_cast<std::size_t>(r)];
            for (std::size_t d = 0; d < lists.size() && d < state.digits.size(); ++d)
                if (lists[d])
                    static_cast<wxChoice*>(lists[d])->SetSelection(state.digits[d]);
        }
        if (m_model.Row(r).kind == RowKind::Packed) {
            for (wxWindow* list : m_packed[static_cast<std::size_t>(r)])
                if (list && list->IsShown())
                    list->Enable(state.enabled);
        } else if (Control(r)) {
            Control(r)->Enable(state.enabled);
        }
        if (wxStaticText* range = m_ranges[static_cast<std::size_t>(r)]) {
            const wxString text = wxString::FromUTF8(state.rangeText);
            if (range->GetLabel() != text)
                range->SetLabel(text);
            DescribeRow(r);
        }
        ShowExplanation(r);
    }
    m_bExchanging = false;
}

void CGroupPagePanel::FocusRow(int row)
{
    if (row < 0 || row >= m_model.RowCount() || !Control(row))
        return;
    Control(row)->SetFocus();
    if (wxTextCtrl* edit = Edit(row)) {
        edit->SelectAll();
        edit->ShowPosition(0);
    }
}

void CGroupPagePanel::PaintLabels()
{
    for (int r = 0; r < static_cast<int>(m_labels.size()); ++r)
        m_labels[static_cast<std::size_t>(r)]->PaintMarked(r == m_model.m_nMarked ? 1 : 0);
}

void CGroupPagePanel::ShowExplanation(int row)
{
    wxStaticText* text = m_explanations[static_cast<std::size_t>(row)];
    if (!text)
        return;
    const RowState& state = m_model.m_rows[static_cast<std::size_t>(row)];
    const PageRow& table = m_model.Row(row);
    if (table.explainDigit) {
        text->SetLabel(wxString::FromUTF8(state.explanation));
        return;
    }
    const int shown = table.kind == RowKind::Packed ? state.lastDigit : state.selection;
    text->SetLabel(wxString::FromUTF8(table.explain(shown)));
}

void CGroupPagePanel::OnEditText(int row)
{
    if (m_bExchanging)
        return;
    wxTextCtrl* edit = Edit(row);
    RowState& state = m_model.m_rows[static_cast<std::size_t>(row)];
    const std::string typed = edit->GetValue().utf8_string();
    const std::string kept = m_model.Filter(row, state.text, typed);
    state.text = kept;
    if (kept != typed) {
        m_bExchanging = true;
        const long caret = edit->GetInsertionPoint();
        edit->ChangeValue(wxString::FromUTF8(kept));
        edit->SetInsertionPoint(std::min<long>(caret, edit->GetLastPosition()));
        m_bExchanging = false;
    }
}

void CGroupPagePanel::OnTimer(wxTimerEvent&)
{
    if (m_model.Table().onTimer) {
        m_model.Table().onTimer(m_model, m_editor.Editor()->Context());
        ShowControls();
    }
}
