#include "pages/groups08_14/Groups11To13Pages.h"

void RegisterGroups11To13Pages()
{
    RegisterGroupSpec(Group11Spec());
    RegisterGroupSpec(Group12Spec());
    RegisterGroupSpec(Group13Spec());
}
