#include "editor/Groups00To02Pages.h"

void RegisterGroups00To02Pages()
{
    RegisterGroupSpec(Group00Spec());
    RegisterGroupSpec(Group01Spec());
    RegisterGroupSpec(Group02Spec());
}
