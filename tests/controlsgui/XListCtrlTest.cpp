// The extended list on the native data view: rows and columns by index,
// bounds, selection, alignment, and its check-box, progress and drop-down
// columns on the data view's own renderers.

#include "controls/XListCtrl.h"
#include "tests/controlsgui/ControlsGuiSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/settings.h>

#include <vector>

namespace {

class XListCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "list", wxPoint(40, 40), wxSize(600, 400));
        m_list = new CXListCtrl(m_frame, 1, 5);
        m_list->SetColumn(0, "", 40);
        m_list->SetColumn(1, "Name", 200);
        m_list->SetColumn(2, "On", 50, XListColumnKind::Check);
        m_list->SetColumn(3, "Done", 100, XListColumnKind::Progress);
        wxArrayString options;
        options.Add("Low");
        options.Add("High");
        m_list->SetColumn(4, "Level", 100, XListColumnKind::Combo, options);
        for (int row = 0; row < 3; ++row) {
            ASSERT_EQ(m_list->InsertItem(row, wxString::Format("%d", row)), row);
            m_list->SetItemText(row, 1, wxString::Format("row %d", row));
        }
        m_frame->Bind(WM_XLISTCTRL_CHECKBOX_CLICKED, [this](wxCommandEvent& event) {
            m_checks.push_back({event.GetInt(), static_cast<int>(event.GetExtraLong())});
        });
        m_frame->Bind(WM_XLISTCTRL_COMBO_SELECTION, [this](wxCommandEvent& event) {
            m_combos.push_back({event.GetInt(), static_cast<int>(event.GetExtraLong())});
        });
        m_frame->Show();
        Pump(200);
    }

    void TearDown() override
    {
        m_frame->Destroy();
        Pump(50);
    }

    wxFrame* m_frame = nullptr;
    CXListCtrl* m_list = nullptr;
    std::vector<std::pair<int, int>> m_checks;
    std::vector<std::pair<int, int>> m_combos;
};

TEST_F(XListCtrlTest, RowsAndColumnsOutOfRangeChangeNothing)
{
    struct Case {
        int row;
        int column;
        const char* why;
    };
    const Case cases[] = {
        {-1, 1, "a negative row"}, {3, 1, "the row after the last"}, {0, -1, "a negative column"},
        {0, 5, "the column after the last"}, {100, 100, "both far outside"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(m_list->SetItemText(c.row, c.column, "changed")) << c.why;
        wxRect rect(1, 2, 3, 4);
        EXPECT_FALSE(m_list->GetSubItemRect(c.row, c.column, rect)) << c.why;
        EXPECT_EQ(rect, wxRect(1, 2, 3, 4)) << c.why;
    }
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(m_list->GetItemText(row, 1), wxString::Format("row %d", row));
    EXPECT_EQ(m_list->GetItemCount(), 3);
    EXPECT_EQ(m_list->InsertItem(-1, "x"), -1);
    EXPECT_EQ(m_list->InsertItem(5, "x"), -1);
    EXPECT_EQ(m_list->GetItemCount(), 3);

    EXPECT_TRUE(m_list->SetItemText(1, 1, "changed"));
    EXPECT_EQ(m_list->GetItemText(1, 1), "changed");
    wxRect cell;
    EXPECT_TRUE(m_list->GetSubItemRect(1, 1, cell));
    EXPECT_GT(cell.width, 0);
}

TEST_F(XListCtrlTest, SelectionAlignmentAndColumns)
{
    EXPECT_EQ(m_list->GetColumns(), 5);
    m_list->UnselectAll();
    EXPECT_EQ(m_list->GetCurSel(), -1);
    m_list->SelectItem(2);
    EXPECT_EQ(m_list->GetCurSel(), 2);
    m_list->SelectItem(7);
    EXPECT_EQ(m_list->GetCurSel(), 2) << "a row outside the list selects nothing";

    m_list->SetTextAlignment(LVCFMT_RIGHT);
    EXPECT_EQ(m_list->GetColumn(0)->GetAlignment(), wxALIGN_RIGHT);
    m_list->SetTextAlignment(3);
    EXPECT_EQ(m_list->GetTextAlignment(), LVCFMT_RIGHT) << "3 leaves the alignment as it was";
    m_list->SetTextAlignment(LVCFMT_CENTER);
    EXPECT_EQ(m_list->GetColumn(0)->GetAlignment(), wxALIGN_CENTER_HORIZONTAL);

    for (unsigned column = 0; column < 5; ++column)
        EXPECT_FALSE(m_list->GetColumn(column)->IsResizeable());
}

TEST_F(XListCtrlTest, CheckProgressAndDropDownCells)
{
    CXListModel& model = *m_list->GetListModel();
    EXPECT_EQ(model.GetColumnType(2), "bool");
    EXPECT_EQ(model.GetColumnType(3), "long");

    EXPECT_FALSE(model.IsEnabled(m_list->ItemOfRow(0), 2)) << "no check box until one is set";
    EXPECT_TRUE(m_list->SetCheckbox(0, 2, 0));
    EXPECT_FALSE(m_list->SetCheckbox(0, 1, 0)) << "a text column has no check box";
    EXPECT_TRUE(model.IsEnabled(m_list->ItemOfRow(0), 2));
    // The renderer toggles through the model, as a click does.
    EXPECT_TRUE(model.ChangeValue(wxVariant(true), m_list->ItemOfRow(0), 2));
    EXPECT_EQ(m_list->GetCheckbox(0, 2), 1);
    EXPECT_EQ(m_checks, (std::vector<std::pair<int, int>>{{0, 2}}));

    EXPECT_TRUE(m_list->SetProgress(1, 3, 140));
    wxVariant percent;
    model.GetValueByRow(percent, 1, 3);
    EXPECT_EQ(percent.GetLong(), 100);

    EXPECT_TRUE(m_list->SetComboBox(2, 4, 1));
    wxVariant shown;
    model.GetValueByRow(shown, 2, 4);
    EXPECT_EQ(shown.GetString(), "High") << "an empty drop-down shows its default option";
    EXPECT_TRUE(model.ChangeValue(wxVariant("Low"), m_list->ItemOfRow(2), 4));
    EXPECT_EQ(m_list->GetItemText(2, 4), "Low");
    EXPECT_EQ(m_combos, (std::vector<std::pair<int, int>>{{2, 4}}));

    m_list->SetEnabled(1, false);
    EXPECT_FALSE(model.IsEnabled(m_list->ItemOfRow(1), 4)) << "a disabled row takes no input";
    wxDataViewItemAttr grey;
    EXPECT_TRUE(model.GetAttrByRow(1, 1, grey));
    EXPECT_EQ(grey.GetColour(), wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));

    EXPECT_TRUE(m_list->SetItemToolTipText(0, 1, "a tip"));
    EXPECT_EQ(m_list->GetItemToolTipText(0, 1), "a tip");
    EXPECT_FALSE(m_list->SetItemToolTipText(9, 1, "no row"));
}

TEST_F(XListCtrlTest, ChangedColumnIsGreenAndHeadingsRedWhateverTheSelection)
{
    CXListModel& model = *m_list->GetListModel();
    model.m_changedColumn = 1;
    model.m_isChangedByRow = [](int row) { return row == 1 ? 1 : 0; };
    model.SetHeadingRow(0, true);
    for (int selected : {-1, 0, 1}) {
        if (selected < 0)
            m_list->UnselectAll();
        else
            m_list->SelectItem(selected);
        wxDataViewItemAttr changed;
        ASSERT_TRUE(model.GetAttrByRow(1, 1, changed));
        EXPECT_EQ(changed.GetBackgroundColour(), wxColour(0, 0xF0, 0)) << "selected row " << selected;
        wxDataViewItemAttr heading;
        ASSERT_TRUE(model.GetAttrByRow(0, 1, heading));
        EXPECT_EQ(heading.GetColour(), wxColour(0xFF, 0, 0)) << "selected row " << selected;
        EXPECT_TRUE(heading.GetBold());
        wxDataViewItemAttr plain;
        EXPECT_FALSE(model.GetAttrByRow(2, 1, plain));
    }
}

} // namespace

namespace {

// What the screen shows in the middle of a cell, near its right edge (clear
// of the text).
wxColour ShownColour(CXListCtrl* list, int row, int column)
{
    wxRect cell;
    if (!list->GetSubItemRect(row, column, cell))
        return wxColour();
    wxPoint point = list->GetMainWindow()->ClientToScreen(wxPoint(cell.GetRight() - 3, cell.y + cell.height / 2));
    wxScreenDC screen;
    wxBitmap bitmap(1, 1);
    wxMemoryDC memory(bitmap);
    memory.Blit(0, 0, 1, 1, &screen, point.x, point.y);
    memory.SelectObject(wxNullBitmap);
    wxImage image = bitmap.ConvertToImage();
    return wxColour(image.GetRed(0, 0), image.GetGreen(0, 0), image.GetBlue(0, 0));
}

TEST_F(XListCtrlTest, TheScreenShowsTheChangedColumnGreenInTheSelectedRowToo)
{
    CXListModel& model = *m_list->GetListModel();
    model.m_changedColumn = 1;
    model.m_isChangedByRow = [](int row) { return row == 1 ? 1 : 0; };
    // A place of its own on the screen, and the pointer away from it.
    m_frame->Move(700, 500);
    m_frame->Raise();
    wxUIActionSimulator().MouseMove(wxPoint(5, 5));
    m_list->SetFocus();
    for (int selected : {-1, 1}) {
        if (selected < 0)
            m_list->UnselectAll();
        else
            m_list->SelectItem(selected);
        m_list->Refresh();
        Pump(300);
        EXPECT_EQ(ShownColour(m_list, 1, 1), wxColour(0, 0xF0, 0)) << "selected row " << selected;
        EXPECT_NE(ShownColour(m_list, 2, 1), wxColour(0, 0xF0, 0)) << "selected row " << selected;
    }
}

} // namespace
