#pragma once
// Installs the window form of the program's message box and bell. A box is
// owned by the window the user works in (the one with the keyboard focus),
// and the focus goes back to where it was when the box closes.

void InstallWxMessageHandler();
