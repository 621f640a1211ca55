#pragma once
// The voltage class of a model code, for the layers below the shell that
// size ranges by it (the editor's pages): 100 or 400.

int VoltageClassOf(int modelCode);
