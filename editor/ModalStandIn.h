#pragma once
// STAND-IN until platform/ModalWindow.h (RunModalToMainFrame) is on main:
// runs a window modal to the main frame (main frame disabled, a nested event
// loop until the window hides, then the window destroyed). On GTK a window
// opened by a ShowModal dialog gets no clicks; this one's modeless children do.
// Replace the calls by RunModalToMainFrame and delete this file then.

class wxDialog;

// The dialog's return code. Test hooks for modal dialogs
// (wxModalDialogHook) answer it as they would answer ShowModal.
int RunEditorModalToMainFrame(wxDialog* dialog);
