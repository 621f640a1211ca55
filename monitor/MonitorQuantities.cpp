#include "monitor/MonitorQuantities.h"

#include "document/ModelFamily.h"
#include "res/StringIds.h"

#include <cstdio>

namespace {

constexpr MonitorQuantity kQuantities[kMonitorQuantityCount] = {
    { "1: Set Frequency", 0, 0x2523, 0.01, "%.2f Hz", "%.2f", false },
    { "2: Output Frequency", 0, 0x2524, 0.01, "%.2f Hz", "%.2f", false },
    { "3: Output Voltage", 0, 0x2525, 0.1, "%.1f V", "%.1f", false },
    { "4: DC Voltage", 0, 0x2526, 1, "%d V", "%d", true },
    { "5: Output Current", 0, 0x2527, 0.1, "%.1f A", "%.1f", false },
    { "6: PID Feedback", 0, 0x252A, 1, "%d %%", "%d", true },
    { "7: PID Input", 0, 0x252B, 0.1, "%.1f %%", "%.1f", false },
    { "8: AVI Input", 0, 0x252C, 0.01, "%.2f V", "%.2f", false },
    { "9: ACI Input", 0, 0x252D, 0.02, "%.2f mA", "%.2f", false },
    { nullptr, IDS_OUTPUT_POWER, 0x2529, 0.1, "%.1f Kw", "%.1f", false },
    { nullptr, IDS_TEMPERATURE, 0x2531, 0.1, "%.1f Degree C", "%.1f", false },
    { nullptr, IDS_PERCENTAGE, 0x2532, 1, "%d %%", "%d", true },
};

constexpr float kExtendedQuantitiesVersion = 1.06f;

} // namespace

const MonitorQuantity& GetMonitorQuantity(int index)
{
    if (index < 0 || index >= kMonitorQuantityCount)
        index = 0;
    return kQuantities[index];
}

int MonitorQuantityCount(int modelCode)
{
    return !IsNewModel(modelCode) ? 9 : 12;
}

int MonitorBlockCount(int modelCode)
{
    return !IsNewModel(modelCode) ? 11 : 16;
}

std::string FormatMonitorQuantity(int index, const std::uint16_t* block, int count, int modelCode, float version,
    bool readout)
{
    const MonitorQuantity& q = GetMonitorQuantity(index);
    const int offset = q.reg - kMonitorBlockFirst;
    unsigned word = block && offset >= 0 && offset < count ? block[offset] : 0;
    if (index >= 9 && IsRangeA(modelCode) && version < kExtendedQuantitiesVersion)
        word = 0;
    const char* format = readout ? q.readoutFormat : q.displayFormat;
    char text[64];
    if (q.integer)
        std::snprintf(text, sizeof text, format, static_cast<int>(word * q.scale));
    else
        std::snprintf(text, sizeof text, format, word * q.scale);
    return text;
}
