#pragma once
// Helpers of window tests.

#include <functional>

class wxDialog;

// Answers modal dialogs that a test expects: the function gets the dialog
// about to be shown modally and returns the code ShowModal should return
// (it may drive the dialog first). Pass nullptr to fail on every modal again.
void SetModalAnswer(std::function<int(wxDialog*)> answer);
