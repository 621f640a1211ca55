#include "pages/groups08_14/Groups11To13Pages.h"

void RegisterGroups11To13Pages()
{
    RegisterGroupTable(Group11Table());
    RegisterGroupTable(Group12Table());
    RegisterGroupTable(Group13Table());
}
