#pragma once
// The program's command ids are numbers above 0x7FFF (57600 New, 32820
// Start, ...). wx asserts that menu ids stay below 0x7FFF, a limit that GTK
// menus do not have; while menu items are made,
// that one assertion is let through and every other one goes to the handler
// installed before.

#include <wx/debug.h>
#include <wx/string.h>

class MenuIdAssertFilter {
public:
    MenuIdAssertFilter() : m_previous(wxSetAssertHandler(&MenuIdAssertFilter::Handle)) { s_previous = m_previous; }
    ~MenuIdAssertFilter()
    {
        wxSetAssertHandler(m_previous);
        s_previous = nullptr;
    }
    MenuIdAssertFilter(const MenuIdAssertFilter&) = delete;
    MenuIdAssertFilter& operator=(const MenuIdAssertFilter&) = delete;

private:
    static void Handle(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
    {
        if (msg == "invalid itemid value")
            return;
        if (s_previous)
            s_previous(file, line, func, cond, msg);
    }

    wxAssertHandler_t m_previous;
    static inline wxAssertHandler_t s_previous = nullptr;
};
