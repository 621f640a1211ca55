#include "pages/GroupPages.h"

#include "editor/Groups00To02Pages.h"
#include "pages/groups03_07/Groups03To07Pages.h"
#include "pages/groups08_14/Group14Pages.h"
#include "pages/groups08_14/Groups08To10Pages.h"
#include "pages/groups08_14/Groups11To13Pages.h"

void RegisterGroupPages()
{
    RegisterGroups00To02Pages();
    RegisterGroups03To07Pages();
    RegisterGroups08To10Pages();
    RegisterGroups11To13Pages();
    RegisterGroup14Pages();
}
