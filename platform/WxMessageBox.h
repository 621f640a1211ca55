#pragma once
// Installs the window form of the program's message box.

void InstallWxMessageHandler();
