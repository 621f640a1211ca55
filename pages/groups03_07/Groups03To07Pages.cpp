#include "pages/groups03_07/Groups03To07Pages.h"

void RegisterGroups03To07Pages()
{
    RegisterGroupSpec(Group05Spec());
    RegisterGroupSpec(Group06Spec());
}
