#pragma once
// Every page table of the program, registered with the editor once at start.

void RegisterGroupPages();
