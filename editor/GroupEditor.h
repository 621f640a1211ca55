#pragma once
// The editor of one group without its window: the tabs and page models of the
// layout fixed at opening, OK's validation and store, and Transmit Group.
// The window (CParamGroupDlg) shows what it holds and forwards its buttons.

#include "editor/EditorContext.h"
#include "editor/GroupPageModel.h"
#include "editor/GroupTable.h"

#include <memory>
#include <string>
#include <vector>

class CGroupEditor {
public:
    // nItem: the position among the group's listed parameters that the user
    // came from, -1 from a menu.
    CGroupEditor(EditorContext& context, const GroupTable& table, int group, int nItem);

    // Builds the captions and page models of the layout, loads them, and
    // chooses the tab and row of nItem (tab 0, nothing marked when no page
    // shows that item). Runs the group's opening hook.
    void InitGroupTabs();

    // OK: validates in the group's order (the failing page's tab is
    // selected), then stores every page, marks the project modified and has
    // the view show the group. True when stored.
    bool ApplyGroup();

    // Cancel and the close box: nothing is stored; the group's hook runs.
    void OnCancel();

    // Transmit Group: the station, password, running and version gates, the
    // group's gate, then TransmitGroup.
    void OnTransmitGroup();
    // Validates, fills the value array from the pages and has the block
    // writer send it. The rows whose values an accepted frame carried count
    // as written (their change marks go); the others keep theirs. True when
    // the writer succeeded (shown either way, in one message).
    bool TransmitGroup(int station);

    // A page row's button, after a watchdog pass under way has ended.
    bool OnParamButton(int page, int row);

    // The value array of the group as the pages show it, entry k = item
    // GG-k; false (shown, focused) when a row cannot be sent.
    bool FillValues(std::vector<std::string>& values, std::vector<std::pair<int, int>>& sent);

    int Group() const { return m_nGroup; }
    const LayoutTable& Layout() const { return *m_pLayout; }
    EditorContext& Context() { return m_context; }

    std::vector<std::string> m_Captions;
    std::vector<std::unique_ptr<CGroupPageModel>> m_Pages;
    int m_nShownTab = 0;
    bool m_bTransmitEnabled = false;

private:
    bool Validate(const std::vector<ValidationStep>& steps);
    // Asks before any reset code other than its row's first goes out.
    bool ConfirmResetCodes(const std::vector<std::string>& values, const std::vector<std::pair<int, int>>& sent);
    int ItemOfPosition(int position) const;

    EditorContext& m_context;
    const GroupTable& m_table;
    const LayoutTable* m_pLayout = nullptr;
    int m_nGroup;
    int m_nItem;
};
