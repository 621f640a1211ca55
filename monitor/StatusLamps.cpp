#include "monitor/StatusLamps.h"

#include <cstdio>

std::vector<StatusLamp> StatusPageLamps(int status)
{
    std::vector<StatusLamp> lamps;
    if (status & 0x0004)
        lamps.push_back({ 143, 117, kBitmapLampGreen, "Ready" });
    if (status & 0x0001)
        lamps.push_back({ 143, 189, kBitmapLampRed, "Running" });
    else
        lamps.push_back({ 143, 165, kBitmapLampOrange, "Stopped" });
    if (status & 0x0002)
        lamps.push_back({ 143, 237, kBitmapLampGreen, "Reverse" });
    else
        lamps.push_back({ 143, 213, kBitmapLampGreen, "Forward" });
    if (status & 0x0008) {
        lamps.push_back({ 143, 141, kBitmapLampRed, "Fault" });
        lamps.push_back({ 497, 117, kBitmapLampRed, "Current fault" });
    }
    return lamps;
}

std::vector<StatusLamp> TerminalPageLamps(int terminal)
{
    static const struct {
        int bit;
        int x;
        const char* meaning;
    } kTerminals[] = {
        { 6, 251, "Relay R1 on" },
        { 0, 305, "S1 on" },
        { 1, 335, "S2 on" },
        { 2, 365, "S3 on" },
        { 3, 395, "S4 on" },
        { 4, 425, "S5 on" },
    };
    std::vector<StatusLamp> lamps;
    for (const auto& t : kTerminals) {
        if (terminal & (1 << t.bit))
            lamps.push_back({ t.x, 320, kBitmapLampGreen, t.meaning });
    }
    return lamps;
}

std::vector<StatusText> StatusPageValues(const int values[5])
{
    char text[5][32];
    std::snprintf(text[0], sizeof text[0], "%.2f", values[0] * 0.01);
    std::snprintf(text[1], sizeof text[1], "%.2f", values[1] * 0.01);
    std::snprintf(text[2], sizeof text[2], "%.1f", values[4] * 0.1); // output current
    std::snprintf(text[3], sizeof text[3], "%.1f", values[2] * 0.1); // output voltage
    std::snprintf(text[4], sizeof text[4], "%d", values[3]); // DC voltage
    return {
        { 372, 119, text[0], "SET F", "Hz" },
        { 372, 142, text[1], "OUT F", "Hz" },
        { 372, 167, text[2], "CURRENT", "A" },
        { 372, 191, text[3], "OUT V", "V" },
        { 372, 215, text[4], "DC V", "V" },
    };
}

std::string DescribeLamps(const std::vector<StatusLamp>& lamps)
{
    std::string words;
    for (const StatusLamp& lamp : lamps) {
        if (!words.empty())
            words += ", ";
        words += lamp.meaning;
    }
    return words.empty() ? "No lamp lit" : words;
}
