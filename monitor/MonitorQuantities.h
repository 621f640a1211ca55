#pragma once
// The quantities the keypad can show (its segment display and four read-outs):
// register, scale and formats, and how many a drive offers. Entries 9 to 11
// exist on the extended models only.

#include <cstdint>
#include <string>

struct MonitorQuantity {
    const char* itemText; // combo text; nullptr for the extended entries, whose names are strings
    unsigned nameId; // string of an extended entry's name, 0 for the others
    std::uint16_t reg;
    double scale;
    const char* readoutFormat;
    const char* displayFormat;
    bool integer; // formatted with %d
};

constexpr int kMonitorQuantityCount = 12;
constexpr std::uint16_t kMonitorBlockFirst = 0x2523;

const MonitorQuantity& GetMonitorQuantity(int index);

// 9 for model codes up to 0x1100000, 12 above.
int MonitorQuantityCount(int modelCode);
// Registers of the monitor block read from 0x2523: 11, or 16 above 0x1100000.
int MonitorBlockCount(int modelCode);

// The value of a quantity from a monitor block (count registers from 0x2523),
// formatted as a read-out ("50.00 Hz") or for the segment display ("50.00").
// Entries 9 to 11 read 0 on models 0x1100001 to 0x110FFFF below version 1.06.
std::string FormatMonitorQuantity(int index, const std::uint16_t* block, int count, int modelCode, float version,
    bool readout);
