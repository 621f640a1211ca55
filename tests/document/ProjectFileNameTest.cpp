#include "document/D390DocData.h"

#include <gtest/gtest.h>

TEST(ProjectFileName, IsThePathAfterItsLastSlash)
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
    CD390DocData project;
    for (const auto& c : cases) {
        project.m_strProjectPath = c.path;
        EXPECT_EQ(project.GetProjectFileName(), c.name) << c.path;
    }
}
