// Every page of every group the editor can show, in each layout the models
// of the program give it, has room for each of its texts in the font and
// theme GTK draws them with: every row's Write button, label, range text and
// explanation (for each entry of the row's list) is at least as large as its
// best size and lies inside its page, and every list is as tall as GTK draws
// its entry in its frame (no letter's descender cut) and lies clear of the
// page's other controls.

#include "tests/editorgui/EditorWindowFixture.h"
#include "tests/common/TextRoom.h"

#include "document/ModelTables.h"
#include "editor/GroupTable.h"
#include "platform/DialogTextFit.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Describe(const wxWindow* control)
{
    return wxString(control->GetClassInfo()->GetClassName()).utf8_string() + " \"" +
           control->GetLabel().utf8_string() + "\" " + control->GetName().utf8_string();
}

std::string SizeText(const wxSize& size)
{
    return std::to_string(size.x) + "x" + std::to_string(size.y);
}

// The controls of the page whose texts are cut or that leave the page.
void CheckChildren(wxWindow* window, const wxSize& page, const std::string& name, int& controls,
                   std::vector<std::string>& cut)
{
    for (wxWindow* child : window->GetChildren()) {
        if (child->IsTopLevel() || !child->IsShown())
            continue;
        if (CDialogTextFit::ShowsText(child)) {
            ++controls;
            const wxSize size = child->GetSize();
            const wxSize best = child->GetBestSize();
            if (best.x > size.x || best.y > size.y)
                cut.push_back(name + ": " + Describe(child) + " is " + SizeText(size) + ", needs " + SizeText(best));
            const wxRect rect = child->GetRect();
            if (rect.x < 0 || rect.y < 0 || rect.GetRight() >= page.x || rect.GetBottom() >= page.y)
                cut.push_back(name + ": " + Describe(child) + " at " + std::to_string(rect.x) + "," +
                              std::to_string(rect.y) + " " + SizeText(size) + " leaves its page of " + SizeText(page));
        }
        if (dynamic_cast<wxChoice*>(child)) {
            ++controls;
            if (const std::string text = CutText(child); !text.empty())
                cut.push_back(name + ": list " + Describe(child) + " is " + SizeText(child->GetSize()) + ": " + text);
            for (wxWindow* other : window->GetChildren())
                if (other != child && other->IsShown() && !other->IsTopLevel() &&
                    other->GetRect().Intersects(child->GetRect()))
                    cut.push_back(name + ": list " + Describe(child) + " overlaps " + Describe(other));
        }
        CheckChildren(child, page, name, controls, cut);
    }
}

} // namespace

class EditorPagesTextsFitTest : public EditorWindowFixture {};

TEST_F(EditorPagesTextsFitTest, EveryPageOfEveryGroupHasRoomForItsTexts)
{
    // The program's models, and codes its tables know without a model row
    // (the motor tables' unlisted ratings).
    std::vector<int> codes;
    for (const ModelCodeEntry& model : ModelCodeTable())
        codes.push_back(static_cast<int>(model.code));
    for (int code : {999, kModelFamilyS + 399, kModelFamilyS + 414, kModelFamilySP + 399, kModelFamilySP + 414})
        codes.push_back(code);

    // Each layout of each group once, in the first model that has it.
    std::map<int, std::vector<int>> modelOfLayout; // group -> model code per layout (0: none)
    for (int group = 0; group <= 14; ++group) {
        const GroupTable* table = FindGroupTable(group);
        ASSERT_NE(table, nullptr) << group;
        modelOfLayout[group].assign(table->layouts.size(), 0);
    }
    std::map<int, std::vector<int>> groupsOfModel;
    for (int code : codes)
        for (auto& [group, models] : modelOfLayout) {
            if (group == 14 && !IsNewModel(code))
                continue; // the plain models have no group 14
            const int layout = FindGroupTable(group)->LayoutOf(code);
            if (layout >= 0 && layout < static_cast<int>(models.size()) && models[static_cast<std::size_t>(layout)] == 0) {
                models[static_cast<std::size_t>(layout)] = code;
                groupsOfModel[code].push_back(group);
            }
        }

    std::vector<std::string> cut;
    int pages = 0;
    int controls = 0;
    for (const auto& [code, groups] : groupsOfModel) {
        MakeProject(code);
        for (int group : groups) {
            CParamGroupDlg& editor = Open(group);
            wxNotebook* tabs = editor.Notebook();
            ASSERT_NE(tabs, nullptr);
            for (size_t p = 0; p < tabs->GetPageCount(); ++p) {
                tabs->ChangeSelection(p);
                Yield();
                CGroupPagePanel* page = editor.PagePanel(static_cast<int>(p));
                char name[64];
                std::snprintf(name, sizeof name, "model %X group %02d page %zu", static_cast<unsigned>(code), group,
                              p + 1);
                ++pages;
                CheckChildren(page, page->GetClientSize(), name, controls, cut);
                // A row's explanation follows its list: each entry's text
                // fits too.
                std::vector<wxChoice*> lists;
                for (wxWindow* child : page->GetChildren())
                    if (auto* list = dynamic_cast<wxChoice*>(child); list && list->IsShown() && list->IsEnabled())
                        lists.push_back(list);
                for (wxChoice* list : lists) {
                    const int kept = list->GetSelection();
                    for (unsigned k = 0; k < list->GetCount(); ++k) {
                        Choose(page, list->GetId(), static_cast<int>(k));
                        int counted = 0;
                        CheckChildren(page, page->GetClientSize(),
                                      std::string(name) + " " + list->GetName().utf8_string() + " entry " +
                                          std::to_string(k),
                                      counted, cut);
                    }
                    Choose(page, list->GetId(), kept);
                }
            }
        }
    }
    EXPECT_TRUE(cut.empty()) << cut.size() << " cut:\n" << ::testing::PrintToString(cut);
    std::vector<std::string> unreached;
    for (const auto& [group, models] : modelOfLayout)
        for (std::size_t layout = 0; layout < models.size(); ++layout)
            if (models[layout] == 0)
                unreached.push_back("group " + std::to_string(group) + " layout " + std::to_string(layout));
    EXPECT_TRUE(unreached.empty()) << ::testing::PrintToString(unreached);
    std::printf("checked %d pages with %d text controls\n", pages, controls);
}
