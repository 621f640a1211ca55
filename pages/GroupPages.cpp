#include "pages/GroupPages.h"

#include "pages/groups03_07/Groups03To07Pages.h"

void RegisterGroupPages()
{
    RegisterGroups03To07Pages();
}
