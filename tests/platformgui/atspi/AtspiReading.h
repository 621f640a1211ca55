#pragma once
// What the AT-SPI tests share: the session bus they need, the reader scripts
// of this folder run against this process, and the lines those print.

#include "tests/common/GuiTestSupport.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

// The AT-SPI tests talk to a bus of their own: without one they say why and
// are skipped rather than read another session's desktop.
#define SKIP_WITHOUT_SESSION_BUS()                \
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) \
    GTEST_SKIP() << "no session bus: run under dbus-run-session for the AT-SPI test"

// A reader's exit code when it found no accessibility bus to talk to.
constexpr long kNoAccessibilityBus = 77;

inline std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> parts;
    std::istringstream in(line);
    for (std::string part; std::getline(in, part, '\t');)
        parts.push_back(part);
    return parts;
}

inline std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// What a reader printed: each line split at its tabs into at least `fields`
// parts (the first says what the line is), its errors and its exit code.
struct ReaderOutput {
    std::vector<std::vector<std::string>> lines;
    long exitCode = 0;
    std::string errors;

    bool NoBus() const { return exitCode == kNoAccessibilityBus; }
};

// Runs a reader script of this folder on this process, with the arguments
// after its process id, while this process keeps answering the bus: a
// synchronous wxExecute goes on handling events (timers fire, windows poll).
inline ReaderOutput RunReader(const std::string& script, const std::string& arguments, std::size_t fields,
                              int flags = wxEXEC_SYNC)
{
    const wxString command =
        wxString::Format("/usr/bin/python3 -B %s/platformgui/atspi/%s %ld %s", D390_TEST_SOURCE_DIR, script,
                         static_cast<long>(getpid()), wxString::FromUTF8(arguments));
    wxArrayString output, errors;
    ReaderOutput reading;
    // A reader's first request is the accessibility bridge's whole cache.
    // The bridge keeps GTK's objects of windows that have closed and asks
    // each for its state: those of a gone widget answer with none, and the
    // bridge reports that (and unreferences the nothing it got, and asks the
    // gone container for its children) as criticals of its own. The program
    // cannot reach that cache.
    bool stateSetMissing = false;
    SetExpectedToolkitCritical([&](const std::string& domain, const std::string& message) {
        if (domain == "Atk" && message.find("atk_state_set_contains_state") != std::string::npos)
            return stateSetMissing = true;
        if (!stateSetMissing)
            return false;
        return (domain == "GLib-GObject" &&
                message.find("g_object_unref: assertion 'G_IS_OBJECT (object)' failed") != std::string::npos) ||
               (domain == "Gtk" &&
                message.find("gtk_container_forall: assertion 'GTK_IS_CONTAINER (container)' failed") !=
                    std::string::npos);
    });
    reading.exitCode = wxExecute(command, output, errors, flags);
    SetExpectedToolkitCritical(nullptr);
    for (const wxString& line : errors)
        reading.errors += line.utf8_string() + "\n";
    for (const wxString& line : output) {
        reading.lines.push_back(SplitTabs(line.utf8_string()));
        reading.lines.back().resize(std::max(fields, reading.lines.back().size()));
    }
    return reading;
}

// An object as read_accessible.py prints it.
struct Accessible {
    std::string role, name, description;
};

inline std::vector<Accessible> ObjectsOf(const ReaderOutput& reading)
{
    std::vector<Accessible> objects;
    for (const std::vector<std::string>& parts : reading.lines)
        if (parts[0] == "object")
            objects.push_back({parts[1], parts[2], parts[3]});
    return objects;
}

// Lets the windows draw, poll and answer the bus for a while.
inline void Pump(long milliseconds)
{
    wxStopWatch clock;
    while (clock.Time() < milliseconds) {
        wxTheApp->Yield(true);
        wxMilliSleep(5);
    }
}
