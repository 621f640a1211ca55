#pragma once
// The editor's engine against the simulated drive: a project built from the
// shipped definition files for a model, our link to a drive on a
// pseudo-terminal, the group tables registered, and a window side that
// answers the station chooser and records what the engine asked of it.

#include "document/D390DocData.h"
#include "editor/GroupEditor.h"
#include "link/DriveQueries.h"
#include "link/ParamGroupIO.h"
#include "link/SerialComm.h"
#include "pages/GroupPages.h"
#include "platform/ResourceModule.h"
#include "session/DriveSession.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/RecordingWindows.h"
#include "tests/common/RequestShape.h"
#include "tests/common/TestPaths.h"
#include "tests/editor/HookedComm.h"
#include "tools/SimulatedDrive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>


class RecordingHost : public IEditorHost {
public:
    // The data exchange as the window's panel makes it: the controls are the
    // models' texts, whose whole-number rows are checked (and prompted for).
    bool TakeControls(int page) override
    {
        if (!m_editor)
            return true;
        return m_editor->m_Pages[static_cast<std::size_t>(page)]->ExchangeWholeNumbers(m_editor->Context());
    }
    CGroupEditor* m_editor = nullptr;
    int ChooseStation() override
    {
        ++m_chooserShown;
        if (m_stations.empty())
            return -1;
        int station = m_stations.front();
        m_stations.pop_front();
        return station;
    }
    void FocusRow(int page, int row) override { m_focus = {page, row}; }
    void SelectTab(int tab) override { m_selectedTab = tab; }
    void GroupStored(int group) override { m_stored.push_back(group); }

    std::deque<int> m_stations;
    int m_chooserShown = 0;
    std::pair<int, int> m_focus{-1, -1};
    int m_selectedTab = -1;
    std::vector<int> m_stored;
};

inline std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string text;
    char byte[4];
    for (uint8_t b : bytes) {
        std::snprintf(byte, sizeof byte, "%s%02X", text.empty() ? "" : " ", b);
        text += byte;
    }
    return text;
}

// A message of the string table, as the editor shows it.
inline std::string Msg(unsigned id)
{
    return LoadResString(id);
}

// A function-0x10 frame written out by hand: station, first register, words.
inline std::string BlockFrame(int station, int reg, const std::vector<uint16_t>& words)
{
    std::vector<uint8_t> frame{static_cast<uint8_t>(station), 0x10, static_cast<uint8_t>(reg >> 8),
                               static_cast<uint8_t>(reg), 0, static_cast<uint8_t>(words.size()),
                               static_cast<uint8_t>(2 * words.size())};
    for (uint16_t word : words) {
        frame.push_back(static_cast<uint8_t>(word >> 8));
        frame.push_back(static_cast<uint8_t>(word));
    }
    const uint16_t crc = CSimulatedDrive::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return Hex(frame);
}

// A function-06 frame written out by hand.
inline std::string SingleFrame(int station, int reg, uint16_t word)
{
    std::vector<uint8_t> frame{static_cast<uint8_t>(station), 0x06, static_cast<uint8_t>(reg >> 8),
                               static_cast<uint8_t>(reg), static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word)};
    const uint16_t crc = CSimulatedDrive::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return Hex(frame);
}

class EditorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterGroupPages(); }

    // A project of the model built from the shipped files; no drive.
    void MakeProject(int modelCode)
    {
        m_doc.m_strProgramFolder = TestProgramFolder();
        m_doc.m_nModelCode = modelCode;
        m_context.modelCode = modelCode;
        ASSERT_TRUE(m_doc.NewProject());
        m_messages.Clear();
    }

    // The project, and a drive of the model on stations 1 to 5 with our
    // link open to it.
    void Connect(int modelCode, int version = 1130)
    {
        MakeProject(modelCode);
        SimDriveConfig config;
        config.stations.clear();
        for (int station = 1; station <= 5; ++station)
            config.stations.push_back(SimStationConfig{station, static_cast<uint32_t>(modelCode), version});
        m_drive = std::make_unique<CSimulatedDrive>(config);
        std::string error;
        ASSERT_TRUE(m_drive->Start(&error)) << error;
        ASSERT_NE(m_comm.InitComm(m_drive->GetPtyPath(), 19200, 8, 0, 1.0f), 0);
        LinkTimeouts timeouts;
        timeouts.firstByteMs = 300;
        m_comm.SetTimeouts(timeouts);
        m_frame.m_pComm = &m_comm;
        m_frame.m_bConnected = 1;
        m_frame.m_Stations = {1, 2, 3, 4, 5};
        m_drive->ClearFrameLog();
    }

    void TearDown() override
    {
        m_host.m_editor = nullptr;
        m_editor.reset();
        m_frame.m_pComm = nullptr;
        m_comm.Close();
        if (m_drive)
            m_drive->Stop();
    }

    CGroupEditor& Open(int group, int nItem = -1)
    {
        const GroupTable* table = FindGroupTable(group);
        EXPECT_NE(table, nullptr) << group;
        m_editor = std::make_unique<CGroupEditor>(m_context, *table, group, nItem);
        m_host.m_editor = m_editor.get();
        m_editor->InitGroupTabs();
        return *m_editor;
    }

    // One row button on station 1, the messages of earlier steps cleared:
    // true when the row was written.
    bool Press(int page, int row)
    {
        m_messages.Clear();
        m_host.m_stations = {1};
        return m_editor->OnParamButton(page, row);
    }

    CGroupPageModel& Page(int page) { return *m_editor->m_Pages[static_cast<std::size_t>(page)]; }
    std::string& Text(int page, int row) { return Page(page).m_rows[static_cast<std::size_t>(row)].text; }
    int& Selection(int page, int row) { return Page(page).m_rows[static_cast<std::size_t>(row)].selection; }
    std::string& SetValue(int group, int item) { return m_doc.FindParam(group, item)->m_strValue; }

    std::vector<std::string> Shapes() const
    {
        std::vector<std::string> shapes;
        for (const SimFrame& frame : m_drive->GetFrameLog())
            shapes.push_back(RequestShape(frame.request));
        return shapes;
    }
    std::vector<std::string> WriteFrames() const
    {
        std::vector<std::string> frames;
        for (const SimFrame& frame : m_drive->GetFrameLog())
            if (frame.request.size() > 1 && frame.request[1] != 0x03)
                frames.push_back(Hex(frame.request));
        return frames;
    }
    bool AnyFlag(int group) const
    {
        for (uint32_t flag : m_doc.m_Changed[group])
            if (flag)
                return true;
        return false;
    }

    RecordingWindows m_windows;
    CDriveSession m_frame{m_windows};
    CD390DocData m_doc{m_windows};
    HookedComm m_comm;
    RecordingHost m_host;
    MessageRecorder m_messages;
    std::unique_ptr<CSimulatedDrive> m_drive;
    EditorContext m_context{m_frame, m_doc, m_host, 0};
    std::unique_ptr<CGroupEditor> m_editor;
};
