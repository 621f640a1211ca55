#pragma once
// A simulated drive on a pseudo-terminal, our own link to it, a drive session
// and a document: what the group readers and writers run against.

#include "document/D390DocData.h"
#include "link/DriveQueries.h"
#include "link/ParamGroupIO.h"
#include "link/RegisterText.h"
#include "link/SerialComm.h"
#include "session/DriveSession.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/RecordingWindows.h"
#include "tests/common/RequestShape.h"
#include "tools/SimulatedDrive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// Model codes of the classes the gates tell apart.
constexpr uint32_t kOldModel = 0x4B5;                 // plain 2P5: old, never restricted
constexpr uint32_t kRestrictedModel = 0x4B2;          // plain 2P2: restricted up to version 1.31
constexpr uint32_t kRangeAModel = 0x1100000 + 1202;   // S 2P2
constexpr uint32_t kRangeBModel = 0x1110000 + 1202;   // S-P 2P2
constexpr uint32_t kBoundaryModel = 0x1110000;        // new, in neither range
constexpr uint32_t kLastOldModel = 0x1100000;         // the highest old code

// A readable test name for one case of a table: "G07_RangeA_v1093_25". The
// index keeps names unique where two cases share group, class and version.
inline std::string CaseName(int group, uint32_t model, int version, size_t index)
{
    const char* kind = model == kOldModel         ? "Old"
                       : model == kRestrictedModel ? "Restricted"
                       : model == kRangeAModel     ? "RangeA"
                       : model == kRangeBModel     ? "RangeB"
                       : model == kBoundaryModel   ? "Exactly1110000"
                       : model == kLastOldModel    ? "Exactly1100000"
                                                   : "Other";
    char name[80];
    std::snprintf(name, sizeof name, "G%02d_%s_v%d_%zu", group, kind, version, index);
    return name;
}

// Our link with a hook before each transaction, so that a test can flip one of
// the drive's failure switches between two frames of a group.
class HookedComm : public CSerialComm {
public:
    ErrType CommandSend(uint8_t* tx, unsigned long txLen, uint8_t* rx, unsigned long rxLen) override
    {
        ++m_count;
        if (m_before)
            m_before(m_count);
        return CSerialComm::CommandSend(tx, txLen, rx, rxLen);
    }
    std::function<void(int)> m_before; // gets the 1-based number of the transaction
    int m_count = 0;
};

// The word the drive holds in register GG-NN during a read test: distinct per
// item, with digits that show where a decimal point went.
inline uint16_t PatternWord(int item)
{
    return static_cast<uint16_t>(12345 + 111 * item);
}

inline bool In(int item, std::initializer_list<int> items)
{
    return std::find(items.begin(), items.end(), item) != items.end();
}

inline bool IsNew(uint32_t model) { return model > 0x1100000; }

// The form in which an item is shown, written out from the drive's register
// documentation item by item, independently of the block tables.
inline char DocumentedForm(int group, int item, uint32_t model, float version, int mode)
{
    const bool rangeA = model > 0x1100000 && model < 0x1110000;
    const bool rangeB = model > 0x1110000;
    switch (group) {
    case 0:
        return In(item, {8, 11, 12, 13, 18}) ? '2' : In(item, {14, 15, 16, 17, 19, 20}) ? '1' : 'd';
    case 1:
        return In(item, {1, 3, 5, 7, 9, 10, 12, 15, 16}) ? '1' : In(item, {2, 4, 6, 8, 11, 18}) ? '2' : 'd';
    case 2:
        return In(item, {0, 1, 2, 4, 5, 6}) ? '1' : 'd';
    case 3:
        return item == 9 ? 'b' : In(item, {6, 13, 14, 17, 18}) ? '2' : In(item, {15, 16, 20, 21}) ? '1' : 'd';
    case 5:
        return item >= 1 && item <= 8 ? '2' : item >= 17 ? '1' : 'd';
    case 6:
        return item >= 1 && item <= 7 ? '2' : item >= 16 && item <= 23 ? '1' : 'd';
    case 7:
        return item == 6 ? '2' : In(item, {1, 5, 8, 11}) ? '1' : 'd';
    case 8:
        if (IsNew(model))
            return In(item, {0, 5}) ? 'b' : In(item, {4, 13, 14, 15, 16, 17, 18}) ? '1' : item == 11 ? '2' : 'd';
        return item == 0 ? 'b' : In(item, {4, 10, 11}) ? '1' : 'd';
    case 9:
        return item == 6 ? '1' : 'd';
    case 10:
        if (item == 5)
            return rangeB || (rangeA && version >= 1.1f) ? '2' : '1';
        return In(item, {4, 7, 17, 19}) ? '2' : In(item, {2, 6, 10, 13, 18, 20}) ? '1' : 'd';
    case 11:
        return In(item, {4, 5, 6, 7, 14}) ? '1' : In(item, {8, 9, 10, 11, 15}) ? '2' : 'd';
    case 12:
        return item == 0 ? 'o' : item == 5 ? '-' : item == 6 ? '1' : 'd';
    case 13:
        return item == 0 ? 'c' : item == 1 ? '3' : item == 7 ? '5' : item == 8 ? '4' : 'd';
    case 14:
        if (In(item, {9, 12, 15, 24, 34, 38, 39}))
            return mode == 0 ? '2' : 'd';
        if (In(item, {2, 3, 6, 8, 10, 22, 28, 71, 74, 76}))
            return '2';
        return In(item, {7, 11, 13, 14, 16, 17, 18, 25, 26, 27, 30, 37, 75}) ? '1' : 'd';
    default:
        return 'd';
    }
}

inline std::string Joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

// The items of the group that the requests of one kind ('R' read, 'W' block
// write) carry, from a list such as "R 0200 x4, W 0204 x1".
inline std::set<int> ItemsIn(const char* requests, int group, char kind)
{
    std::set<int> items;
    std::istringstream in(requests);
    std::string token;
    while (std::getline(in, token, ',')) {
        char found = 0;
        unsigned reg = 0;
        int count = 0;
        if (std::sscanf(token.c_str(), " %c %x x%d", &found, &reg, &count) == 3 && found == kind &&
            static_cast<int>(reg >> 8) == group)
            for (int k = 0; k < count; ++k)
                items.insert(static_cast<int>(reg & 0xFF) + k);
    }
    return items;
}

class GroupIOTest : public ::testing::Test {
protected:
    // Starts a drive of the model and version on stations 1 and 7, opens our
    // link to it and makes the session and the document match the drive.
    void StartDrive(uint32_t model, int version)
    {
        SimDriveConfig config;
        config.stations = {SimStationConfig{1, model, version}, SimStationConfig{7, model, version}};
        m_drive = std::make_unique<CSimulatedDrive>(config);
        std::string error;
        ASSERT_TRUE(m_drive->Start(&error)) << error;
        ASSERT_NE(m_comm.InitComm(m_drive->GetPtyPath(), 19200, 8, 0, 1.0f), 0);
        LinkTimeouts timeouts;
        timeouts.firstByteMs = 300; // the silent cases wait this long; answers come within milliseconds
        m_comm.SetTimeouts(timeouts);

        m_session.m_pComm = &m_comm;
        m_doc.m_nModelCode = static_cast<int>(model);
        m_doc.m_fDriveVersion = VersionFromRegister(version);
        m_doc.m_Groups.assign(15, GroupRec{});
        for (GroupRec& group : m_doc.m_Groups) {
            group.m_Params.resize(100);
            for (ParamRec& param : group.m_Params) {
                param.m_strValue = "set";
                param.m_strRead = "old";
            }
        }
        m_drive->ClearFrameLog();
    }

    void TearDown() override
    {
        m_session.m_pComm = nullptr;
        m_comm.Close();
        if (m_drive)
            m_drive->Stop();
    }

    std::vector<std::string> Requests() const
    {
        std::vector<std::string> shapes;
        for (const SimFrame& frame : m_drive->GetFrameLog())
            shapes.push_back(RequestShape(frame.request));
        return shapes;
    }

    const std::string& ReadText(int group, int item) { return m_doc.m_Groups[group].m_Params[item].m_strRead; }

    std::unique_ptr<CSimulatedDrive> m_drive;
    HookedComm m_comm;
    // The transfer as the session sets it up now: the project's model code then.
    CParamGroupIO IO() { return CParamGroupIO(m_session.TransferContext(m_doc)); }

    RecordingWindows m_windows;
    CDriveSession m_session{m_windows};
    CD390DocData m_doc;
    MessageRecorder m_messages;
};
