#pragma once
// The drive quantities a curve can show: where each lies in the monitor block
// read from 0x2523, how its word becomes an engineering value and a text, and
// which of them the curve lists offer for a model.

#include <cstdint>
#include <string>
#include <vector>

enum class GraphTextForm { OneDecimal, TwoDecimals, NoDecimals, RawWord, Off };

struct GraphQuantity {
    unsigned nameId;    // string-table text that names it
    int wordIndex;      // word of the monitor block (0 is register 0x2523); -1 none
    double scale;       // engineering value = word x scale
    GraphTextForm form;
    int rawFactor;      // engineering value x rawFactor = word, for the recorded extremes
};

constexpr uint16_t kGraphMonitorFirst = 0x2523;
constexpr int kGraphQuantityCount = 13;
constexpr int kGraphNoDisplay = 0;

const GraphQuantity& GetGraphQuantity(int index);
// Index of the quantity a channel name names, letter case ignored; -1 for a
// name no quantity has.
int FindGraphQuantity(const std::string& name);
// Registers of the monitor block one sample reads: 16 for the extended models
// (above 0x1100000), else 11.
int GraphRegisterCount(int modelCode);
// The engineering value and text of a quantity from the block's words (words
// beyond the block read 0). An unknown index gives 0 and "".
std::string GraphValueText(int quantity, const uint16_t* words, int wordCount, double& value, int& raw);

// Entries of a curve list in the curve settings: "No Display", the nine
// quantities every drive has and, for the extended models, quantities 10 to 12.
std::vector<std::string> GraphCurveListNames(int modelCode);
// Names compared as the curve lists and the chart compare them.
bool SameGraphName(const std::string& a, const std::string& b);
