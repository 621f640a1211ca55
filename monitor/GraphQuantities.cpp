#include "monitor/GraphQuantities.h"

#include "document/ModelFamily.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <cctype>
#include <cstdio>

namespace {


constexpr GraphQuantity kQuantities[kGraphQuantityCount] = {
    {IDS_NO_DISPLAY, -1, 0.0, GraphTextForm::Off, 1},
    {IDS_SET_FREQUENCY, 0, 0.01, GraphTextForm::TwoDecimals, 100},     // 0x2523
    {IDS_OUTPUT_FREQUENCY, 1, 0.01, GraphTextForm::TwoDecimals, 100},  // 0x2524
    {IDS_OUTPUT_VOLTAGE, 2, 0.1, GraphTextForm::OneDecimal, 10},       // 0x2525
    {IDS_DC_VOLTAGE, 3, 1.0, GraphTextForm::NoDecimals, 1},            // 0x2526
    {IDS_OUTPUT_CURRENT, 4, 0.1, GraphTextForm::OneDecimal, 10},       // 0x2527
    {IDS_PID_FEEDBACK, 7, 1.0, GraphTextForm::RawWord, 1},             // 0x252A
    {IDS_PID_INPUT, 8, 0.1, GraphTextForm::OneDecimal, 10},            // 0x252B
    {IDS_AVI_INPUT, 9, 0.01, GraphTextForm::TwoDecimals, 100},         // 0x252C
    {IDS_ACI_INPUT, 10, 0.02, GraphTextForm::TwoDecimals, 50},         // 0x252D
    {IDS_OUTPUT_POWER, 6, 0.1, GraphTextForm::OneDecimal, 10},         // 0x2529
    {IDS_TEMPERATURE, 14, 0.1, GraphTextForm::OneDecimal, 10},         // 0x2531
    {IDS_PERCENTAGE, 15, 1.0, GraphTextForm::RawWord, 1},              // 0x2532
};

} // namespace

const GraphQuantity& GetGraphQuantity(int index)
{
    return kQuantities[index];
}

bool SameGraphName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

int FindGraphQuantity(const std::string& name)
{
    for (int index = 0; index < kGraphQuantityCount; ++index) {
        if (SameGraphName(name, LoadResString(kQuantities[index].nameId)))
            return index;
    }
    return -1;
}

int GraphRegisterCount(int modelCode)
{
    return IsNewModel(modelCode) ? 16 : 11;
}

std::string GraphValueText(int quantity, const uint16_t* words, int wordCount, double& value, int& raw)
{
    value = 0;
    raw = 0;
    if (quantity < 0 || quantity >= kGraphQuantityCount)
        return {};
    const GraphQuantity& q = kQuantities[quantity];
    if (q.form == GraphTextForm::Off)
        return "0.0";
    raw = q.wordIndex < wordCount ? words[q.wordIndex] : 0;
    value = raw * q.scale;
    char text[32];
    switch (q.form) {
    case GraphTextForm::OneDecimal: std::snprintf(text, sizeof text, "%.1f", value); break;
    case GraphTextForm::TwoDecimals: std::snprintf(text, sizeof text, "%.2f", value); break;
    case GraphTextForm::NoDecimals: std::snprintf(text, sizeof text, "%.0f", value); break;
    default: std::snprintf(text, sizeof text, "%d", raw); break;
    }
    return text;
}

std::vector<std::string> GraphCurveListNames(int modelCode)
{
    // The lists' own spelling of the switched-off entry; the chart's table
    // says "No display", and names are compared without regard to case.
    std::vector<std::string> names{"No Display"};
    for (int index = 1; index <= 9; ++index)
        names.push_back(LoadResString(kQuantities[index].nameId));
    if (IsNewModel(modelCode)) {
        for (int index = 10; index <= 12; ++index)
            names.push_back(LoadResString(kQuantities[index].nameId));
    }
    return names;
}
