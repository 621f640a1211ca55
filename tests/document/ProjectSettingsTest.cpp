#include "document/D390DocData.h"
#include "document/FrameWindows.h"
#include "platform/ResourceModule.h"

#include <gtest/gtest.h>

TEST(FrameWindows, StatusPanesShowTheirLabelBeforeTheText)
{
    const struct {
        int pane;
        std::string text;
    } cases[] = {
        {kPaneFileName, LoadResString(61451) + "a.zrv"},
        {kPaneVersion, LoadResString(61452) + "a.zrv"},
        {kPaneStation, LoadResString(61453) + "a.zrv"},
        {kPaneModel, LoadResString(61454) + "a.zrv"},
        {kPaneLink, "a.zrv"},
        {kPaneCount, "a.zrv"}, // no pane of that number: no label to look up
    };
    for (const auto& c : cases)
        EXPECT_EQ(StatusPaneText(c.pane, "a.zrv"), c.text) << c.pane;
    EXPECT_FALSE(LoadResString(61454).empty());
}

TEST(ProjectGraphChannels, ANewProjectAndAResetShowNoChannel)
{
    CD390DocData project;
    EXPECT_EQ(project.m_nGraphSel[1], 0);
    EXPECT_EQ(project.m_strGraphSource[1], LoadResString(61491));
    project.m_nGraphSel[2] = 3;
    project.m_nGraphFlag = 1;
    project.m_strGraphMax[3] = "60.00";
    project.m_strGraphSource[0] = "Output frequency";
    project.ResetGraphChannels();
    EXPECT_EQ(project.m_nGraphSel[2], 0);
    EXPECT_EQ(project.m_nGraphFlag, 0);
    EXPECT_EQ(project.m_strGraphMax[3], "10.00");
    EXPECT_EQ(project.m_strGraphMin[0], "0.00");
    EXPECT_EQ(project.m_strGraphSource[0], LoadResString(61491));
}
