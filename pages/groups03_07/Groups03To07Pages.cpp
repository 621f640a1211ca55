#include "pages/groups03_07/Groups03To07Pages.h"

void RegisterGroups03To07Pages()
{
    RegisterGroupSpec(Group03Spec());
    RegisterGroupSpec(Group04Spec());
    RegisterGroupSpec(Group05Spec());
    RegisterGroupSpec(Group06Spec());
    RegisterGroupSpec(Group07Spec());
}
