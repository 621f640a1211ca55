// What a screen reader reads of the parameter editor over AT-SPI: every page
// of every group, in the base and the extended page sets. Each row's Write
// button is named "Write GG-NN" and labelled by its own row's label; each
// input is named by its row (a digit list of a packed row by its row and its
// digit), labelled by its row's label and described by its own range text.
// Runs on a private session bus (dbus-run-session) under Xvfb.

#include "editor/GroupPageModel.h"
#include "editor/ParamLabel.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "tests/editorgui/EditorWindowFixture.h"
#include "tests/platformgui/atspi/AtspiReading.h"

#include <signal.h>

#include <map>

namespace {

struct ReadObject {
    std::string role, name, description, labelledBy, describedBy;
    bool showing = false;
};

struct EditorReading {
    // Per tab name, the objects read under it, in order.
    std::map<std::string, std::vector<ReadObject>> tabs;
    long exitCode = 0;
    std::string errors;
};

EditorReading ReadWindow(const std::string& title)
{
    const ReaderOutput output = RunReader("read_editor_accessible.py", "\"" + title + "\"", 8);
    EditorReading reading;
    reading.exitCode = output.exitCode;
    reading.errors = output.errors;
    std::string tab;
    for (const std::vector<std::string>& parts : output.lines) {
        if (parts[0] == "tab")
            tab = Trimmed(parts[1]);
        else if (parts[0] == "endtab")
            tab.clear();
        else if (parts[0] == "object")
            reading.tabs[tab].push_back({parts[1], parts[2], parts[3], parts[4], parts[5], parts[6] == "1"});
    }
    return reading;
}

std::string RoleOf(wxWindow* input)
{
    if (auto* edit = dynamic_cast<wxTextCtrl*>(input))
        return edit->GetWindowStyle() & wxTE_PASSWORD ? "password text" : "text";
    return "combo box";
}

class EditorAccessibilityTest : public EditorWindowFixture {
protected:
    // Checks one page as read: every row's button and inputs, by name.
    void CheckPage(CGroupPagePanel& page, const std::vector<ReadObject>& read)
    {
        auto find = [&read](const std::string& role, const std::string& name) {
            std::vector<const ReadObject*> found;
            for (const ReadObject& object : read)
                if (object.role == role && object.name == name)
                    found.push_back(&object);
            return found;
        };
        int buttonsRead = 0;
        for (const ReadObject& object : read)
            if (object.role == "push button")
                ++buttonsRead;
        EXPECT_EQ(buttonsRead, page.Model().RowCount()) << "one button per row, and no other";
        for (int r = 0; r < page.Model().RowCount(); ++r) {
            const std::string label = page.Label(r)->GetLabel().utf8_string();
            SCOPED_TRACE(label);
            char write[16];
            std::snprintf(write, sizeof write, "Write %02d-%02d", page.Model().Table().group, page.Model().Row(r).item);
            auto buttons = find("push button", write);
            ASSERT_EQ(buttons.size(), 1u) << write;
            EXPECT_EQ(buttons[0]->labelledBy, label) << write;
            ++m_buttons;

            std::vector<wxWindow*> inputs = page.DigitLists(r);
            if (page.Model().Row(r).kind != RowKind::Packed)
                inputs = {page.Control(r)};
            for (wxWindow* input : inputs) {
                if (!input || !input->IsShown())
                    continue;
                const std::string name = input->GetName().utf8_string();
                auto found = find(RoleOf(input), name);
                ASSERT_EQ(found.size(), 1u) << RoleOf(input) << " " << name;
                EXPECT_EQ(found[0]->labelledBy, label) << name;
                std::string range;
                if (wxWindow* next = input->GetNextSibling(); next && page.Model().Row(r).kind != RowKind::Packed)
                    if (auto* text = dynamic_cast<wxStaticText*>(next); text && !dynamic_cast<CParamLabel*>(text))
                        range = text->GetLabel().utf8_string();
                if (page.Model().Row(r).rangeText || page.Model().Row(r).rangeTextId != 65535) {
                    EXPECT_FALSE(range.empty()) << name;
                    EXPECT_EQ(found[0]->description, range) << name;
                    EXPECT_EQ(found[0]->describedBy, range) << name;
                } else {
                    EXPECT_EQ(found[0]->description, "") << name;
                }
                if (page.Model().Row(r).kind == RowKind::Packed) {
                    EXPECT_NE(name, label) << "a digit list is named by its digit too";
                }
                ++m_inputs;
            }
        }
    }

    void TearDown() override
    {
        for (CParamGroupDlg* editor : m_editors)
            editor->Destroy();
        EditorWindowFixture::TearDown();
    }

    // Every message box of the run: the fixture's recorder forgets those
    // shown while a project is made, this one (the newer) takes them all.
    MessageRecorder m_allMessages;
    std::vector<CParamGroupDlg*> m_editors;
    int m_pages = 0;
    int m_buttons = 0;
    int m_inputs = 0;
};

} // namespace

// The reading runs in a process of its own on a session bus of its own:
// GTK's accessible objects of windows that other tests closed stay in the
// bridge's cache while a reader holds them, and answer the next reader with
// critical messages.
TEST(EditorAccessibility, EveryPageOfEveryGroupReadsByItsRows)
{
    // Children are waited for here. The handler of child ends that wx set
    // for the application of a test before would run on that application's
    // freed state: this process has no use for it any more.
    struct sigaction plain = {};
    plain.sa_handler = SIG_DFL;
    sigaction(SIGCHLD, &plain, nullptr);
    if (std::system("command -v dbus-run-session >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no session bus: dbus-run-session is not installed (package dbus)";
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(length, 0);
    const std::string command = "env -u NO_AT_BRIDGE -u GTK_A11Y dbus-run-session -- '" + std::string(self) +
                                "' --gtest_also_run_disabled_tests"
                                " --gtest_filter=EditorAccessibilityTest.DISABLED_EveryPageOfEveryGroupReadsByItsRows 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    int status = -1;
    if (pipe) {
        char buffer[4096];
        while (std::size_t got = fread(buffer, 1, sizeof buffer, pipe))
            output.append(buffer, got);
        status = pclose(pipe);
    }
    ASSERT_NE(pipe, nullptr);
    if (output.find("NO-ACCESSIBILITY-BUS") != std::string::npos)
        GTEST_SKIP() << "the accessibility bus did not start:\n" << output;
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
    const auto measured = output.find("read ");
    if (measured != std::string::npos)
        std::cout << output.substr(measured, output.find('\n', measured) - measured) << "\n";
}

TEST_F(EditorAccessibilityTest, DISABLED_EveryPageOfEveryGroupReadsByItsRows)
{
    SKIP_WITHOUT_SESSION_BUS();
    const std::string title = LoadResString(IDS_EDITOR_CAPTION);
    struct PageSet {
        int model;
        int lastGroup;
    };
    // The base page set (groups 00 to 13) and the extended one (with 09's
    // second page and group 14).
    for (const PageSet set : {PageSet{1202, 13}, PageSet{0x1100000 + 1202, 14}}) {
        MakeProject(set.model);
        for (int group = 0; group <= set.lastGroup; ++group) {
            SCOPED_TRACE(testing::Message() << "group " << group << " model " << std::hex << set.model);
            auto* editor = new CParamGroupDlg(nullptr, m_links);
            m_editors.push_back(editor);
            editor->m_nGroup = group;
            editor->BuildEditor();
            editor->Show();
            Yield();
            wxNotebook* tabs = editor->Notebook();
            ASSERT_NE(tabs, nullptr);
            EditorReading reading = ReadWindow(title);
            if (reading.exitCode == kNoAccessibilityBus) {
                std::cout << "NO-ACCESSIBILITY-BUS\n";
                GTEST_SKIP() << "the accessibility bus did not start: " << reading.errors;
            }
            ASSERT_EQ(reading.exitCode, 0) << reading.errors;
            for (size_t p = 0; p < tabs->GetPageCount(); ++p) {
                const std::string caption = Trimmed(tabs->GetPageText(p).utf8_string());
                SCOPED_TRACE(caption);
                auto read = reading.tabs.find(caption);
                ASSERT_NE(read, reading.tabs.end()) << "the tab is read";
                CheckPage(*editor->PagePanel(static_cast<int>(p)), read->second);
                ++m_pages;
            }
            // Kept until the end: GTK's accessible objects of a notebook's
            // pages outlive a destroyed notebook while the bridge holds them
            // for a reader, and the next reading would meet them.
            editor->Hide();
        }
    }
    std::cout << "read " << m_pages << " pages: " << m_buttons << " row buttons, " << m_inputs << " inputs\n";
    EXPECT_GT(m_inputs, m_buttons) << "every row has an input, packed rows several";
    EXPECT_TRUE(m_allMessages.Texts().empty());
}
