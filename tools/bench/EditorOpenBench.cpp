// Open time of the parameter editor: from creating it to shown and idle, for
// the groups with pages, beside a plain dialog with a notebook holding the
// same number of plain controls. Run under Xvfb by hand:
//
//   xvfb-run -a d390_editoropen_bench [repeats]

#include "document/D390DocData.h"
#include "editor/ParamGroupDlg.h"
#include "link/ParamGroupIO.h"
#include "pages/GroupPages.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourceModule.h"
#include "session/DriveSession.h"

#include <wx/app.h>
#include <wx/choice.h>
#include <wx/init.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/button.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;


void Idle()
{
    while (wxTheApp->Pending())
        wxTheApp->Dispatch();
    wxTheApp->ProcessIdle();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Time(const std::function<wxWindow*()>& open)
{
    auto start = Clock::now();
    wxWindow* window = open();
    window->Show();
    window->Update();
    Idle();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    window->Destroy();
    Idle();
    return ms;
}

// What one row of a page shows, for the plain dialog: a list of count
// entries per list (lists) or an edit (no lists).
struct PlainRow {
    int lists = 0;
    int count = 0;
};

std::vector<PlainRow> PlainRows(const PageTable& page)
{
    std::vector<PlainRow> rows;
    for (const PageRow& row : page.rows) {
        if (row.kind == RowKind::Option)
            rows.push_back({1, row.optionCount});
        else if (row.kind == RowKind::Packed)
            rows.push_back({static_cast<int>(row.packedIds.size()), row.optionCount});
        else
            rows.push_back({});
    }
    return rows;
}

// A dialog with a notebook of pages holding the same controls as the
// editor's, built directly: per row a button, a label, the row's lists or an
// edit, and a range text.
wxWindow* PlainDialog(const std::vector<std::vector<PlainRow>>& pages)
{
    auto* dialog = new wxDialog(nullptr, wxID_ANY, "plain", wxDefaultPosition, wxSize(700, 500));
    auto* book = new wxNotebook(dialog, wxID_ANY, wxPoint(0, 0), wxSize(700, 440));
    for (const std::vector<PlainRow>& rows : pages) {
        auto* page = new wxPanel(book);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const int y = 8 + 30 * static_cast<int>(r);
            new wxButton(page, wxID_ANY, "", wxPoint(8, y), wxSize(24, 22));
            new wxStaticText(page, wxID_ANY, "00-00 label", wxPoint(40, y));
            if (rows[r].lists == 0)
                new wxTextCtrl(page, wxID_ANY, "0.00", wxPoint(300, y), wxSize(90, 24));
            for (int l = 0; l < rows[r].lists; ++l) {
                wxArrayString entries;
                for (int e = 0; e < rows[r].count; ++e)
                    entries.Add(wxString::Format("%d: option", e));
                new wxChoice(page, wxID_ANY, wxPoint(200 + 60 * l, y), wxSize(56, 24), entries);
            }
            new wxStaticText(page, wxID_ANY, "0.00~650.00", wxPoint(520, y));
        }
        book->AddPage(page, "page");
    }
    for (int b = 0; b < 4; ++b)
        new wxButton(dialog, wxID_ANY, "button", wxPoint(20 + 150 * b, 450));
    return dialog;
}

} // namespace

int main(int argc, char** argv)
{
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 15;
    wxApp::SetInstance(new wxApp);
    int wxArgc = 1; // the repeat count is ours, not wx's
    if (!wxEntryStart(wxArgc, argv))
        return 1;
    wxTheApp->CallOnInit();
    LoadResourceModule(ExecutableFolder());
    SetMessageHandler([](const std::string&, unsigned) { return IDOK; });
    RegisterGroupPages();
    CDriveSession state(NoFrameWindows());
    CD390DocData doc;
    doc.m_strProgramFolder = ExecutableFolder();
    doc.m_nModelCode = 0x1100000 + 1202;
    doc.NewProject();
    EditorLinks links;
    links.drive = &state;
    links.doc = &doc;

    for (int group = 0; group <= 14; ++group) {
        std::vector<std::vector<PlainRow>> rows;
        const GroupTable* table = FindGroupTable(group);
        if (!table)
            continue; // not shown as pages yet
        for (const PageTable* page : table->layouts[static_cast<std::size_t>(table->LayoutOf(doc.m_nModelCode))].pages)
            rows.push_back(PlainRows(*page));
        std::vector<double> editor, plain;
        for (int i = 0; i < repeats; ++i) {
            editor.push_back(Time([&] {
                auto* dialog = new CParamGroupDlg(nullptr, links);
                dialog->m_nGroup = group;
                dialog->BuildEditor();
                return dialog;
            }));
            plain.push_back(Time([&] { return PlainDialog(rows); }));
        }
        std::printf("group %02d: editor %.1f ms, plain notebook dialog %.1f ms (median of %d), ratio %.2f\n", group,
                    Median(editor), Median(plain), repeats, Median(editor) / Median(plain));
    }
    wxEntryCleanup();
    return 0;
}
