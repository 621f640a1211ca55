#include "pages/groups08_14/Groups08To10Pages.h"

void RegisterGroups08To10Pages()
{
    RegisterGroupTable(Group08Table());
    RegisterGroupTable(Group09Table());
    RegisterGroupTable(Group10Table());
}
