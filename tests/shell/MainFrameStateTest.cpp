#include "session/DriveSession.h"

#include <gtest/gtest.h>

TEST(MainFrameState, ProjectFileNameIsThePathAfterItsLastSlash)
{
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"/home/a/b.zrv", "b.zrv"},
        {"b.zrv", ""}, // a bare name without a folder gives nothing, as the status bar expects
        {"", ""},
        {"/home/a/", ""},
    };
    CDriveSession frame;
    for (const auto& c : cases) {
        frame.m_strProjectPath = c.path;
        EXPECT_EQ(frame.GetProjectFileName(), c.name) << c.path;
    }
}
