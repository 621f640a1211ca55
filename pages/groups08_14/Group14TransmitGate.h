#pragma once
// Group 14's whole-group write needs drive software 1.093 in the first
// extended family: the message that refuses it, or 0.

unsigned Group14TransmitGate(int modelCode, float version);
