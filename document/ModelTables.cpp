#include "document/ModelTables.h"

namespace {

// Model number from the capacity code: "xPy" is 1000 + 100x + y, any other
// code reads as a decimal number.
constexpr const ModelCodeEntry kModels[] = {
    // plain family
    {0x44E, "D390-1P2-Hxx", "1P2"},
    {0x451, "D390-1P5-Hxx", "1P5"},
    {0x065, "D390-101-Hxx", "101"},
    {0x4B2, "D390-2P2-Hxx", "2P2"},
    {0x4B5, "D390-2P5-Hxx", "2P5"},
    {0x0C9, "D390-201-Hxx", "201"},
    {0x0CA, "D390-202-Hxx", "202"},
    {0x0CB, "D390-203-Hxx", "203"},
    {0x191, "D390-401-Hxx", "401"},
    {0x192, "D390-402-Hxx", "402"},
    {0x193, "D390-403-Hxx", "403"},
    // S family
    {0x110044E, "D390-1P2-SHxx", "1P2"},
    {0x1100451, "D390-1P5-SHxx", "1P5"},
    {0x1100065, "D390-101-SHxx", "101"},
    {0x11004B2, "RQ5 02 A240", "2P2"},
    {0x11004B5, "RQ5 04 A240", "2P5"},
    {0x11004B7, "D390-2P7-SHxx", "2P7"},
    {0x11000C9, "RQ5 07 A240", "201"},
    {0x11000CA, "RQ5 15 A240", "202"},
    {0x11000CB, "RQ5 22 A240", "203"},
    {0x11000CD, "D390-205-SHxx", "205"},
    {0x11000D0, "D390-208-SHxx", "208"},
    {0x11000D2, "D390-210-SHxx", "210"},
    {0x1100191, "D390-401-SHxx", "401"},
    {0x1100192, "D390-402-SHxx", "402"},
    {0x1100193, "D390-403-SHxx", "403"},
    {0x1100195, "D390-405-SHxx", "405"},
    {0x1100198, "D390-408-SHxx", "408"},
    {0x110019A, "D390-410-SHxx", "410"},
    {0x110019F, "D390-415-SHxx", "415"},
    // S-P family
    {0x111044E, "D390-1P2-SHxx-xP", "1P2"},
    {0x1110451, "D390-1P5-SHxx-xP", "1P5"},
    {0x1110065, "D390-101-SHxx-xP", "101"},
    {0x11104B2, "D390-2P2-SHxx-xP", "2P2"},
    {0x11104B5, "D390-2P5-SHxx-xP", "2P5"},
    {0x11104B7, "D390-2P7-SHxx-xP", "2P7"},
    {0x11100C9, "D390-201-SHxx-xP", "201"},
    {0x11100CA, "D390-202-SHxx-xP", "202"},
    {0x11100CB, "D390-203-SHxx-xP", "203"},
    {0x11100CD, "D390-205-SHxx-xP", "205"},
    {0x11100D0, "D390-208-SHxx-xP", "208"},
    {0x11100D2, "D390-210-SHxx-xP", "210"},
    {0x1110191, "D390-401-SHxx-xP", "401"},
    {0x1110192, "D390-402-SHxx-xP", "402"},
    {0x1110193, "D390-403-SHxx-xP", "403"},
    {0x1110195, "D390-405-SHxx-xP", "405"},
    {0x1110198, "D390-408-SHxx-xP", "408"},
    {0x111019A, "D390-410-SHxx-xP", "410"},
    {0x111019F, "D390-415-SHxx-xP", "415"},
};
static_assert(std::size(kModels) == 49);

constexpr const FaultCodeEntry kFaults[] = {
    {0, "-", ""},
    {1, "oH", "The inverter is overheated when stopped"},
    {2, "OC", "Over-current during stop"},
    {3, "LV", "Voltage too low when stopped"},
    {4, "oV", "Voltage too high when stopped"},
    {6, "b.b.", "External base block"},
    {8, "PdEr", "PID feedback loss"},
    {9, "EPr", "EEPROM problem"},
    {12, "oL2", "Inverter overload"},
    {13, "oL1", "Motor overload"},
    {14, "EFO", "Communication external fault"},
    {15, "E.S", "External rapid stop"},
    {16, "LoC", "Parameter locked"},
    {18, "oC-C", "Over-current at fixed speed"},
    {19, "oC-A", "Over-current at acceleration"},
    {20, "oC-d", "Over-current at deceleration"},
    {21, "oC-S", "Over-currrent at start"},
    {23, "LV-C", "Voltage too low during operation"},
    {24, "oV-C", "Excessive voltage during operation/deceleration"},
    {26, "StP0", "Zero speed at stop"},
    {27, "StP1", "Fail to start directly on power up"},
    {28, "StP2", "Keypad emergency stop operated"},
    {29, "Err1", "Keypad operation error"},
    {30, "Err2", "Parameter setting error"},
    {32, "Err5", "Modification of parameter is not vailable in communication"},
    {33, "Err6", "Communication failed"},
    {34, "Err7", "Parameter conflict"},
};
static_assert(std::size(kFaults) == 27);


} // namespace

std::span<const ModelCodeEntry> ModelCodeTable()
{
    return kModels;
}

std::span<const FaultCodeEntry> FaultCodeTable()
{
    return kFaults;
}

std::string LookupModelByCode(uint32_t code, std::string& capacity)
{
    for (const ModelCodeEntry& entry : kModels) {
        if (entry.code == code) {
            capacity = entry.capacity;
            return entry.name;
        }
    }
    return std::string();
}

bool LookupModelByName(const std::string& name, int& code, std::string& capacity)
{
    for (const ModelCodeEntry& entry : kModels) {
        if (name == entry.name) {
            code = static_cast<int>(entry.code);
            capacity = entry.capacity;
            return true;
        }
    }
    return false;
}

std::string LookupFaultCode(uint32_t code, std::string& shortText)
{
    for (const FaultCodeEntry& entry : kFaults) {
        if (entry.code == code) {
            shortText = entry.shortText;
            return entry.description;
        }
    }
    return std::string();
}
