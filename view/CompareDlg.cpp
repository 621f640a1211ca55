#include "view/CompareDlg.h"

#include "platform/Accessibility.h"
#include "platform/DialogTextFit.h"
#include "platform/DialogUnits.h"
#include "platform/FileChooser.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"
#include "view/ComparePrintout.h"

#include <wx/button.h>
#include <wx/dataview.h>
#include <wx/printdlg.h>
#include <wx/sizer.h>

namespace {

constexpr const char* kTextExtension = ".txt";

// The name column takes what the list's width leaves beside the code and the
// two value columns.
constexpr int kBesideName = 194;
constexpr int kLeastNameWidth = 80;
constexpr unsigned kNameColumn = 1;

wxString Utf8(const std::string& text)
{
    return wxString::FromUTF8(text);
}

} // namespace

// The rows of the compare list, read by the list control as it draws.
class CCompareListModel : public wxDataViewVirtualListModel {
public:
    explicit CCompareListModel(const CCompareList& compare) : m_compare(compare) {}

    void Reset() { wxDataViewVirtualListModel::Reset(static_cast<unsigned>(m_compare.m_Rows.size())); }

    unsigned GetColumnCount() const override { return 4; }
    wxString GetColumnType(unsigned) const override { return "string"; }
    void GetValueByRow(wxVariant& variant, unsigned row, unsigned column) const override
    {
        variant = Text(row, column);
    }
    bool SetValueByRow(const wxVariant&, unsigned, unsigned) override { return false; }

    wxString Text(unsigned row, unsigned column) const
    {
        if (row >= m_compare.m_Rows.size())
            return {};
        const CompareRow& line = m_compare.m_Rows[row];
        switch (column) {
        case 0:
            return Utf8(line.m_strCode);
        case 1:
            return Utf8(line.m_strName);
        case 2:
            return Utf8(line.m_strA);
        case 3:
            return Utf8(line.m_strB);
        default:
            return {};
        }
    }

private:
    const CCompareList& m_compare;
};

CCompareDlg::CCompareDlg(wxWindow* parent, int mode, std::vector<GroupRec>& store)
    : wxDialog(parent, IDD, "Compare", wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)
    , m_nMode(mode)
    , m_store(store)
{
    SetClientSize(DlgSize(this, 331, 231));
    m_pList = new wxDataViewCtrl(this, IDC_LIST, DlgPoint(this, 7, 7), DlgSize(this, 317, 195),
                                 wxDV_SINGLE | wxDV_HORIZ_RULES | wxDV_VERT_RULES);
    m_pModel = new CCompareListModel(m_compare);
    m_pList->AssociateModel(m_pModel);
    m_pModel->DecRef(); // the list holds it
    auto* save = new wxButton(this, IDC_SAVE, "Save", DlgPoint(this, 120, 210), DlgSize(this, 50, 14));
    auto* print = new wxButton(this, IDC_PRINT, "Print", DlgPoint(this, 190, 210), DlgSize(this, 50, 14));
    auto* close = new wxButton(this, wxID_CANCEL, "Close", DlgPoint(this, 260, 210), DlgSize(this, 50, 14));

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    for (wxButton* button : {save, print, close})
        buttons->Add(button, 0, wxLEFT, DlgSize(this, 10, 0).x);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pList, 1, wxEXPAND | wxALL, DlgSize(this, 7, 0).x);
    sizer->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, DlgSize(this, 7, 0).x);
    SetSizer(sizer);
    Layout();

    // The list has its width only once the window is laid out on the screen
    // (the dialog fit may widen it as it is shown), and the user may resize it.
    m_pList->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        FitNameColumn();
    });
    Bind(wxEVT_BUTTON, &CCompareDlg::OnSaveButton, this, IDC_SAVE);
    Bind(wxEVT_BUTTON, &CCompareDlg::OnPrintButton, this, IDC_PRINT);
}

void CCompareDlg::Rebuild(const CD390DocData& doc)
{
    m_pList->ClearColumns();
    // No label stands before the list: a reader is told what it compares,
    // in the words of its two value columns.
    SetAccessibleName(m_pList, Utf8(LoadResString(CCompareList::HeadingAId(m_nMode)) + " with "
                                    + LoadResString(CCompareList::HeadingBId(m_nMode))));
    const struct {
        unsigned textId;
        int width;
    } columns[4] = {{IDS_CODE, 50},
                    {IDS_PARAMETER_NAME, NameColumnWidth()},
                    {CCompareList::HeadingAId(m_nMode), 70},
                    {CCompareList::HeadingBId(m_nMode), 85}};
    for (unsigned column = 0; column < 4; ++column)
        m_pList->AppendTextColumn(Utf8(LoadResString(columns[column].textId)), column, wxDATAVIEW_CELL_INERT,
                                  columns[column].width, wxALIGN_LEFT, wxDATAVIEW_COL_RESIZABLE);
    // Each heading as wide as its label needs in the header's own font.
    CDialogTextFit::FitHeadings(m_pList);
    FillDiffList(doc);
}

int CCompareDlg::NameColumnWidth() const
{
    return std::max(m_pList->GetSize().x - kBesideName, kLeastNameWidth);
}

void CCompareDlg::FitNameColumn()
{
    if (m_pList->GetColumnCount() <= kNameColumn)
        return;
    wxDataViewColumn* name = m_pList->GetColumn(kNameColumn);
    if (name->GetWidth() != NameColumnWidth())
        name->SetWidth(NameColumnWidth());
}

void CCompareDlg::FillDiffList(const CD390DocData& doc)
{
    m_compare.FillDiffList(doc, m_nMode, m_store, &m_drive);
    m_pModel->Reset();
}

wxString CCompareDlg::GetItemText(int row, int column) const
{
    return row < 0 || column < 0 ? wxString() : m_pModel->Text(static_cast<unsigned>(row), static_cast<unsigned>(column));
}

void CCompareDlg::OnSave()
{
    FileChoice choice;
    choice.save = true;
    choice.filter = FormatResString(IDS_TEXT_FILTER, "*.txt", "*.txt");
    choice.title = LoadResString(IDS_SAVE_COMPARE_TITLE);
    // The text's "||" ends its filter list; what follows is no filter.
    if (std::size_t end = choice.filter.find("||"); end != std::string::npos)
        choice.filter.resize(end);
    std::string path = LoadResString(IDS_COMPARE_FILE_NAME);
    if (!ChooseFile(nullptr, choice, path))
        return;
    // A name typed without extension gets the filter's.
    const std::size_t name = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
    if (path.find('.', name) == std::string::npos)
        path += kTextExtension;
    CCompareList::SaveText(path, m_store, m_compare.m_nMode);
}

void CCompareDlg::OnPrint()
{
    if (CCompareList::PageCountOf(m_store) == 0)
        return; // nothing to draw
    wxPrintDialogData data;
    wxPrinter printer(&data);
    CComparePrintout printout(m_compare, m_store);
    printer.Print(this, &printout, true);
}
