#include "editor/Groups00To02Pages.h"

void RegisterGroups00To02Pages()
{
    RegisterGroupTable(Group00Table());
    RegisterGroupTable(Group01Table());
    RegisterGroupTable(Group02Table());
}
