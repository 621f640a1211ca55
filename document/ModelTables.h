#pragma once
// The two constant tables the whole program shares: drive models (code, name,
// capacity code) and drive faults (code, the drive's own display text,
// description), with their lookups.

#include <cstdint>
#include <span>
#include <string>

#include "document/ModelFamily.h"

struct ModelCodeEntry {
    uint32_t code;        // family base + model number
    const char* name;
    const char* capacity; // three characters, e.g. "2P5"
};

struct FaultCodeEntry {
    uint32_t code;
    const char* shortText;   // as the drive's display shows it
    const char* description;
};

// The 49 models, in table order.
std::span<const ModelCodeEntry> ModelCodeTable();
// The 27 faults, in table order.
std::span<const FaultCodeEntry> FaultCodeTable();

// Name of the model with that code; capacity is set to its capacity code.
// No row: empty text, capacity untouched.
std::string LookupModelByCode(uint32_t code, std::string& capacity);
// The first model whose name equals name exactly (case-sensitive) sets code
// and capacity and gives true. No row: both untouched, false.
bool LookupModelByName(const std::string& name, int& code, std::string& capacity);
// Description of the fault; shortText is set to its display text. No row:
// empty text, shortText untouched.
std::string LookupFaultCode(uint32_t code, std::string& shortText);
