#include "document/ModelFamily.h"

namespace ModelFamily {

namespace {

// Model numbers of class 400: the plain models 401 to 403, and in the two
// extended families these seven.
constexpr int kClass400Numbers[] = {401, 402, 403, 405, 408, 410, 415};

} // namespace

int ModelNumber(int code)
{
    if (code > kSP)
        return code - kSP;
    if (code > kS)
        return code - kS;
    return code;
}

// A code that names no model counts as class 100, whose limits the
// definition files' values of such a project fit.
int VoltageClass(int code)
{
    if (code <= kS)
        return code >= 401 && code <= 403 ? 400 : 100;
    const int number = ModelNumber(code);
    for (int listed : kClass400Numbers)
        if (number == listed)
            return 400;
    return 100;
}

} // namespace ModelFamily
