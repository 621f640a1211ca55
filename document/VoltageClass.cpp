#include "document/VoltageClass.h"

namespace {

constexpr int kFamilyS = 0x1100000;
constexpr int kFamilySP = 0x1110000;
// Model numbers of the 230 V models in the two extended families.
constexpr int kClass100Numbers[] = {1102, 1105, 101, 1202, 1205, 1207, 201, 202, 203, 205, 208, 210};

} // namespace

int VoltageClassOf(int code)
{
    if (code < 400)
        return 100;
    if (code == 1102 || code == 1105 || code == 1202 || code == 1205)
        return 100;
    for (int number : kClass100Numbers) {
        if (code == kFamilyS + number || code == kFamilySP + number)
            return 100;
    }
    return 400;
}
