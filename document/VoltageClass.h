#pragma once
// The supply voltage class of a model code, for the pages whose ranges follow
// it: 100 for the 230 V models, 400 for the others.

int VoltageClassOf(int modelCode);
