#pragma once
// The register blocks of every parameter group, for reading and for writing,
// with the model and version gates that select them and the form of every
// register (letters of link/RegisterText.h). One mechanism in CParamGroupIO
// walks these tables; the tables are meant to be read side by side with the
// drive's register documentation.

#include <cstdint>
#include <span>

// Model classes of the gates, by model code (13-00 plus the family base).
enum class Models : uint8_t {
    None,          // an unused gate term
    All,
    Old,           // code <= 0x1100000
    New,           // code > 0x1100000
    RangeA,        // 0x1100000 < code < 0x1110000
    RangeB,        // code > 0x1110000
    NotRangeA,     // every code outside range A (0x1110000 included)
    BelowNew,      // code < 0x1100000 (old, without 0x1100000 itself)
    Restricted,    // code 0x44E, 0x451 or 0x4B2 with a version up to 1.31
    NotRestricted,
    OtherOld,      // old and not restricted
};

// What a gate is judged on: the model code (signed for the readers, unsigned
// for the writers, as each side always compared it) and the drive version as
// a single-precision float.
struct GateContext {
    int64_t code = 0;
    float version = 0.0f;
};

bool InModels(Models models, const GateContext& context);

// One alternative of a gate: the models, and a version the drive must have
// reached (0: any version). Thresholds are single-precision floats, so a drive
// at exactly 1.130 passes ">= 1.13".
struct GateTerm {
    Models models = Models::None;
    float minVersion = 0.0f;
};

// What a reader does with a block whose scope holds and whose terms do not.
enum class Skipped : uint8_t {
    Keep,     // the records keep their read texts
    CopySet,  // the read text becomes the project's set value
};

// A block exists for the models of its scope; inside the scope it is
// transferred when any term holds (a gate without terms always holds).
struct Gate {
    Models scope = Models::All;
    GateTerm terms[2] = {};
    Skipped otherwise = Skipped::Keep;
};

bool InScope(const Gate& gate, const GateContext& context);
bool TermsHold(const Gate& gate, const GateContext& context);
inline bool GateHolds(const Gate& gate, const GateContext& context)
{
    return InScope(gate, context) && TermsHold(gate, context);
}

// Whether a drive of this model and version holds parameter group-item: a
// reader block whose gate holds covers it (what the readers never ask for
// keeps no read value of its own).
bool DriveHoldsItem(int group, int item, const GateContext& context);

// One block of registers group x 256 + start ... + count - 1. forms holds one
// letter per register; blanks are only there to mark item tens for the eye.
struct RegisterBlock {
    uint8_t start = 0;
    uint8_t count = 0;
    Gate gate;
    const char* forms = "";
    bool setsMode = false; // group 14: this register is the unit mode 14-20
};

// The letter of register k of a block (blanks skipped); 0 beyond the end.
char BlockForm(const RegisterBlock& block, int k);

// The block tables. Group g's reader blocks, in the order they are read.
std::span<const RegisterBlock> ReaderBlocks(int group);
// Writer frames of groups 03 to 14 (13: the write-all variant), in the order
// they are sent. Groups 00 to 02 have checks between their frames: their
// frames are named below and sequenced by their writers.
std::span<const RegisterBlock> WriterBlocks(int group);
std::span<const RegisterBlock> WriterBlocks13Ex();

// The form of 10-05 is x0.01 where this gate holds, x0.1 elsewhere ('f').
extern const Gate kGate1005Hundredths;

// Group 00 writer frames.
extern const RegisterBlock kW00Tail;        // 0x0002 x 6, when the drive's 00-02 is not 0
extern const RegisterBlock kW00Command;     // 0x0000 x 1, new models with the drive's 00-02 at 0
extern const RegisterBlock kW00Head;        // 0x0001 x 7, when the drive's 00-02 is 0
extern const RegisterBlock kW00Main;        // 0x0009 x 12
extern const RegisterBlock kW00Item21;      // 0x0015 x 1, gated

// Group 01 writer frames: first frame by layout, the V/F points, last frame.
extern const RegisterBlock kW01First[3];    // new, restricted, other old
extern const RegisterBlock kW01Last[2];     // new, old
extern const RegisterBlock kW01VfStart;     // 0x0102 x 2

// A V/F point: the item written, checked against the drive's current values
// of the point above it (the new value may not exceed it) and below it (the
// new value may not fall below it); -1 where there is none. The drive is asked
// for the upper point first.
struct VfStep {
    uint8_t item;
    char form;
    int upperItem;
    int lowerItem;
    unsigned messageId;
};
std::span<const VfStep> VfSteps();
constexpr int kVfMode = 7; // 01-00 value that selects the V/F points

// Group 02 writer frames.
extern const RegisterBlock kW02Base;        // 0x0200 x 1
extern const RegisterBlock kW02Restricted;  // 0x0202 x 2
extern const RegisterBlock kW02Rated;       // 0x0201 x 3
extern const RegisterBlock kW02Item04;      // 0x0204 x 1, gated
extern const RegisterBlock kW02NewBlocks[3]; // new models: 0x0205, 0x020D, 0x0212
