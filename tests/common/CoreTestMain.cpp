// Test entry point of window-free tests: the resource module of the build's
// program folder is loaded, and a stray message box is recorded, never shown.

#include "platform/ResourceModule.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!LoadResourceModule(TestProgramFolder())) {
        fprintf(stderr, "resource module missing in %s\n", TestProgramFolder().c_str());
        return 1;
    }
    MessageRecorder stray;
    return RUN_ALL_TESTS();
}
