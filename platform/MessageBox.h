#pragma once
// The program's one message box. Window code installs a handler that shows a
// real dialog; tests install a recorder so that no test ever waits on a window.

#include <functional>
#include <string>

// Button sets and icons, as the message calls of the program ask for them.
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_TYPEMASK = 0xF,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_ICONMASK = 0xF0,
};

// Answers.
enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

using MessageHandler = std::function<int(const std::string& text, unsigned type)>;

// Shows text with the buttons of type and returns the button chosen.
int AfxMessageBox(const std::string& text, unsigned type = MB_OK);
// Same, with the text taken from the string table.
int AfxMessageBox(unsigned stringId, unsigned type = MB_OK);

// Replaces the handler and returns the previous one. Without a handler the
// text goes to standard error and the first button's answer is returned.
MessageHandler SetMessageHandler(MessageHandler handler);

// What AfxMessageBox does with handler in place of the installed one.
int ShowMessageWith(const MessageHandler& handler, const std::string& text, unsigned type);

// The bell: a refused keystroke tells the user so. Window code installs the
// toolkit's bell; tests install a counter. Without a handler nothing sounds.
using BellHandler = std::function<void()>;
void MessageBeep();
// Replaces the bell and returns the previous one.
BellHandler SetBellHandler(BellHandler handler);
