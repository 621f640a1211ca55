// Write as a user runs it, through the program's own main frame and project:
// connect, Read, change the set value of every item Write can send, Write.
// Each model class on both sides of every model and version gate of the
// writers: a register Write sends for that drive must hold the project's new
// value, every other one the value the Read found, and the frames must be
// the writers' sequence for that model and version.

#include "tests/session/ConnectTestSupport.h"
#include "tests/shellgui/AppFixture.h"

#include "document/D390DocData.h"
#include "link/DriveQueries.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "tools/SimDriveRegisters.h"
#include "view/D390View.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <set>
#include <sstream>

namespace {

struct GateCase {
    uint32_t model;
    int version; // 13-01
};

void PrintTo(const GateCase& c, std::ostream* os)
{
    *os << "code 0x" << std::hex << c.model << std::dec << " at version " << c.version;
}

std::string Joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

bool IsOld(uint32_t code) { return code <= 0x1100000; }
bool IsRangeA(uint32_t code) { return code > 0x1100000 && code < 0x1110000; }
bool IsRangeB(uint32_t code) { return code > 0x1110000; }

// The requests of Write for a drive of this model and version whose 00-02 is
// drive0002, written out from the writers' frame tables, gate by gate.
std::vector<std::string> ExpectedWrite(uint32_t code, int versionRegister, int drive0002)
{
    const float v = VersionFromRegister(versionRegister);
    const bool isNew = !IsOld(code);
    const bool rangeA = IsRangeA(code);
    const bool rangeB = IsRangeB(code);
    const bool restricted = (code == 0x44E || code == 0x451 || code == 0x4B2) && !(v > 1.31f);
    std::vector<std::string> frames = {"R 0D07 x1", "R 2520 x1", "R 252F x1", "R 0D00 x1", "R 0D01 x1"};
    auto add = [&frames](std::initializer_list<const char*> more) { frames.insert(frames.end(), more.begin(), more.end()); };

    add({"R 0002 x1"});
    if (drive0002 != 0)
        add({"W 0002 x6"});
    else if (isNew)
        add({"W 0000 x1", "W 0001 x7"});
    else
        add({"W 0001 x7"});
    add({"W 0009 x12"});
    if (isNew) {
        add({"R 0015 x1"});
        if ((rangeB && v >= 1.13f) || (rangeA && v >= 1.093f))
            add({"W 0015 x1"});
    }

    add({restricted ? "W 0100 x1" : "W 0100 x2", isNew ? "W 010A x9" : "W 010A x2"});

    add({"R 0201 x1", "W 0200 x1", "R 0200 x1"});
    if (restricted) {
        add({"W 0202 x2"});
    } else {
        add({"W 0201 x3"});
        if (v >= 1.1f || isNew)
            add({"W 0204 x1"});
        if (isNew) {
            add({"W 0205 x5", "W 020D x5"});
            if (v >= 1.03f)
                add({"W 0212 x2"});
        }
    }

    add({"W 0300 x5", "W 0306 x4", "W 030B x1", isNew ? "W 030D x9" : "W 030D x7"});
    add({"W 0400 x16"});
    if (rangeB || (rangeA && v >= 1.06f))
        add({"W 0410 x4"});
    add({"W 0500 x9", "W 0511 x16"});
    add({"W 0600 x8", "W 0610 x8", "W 0620 x8"});
    add({"W 0700 x9"});
    if (v >= 0.4f)
        add({"W 0709 x1"});
    if (rangeB || (rangeA && v >= 1.05f))
        add({"W 070A x2"});
    if ((rangeB && v >= 1.12f) || (rangeA && v >= 1.093f))
        add({"W 070C x1"});
    add({"W 0800 x4"});
    if (!restricted)
        add({"W 0804 x1"});
    add({"W 0805 x5"});
    if (code < 0x1100000 && v >= 1.4f)
        add({"W 080A x2"});
    if (isNew) {
        add({"W 080A x7"});
        if (v >= 1.04f)
            add({"W 0811 x2"});
        if (v >= 1.06f)
            add({"W 0813 x1"});
    }
    add({"W 0906 x4"});
    add({"W 0A00 x23"});
    add({"W 0B00 x12"});
    if (isNew) {
        add({"W 0B0D x8"});
        if (v >= 1.06f)
            add({"W 0B15 x1"});
    }
    add({"W 0C00 x5"});
    add({"W 0D03 x4"});
    if (rangeB || (rangeA && v >= 1.093f)) {
        add({"W 0E14 x1", "W 0E00 x10", "W 0E0A x11", "W 0E16 x10", "W 0E22 x2", "W 0E25 x3", "W 0E47 x3"});
        if ((rangeB && v >= 1.13f) || (rangeA && v >= 1.1f))
            add({"W 0E4A x4"});
        add({"S 0A03"});
    }
    return frames;
}

// Every register the writers send for some model and version: the items
// whose set values the test changes.
std::set<uint16_t> EveryWrittenRegister()
{
    std::set<uint16_t> registers;
    for (uint32_t code : {0x4B5u, 0x4B2u, 0x1100000u + 1202, 0x1110000u + 1202})
        for (int drive0002 : {0, 1}) {
            std::vector<std::string> frames = ExpectedWrite(code, 2000, drive0002);
            std::vector<std::string> older = ExpectedWrite(code, 1000, drive0002);
            frames.insert(frames.end(), older.begin(), older.end());
            for (const std::string& frame : frames) {
                char kind = 0;
                unsigned reg = 0;
                int count = 1;
                std::sscanf(frame.c_str(), "%c %x x%d", &kind, &reg, &count);
                if (kind == 'W' || kind == 'S')
                    for (int k = 0; k < count; ++k)
                        registers.insert(static_cast<uint16_t>(reg + k));
            }
        }
    return registers;
}

// Items whose texts are bit fields or octal digits.
bool IsBitField(int group, int item) { return (group == 3 && item == 9) || (group == 8 && (item == 0 || item == 5)); }
bool IsMode14(int item) { return item == 9 || item == 12 || item == 15 || item == 24 || item == 34 || item == 38 || item == 39; }

int Decimals(const std::string& text)
{
    const size_t point = text.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

std::string WithDecimals(int word, int decimals)
{
    char text[32];
    if (decimals == 0)
        std::snprintf(text, sizeof text, "%d", word);
    else if (decimals == 1)
        std::snprintf(text, sizeof text, "%d.%01d", word / 10, word % 10);
    else
        std::snprintf(text, sizeof text, "%d.%02d", word / 100, word % 100);
    return text;
}

// Another value of the item's form and range: one step up, or down at the top
// (down first where step < 0).
std::string OtherValue(int group, int item, const ParamRec& param, int step = 1)
{
    const std::string& text = param.m_strValue;
    if (IsBitField(group, item)) {
        std::string flipped = text;
        flipped.back() = flipped.back() == '0' ? '1' : '0';
        return flipped;
    }
    if (group == 12 && item == 0) {
        std::string octal = text;
        octal.back() = octal.back() == '7' ? '6' : static_cast<char>(octal.back() + 1);
        return octal;
    }
    const int decimals = Decimals(text);
    const int word = SimDrive::ValueTextToWord(group, item, text);
    const int unit = group == 1 && item == 1 ? 10 : 1; // 01-01 goes out as a whole number x10
    SimDrive::WordRange range;
    SimDrive::RangeFromRemark(param.m_strRemark, text, &range);
    int other = word + step * unit;
    if (other > range.max || other < range.min || other < 0)
        other = word - step * unit;
    return WithDecimals(other, decimals);
}

class WriteGatesTest : public AppFixture, public ::testing::WithParamInterface<GateCase> {
protected:
    void TearDown() override
    {
        AppFixture::TearDown();
        for (const char* name : {"lcomfile.ini", "tm4comfile.ini"})
            std::filesystem::remove(TestProgramFolder() + name);
        ResetCommSettings();
    }

    static void ConfirmDialogs()
    {
        SetModalAnswer([](wxDialog* shown) {
            wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
            wxWindow* ok = shown->FindWindow(wxID_OK);
            click.SetEventObject(ok);
            ok->GetEventHandler()->ProcessEvent(click);
            return shown->GetReturnCode();
        });
    }
};

TEST_P(WriteGatesTest, WriteSendsWhatTheDrivesModelAndVersionTake)
{
    const GateCase& c = GetParam();
    auto drive = StartDrive(DriveConfig({1}, c.model, c.version));
    std::ofstream(m_home + "curfile.ini", std::ios::binary) << "2\n" + drive->GetPtyPath() + "\n19200\n802\n1\n0\n";
    ASSERT_TRUE(Start());
    if (!m_app->m_pDocTemplate)
        GTEST_SKIP() << "this build has no project document";
    CMainFrame& frame = Frame();
    ASSERT_EQ(frame.Session().m_bConnected, 1) << Joined(m_messages.Texts());
    ASSERT_NE(frame.GetActiveProject(), nullptr);
    ASSERT_EQ(frame.GetActiveProject()->m_nModelCode, static_cast<int>(c.model));

    ConfirmDialogs();
    Command(ID_READ);
    ASSERT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61575)});
    CD390View* view = frame.GetActiveProjectView();
    ASSERT_NE(view, nullptr);
    CD390DocData& doc = *view->GetDocData();

    // What the Read found on the drive.
    std::map<uint16_t, uint16_t> before;
    for (int group = 0; group <= 14; ++group)
        for (int item = 0; item < 100; ++item) {
            const auto reg = static_cast<uint16_t>(group << 8 | item);
            before[reg] = drive->GetRegister(1, reg);
        }

    // The user's edits: every item Write can send gets another value.
    const bool sFamilyBelow106 = IsRangeA(c.model) && VersionFromRegister(c.version) < 1.06f;
    int mode = -1;
    if (ParamRec* mode14 = doc.FindParam(14, 20); mode14 && !mode14->m_strValue.empty()) {
        mode14->m_strValue = mode14->m_strValue == "0" ? "1" : "0";
        mode = std::atoi(mode14->m_strValue.c_str());
    }
    for (uint16_t reg : EveryWrittenRegister()) {
        const int group = reg >> 8;
        const int item = reg & 0xFF;
        ParamRec* param = doc.FindParam(group, item);
        if (!param || param->m_strValue.empty() || (group == 14 && item == 20))
            continue;
        int step = 1;
        if ((group == 2 && item == 0) || (group == 3 && item == 15 && sFamilyBelow106))
            step = -1; // 02-00 stays below the drive's 02-01; 03-15 within 15.0
        if (group == 14 && IsMode14(item)) {
            // Mode items take the form the new 14-20 gives them.
            const int word = SimDrive::ValueTextToWord(group, item, param->m_strValue) + 1;
            param->m_strValue = WithDecimals(word, mode == 0 ? 2 : 0);
            continue;
        }
        param->m_strValue = OtherValue(group, item, *param, step);
        if (group == 1 && item == 0 && param->m_strValue == "7") // no V/F points
            param->m_strValue = OtherValue(group, item, *param, -2);
    }
    for (auto [group, first, second] : {std::tuple{0, 5, 6}, std::tuple{10, 0, 1}}) {
        ParamRec* a = doc.FindParam(group, first);
        ParamRec* b = doc.FindParam(group, second);
        if (a && b && std::atoi(a->m_strValue.c_str()) == std::atoi(b->m_strValue.c_str()))
            b->m_strValue = OtherValue(group, second, *b, 2);
    }

    m_messages.Clear();
    drive->ClearFrameLog();
    Command(ID_WRITE);
    ASSERT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61541)});

    const std::vector<std::string> expected = ExpectedWrite(c.model, c.version, before.at(0x0002));
    std::vector<std::string> sent;
    for (const SimFrame& logged : drive->GetFrameLog()) {
        char text[32] = "?";
        const std::vector<uint8_t>& request = logged.request;
        const unsigned reg = request[2] << 8 | request[3];
        if (request[1] == 0x03 || request[1] == 0x10)
            std::snprintf(text, sizeof text, "%c %04X x%d", request[1] == 0x03 ? 'R' : 'W', reg, request[5]);
        else if (request[1] == 0x06)
            std::snprintf(text, sizeof text, "S %04X", reg);
        sent.push_back(text);
    }
    EXPECT_EQ(Joined(sent), Joined(expected));

    std::set<uint16_t> written;
    for (const std::string& frame : expected) {
        char kind = 0;
        unsigned reg = 0;
        int count = 1;
        std::sscanf(frame.c_str(), "%c %x x%d", &kind, &reg, &count);
        if (kind == 'W' || kind == 'S')
            for (int k = 0; k < count; ++k)
                written.insert(static_cast<uint16_t>(reg + k));
    }
    for (const auto& [reg, old] : before) {
        const int group = reg >> 8;
        const int item = reg & 0xFF;
        const uint16_t now = drive->GetRegister(1, reg);
        if (written.count(reg)) {
            const ParamRec* param = doc.FindParam(group, item);
            const std::string text = param ? param->m_strValue : std::string();
            EXPECT_EQ(now, SimDrive::ValueTextToWord(group, item, text))
                << "written " << group << "-" << item << " \"" << text << "\"";
            if (!text.empty()) {
                EXPECT_NE(now, old) << "written " << group << "-" << item << " kept the Read's value";
            }
        } else {
            EXPECT_EQ(now, old) << "not written for this drive: " << group << "-" << item;
        }
    }
}

constexpr uint32_t kOld = 1205;
constexpr uint32_t kRestricted = 0x44E;
constexpr uint32_t kLastOld = 0x1100000;
constexpr uint32_t kRangeA = 0x1100000 + 1202;
constexpr uint32_t kBoundary = 0x1110000;
constexpr uint32_t kRangeB = 0x1110000 + 1202;

INSTANTIATE_TEST_SUITE_P(
    EveryGate, WriteGatesTest,
    ::testing::Values(
        GateCase{kRestricted, 1310}, GateCase{kRestricted, 1311},
        GateCase{kOld, 399}, GateCase{kOld, 400}, GateCase{kOld, 1099}, GateCase{kOld, 1100},
        GateCase{kOld, 1399}, GateCase{kOld, 1400},
        GateCase{kLastOld, 1399}, GateCase{kLastOld, 1400},
        GateCase{kRangeA, 1029}, GateCase{kRangeA, 1030}, GateCase{kRangeA, 1039}, GateCase{kRangeA, 1040},
        GateCase{kRangeA, 1049}, GateCase{kRangeA, 1050}, GateCase{kRangeA, 1059}, GateCase{kRangeA, 1060},
        GateCase{kRangeA, 1092}, GateCase{kRangeA, 1093}, GateCase{kRangeA, 1099}, GateCase{kRangeA, 1100},
        GateCase{kBoundary, 1029}, GateCase{kBoundary, 1030}, GateCase{kBoundary, 1039}, GateCase{kBoundary, 1040},
        GateCase{kBoundary, 1059}, GateCase{kBoundary, 1060}, GateCase{kBoundary, 1100},
        GateCase{kRangeB, 1029}, GateCase{kRangeB, 1030}, GateCase{kRangeB, 1039}, GateCase{kRangeB, 1040},
        GateCase{kRangeB, 1059}, GateCase{kRangeB, 1060}, GateCase{kRangeB, 1119}, GateCase{kRangeB, 1120},
        GateCase{kRangeB, 1129}, GateCase{kRangeB, 1130}),
    [](const ::testing::TestParamInfo<GateCase>& info) {
        char name[48];
        std::snprintf(name, sizeof name, "Code%X_v%d", info.param.model, info.param.version);
        return std::string(name);
    });

} // namespace
