#pragma once
// A screen reader run beside the test process (press_button.py): it finds a
// window's button over AT-SPI while the windows open, says so by a file
// "<when>.ready", and presses the button by its accessible action the moment
// the test creates the file "<when>". The press arrives in whatever loop runs
// then, a message box's or a dialog's among them.

#include "tests/common/GuiTestSupport.h"
#include "tests/common/PumpUntil.h"

#include <gtest/gtest.h>
#include <wx/file.h>
#include <wx/filename.h>
#include <wx/process.h>
#include <wx/utils.h>

#include <memory>
#include <string>
#include <unistd.h>
#include <utility>

// What the accessibility bridge says of the gone windows of earlier cases
// (the reader's search meets its cache of them), and what it asks of a
// notebook page the toolkit has just taken out while the status monitor's
// notebook is deleted; the program reaches neither.
inline bool IsBridgeComplaintOfAGoneObject(const std::string& domain, const std::string& message)
{
    static const std::pair<const char*, const char*> kComplaints[] = {
        { "Atk", "atk_state_set_contains_state: assertion 'ATK_IS_STATE_SET (set)' failed" },
        { "Atk", "atk_selection_ref_selection: assertion 'ATK_IS_SELECTION (obj)' failed" },
        { "Gtk", "gtk_accessible_get_widget: assertion 'GTK_IS_ACCESSIBLE (accessible)' failed" },
        { "Gtk", "gtk_container_forall: assertion 'GTK_IS_CONTAINER (container)' failed" },
        { "GLib-GObject", "g_object_unref: assertion 'G_IS_OBJECT (object)' failed" },
        { "Gtk", "gtk_notebook_get_tab_label: assertion 'list != NULL' failed" },
    };
    for (const auto& [from, text] : kComplaints)
        if (domain == from && message.find(text) != std::string::npos)
            return true;
    return false;
}

class ReaderPress {
public:
    ReaderPress(const char* windowName, const char* buttonName)
        : m_when(wxFileName::CreateTempFileName("d390-press").utf8_string())
    {
        wxRemoveFile(wxString::FromUTF8(m_when));
        SetExpectedToolkitCritical(IsBridgeComplaintOfAGoneObject);
        const wxString command =
            wxString::Format("/usr/bin/python3 -B %s/platformgui/atspi/press_button.py %ld \"%s\" \"%s\" %s",
                D390_TEST_SOURCE_DIR, static_cast<long>(getpid()), windowName, buttonName,
                wxString::FromUTF8(m_when));
        m_started = wxExecute(command, wxEXEC_ASYNC, m_process.get()) > 0;
    }

    ReaderPress(const ReaderPress&) = delete;
    ReaderPress& operator=(const ReaderPress&) = delete;

    ~ReaderPress()
    {
        SetExpectedToolkitCritical(nullptr);
        if (m_started && !m_process->m_ended)
            m_process.release()->Detach(); // it deletes itself when it ends
        wxRemoveFile(wxString::FromUTF8(m_when));
        wxRemoveFile(wxString::FromUTF8(m_when + ".ready"));
    }

    bool Started() const { return m_started; }
    bool Ready() const { return wxFileExists(wxString::FromUTF8(m_when + ".ready")); }
    void PressNow() const { wxFile().Create(wxString::FromUTF8(m_when)); }

    // The reader pressed the button and ended well (it is not left waiting).
    void ExpectPressed(const std::string& what)
    {
        PumpUntil([this] { return m_process->m_ended; }, 12000);
        SetExpectedToolkitCritical(nullptr);
        EXPECT_TRUE(m_process->m_ended) << what;
        EXPECT_EQ(m_process->m_status, 0) << what;
    }

private:
    class Process : public wxProcess {
    public:
        void OnTerminate(int, int status) override
        {
            m_status = status;
            m_ended = true;
        }
        bool m_ended = false;
        int m_status = -1;
    };

    std::string m_when;
    std::unique_ptr<Process> m_process = std::make_unique<Process>();
    bool m_started = false;
};
