#include "pages/groups03_07/Groups03To07Pages.h"

void RegisterGroups03To07Pages()
{
    RegisterGroupTable(Group03Table());
    RegisterGroupTable(Group04Table());
    RegisterGroupTable(Group05Table());
    RegisterGroupTable(Group06Table());
    RegisterGroupTable(Group07Table());
}
