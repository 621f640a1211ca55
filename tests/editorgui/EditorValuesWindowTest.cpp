// What the editor's window keeps and sends, against the simulated drive:
// change marks that follow what a frame carried, the ranges a row is sent
// with, the entries a list offers, project texts that are no number, the
// bell of a refused keystroke, and one message per failure.

#include "tests/editorgui/EditorWindowFixture.h"

#include "document/ModelFamily.h"
#include "link/CommTexts.h"
#include "platform/MessageBox.h"
#include "platform/WxMessageBox.h"
#include "res/StringIds.h"
#include "tests/common/GuiTestSupport.h"

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>

#include <algorithm>
#include <functional>

namespace {

// The registers a write frame (function 06 or 0x10) carried.
std::vector<int> WrittenRegisters(const std::vector<SimFrame>& log)
{
    std::vector<int> registers;
    for (const SimFrame& frame : log) {
        const auto& request = frame.request;
        if (request.size() < 6)
            continue;
        const int first = request[2] << 8 | request[3];
        if (request[1] == 0x06)
            registers.push_back(first);
        else if (request[1] == 0x10)
            for (int k = 0; k < (request[4] << 8 | request[5]); ++k)
                registers.push_back(first + k);
    }
    return registers;
}

bool Carried(const std::vector<SimFrame>& log, int reg)
{
    const std::vector<int> registers = WrittenRegisters(log);
    return std::find(registers.begin(), registers.end(), reg) != registers.end();
}

// Counts the bells rung while it lives.
class BellCounter {
public:
    BellCounter() { m_previous = SetBellHandler([this] { ++m_count; }); }
    ~BellCounter() { SetBellHandler(m_previous); }
    BellCounter(const BellCounter&) = delete;
    BellCounter& operator=(const BellCounter&) = delete;
    int Count() const { return m_count; }

private:
    int m_count = 0;
    BellHandler m_previous;
};

// Types text into the edit key by key at its caret, as a user does.
void TypeKeys(wxTextCtrl* edit, const std::string& text)
{
    for (char c : text) {
        edit->SetInsertionPointEnd();
        edit->WriteText(wxString(c));
    }
}

} // namespace

class EditorValuesWindowTest : public EditorWindowFixture {
public:
    static constexpr int kBase = 203;
    static constexpr int kS = kModelFamilyS + 203;

    // The project and a drive of the model, the editor of group open on it.
    CParamGroupDlg& OpenOnDrive(int code, int version, int group)
    {
        MakeProject(code);
        Connect(code, version);
        return Open(group);
    }

    // The row of item on the open editor's pages: page and row, or -1s.
    std::pair<int, int> RowOf(int item)
    {
        auto& pages = m_editor->Editor()->m_Pages;
        for (std::size_t p = 0; p < pages.size(); ++p)
            if (int row = pages[p]->RowOfItem(item); row >= 0)
                return {static_cast<int>(p), row};
        return {-1, -1};
    }
    uint32_t ChangeMark(int group, int item)
    {
        const auto [page, row] = RowOf(item);
        const int position = m_editor->Editor()->m_Pages[static_cast<std::size_t>(page)]->FlagPosition(row, m_doc);
        return position >= 0 ? m_doc.m_Changed[group][position] : 0xFFFFFFFFu;
    }
    // Another entry of item's list, or another value in item's edit.
    void ChangeRow(int item, const std::string& text = {})
    {
        const auto [page, row] = RowOf(item);
        ASSERT_GE(page, 0) << item;
        wxWindow* control = m_editor->PagePanel(page)->Control(row);
        if (auto* list = dynamic_cast<wxChoice*>(control)) {
            Choose(m_editor->PagePanel(page), list->GetId(), (list->GetSelection() + 1) % static_cast<int>(list->GetCount()));
        } else {
            auto* edit = dynamic_cast<wxTextCtrl*>(control);
            ASSERT_NE(edit, nullptr);
            edit->SetValue(wxString::FromUTF8(text));
            ASSERT_EQ(edit->GetValue().utf8_string(), text);
        }
    }
    void Transmit()
    {
        m_stations = {1};
        m_messages.Clear();
        m_drive->ClearFrameLog();
        Click(m_editor, CParamGroupDlg::IDC_TRANSMIT);
    }
};

// A row counts as written by Transmit Group only when a frame carried its
// value: each rule by which a block writer leaves a row out keeps that row's
// change mark through OK, while a row the same transmit sent loses it. Both
// rows are changed and stored first, so that each comes to the transmit with
// a mark that only the transmit can take away.
TEST_F(EditorValuesWindowTest, TransmitGroupMarksWrittenOnlyTheRowsAFrameCarried)
{
    struct Case {
        const char* rule;
        int code, version, group;
        std::function<void(CSimulatedDrive&)> drive;
        std::function<void(EditorValuesWindowTest&)> edit; // the pages' other settings
        int skippedItem;
        std::string skippedText; // for an edit row
        int sentItem;
        std::string sentText;
    } cases[] = {
        {"00-00 and 00-01 while the drive's 00-02 is not 0", kS, 1130, 0,
         [](CSimulatedDrive& d) { d.SetRegister(1, 0x0002, 1); }, nullptr, 1, "", 3, ""},
        {"00-00 too", kS, 1130, 0, [](CSimulatedDrive& d) { d.SetRegister(1, 0x0002, 1); }, nullptr, 0, "", 4, ""},
        {"00-01 of a base drive", kBase, 1130, 0, [](CSimulatedDrive& d) { d.SetRegister(1, 0x0002, 2); }, nullptr, 1, "",
         5, ""},
        {"00-21 on an S drive below 1.093", kS, 1092, 0, nullptr, nullptr, 21, "", 3, ""},
        {"01-02 to 01-09 unless 01-00 is 7", kBase, 1130, 1, nullptr,
         [](EditorValuesWindowTest& t) { t.ChangeRow(0, "1"); }, 3, "12.5", 10, "5.0"},
        {"07-09 below version 0.4", kBase, 300, 7, nullptr, nullptr, 9, "", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        OpenOnDrive(c.code, c.version, c.group);
        if (c.drive)
            c.drive(*m_drive);
        if (c.edit)
            c.edit(*this);
        ChangeRow(c.skippedItem, c.skippedText);
        ChangeRow(c.sentItem, c.sentText);
        Click(m_editor, wxID_OK);
        ASSERT_EQ(m_editor->GetReturnCode(), wxID_OK);
        ASSERT_EQ(ChangeMark(c.group, c.skippedItem), 1u);
        ASSERT_EQ(ChangeMark(c.group, c.sentItem), 1u);

        Open(c.group);
        Transmit();
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(IDS_WRITE_SUCCESSFUL)});
        const std::vector<SimFrame> log = m_drive->GetFrameLog();
        EXPECT_FALSE(Carried(log, c.group << 8 | c.skippedItem));
        EXPECT_TRUE(Carried(log, c.group << 8 | c.sentItem));

        Click(m_editor, wxID_OK);
        EXPECT_EQ(m_editor->GetReturnCode(), wxID_OK);
        EXPECT_EQ(ChangeMark(c.group, c.skippedItem), 1u) << "not sent: its mark stays";
        EXPECT_EQ(ChangeMark(c.group, c.sentItem), 0u) << "sent: the drive holds what the project holds";
        TearDown();
        m_drive.reset();
        m_editor = nullptr;
    }
}

// 09-08 = 0 is in range on extended drives: the row button and Transmit
// Group send it; a base drive's range starts at 1.
TEST_F(EditorValuesWindowTest, TheSendCheckOf0908UsesTheModelsRange)
{
    struct Case {
        int code;
        bool takesZero;
    } cases[] = {{kS, true}, {kModelFamilySP + 203, true}, {kBase, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        MakeProject(c.code);
        m_doc.FindParam(9, 8)->m_strValue = "0"; // as read from the drive
        Connect(c.code);
        Open(9);
        wxTextCtrl* timeout = Edit(0, 1036);
        ASSERT_NE(timeout, nullptr);
        EXPECT_EQ(timeout->GetValue(), "0");

        m_stations = {1};
        m_messages.Clear();
        m_drive->ClearFrameLog();
        Click(m_editor->PagePanel(0), 1013);
        EXPECT_EQ(m_messages.Texts(),
                  std::vector<std::string>{LoadResString(c.takesZero ? IDS_WRITE_SUCCESSFUL : IDS_BEYOND_RANGE)});
        EXPECT_EQ(Carried(m_drive->GetFrameLog(), 0x0908), c.takesZero);

        Transmit();
        EXPECT_EQ(m_messages.Texts(),
                  std::vector<std::string>{LoadResString(c.takesZero ? IDS_WRITE_SUCCESSFUL : IDS_BEYOND_RANGE)});
        EXPECT_EQ(Carried(m_drive->GetFrameLog(), 0x0908), c.takesZero);
        if (c.takesZero) {
            EXPECT_EQ(m_drive->GetRegister(1, 0x0908), 0);
        }
        TearDown();
        m_drive.reset();
        m_editor = nullptr;
    }
}

TEST_F(EditorValuesWindowTest, TheRunModeOffersThreeEntriesInEveryLayout)
{
    struct Case {
        int code, page, id;
    } cases[] = {{kBase, 0, 1028}, {kS, 0, 1029}, {kModelFamilySP + 203, 0, 1029}, {kModelFamilySP, 0, 1029}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        MakeProject(c.code);
        Open(0);
        wxChoice* mode = List(c.page, c.id);
        ASSERT_NE(mode, nullptr);
        EXPECT_EQ(mode->GetCount(), 3u);
        EXPECT_EQ(m_editor->PagePanel(c.page)->Control(RowOf(4).second), mode);
    }
}

// A project text that is no number is neither shown as 0 nor stored as 0 by
// an OK without edits: OK refuses it on its page with the row's prompt.
TEST_F(EditorValuesWindowTest, OkRefusesAProjectTextThatIsNoNumber)
{
    const int groups[] = {4, 6, 10, 12, 13};
    for (int group : groups) {
        // Every row OK stores that holds a number (lists keep the project's
        // text when it selects no entry).
        MakeProject(kS);
        Open(group);
        std::vector<std::pair<int, RowKind>> rows;
        for (const auto& page : m_editor->Editor()->m_Pages)
            for (int r = 0; r < page->RowCount(); ++r) {
                const PageRow& row = page->Row(r);
                if (row.kind != RowKind::Option && row.kind != RowKind::Text && !row.shownNotStored &&
                    page->m_rows[static_cast<std::size_t>(r)].enabled)
                    rows.emplace_back(row.item, row.kind);
            }
        ASSERT_FALSE(rows.empty()) << group;
        for (const auto& [item, kind] : rows) {
            SCOPED_TRACE(std::to_string(group) + "-" + std::to_string(item));
            MakeProject(kS);
            m_stored.clear();
            m_doc.FindParam(group, item)->m_strValue = "x?";
            m_doc.SetModifiedFlag(false);
            CParamGroupDlg& editor = Open(group);
            const auto [page, row] = RowOf(item);
            editor.SetReturnCode(0);
            Click(&editor, wxID_OK);
            const bool whole = kind == RowKind::Integer || kind == RowKind::Unsigned;
            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(whole ? IDS_ENTER_INTEGER : IDS_BEYOND_RANGE)});
            EXPECT_NE(editor.GetReturnCode(), wxID_OK);
            EXPECT_EQ(editor.Notebook()->GetSelection(), page);
            EXPECT_EQ(m_doc.FindParam(group, item)->m_strValue, "x?");
            EXPECT_TRUE(m_stored.empty());
            EXPECT_FALSE(m_doc.IsModified());
            for (uint32_t flag : m_doc.m_Changed[group])
                EXPECT_EQ(flag, 0u);
            (void)row;
        }
    }
}

// The filter of 00-18 (1.00~25.00) drops the 0 of "30.00" as the Part says,
// and the user hears it: one bell per refused keystroke, none for the others.
TEST_F(EditorValuesWindowTest, ARefusedKeystrokeRingsTheBell)
{
    MakeProject(kBase);
    Open(0, 17);
    wxTextCtrl* jog = Edit(1, 1041); // 00-18
    ASSERT_NE(jog, nullptr);
    struct Case {
        const char* typed;
        const char* kept;
        int bells;
    } cases[] = {
        {"30.00", "3.00", 1},
        {"12.345", "12.34", 1}, // a third decimal
        {"1a.5", "1.5", 1},
        {"-2", "2", 1},
        {"24.99", "24.99", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        jog->ChangeValue("");
        m_editor->PagePanel(1)->Model().m_rows[7].text.clear();
        BellCounter bells;
        TypeKeys(jog, c.typed);
        EXPECT_EQ(jog->GetValue(), c.kept);
        EXPECT_EQ(bells.Count(), c.bells);
    }
    EXPECT_TRUE(m_messages.Texts().empty());
}

// 11-16 to 11-20 have no keystroke filter: what is typed stays, silently;
// their exchange bounds refuse it on OK and on the row button.
TEST_F(EditorValuesWindowTest, TheWholeNumbersOfTheRegenerationPageAreBoundOnlyOnOkAndTheButton)
{
    MakeProject(kS);
    Connect(kS);
    CParamGroupDlg& editor = Open(11, 15);
    std::vector<std::string> stored;
    for (int item = 16; item <= 20; ++item)
        stored.push_back(m_doc.FindParam(11, item)->m_strValue);
    struct Case {
        int id;
        const char* typed;
        std::string prompt;
    } cases[] = {
        {1038, "300", FormatResString(IDS_ENTER_INTEGER_BETWEEN, 0, 200)},  // 11-16
        {1039, "12a", LoadResString(IDS_ENTER_INTEGER)},                   // 11-17
        {1040, "70000", FormatResString(IDS_ENTER_INTEGER_BETWEEN, 0, 65535)}, // 11-18
        {1042, "-1", FormatResString(IDS_ENTER_INTEGER_BETWEEN, 0, 65535)},    // 11-20
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        wxTextCtrl* edit = Edit(1, c.id);
        ASSERT_NE(edit, nullptr);
        const wxString before = edit->GetValue();
        BellCounter bells;
        m_messages.Clear();
        edit->ChangeValue("");
        TypeKeys(edit, c.typed);
        EXPECT_EQ(edit->GetValue(), c.typed);
        EXPECT_EQ(bells.Count(), 0);
        EXPECT_TRUE(m_messages.Texts().empty());

        editor.Notebook()->ChangeSelection(0);
        Click(&editor, wxID_OK);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{c.prompt});
        EXPECT_EQ(editor.Notebook()->GetSelection(), 1);
        EXPECT_NE(editor.GetReturnCode(), wxID_OK);

        m_messages.Clear();
        m_stations = {1};
        m_drive->ClearFrameLog();
        Click(editor.PagePanel(1), 1005 + (c.id - 1033));
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{c.prompt});
        EXPECT_TRUE(WrittenRegisters(m_drive->GetFrameLog()).empty());
        edit->ChangeValue(before);
    }
    for (int item = 16; item <= 20; ++item)
        EXPECT_EQ(m_doc.FindParam(11, item)->m_strValue, stored[static_cast<std::size_t>(item - 16)]);
    EXPECT_TRUE(m_stored.empty());
}

// A failure of the group writer's own drive read is told once, in its own
// words, not as an empty box or as the text another station left.
TEST_F(EditorValuesWindowTest, TransmitGroupTellsEachFailureOnceInItsOwnWords)
{
    const std::string comm = LoadResString(IDS_COMM_ERROR);
    struct Case {
        int code, group;
        uint16_t refused;
        std::string text;
    } cases[] = {
        {kS, 0, 0x0002, comm},    // the drive's 00-02, read before the first block
        {kBase, 2, 0x0201, comm}, // 02-01, read before 02-00 is written
        {kS, 0, 0x0015, GetCommExceptionText(0x52)}, // 00-21, read before it is written
        // A refused frame: the station and the drive's reason.
        {kBase, 2, 0x0200, FormatResString(IDS_STATION_NUM, 1) + GetCommExceptionText(0x52) + " "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.group) + " " + std::to_string(c.refused));
        OpenOnDrive(c.code, 1130, c.group);
        m_drive->SetRegister(1, 0x0201, 60000); // above any 02-00: its check passes
        m_drive->ForceException(1, c.refused, 0x52);
        m_frame.m_strLastError = "Station Num 3TimeOut! ";
        Transmit();
        const std::vector<std::string> texts = m_messages.Texts();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_FALSE(texts[0].empty());
        EXPECT_EQ(texts[0], c.text);
        TearDown();
        m_drive.reset();
        m_editor = nullptr;
    }
}

// A box is owned by the window that raised it, not by the application's top
// window (under a window manager a box owned by the main frame can open
// behind the editor), and the focus goes back where it was when it closes,
// not to the disabled main frame.
TEST_F(EditorValuesWindowTest, ABoxIsOwnedByTheEditorThatRaisedItAndGivesTheFocusBack)
{
    auto* main = new wxFrame(nullptr, wxID_ANY, "main");
    wxWindow* previousTop = wxTheApp->GetTopWindow();
    wxTheApp->SetTopWindow(main);
    main->Show();
    MakeProject(kS);
    CParamGroupDlg& editor = Open(0);
    main->Disable(); // as while the editor runs modal to it
    wxChoice* source = List(0, 1027);
    ASSERT_NE(source, nullptr);
    source->SetFocus();
    Yield();

    const MessageHandler recorder = SetMessageHandler(nullptr);
    InstallWxMessageHandler();
    wxWindow* owner = nullptr;
    wxString text;
    int boxes = 0;
    SetModalAnswer([&](wxDialog* dialog) {
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        if (!box)
            return wxID_CANCEL;
        ++boxes;
        owner = box->GetParent();
        text = box->GetMessage();
        // The toolkit hands the focus on while a box is up.
        editor.FindWindow(wxID_CANCEL)->SetFocus();
        EXPECT_EQ(wxWindow::FindFocus(), editor.FindWindow(wxID_CANCEL));
        return wxID_OK;
    });
    Click(editor.PagePanel(0), 1006); // no link
    SetModalAnswer(nullptr);
    SetMessageHandler(recorder);
    SetBellHandler(nullptr);

    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text, wxString::FromUTF8(LoadResString(IDS_NOT_CONNECTED)));
    EXPECT_EQ(owner, &editor);
    EXPECT_EQ(wxWindow::FindFocus(), source);

    main->Enable();
    wxTheApp->SetTopWindow(previousTop);
    main->Destroy();
    Yield();
}

// A row button whose gate reads a partner item from the drive tells a failure
// of that read once: where the drive query tells the failure itself the page
// adds nothing, where the query is silent the page tells it. Transmit Group's
// own reads of the drive, silenced, are told once as well.
TEST_F(EditorValuesWindowTest, ARowButtonTellsAPartnerReadFailureOnce)
{
    const std::string comm = LoadResString(IDS_COMM_ERROR);
    const std::string timeOut = LoadResString(IDS_TIMEOUT);
    enum Road { Silenced, Refused };
    struct Case {
        int code, group, item; // item -1: Transmit Group
        uint16_t partner; // the register the gate reads
        Road road;
        std::string text;
    } cases[] = {
        {kBase, 2, 1, 0x0200, Silenced, comm}, // the query tells a link failure
        {kBase, 2, 1, 0x0200, Refused, comm},  // ... and leaves a refusal to the page
        {kBase, 2, 0, 0x0201, Silenced, comm}, // a silent query
        {kBase, 2, 0, 0x0201, Refused, comm},
        {kS, 2, 1, 0x0200, Silenced, comm},
        {kBase, 1, 6, 0x0104, Silenced, comm}, // the curve point below
        {kBase, 1, 6, 0x0104, Refused, comm},
        {kBase, 0, 5, 0x0006, Silenced, comm}, // the other frequency source
        {kBase, 0, 5, 0x0006, Refused, comm},
        {kBase, 10, 0, 0x0A01, Silenced, timeOut}, // the other feedback source
        {kBase, 10, 0, 0x0A01, Refused, comm},
        {kS, 10, 0, 0x0A01, Refused, FormatResString(IDS_STATION_NUM, 1) + "\n" + GetCommExceptionText(0x52)},
        {kBase, 2, -1, 0x0201, Silenced, comm}, // the writer's read before 02-00 is sent
        {kS, 0, -1, 0x0002, Silenced, comm},    // the writer's read before the first block
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.partner << (c.road == Silenced ? " silenced" : " refused")
                                        << " model " << c.code);
        OpenOnDrive(c.code, 1130, c.group);
        const auto [page, row] = RowOf(c.item);
        ASSERT_TRUE(c.item < 0 || page >= 0);
        m_drive->SetRegister(1, 0x0201, 60000); // above any 02-00: the writer's check passes
        m_drive->SetRegister(1, 0x0100, 7); // the curve's rows are written on the V/F curve only
        if (c.road == Refused)
            m_drive->ForceException(1, c.partner, 0x52);
        int partnerReads = 0;
        m_comm.m_beforeFrame = [&](uint8_t function, uint16_t reg) {
            if (function == 0x03 && reg == c.partner) {
                ++partnerReads;
                if (c.road == Silenced)
                    m_drive->SetSilent(1, true);
            }
        };
        m_stations = {1};
        m_messages.Clear();
        m_drive->ClearFrameLog();
        if (c.item < 0)
            Click(m_editor, CParamGroupDlg::IDC_TRANSMIT);
        else
            Click(m_editor->PagePanel(page), 1005 + row);
        m_comm.m_beforeFrame = nullptr;
        m_drive->SetSilent(1, false);
        EXPECT_EQ(partnerReads, 1);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{c.text});
        // A row is refused before its frame (a group's writer may have sent
        // blocks before its read).
        if (c.item >= 0) {
            EXPECT_TRUE(WrittenRegisters(m_drive->GetFrameLog()).empty());
        }
        TearDown();
        m_drive.reset();
        m_editor = nullptr;
    }
}
