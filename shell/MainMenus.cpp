#include "shell/MainMenus.h"

#include "platform/MenuIdAssertFilter.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "res/StringIds.h"
#include "session/RecentFileList.h"
#include "shell/MainFrameLayout.h"

#include <wx/menu.h>

namespace {

enum class Need { Always, Project };

struct MenuItem {
    int id;           // 0: separator
    const char* text; // nullptr: the group title of the string table
    Need need;
    wxItemKind kind = wxITEM_NORMAL;
};

struct Menu {
    const char* title;
    Need need;
    std::vector<MenuItem> items;
};

const std::vector<Menu>& MenuTable()
{
    static const std::vector<Menu> menus = {
        {"&File", Need::Always, {
            {ID_FILE_NEW, "&New\tCtrl+N", Need::Always},
            {ID_FILE_OPEN, "&Open...\tCtrl+O", Need::Always},
            {ID_FILE_CLOSE, "&Close", Need::Project},
            {ID_FILE_SAVE, "&Save\tCtrl+S", Need::Project},
            {ID_FILE_SAVE_AS, "Save &As...", Need::Project},
            {0, "", Need::Project},
            {ID_IMPORT_PARAMS, "&Import Parameters...", Need::Project},
            {ID_EXPORT_PARAMS, "&Export Parameters...", Need::Project},
            {0, "", Need::Project},
            {ID_PRINT_TITLE, "Print &Title...", Need::Project},
            {ID_FILE_PRINT, "&Print...\tCtrl+P", Need::Project},
            {ID_FILE_PRINT_PREVIEW, "Print Pre&view", Need::Project},
            {0, "", Need::Always},
            {ID_FILE_PRINT_SETUP, "P&rint Setup...", Need::Always},
            {0, "", Need::Always},
            {0, "", Need::Always}, // the recent projects go before this separator
            {ID_APP_EXIT, "E&xit", Need::Always},
        }},
        {"&Parameter", Need::Project, {
            {ID_GROUP_00, nullptr, Need::Project}, {ID_GROUP_01, nullptr, Need::Project},
            {ID_GROUP_02, nullptr, Need::Project}, {32776, nullptr, Need::Project}, {32777, nullptr, Need::Project},
            {32778, nullptr, Need::Project}, {32779, nullptr, Need::Project}, {32780, nullptr, Need::Project},
            {32781, nullptr, Need::Project}, {32782, nullptr, Need::Project}, {32783, nullptr, Need::Project},
            {32784, nullptr, Need::Project}, {32785, nullptr, Need::Project}, {ID_GROUP_13, nullptr, Need::Project},
            {ID_GROUP_14, nullptr, Need::Project},
        }},
        {"&Communication", Need::Project, {
            {ID_CONNECT, "&Connect...", Need::Project},
            {0, "", Need::Project},
            {ID_READ, "&Read", Need::Project},
            {ID_WRITE, "&Write", Need::Project},
            {ID_AUTO_REFRESH, "&AutoRefresh", Need::Project, wxITEM_CHECK},
            {ID_COMPARE, "C&ompare...", Need::Project},
        }},
        {"&Monitor", Need::Project, {
            {ID_MONITOR_STATUS, "&Status", Need::Project},
            {ID_MONITOR_CONTROL, "Co&ntrol", Need::Project},
            {ID_GRAPH_WATCH, "&Graph Watch", Need::Project},
            {ID_KEYPAD, "&KeyPad", Need::Project},
        }},
        {"Pass&word", Need::Project, {
            {ID_PASSWORD_SET, "&Set...", Need::Project},
            {ID_PASSWORD_RELEASE, "&Release...", Need::Project},
        }},
        {"&View", Need::Always, {
            {ID_VIEW_TOOLBAR, "&Toolbar", Need::Always, wxITEM_CHECK},
            {ID_VIEW_STATUS_BAR, "&Status Bar", Need::Always, wxITEM_CHECK},
            {ID_VIEW_PROJECT, "&Project Window", Need::Always, wxITEM_CHECK},
        }},
        {"&Help", Need::Always, {
            {ID_HELP_HOWTO, "&How to...", Need::Always},
            {ID_APP_ABOUT, "&About D390...", Need::Always},
        }},
    };
    return menus;
}

wxString ItemText(const MenuItem& item)
{
    if (item.text)
        return wxString::FromUTF8(item.text);
    int group = GroupOfCommand(item.id);
    unsigned id = group == 14 ? IDS_GROUP14_TITLE : IDS_FIRST_GROUP_TITLE + static_cast<unsigned>(group);
    wxString text = wxString::FromUTF8(LoadResString(id));
    text.Replace("&", "&&");
    return text;
}

// Help line of a command: the first line of its string-table prompt.
wxString HelpText(int id)
{
    std::string prompt = LoadResString(static_cast<unsigned>(id));
    return wxString::FromUTF8(prompt.substr(0, prompt.find('\n')));
}


} // namespace

wxMenuBar* CreateMainMenu(int resourceId)
{
    MenuIdAssertFilter filter;
    bool project = resourceId == IDR_D390TYPE;
    auto* bar = new wxMenuBar;
    for (const Menu& menu : MenuTable()) {
        if (menu.need == Need::Project && !project)
            continue;
        auto* popup = new wxMenu;
        for (const MenuItem& item : menu.items) {
            if (item.need == Need::Project && !project)
                continue;
            if (item.id == 0)
                popup->AppendSeparator();
            else
                popup->Append(item.id, ItemText(item), HelpText(item.id), item.kind);
        }
        bar->Append(popup, menu.title);
    }
    return bar;
}

void UpdateRecentFileMenu(wxMenuBar* bar, const CRecentFileList& list)
{
    if (!bar)
        return;
    MenuIdAssertFilter filter;
    wxMenu* file = bar->GetMenu(0);
    for (int id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_LAST; ++id) {
        if (file->FindItem(id))
            file->Destroy(id);
    }
    // Before the separator that precedes Exit.
    int exitPosition = -1;
    for (std::size_t i = 0; i < file->GetMenuItemCount(); ++i) {
        if (file->FindItemByPosition(i)->GetId() == ID_APP_EXIT)
            exitPosition = static_cast<int>(i);
    }
    if (exitPosition < 1)
        return;
    std::size_t position = static_cast<std::size_t>(exitPosition - 1);
    if (list.GetCount() == 0) {
        file->Insert(position, ID_FILE_MRU_FILE1, "Recent File");
        file->Enable(ID_FILE_MRU_FILE1, false);
        return;
    }
    for (int index = 0; index < list.GetCount(); ++index) {
        wxString name = wxString::FromUTF8(list.GetDisplayName(index));
        name.Replace("&", "&&");
        file->Insert(position + static_cast<std::size_t>(index), ID_FILE_MRU_FILE1 + index,
                     wxString::Format("&%d %s", index + 1, name), wxString::FromUTF8(list.GetEntry(index)));
    }
}
