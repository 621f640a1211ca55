#pragma once
// What the three password dialogs share: their rows, buttons and the check of OK.

#include "platform/DialogUnits.h"
#include "platform/MessageBox.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <string>

namespace PasswordDlg {

inline constexpr unsigned long kPasswordLength = 5;

inline wxTextCtrl* AddRow(wxDialog* dialog, int id, const char* label, int y)
{
    new wxStaticText(dialog, wxID_ANY, label, DlgPoint(dialog, 14, y + 2), DlgSize(dialog, 40, 10));
    auto* edit = new wxTextCtrl(dialog, id, wxEmptyString, DlgPoint(dialog, 58, y), DlgSize(dialog, 80, 12),
                                wxTE_PASSWORD);
    edit->SetMaxLength(kPasswordLength);
    return edit;
}

inline void AddButtons(wxDialog* dialog, int y)
{
    auto* ok = new wxButton(dialog, wxID_OK, "OK", DlgPoint(dialog, 30, y), DlgSize(dialog, 48, 14));
    new wxButton(dialog, wxID_CANCEL, "Cancel", DlgPoint(dialog, 86, y), DlgSize(dialog, 48, 14));
    ok->SetDefault();
}

inline std::string Text(const wxTextCtrl* edit)
{
    return edit->GetValue().utf8_string();
}

// Shows the message of a refused input; true when there was none.
inline bool Accept(unsigned message)
{
    if (message == 0)
        return true;
    AfxMessageBox(message, MB_OK);
    return false;
}

} // namespace PasswordDlg
