#include "platform/WxMessageBox.h"

#include "platform/MessageBox.h"

#include <wx/msgdlg.h>
#include <wx/app.h>

namespace {

int ShowWxMessage(const std::string& text, unsigned type)
{
    long style = 0;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: style = wxOK | wxCANCEL; break;
    case MB_YESNO: style = wxYES_NO; break;
    case MB_YESNOCANCEL: style = wxYES_NO | wxCANCEL; break;
    default: style = wxOK; break;
    }
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR: style |= wxICON_ERROR; break;
    case MB_ICONQUESTION: style |= wxICON_QUESTION; break;
    case MB_ICONWARNING: style |= wxICON_WARNING; break;
    case MB_ICONINFORMATION: style |= wxICON_INFORMATION; break;
    default: break;
    }
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    wxMessageDialog dialog(parent, wxString::FromUTF8(text), wxTheApp ? wxTheApp->GetAppDisplayName() : wxString("d390"), style);
    switch (dialog.ShowModal()) {
    case wxID_YES: return IDYES;
    case wxID_NO: return IDNO;
    case wxID_CANCEL: return IDCANCEL;
    default: return IDOK;
    }
}

} // namespace

void InstallWxMessageHandler()
{
    SetMessageHandler(ShowWxMessage);
}
