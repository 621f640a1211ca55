#include "pages/groups08_14/Groups08To10Pages.h"

void RegisterGroups08To10Pages()
{
    RegisterGroupSpec(Group08Spec());
    RegisterGroupSpec(Group09Spec());
    RegisterGroupSpec(Group10Spec());
}
