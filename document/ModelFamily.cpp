#include "document/ModelFamily.h"

namespace {

// Model numbers of class 100 in the two extended families.
constexpr int kClass100Numbers[] = {1102, 1105, 101, 1202, 1205, 1207, 201, 202, 203, 205, 208, 210};

} // namespace

int ModelClassOf(int code)
{
    if (code < 400)
        return 100;
    if (code == 1102 || code == 1105 || code == 1202 || code == 1205)
        return 100;
    for (int number : kClass100Numbers) {
        if (code == kModelFamilyS + number || code == kModelFamilySP + number)
            return 100;
    }
    return 400;
}
