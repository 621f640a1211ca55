#pragma once
// The parameter password of a drive (register 13-07): the rules of the three
// password dialogs and the Password Set and Password Release commands. The
// dialogs are passed in, so the commands run without windows in tests.

#include <cstdint>
#include <functional>
#include <string>

class CDriveSession;

// 0 when text is a password (digits only, at most 65535; empty means 0), else
// the id of the message that says why not.
unsigned CheckPasswordText(const std::string& text);
// The checks of the Password Set dialog (password, repeat), the Change
// Password dialog (old, new, repeat), in their order.
unsigned CheckPasswordSetInput(const std::string& password, const std::string& repeat);
unsigned CheckChangePasswordInput(const std::string& oldText, const std::string& newText, const std::string& repeat);
// The value of a checked password text.
uint16_t PasswordValue(const std::string& text);

struct PasswordDialogs {
    // The station chooser; false on Cancel.
    std::function<bool(int& station)> selectStation;
    // Password Set: the new password text; false on Cancel.
    std::function<bool(std::string& password)> askNewPassword;
    // Change Password: old and new texts; false on Cancel.
    std::function<bool(std::string& oldText, std::string& newText)> askChangePassword;
    // Password Input: the password to release; false on Cancel.
    std::function<bool(std::string& password)> askPassword;
};

// Command 32794: sets a password, or changes the one that is active.
void RunPasswordSet(CDriveSession& session, const PasswordDialogs& dialogs);
// Command 32795: releases the active password.
void RunPasswordRelease(CDriveSession& session, const PasswordDialogs& dialogs);
