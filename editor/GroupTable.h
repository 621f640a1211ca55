#pragma once
// A parameter group as the editor sets it up: its page sets per layout, tab
// captions, validation order, block writer and transmit gates. One table per
// group; page tables register theirs (RegisterGroupTable) before an editor
// opens, and groups without one open as the plain value list.

#include "editor/PageTable.h"
#include "link/ParamGroupIO.h"

#include <functional>
#include <string>
#include <vector>

struct EditorContext;

struct ValidationStep {
    enum Kind { Take, Check } kind; // the page's data exchange, or its CheckRange
    int page;                       // tab index
};

struct LayoutTable {
    std::vector<const PageTable*> pages;  // by tab
    std::vector<std::string> captions;   // the first follows the group's name
    std::vector<ValidationStep> apply;   // OK's order
    std::vector<ValidationStep> transmit; // Transmit Group's; empty: as apply
};

using GroupWriter = bool (CParamGroupIO::*)(CParamGroupIO::Values, uint8_t);

struct GroupTable {
    int group = 0;
    // Layouts in the order layoutOf counts them; without layoutOf, layout 1
    // serves codes above 0x1100000 when there is one.
    std::vector<LayoutTable> layouts;
    std::function<int(int modelCode)> layoutOf;
    GroupWriter writer = nullptr;
    // Refuses the whole transmit before validation: a message id, or 0.
    // Refused transmits keep the group's changed flags.
    std::function<unsigned(int modelCode, float version)> transmitGate;
    // After the values are filled, before the writer: group-wide checks
    // (version limits, confirmations). False sends nothing.
    std::function<bool(std::vector<std::string>& values, int station, EditorContext&)> beforeTransmit;
    // When the editor opens, before its pages load, and when it is cancelled
    // (display modes).
    std::function<void(EditorContext&)> onOpen;
    std::function<void(EditorContext&)> onCancel;

    int LayoutOf(int modelCode) const;
};

// The table of a group, or nullptr when its pages do not exist yet.
const GroupTable* FindGroupTable(int group);
// Registers (or replaces) the table of its group (table.group); it must outlive the
// editors that use it.
void RegisterGroupTable(const GroupTable& table);
