#pragma once
// Helpers of window tests.

#include <functional>
#include <string>

class wxDialog;

// Answers modal dialogs that a test expects: the function gets the dialog
// about to be shown modally and returns the code ShowModal should return
// (it may drive the dialog first). Pass nullptr to fail on every modal again.
void SetModalAnswer(std::function<int(wxDialog*)> answer);

// Sees every critical message and warning of GLib, GTK and the libraries
// below them (domain, text) as it comes, before the run fails on criticals.
// The process can have one log writer only: the test main owns it, and tests
// that want the toolkit's messages ask here. Pass nullptr to stop.
void SetToolkitMessageObserver(std::function<void(const std::string& domain, const std::string& message)> observer);

// Takes a critical message of the toolkit (domain, text) as expected while
// set: it is printed but fails no test. Only for what the toolkit itself
// does wrong and the program cannot reach. Pass nullptr to stop.
void SetExpectedToolkitCritical(std::function<bool(const std::string& domain, const std::string& message)> expected);

// True while a window manager runs on the test display (the tests registered
// with d390_add_wm_test run under openbox). Suites named "...OnDesktop" check
// what only a desktop shows (activation, focus given by the window manager)
// and skip themselves on a bare display.
bool WindowManagerRunning();
