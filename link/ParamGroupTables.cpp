#include "link/ParamGroupTables.h"

#include "document/ModelFamily.h"
#include "res/StringIds.h"

namespace {

// Gate shorthands, so that a table row reads like its description.
constexpr Gate kAll{};
constexpr Gate kOld{Models::Old};
constexpr Gate kNew{Models::New};

constexpr GateTerm Is(Models models, float minVersion = 0.0f)
{
    return GateTerm{models, minVersion};
}
constexpr GateTerm Version(float minVersion)
{
    return GateTerm{Models::All, minVersion};
}
// In scope and no term holds: the records keep their texts.
constexpr Gate If(Models scope, GateTerm a, GateTerm b = {})
{
    return Gate{scope, {a, b}, Skipped::Keep};
}
// In scope and no term holds: the read texts become the set values.
constexpr Gate ElseCopy(Models scope, GateTerm a, GateTerm b = {})
{
    return Gate{scope, {a, b}, Skipped::CopySet};
}

// Letters: d int, 1 x0.1, 2 x0.01, 3 x0.001, 5 "%05d", 4 "%04d", b five bits,
// o five octal digits, - dashes, c capacity code, p pressure or percent by
// 14-20, f 10-05 by model and version.

// Readers. Blanks in the form strings fall at the item tens (x9|x0).
constexpr RegisterBlock kRead00[] = {
    {0x00, 21, kNew, "dddddddd2d d222111121 1"},
    {0x15, 1, ElseCopy(Models::New, Is(Models::RangeB, 1.13f), Is(Models::RangeA, 1.093f)), "d"},
    {0x01, 20, kOld, "ddddddd2d d222111121 1"},
};
constexpr RegisterBlock kRead01[] = {
    {0x00, 12, kOld, "d121212121 12"},
    {0x00, 19, kNew, "d121212121 121dd11d2"},
};
constexpr RegisterBlock kRead02[] = {
    {0x00, 4, kAll, "111d"},
    {0x04, 1, ElseCopy(Models::All, Is(Models::New), Is(Models::BelowNew, 1.1f)), "1"},
    {0x05, 5, kNew, "11ddd"},
    {0x0D, 5, kNew, "ddddd"},
    {0x12, 2, ElseCopy(Models::New, Version(1.03f)), "dd"},
};
constexpr RegisterBlock kRead03[] = {
    {0x00, 5, kAll, "ddddd"},
    {0x06, 4, kAll, "2ddb"},
    {0x0B, 1, kAll, "d"},
    {0x0D, 7, kOld, "221122d"},
    {0x0D, 9, kNew, "221122d 11"},
};
constexpr RegisterBlock kRead04[] = {
    {0x00, 16, kAll, "dddddddddd dddddd"},
    {0x10, 4, ElseCopy(Models::New, Is(Models::RangeB), Is(Models::RangeA, 1.06f)), "dddd"},
};
constexpr RegisterBlock kRead05[] = {
    {0x00, 9, kAll, "d22222222"},
    {0x11, 16, kAll, "111 1111111111 111"},
};
constexpr RegisterBlock kRead06[] = {
    {0x00, 8, kAll, "d2222222"},
    {0x10, 8, kAll, "11111111"},
    {0x20, 8, kAll, "dddddddd"},
};
constexpr RegisterBlock kRead07[] = {
    {0x00, 9, kAll, "d1ddd12d1"},
    {0x09, 1, ElseCopy(Models::All, Version(0.4f)), "d"},
    {0x0A, 2, ElseCopy(Models::New, Is(Models::RangeB), Is(Models::RangeA, 1.05f)), "d1"},
    {0x0C, 1, ElseCopy(Models::New, Is(Models::RangeB, 1.12f), Is(Models::RangeA, 1.093f)), "d"},
};
constexpr RegisterBlock kRead08[] = {
    {0x00, 17, kNew, "bddd1bdddd d2d1111"},
    {0x11, 2, ElseCopy(Models::New, Version(1.04f)), "11"},
    {0x13, 1, ElseCopy(Models::New, Version(1.06f)), "d"},
    {0x00, 10, kOld, "bddd1ddddd"},
    {0x0A, 2, ElseCopy(Models::Old, Version(1.4f)), "11"},
};
constexpr RegisterBlock kRead09[] = {
    {0x00, 11, Gate{Models::RangeA}, "dddddd1ddd d"},
    {0x00, 10, Gate{Models::NotRangeA}, "dddddd1ddd"},
};
constexpr RegisterBlock kRead10[] = {
    {0x00, 23, kAll, "dd1d2f12dd 1dd1ddd212 1dd"},
};
constexpr RegisterBlock kRead11[] = {
    {0x00, 12, kAll, "dddd111122 22"},
    {0x0D, 8, kNew, "d12dddd d"},
    {0x15, 1, ElseCopy(Models::New, Version(1.06f)), "d"},
};
constexpr RegisterBlock kRead12[] = {
    {0x00, 6, kAll, "odddd-"},
    {0x06, 2, ElseCopy(Models::New, Version(1.06f)), "1d"},
};
constexpr RegisterBlock kRead13[] = {
    {0x00, 9, kAll, "c3ddddd54"},
};
constexpr Gate kGate14Tail = If(Models::All, Is(Models::RangeB, 1.13f), Is(Models::RangeA, 1.1f));
constexpr RegisterBlock kRead14[] = {
    {0x14, 1, kAll, "d", true},
    {0x00, 21, kAll, "dd22dd212p 21p11p111d d"},
    {0x16, 10, kAll, "2dp1112d 1d"},
    {0x22, 2, kAll, "pd"},
    {0x25, 3, kAll, "1pp"},
    {0x47, 3, kAll, "2dd"},
    {0x4A, 4, kGate14Tail, "212d"},
};

// Writers: the same letters, read as conversions (d int, 1 x10, 2 x100,
// b base 2, o base 8). Items never written have no frame.
constexpr RegisterBlock kWrite03[] = {
    {0x00, 5, kAll, "ddddd"},
    {0x06, 4, kAll, "2ddb"},
    {0x0B, 1, kAll, "d"},
    {0x0D, 9, kNew, "221122d 11"},
    {0x0D, 7, kOld, "221122d"},
};
constexpr RegisterBlock kWrite04[] = {
    {0x00, 16, kAll, "dddddddddd dddddd"},
    {0x10, 4, If(Models::All, Is(Models::RangeB), Is(Models::RangeA, 1.06f)), "dddd"},
};
constexpr RegisterBlock kWrite05[] = {
    {0x00, 9, kAll, "d22222222"},
    {0x11, 16, kAll, "111 1111111111 111"},
};
constexpr RegisterBlock kWrite06[] = {
    {0x00, 8, kAll, "d2222222"},
    {0x10, 8, kAll, "11111111"},
    {0x20, 8, kAll, "dddddddd"},
};
constexpr RegisterBlock kWrite07[] = {
    {0x00, 9, kAll, "d1ddd12d1"},
    {0x09, 1, If(Models::All, Version(0.4f)), "d"},
    {0x0A, 2, If(Models::All, Is(Models::RangeB), Is(Models::RangeA, 1.05f)), "d1"},
    {0x0C, 1, If(Models::All, Is(Models::RangeB, 1.12f), Is(Models::RangeA, 1.093f)), "d"},
};
// 08-05 is a five-bit field on new models only; old models read and show it
// as a plain number, so it goes back as one.
constexpr RegisterBlock kWrite08[] = {
    {0x00, 4, kAll, "bddd"},
    {0x04, 1, Gate{Models::NotRestricted}, "1"},
    {0x05, 5, kNew, "bdddd"},
    {0x05, 5, kOld, "ddddd"},
    {0x0A, 2, If(Models::BelowNew, Version(1.4f)), "11"},
    {0x0A, 7, kNew, "d2d1111"},
    {0x11, 2, If(Models::New, Version(1.04f)), "11"},
    {0x13, 1, If(Models::New, Version(1.06f)), "d"},
};
constexpr RegisterBlock kWrite09[] = {
    {0x06, 4, kAll, "1ddd"},
};
constexpr RegisterBlock kWrite10[] = {
    {0x00, 23, kAll, "dd1d2f12dd 1dd1ddd212 1dd"},
};
constexpr RegisterBlock kWrite11[] = {
    {0x00, 12, kAll, "dddd111122 22"},
    {0x0D, 8, kNew, "d12dddd d"},
    {0x15, 1, If(Models::New, Version(1.06f)), "d"},
};
constexpr RegisterBlock kWrite12[] = {
    {0x00, 5, kAll, "odddd"},
};
constexpr RegisterBlock kWrite13[] = {
    {0x03, 4, kAll, "dddd"},
};
constexpr RegisterBlock kWrite13Ex[] = {
    {0x03, 4, kAll, "dddd"},
    {0x08, 1, kAll, "d"},
};
// 14-20 goes first: it decides how the mode items of the later frames are sent.
constexpr RegisterBlock kWrite14[] = {
    {0x14, 1, kAll, "d", true},
    {0x00, 10, kAll, "dd22dd212p"},
    {0x0A, 11, kAll, "21p11p111d d"},
    {0x16, 10, kAll, "2dp1112d 1d"},
    {0x22, 2, kAll, "pd"},
    {0x25, 3, kAll, "1pp"},
    {0x47, 3, kAll, "2dd"},
    {0x4A, 4, kGate14Tail, "212d"},
};

constexpr VfStep kVfSteps[] = {
    {0x04, '2', -1, 0x06, IDS_ORDER_FIRST},
    {0x05, '1', -1, 0x07, IDS_ORDER_FIRST + 1},
    {0x06, '2', 0x04, 0x08, IDS_ORDER_FIRST + 2},
    {0x07, '1', 0x05, 0x09, IDS_ORDER_FIRST + 3},
    {0x08, '2', 0x06, -1, IDS_ORDER_FIRST + 4},
    {0x09, '1', 0x07, -1, IDS_ORDER_FIRST + 5},
};

} // namespace

const Gate kGate1005Hundredths = If(Models::All, Is(Models::RangeB), Is(Models::RangeA, 1.1f));

const RegisterBlock kW00Tail = {0x02, 6, kAll, "dddddd"};
const RegisterBlock kW00Command = {0x00, 1, kNew, "d"};
const RegisterBlock kW00Head = {0x01, 7, kAll, "ddddddd"};
const RegisterBlock kW00Main = {0x09, 12, kAll, "d d222111121 1"};
const RegisterBlock kW00Item21 = {0x15, 1, If(Models::New, Is(Models::RangeB, 1.13f), Is(Models::RangeA, 1.093f)), "d"};

// 01-01 is shown with one decimal and goes back as value x 10 with it.
const RegisterBlock kW01First[3] = {
    {0x00, 2, kNew, "d1"},
    {0x00, 1, Gate{Models::Restricted}, "d"},
    {0x00, 2, Gate{Models::OtherOld}, "d1"},
};
const RegisterBlock kW01Last[2] = {
    {0x0A, 9, kNew, "121dd11d2"},
    {0x0A, 2, kOld, "12"},
};
const RegisterBlock kW01VfStart = {0x02, 2, kAll, "21"};

const RegisterBlock kW02Base = {0x00, 1, kAll, "1"};
const RegisterBlock kW02Restricted = {0x02, 2, Gate{Models::Restricted}, "1d"};
const RegisterBlock kW02Rated = {0x01, 3, Gate{Models::NotRestricted}, "11d"};
const RegisterBlock kW02Item04 = {0x04, 1, If(Models::All, Is(Models::New), Version(1.1f)), "1"};
const RegisterBlock kW02NewBlocks[3] = {
    {0x05, 5, kNew, "11ddd"},
    {0x0D, 5, kNew, "ddddd"},
    {0x12, 2, If(Models::New, Version(1.03f)), "dd"},
};

bool InModels(Models models, const GateContext& context)
{
    const int64_t code = context.code;
    switch (models) {
    case Models::None:
        return false;
    case Models::All:
        return true;
    case Models::Old:
        return FamilyOf(code) == ModelFamily::Old;
    case Models::New:
        return IsNewModel(code);
    case Models::RangeA:
        return IsRangeA(code);
    case Models::RangeB:
        return IsRangeB(code);
    case Models::NotRangeA:
        return !IsRangeA(code);
    case Models::BelowNew:
        return code < kModelFamilyS;
    case Models::Restricted:
        return IsRestrictedModel(code, context.version);
    case Models::NotRestricted:
        return !InModels(Models::Restricted, context);
    case Models::OtherOld:
        return InModels(Models::Old, context) && !InModels(Models::Restricted, context);
    }
    return false;
}

bool InScope(const Gate& gate, const GateContext& context)
{
    return InModels(gate.scope, context);
}

bool TermsHold(const Gate& gate, const GateContext& context)
{
    bool anyTerm = false;
    for (const GateTerm& term : gate.terms) {
        if (term.models == Models::None)
            continue;
        anyTerm = true;
        if (InModels(term.models, context) && (term.minVersion <= 0.0f || context.version >= term.minVersion))
            return true;
    }
    return !anyTerm;
}

char BlockForm(const RegisterBlock& block, int k)
{
    int index = 0;
    for (const char* p = block.forms; *p; ++p) {
        if (*p == ' ')
            continue;
        if (index++ == k)
            return *p;
    }
    return 0;
}

std::span<const RegisterBlock> ReaderBlocks(int group)
{
    switch (group) {
    case 0: return kRead00;
    case 1: return kRead01;
    case 2: return kRead02;
    case 3: return kRead03;
    case 4: return kRead04;
    case 5: return kRead05;
    case 6: return kRead06;
    case 7: return kRead07;
    case 8: return kRead08;
    case 9: return kRead09;
    case 10: return kRead10;
    case 11: return kRead11;
    case 12: return kRead12;
    case 13: return kRead13;
    case 14: return kRead14;
    default: return {};
    }
}

std::span<const RegisterBlock> WriterBlocks(int group)
{
    switch (group) {
    case 3: return kWrite03;
    case 4: return kWrite04;
    case 5: return kWrite05;
    case 6: return kWrite06;
    case 7: return kWrite07;
    case 8: return kWrite08;
    case 9: return kWrite09;
    case 10: return kWrite10;
    case 11: return kWrite11;
    case 12: return kWrite12;
    case 13: return kWrite13;
    case 14: return kWrite14;
    default: return {};
    }
}

std::span<const RegisterBlock> WriterBlocks13Ex()
{
    return kWrite13Ex;
}

std::span<const VfStep> VfSteps()
{
    return kVfSteps;
}

bool DriveHoldsItem(int group, int item, const GateContext& context)
{
    for (const RegisterBlock& block : ReaderBlocks(group))
        if (item >= block.start && item < block.start + block.count && GateHolds(block.gate, context))
            return true;
    return false;
}
