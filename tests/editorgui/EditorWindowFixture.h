#pragma once
// The editor's window under Xvfb as the main frame would open it: a project
// of a model built from the shipped files, the links the window reports
// through, and on request a simulated drive on a pseudo-terminal with our
// link open to it. What a group's pages need beyond this stays in its test.

#include "document/D390DocData.h"
#include "editor/GroupPagePanel.h"
#include "editor/ParamGroupDlg.h"
#include "link/SerialComm.h"
#include "pages/GroupPages.h"
#include "platform/ResourceModule.h"
#include "session/DriveSession.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/RecordingWindows.h"
#include "tests/common/TestPaths.h"
#include "tests/editor/HookedComm.h"
#include "tools/SimulatedDrive.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/choice.h>
#include <wx/notebook.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <deque>
#include <memory>
#include <vector>

// Lets the toolkit deliver what the last step queued (layout, focus, events).
inline void Yield()
{
    for (int i = 0; i < 5; ++i)
        wxTheApp->Yield(true);
}

// A button pressed by the user: the event the toolkit would send.
inline void Click(wxWindow* window, int id)
{
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(window->FindWindow(id));
    window->FindWindow(id)->ProcessWindowEvent(event);
}

// A user's choice in a list: the selection, then its event.
inline void Choose(wxWindow* page, int id, int entry)
{
    auto* list = wxDynamicCast(page->FindWindow(id), wxChoice);
    ASSERT_NE(list, nullptr) << id;
    list->SetSelection(entry);
    wxCommandEvent event(wxEVT_CHOICE, id);
    event.SetEventObject(list);
    event.SetInt(entry);
    list->ProcessWindowEvent(event);
}

// Enter typed in an edit: the edit's own event.
inline void TypeEnter(wxTextCtrl* edit)
{
    wxCommandEvent enter(wxEVT_TEXT_ENTER, edit->GetId());
    enter.SetEventObject(edit);
    edit->ProcessWindowEvent(enter);
}

// A key as the window's key hook sees it, coming from the control that had
// the focus; then what it queued.
inline void PressKey(wxWindow* window, wxWindow* focus, int keyCode)
{
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = keyCode;
    key.SetEventObject(focus);
    window->ProcessWindowEvent(key);
    Yield();
}

class EditorWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterGroupPages(); }

    // A new project of the model, no drive; the links answer the station
    // chooser from m_stations and record the groups stored.
    void MakeProject(int modelCode)
    {
        m_doc.m_strProgramFolder = TestProgramFolder();
        m_doc.m_nModelCode = modelCode;
        ASSERT_TRUE(m_doc.NewProject());
        m_messages.Clear();
        m_links.drive = &m_frame;
        m_links.doc = &m_doc;
        m_links.chooseStation = [this] {
            if (m_stations.empty())
                return -1;
            int station = m_stations.front();
            m_stations.pop_front();
            return station;
        };
        m_links.groupStored = [this](int group) { m_stored.push_back(group); };
        m_links.curEdit = &m_pCurEdit;
        m_links.editSel = &m_dwEditSel;
        m_links.keypad = &m_pKeypad;
    }

    // A drive of the model on station 1 with our link open to it.
    void Connect(int modelCode, int version = 1130)
    {
        SimDriveConfig config;
        config.stations = {SimStationConfig{1, static_cast<uint32_t>(modelCode), version}};
        m_drive = std::make_unique<CSimulatedDrive>(config);
        ASSERT_TRUE(m_drive->Start());
        ASSERT_NE(m_comm.InitComm(m_drive->GetPtyPath(), 19200, 8, 0, 1.0f), 0);
        m_frame.m_pComm = &m_comm;
        m_frame.m_bConnected = 1;
        m_frame.m_Stations = {1};
    }

    void TearDown() override
    {
        if (m_editor)
            m_editor->Destroy();
        Yield();
        m_frame.m_pComm = nullptr;
        m_comm.Close();
        if (m_drive)
            m_drive->Stop();
    }

    // The editor of the group shown, on the tab of the item (-1: the first);
    // an editor opened before is closed first.
    CParamGroupDlg& Open(int group, int nItem = -1)
    {
        if (m_editor)
            m_editor->Destroy();
        m_editor = new CParamGroupDlg(nullptr, m_links);
        m_editor->m_nGroup = group;
        m_editor->m_nItem = nItem;
        m_editor->BuildEditor();
        m_editor->Show();
        Yield();
        return *m_editor;
    }

    template <class T>
    T* Control(int page, int id)
    {
        return dynamic_cast<T*>(m_editor->PagePanel(page)->FindWindow(id));
    }
    wxTextCtrl* Edit(int page, int id) { return wxDynamicCast(m_editor->PagePanel(page)->FindWindow(id), wxTextCtrl); }
    wxChoice* List(int page, int id) { return wxDynamicCast(m_editor->PagePanel(page)->FindWindow(id), wxChoice); }
    // A static text's label; "(none)" where the page has no such text.
    wxString Label(int page, int id)
    {
        auto* text = wxDynamicCast(m_editor->PagePanel(page)->FindWindow(id), wxStaticText);
        return text ? text->GetLabel() : wxString("(none)");
    }

    RecordingWindows m_windows;
    CDriveSession m_frame{m_windows};
    CD390DocData m_doc{m_windows};
    HookedComm m_comm; // a test may flip the drive's switches between two frames
    std::unique_ptr<CSimulatedDrive> m_drive;
    MessageRecorder m_messages;
    EditorLinks m_links;
    std::deque<int> m_stations;
    std::vector<int> m_stored;
    wxTextCtrl* m_pCurEdit = nullptr;
    long m_dwEditSel = 0;
    wxWindow* m_pKeypad = nullptr;
    CParamGroupDlg* m_editor = nullptr;
};
