#pragma once
// Runs the application's start-up inside a window test: a CD390App becomes the
// process's application for the test, with the build's program folder, and a
// temporary home, configuration and temporary folder so that the profile and
// the hand-over file never touch the user's own.

#include "shell/D390App.h"
#include "shell/MainFrame.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>
#include <wx/docview.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_home = MakeTempFolder();
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "TMPDIR"}) {
            const char* value = std::getenv(name);
            m_savedEnv.push_back({name, value ? value : "", value != nullptr});
        }
        setenv("HOME", m_home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_home + "config").c_str(), 1);
        setenv("TMPDIR", m_home.c_str(), 1);
    }

    void TearDown() override
    {
        Stop();
        SetModalAnswer(nullptr);
        for (const SavedEnv& saved : m_savedEnv) {
            if (saved.set)
                setenv(saved.name, saved.value.c_str(), 1);
            else
                unsetenv(saved.name);
        }
        std::filesystem::remove_all(m_home);
    }

    bool Start(std::vector<std::string> args = {"d390"})
    {
        m_previousApp = wxApp::GetInstance();
        EndIdleSource(m_previousApp);
        m_app = new CD390App; // becomes the application of the process
        wxApp::SetInstance(m_app);
        return m_app->InitInstance(args, TestProgramFolder());
    }

    void Stop()
    {
        if (!m_app)
            return;
        if (m_app->m_pDocManager) {
            for (wxDocument* document : m_app->m_pDocManager->GetDocumentsVector())
                document->Modify(false);
            m_app->m_pDocManager->Clear(true);
        }
        // Gone for real, not left for an idle time: a later test that runs
        // the event loop would otherwise deliver events to this frame.
        if (m_app->m_pMainFrame) {
            delete m_app->m_pMainFrame;
            m_app->m_pMainFrame = nullptr;
        }
        m_app->ProcessPendingEvents();
        // Without a main loop nothing deletes the destroyed windows: a frame
        // left over would keep the deleted document manager, and the next
        // test that runs an event loop would deliver events to it.
        while (!wxPendingDelete.empty()) {
            wxObject* object = wxPendingDelete.front();
            wxPendingDelete.DeleteObject(object);
            delete object;
        }
        m_app->ExitInstance();
        delete m_app->m_pDocManager;
        m_app->m_pDocManager = nullptr;
        EndIdleSource(m_app);
        delete m_app;
        m_app = nullptr;
        wxApp::SetInstance(m_previousApp);
    }

    CMainFrame& Frame() { return *m_app->m_pMainFrame; }

    // Sends a menu command as a click on the menu would.
    void Command(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        event.SetEventObject(&Frame());
        Frame().ProcessWindowEvent(event);
    }

    // The enabled state that the update handlers give a command.
    bool IsEnabled(int id)
    {
        wxUpdateUIEvent event(id);
        event.SetEventObject(&Frame());
        Frame().ProcessWindowEvent(event);
        return !event.GetSetEnabled() || event.GetEnabled();
    }

    std::string m_home;
    CD390App* m_app = nullptr;
    MessageRecorder m_messages;

private:
    // An application's idle source runs whichever application is the
    // process's when it fires; the one that ends it keeps its own id, so the
    // owner would remove it a second time (at its clean-up, a GLib critical
    // after the last test). Each application's source ends before the other
    // takes over; the next wake-up adds a new one.
    static void EndIdleSource(wxAppConsole* app)
    {
        if (auto* gui = dynamic_cast<wxApp*>(app))
            gui->EventsPending();
    }

    struct SavedEnv {
        const char* name;
        std::string value;
        bool set;
    };
    std::vector<SavedEnv> m_savedEnv;
    wxAppConsole* m_previousApp = nullptr;
};
