#include "tests/document/DocTestSupport.h"

#include "platform/ResourceModule.h"

namespace {

std::vector<std::string> Labels(const GroupRec& group)
{
    std::vector<std::string> labels;
    for (const ParamRec& p : group.m_Params)
        labels.push_back(p.m_strLabel);
    return labels;
}

int DefinedCount(const CD390DocData& doc)
{
    int count = 0;
    for (int g = 0; g < kGroupCount; ++g)
        for (int i = 0; i < kItemCount; ++i)
            count += doc.m_Defined[g][i] != 0;
    return count;
}

} // namespace

using ParamFileTest = DocTest;

TEST_F(ParamFileTest, FillsGapsWithPlaceholdersSoThatElementNIsItemN)
{
    Write("P.DAT", "00-00A@1$2*x\n#Zero\n01-00Start@0$1*\r\n01-01Mode@5$6*remark\n01-04Four@4.00$4.50*r\n#V/F\n");
    CD390DocData doc;
    ASSERT_TRUE(doc.ParseParamFile(Path("P.DAT")));
    ASSERT_EQ(doc.m_Groups.size(), 2u);
    EXPECT_EQ(doc.m_Groups[1].m_strName, "V/F");
    const auto& params = doc.m_Groups[1].m_Params;
    ASSERT_EQ(params.size(), 5u);
    EXPECT_EQ(Labels(doc.m_Groups[1]), (std::vector<std::string>{"01-00Start", "01-01Mode", "01-02", "01-03", "01-04Four"}));
    EXPECT_EQ(params[1].m_strFactory, "5");
    EXPECT_EQ(params[1].m_strValue, "6");
    EXPECT_EQ(params[1].m_strRemark, "remark");
    EXPECT_EQ(params[1].m_strRead, "");
    EXPECT_EQ(params[1].m_bDefined, 1);
    EXPECT_EQ(params[0].m_strRemark, "") << "the CR before LF is not part of the line";
    for (int i : {2, 3}) {
        EXPECT_EQ(params[i].m_strFactory, "0");
        EXPECT_EQ(params[i].m_strValue, "0");
        EXPECT_EQ(params[i].m_strRemark, "");
        EXPECT_EQ(params[i].m_bDefined, 0);
    }
    EXPECT_EQ(params[4].m_strFactory, "4.00");
    for (int i = 0; i < kItemCount; ++i)
        EXPECT_EQ(doc.m_Defined[1][i], (i == 0 || i == 1 || i == 4) ? 1u : 0u) << i;
    EXPECT_EQ(doc.m_Defined[0][0], 1u);
    EXPECT_EQ(DefinedCount(doc), 4);
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(ParamFileTest, GroupLinesCloseTheLinesBeforeThem)
{
    Write("P.DAT", "00-00A@1$2*\n#\nNo group line follows@1$1*\n");
    CD390DocData doc;
    ASSERT_TRUE(doc.ParseParamFile(Path("P.DAT")));
    ASSERT_EQ(doc.m_Groups.size(), 1u) << "lines after the last group line make no group";
    EXPECT_EQ(doc.m_Groups[0].m_strName, "") << "a lone '#' names the group with empty text";
    EXPECT_EQ(doc.m_Groups[0].m_Params.size(), 1u);

    Write("Q.DAT", "x#Name # more\n");
    ASSERT_TRUE(doc.ParseParamFile(Path("Q.DAT")));
    ASSERT_EQ(doc.m_Groups.size(), 1u);
    EXPECT_EQ(doc.m_Groups[0].m_strName, "Name # more") << "the name is the text after the first '#'";
    EXPECT_TRUE(doc.m_Groups[0].m_Params.empty());
}

TEST_F(ParamFileTest, SplitsFieldsAtTheFirstMarkers)
{
    struct Case {
        std::string line;
        const char* label;
        const char* factory;
        const char* value;
        const char* remark;
        const char* why;
    } cases[] = {
        {"00-00Name@1$2*3", "00-00Name", "1", "2", "3", "all fields"},
        {"00-00Name@1@2$3$4*5*6", "00-00Name", "1@2", "3$4", "5*6", "first marker of each kind wins"},
        {"00-00 no markers", "", "", "", "00-00 no markers", "no markers: the whole line is the remark"},
        {"00-00Name@$*", "00-00Name", "", "", "", "empty fields"},
        {"00-00Name@@$*", "00-00Name", "@", "", "", "factory runs up to the first '$'"},
        {"00-00Name@5$*", "00-00Name", "5", "", "", "empty set value"},
    };
    for (const Case& c : cases) {
        Write("P.DAT", c.line + "\n#G\n");
        CD390DocData doc;
        ASSERT_TRUE(doc.ParseParamFile(Path("P.DAT")));
        ASSERT_EQ(doc.m_Groups.size(), 1u);
        ASSERT_EQ(doc.m_Groups[0].m_Params.size(), 1u) << c.why;
        const ParamRec& p = doc.m_Groups[0].m_Params[0];
        EXPECT_EQ(p.m_strLabel, c.label) << c.why;
        EXPECT_EQ(p.m_strFactory, c.factory) << c.why;
        EXPECT_EQ(p.m_strValue, c.value) << c.why;
        EXPECT_EQ(p.m_strRemark, c.remark) << c.why;
        EXPECT_EQ(p.m_bDefined, 1) << c.why;
    }
}

TEST_F(ParamFileTest, SkipsLinesThatWouldBreakTheItemPositions)
{
    // Every skipped line would have been stored at the wrong position or
    // outside the 15 x 100 flags.
    Write("P.DAT",
          "\n"                 // blank line
          "02-00A@1$1*\n"
          "   \t\n"            // blank with white space
          "02-02C@1$1*\n"
          "02-02Again@9$9*\n"  // same item again
          "02-01Back@9$9*\n"   // item going back
          "15-03Group15@9$9*\n" // group above 14
          "02-A0Bad@9$9*\n"    // not a number: item 0, not above 02-02
          "02-99Last@1$1*\n"
          "03-100@9$9*\n"      // only five characters are the code: item 10
          "#G\n");
    CD390DocData doc;
    ASSERT_TRUE(doc.ParseParamFile(Path("P.DAT")));
    ASSERT_EQ(doc.m_Groups.size(), 1u);
    const auto& params = doc.m_Groups[0].m_Params;
    ASSERT_EQ(params.size(), 100u);
    EXPECT_EQ(params[0].m_strLabel, "02-00A");
    EXPECT_EQ(params[1].m_strLabel, "02-01");
    EXPECT_EQ(params[2].m_strLabel, "02-02C");
    EXPECT_EQ(params[99].m_strLabel, "02-99Last");
    EXPECT_EQ(doc.m_Defined[0][0], 0u) << "a blank line defines nothing";
    EXPECT_EQ(doc.m_Defined[2][0], 1u);
    EXPECT_EQ(doc.m_Defined[2][1], 0u);
    EXPECT_EQ(doc.m_Defined[2][99], 1u);
    EXPECT_EQ(DefinedCount(doc), 3);
}

TEST_F(ParamFileTest, AnOverlongLineEndsTheFileThere)
{
    Write("P.DAT", "00-00A@1$1*\n#G0\n01-00" + std::string(70000, 'x') + "\n#G1\n");
    CD390DocData doc;
    ASSERT_TRUE(doc.ParseParamFile(Path("P.DAT")));
    ASSERT_EQ(doc.m_Groups.size(), 1u);
    EXPECT_EQ(doc.m_Groups[0].m_strName, "G0");
}

TEST_F(ParamFileTest, AMissingFileIsReportedByNameAndKeepsTheTable)
{
    Write("P.DAT", "00-00A@1$1*\n#G0\n");
    CD390DocData doc;
    ASSERT_TRUE(doc.ParseParamFile(Path("P.DAT")));
    doc.m_SavedDefined[0][0] = 1;
    EXPECT_FALSE(doc.ParseParamFile(Path("NONE.DAT")));
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_NE(m_messages.Texts()[0].find(Path("NONE.DAT")), std::string::npos);
    EXPECT_NE(m_messages.Texts()[0].find(LoadResString(61579)), std::string::npos);
    ASSERT_EQ(doc.m_Groups.size(), 1u);
    EXPECT_EQ(doc.m_Defined[0][0], 1u);
    EXPECT_EQ(doc.m_SavedDefined[0][0], 1u);

    ASSERT_TRUE(doc.ParseParamFile(Path("P.DAT")));
    EXPECT_EQ(doc.m_SavedDefined[0][0], 0u) << "every parse clears the stored flags";
}

TEST_F(ParamFileTest, ChoosesFilesByModelCode)
{
    struct Case {
        int code;
        const char* param;
        const char* motor;
    } cases[] = {
        {1205, "PARAM.DAT", "D390MOTORPARAM.DAT"},
        {0x1100000, "PARAM.DAT", "D390MOTORPARAM.DAT"},
        {0x1100001, "PARAMS.DAT", "RQ5MOTORPARAM.DAT"},
        {0x1110000, "PARAMS.DAT", "RQ5MOTORPARAM.DAT"},
        {0x1110001, "PARAMSP.DAT", "D390SPMOTORPARAM.DAT"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(CD390DocData::ParamFileNameOf(c.code), c.param) << std::hex << c.code;
        EXPECT_STREQ(CD390DocData::MotorFileNameOf(c.code), c.motor) << std::hex << c.code;
    }
}

TEST_F(ParamFileTest, ReadsMotorParamLines)
{
    Write("M.DAT", "  0.4KW 220V 0.4kW motor\r\n\nAB\n\t12345X678\nlast");
    CD390DocData doc;
    doc.ReadMotorParamFile(Path("M.DAT"));
    ASSERT_EQ(doc.m_MotorParams.size(), 5u);
    EXPECT_EQ(doc.m_MotorParams[0].m_strCode, "0.4KW");
    EXPECT_EQ(doc.m_MotorParams[0].m_strText, "220V 0.4kW motor");
    EXPECT_EQ(doc.m_MotorParams[1].m_strCode, "") << "blank lines make records too";
    EXPECT_EQ(doc.m_MotorParams[2].m_strCode, "AB");
    EXPECT_EQ(doc.m_MotorParams[2].m_strText, "");
    EXPECT_EQ(doc.m_MotorParams[3].m_strCode, "12345");
    EXPECT_EQ(doc.m_MotorParams[3].m_strText, "678") << "the sixth character belongs to neither";
    EXPECT_EQ(doc.m_MotorParams[4].m_strCode, "last");

    doc.ReadMotorParamFile(Path("NONE.DAT"));
    EXPECT_TRUE(doc.m_MotorParams.empty());
    EXPECT_TRUE(m_messages.Texts().empty()) << "a missing motor file is silent";
}

TEST_F(ParamFileTest, BuildsTheTableForTheCurrentModel)
{
    WriteAllDefinitionFiles();
    Write("PARAMS.DAT", "00-00S@1$1*\n#S family\n");
    Write("RQ5MOTORPARAM.DAT", "AAAAA text\n");
    CD390DocData& doc = NewDoc();
    doc.m_nModelCode = 0x11004B2;
    doc.m_strModelName = "RQ5 02 A240";
    doc.m_nGraphSel[1] = 4;
    doc.m_Changed[0][0] = 1;
    ASSERT_TRUE(doc.BuildForCurrentModel());
    ASSERT_EQ(doc.m_Groups.size(), 1u);
    EXPECT_EQ(doc.m_Groups[0].m_strName, "S family");
    ASSERT_EQ(doc.m_MotorParams.size(), 1u);
    EXPECT_EQ(doc.m_Changed[0][0], 0u);
    EXPECT_EQ(doc.m_nGraphSel[1], 0) << "graph channels reset";
    EXPECT_EQ(doc.m_strGraphMax[1], "10.00");
    EXPECT_EQ(doc.m_bApplyInitParams, 1);
    EXPECT_EQ(doc.m_fDriveVersion, 0.0f);
    EXPECT_TRUE(doc.m_InitParams.empty()) << "construction does not read the initial values";

    std::remove(Path("PARAMSP.DAT").c_str());
    CD390DocData& other = NewDoc();
    other.m_nModelCode = 0x1110191;
    EXPECT_FALSE(other.BuildForCurrentModel());
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_NE(m_messages.Texts()[0].find("PARAMSP.DAT"), std::string::npos);
}

TEST_F(ParamFileTest, SetModelFromTextSwitchesModelAndTable)
{
    WriteAllDefinitionFiles(30);
    Write("PARAMSP.DAT", "00-00P@1$1*\n#SP\n");
    Write("IntialParam.DAT", "");
    CD390DocData& doc = NewDoc();
    doc.m_nModelCode = 1205;
    ASSERT_TRUE(doc.BuildForCurrentModel());
    doc.m_Changed[3][2] = 1;
    ASSERT_TRUE(doc.SetModelFromText("Model:D390-401-SHxx-xP"));
    EXPECT_EQ(doc.m_strModelName, "D390-401-SHxx-xP");
    EXPECT_EQ(doc.m_nModelCode, 0x1110191);
    ASSERT_EQ(doc.m_Groups.size(), 1u);
    EXPECT_EQ(doc.m_Groups[0].m_strName, "SP");
    EXPECT_EQ(doc.m_Changed[3][2], 0u);
    EXPECT_EQ(m_windows.GetStatusPaneText(kPaneModel), LoadResString(61454) + "D390-401-SHxx-xP");

    ASSERT_TRUE(doc.SetModelFromText("a:b:D390-2P5-Hxx"));
    EXPECT_EQ(doc.m_strModelName, "b:D390-2P5-Hxx") << "only the first ':' separates";
    EXPECT_EQ(doc.m_nModelCode, 0x1110191) << "a name the table lacks keeps the code";

    ASSERT_TRUE(doc.SetModelFromText("D390-2P5-Hxx"));
    EXPECT_EQ(doc.m_strModelName, "D390-2P5-Hxx") << "no ':' takes the whole text";
    EXPECT_EQ(doc.m_nModelCode, 1205);
    EXPECT_EQ(doc.m_Groups.size(), 15u);
}

TEST_F(ParamFileTest, SwitchingToAModelWithoutDefinitionFileChangesNothing)
{
    Write("PARAM.DAT", FullDefinitionFile(10));
    Write("IntialParam.DAT", "");
    CD390DocData& doc = NewDoc();
    doc.m_nModelCode = 1205;
    doc.m_strModelName = "D390-2P5-Hxx";
    ASSERT_TRUE(doc.BuildForCurrentModel());
    doc.m_Changed[1][1] = 1;
    EXPECT_FALSE(doc.SetModelFromText(":RQ5 02 A240"));
    EXPECT_EQ(doc.m_strModelName, "D390-2P5-Hxx");
    EXPECT_EQ(doc.m_nModelCode, 1205);
    EXPECT_EQ(doc.m_Groups.size(), 15u);
    EXPECT_EQ(doc.m_Changed[1][1], 1u);
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_NE(m_messages.Texts()[0].find("PARAMS.DAT"), std::string::npos);
}

TEST_F(ParamFileTest, ReloadRebuildsForTheProjectModel)
{
    WriteAllDefinitionFiles(10);
    Write("IntialParam.DAT", "");
    CD390DocData& doc = NewDoc();
    doc.m_nModelCode = 1205;
    ASSERT_TRUE(doc.BuildForCurrentModel());
    doc.m_Groups[4].m_Params[2].m_strValue = "edited";
    doc.m_Changed[4][2] = 1;
    ASSERT_TRUE(doc.ReloadParamFiles());
    EXPECT_EQ(doc.m_Groups[4].m_Params[2].m_strValue, "V");
    EXPECT_EQ(doc.m_Changed[4][2], 0u);
    EXPECT_EQ(m_windows.GetStatusPaneText(kPaneModel), "") << "reload leaves the status bar alone";
}

TEST_F(ParamFileTest, DefinedPositionCountsOnlyDefinedItems)
{
    Write("P.DAT", "00-00A@1$1*\n#G0\n01-01A@1$1*\n01-03B@1$1*\n01-04C@1$1*\n#G1\n");
    CD390DocData doc;
    ASSERT_TRUE(doc.ParseParamFile(Path("P.DAT")));
    EXPECT_EQ(doc.DefinedPosition(1, 1), 0);
    EXPECT_EQ(doc.DefinedPosition(1, 3), 1);
    EXPECT_EQ(doc.DefinedPosition(1, 4), 2);
    EXPECT_EQ(doc.DefinedPosition(1, 2), -1);
    EXPECT_EQ(doc.DefinedPosition(15, 0), -1);
    EXPECT_EQ(doc.DefinedPosition(1, 100), -1);
    EXPECT_EQ(doc.FindParam(1, 5), nullptr);
    EXPECT_EQ(doc.FindParam(2, 0), nullptr);
    EXPECT_EQ(doc.FindParam(-1, 0), nullptr);
    ASSERT_NE(doc.FindParam(1, 2), nullptr);
    EXPECT_EQ(doc.FindParam(1, 2)->m_strLabel, "01-02");
}
