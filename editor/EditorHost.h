#pragma once
// What the editor's engine asks of its window: the station chooser, the data
// exchange of a page's controls, focus and tab selection, and the project
// view's refresh. Window-free tests answer the station choice and take the
// rest as no-ops; message boxes go through platform/MessageBox.h.

class IEditorHost {
public:
    virtual ~IEditorHost() = default;

    // The station chooser: the chosen station, or -1 when none was chosen.
    virtual int ChooseStation() = 0;
    // Takes a page's controls into its model (false: a control held no
    // acceptable value and has said so).
    virtual bool TakeControls(int /*page*/) { return true; }
    // Shows a page model's texts in its controls.
    virtual void ShowControls(int /*page*/) {}
    // Focuses a row's control and selects its text.
    virtual void FocusRow(int /*page*/, int /*row*/) {}
    // Selects a tab and shows its page alone.
    virtual void SelectTab(int /*tab*/) {}
    // The project view shows the group's new set values.
    virtual void GroupStored(int /*group*/) {}
    // Changed flags changed: the list repaints its marks.
    virtual void FlagsChanged() {}
    // The window has been closed (OK, Cancel, the close box): a command that
    // waited for the link sends nothing for it.
    virtual bool IsClosed() const { return false; }
};
