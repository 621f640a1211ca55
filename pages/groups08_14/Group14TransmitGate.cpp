#include "pages/groups08_14/Group14TransmitGate.h"

#include "editor/EditorStrings.h"
#include "editor/PageTable.h"

unsigned Group14TransmitGate(int modelCode, float version)
{
    const bool firstFamily = modelCode > 0x1100000 && modelCode < 0x1110000;
    return firstFamily && VersionBelow(version, 1.093f) ? IDS_GROUP14_VERSION : 0u;
}
