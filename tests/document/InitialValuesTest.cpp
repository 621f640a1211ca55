#include "tests/document/DocTestSupport.h"

#include "document/ModelTables.h"
#include "platform/ResourceModule.h"

#include <cstdio>

namespace {

// Row r of the initial-values file holds "r<r>c<c>" in column c: 30 columns in
// rows 0 to 8, 19 in rows 9 to 20.
std::string InitFile()
{
    std::string text;
    for (int row = 0; row <= 20; ++row) {
        text += "Row" + std::to_string(row) + ":";
        int columns = row <= 8 ? 30 : 19;
        for (int c = 0; c < columns; ++c)
            text += "r" + std::to_string(row) + "c" + std::to_string(c) + (c + 1 < columns ? "," : "");
        text += "\r\n";
    }
    return text + "END\r\n";
}

std::string Cell(int row, int column)
{
    return "r" + std::to_string(row) + "c" + std::to_string(column);
}

struct Target {
    int group, item;
};
const Target kTargets[21] = {{1, 1},  {1, 5},  {1, 7},  {1, 9},  {2, 0},  {2, 1}, {2, 4},
                             {8, 4},  {11, 14}, {1, 14}, {2, 5},  {2, 8},  {2, 9}, {2, 13},
                             {2, 16}, {3, 20}, {3, 21}, {7, 7},  {8, 1},  {8, 2}, {8, 3}};

} // namespace

class InitialValuesTest : public DocTest {
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        WriteAllDefinitionFiles();
        Write("IntialParam.DAT", InitFile());
    }

    const ParamRec& P(int group, int item) { return *m_doc.FindParam(group, item); }

    // Builds the table for a model, then reads the initial values.
    void Open(int code, int applyToValues = 1)
    {
        m_doc.m_nModelCode = code;
        m_doc.m_strModelName = LookupModelByCodeName(code);
        ASSERT_TRUE(m_doc.BuildForCurrentModel());
        // Construction's model values touch none of the targets: start clean.
        for (const Target& t : kTargets) {
            m_doc.FindParam(t.group, t.item)->m_strFactory = "F";
            m_doc.FindParam(t.group, t.item)->m_strValue = "V";
        }
        m_doc.m_bApplyInitParams = applyToValues;
        ASSERT_TRUE(m_doc.ReadInitialParamFile(Path("IntialParam.DAT")));
    }

    static std::string LookupModelByCodeName(int code)
    {
        std::string capacity;
        return LookupModelByCode(uint32_t(code), capacity);
    }

    CD390DocData& m_doc = NewDoc();
};

TEST_F(InitialValuesTest, ReadsRowsUntilTheEndMarker)
{
    struct Case {
        std::string file;
        size_t rows;
        const char* why;
    } cases[] = {
        {"A:1,2\nEND\nB:3\n", 1, "END ends the file"},
        {"A:1\n  END\nB:3\n", 1, "leading blanks before END are allowed"},
        {"A:1\nEND \nB:3\n", 3, "END followed by a blank is a row"},
        {"A:1\n\nB:3", 3, "a blank line is a row without values; a last line without LF counts"},
        {"", 0, "an empty file has no rows"},
    };
    for (const Case& c : cases) {
        Write("I.DAT", c.file);
        CD390DocData doc;
        ASSERT_TRUE(doc.ReadInitialParamFile(Path("I.DAT")));
        EXPECT_EQ(doc.m_InitParams.size(), c.rows) << c.why;
    }
    Write("I.DAT", "A:1,2\r\nEND\r\n");
    CD390DocData doc;
    doc.ReadInitialParamFile(Path("I.DAT"));
    ASSERT_EQ(doc.m_InitParams.size(), 1u);
    EXPECT_EQ(doc.m_InitParams[0].m_strKey, "A");
    EXPECT_EQ(doc.m_InitParams[0].m_Values, (std::vector<std::string>{"1", "2"}));
}

TEST_F(InitialValuesTest, SplitsALineIntoKeyAndValues)
{
    struct Case {
        const char* line;
        const char* key;
        std::vector<std::string> values;
    } cases[] = {
        {"K:1,2,3", "K", {"1", "2", "3"}},
        {"K:1,2,", "K", {"1", "2"}},
        {"K:1,,2", "K", {"1", "", "2"}},
        {"K: 1 , 2", "K", {" 1 ", " 2"}},
        {"  K:1", "  K", {"1"}},
        {"no key", "", {"no key"}},
        {"", "", {}},
        {"A:B:1", "B", {"1"}},
    };
    for (const Case& c : cases) {
        InitParamRec rec;
        CD390DocData::SplitInitLine(c.line, rec);
        EXPECT_EQ(rec.m_strKey, c.key) << c.line;
        EXPECT_EQ(rec.m_Values, c.values) << c.line;
    }
}

TEST_F(InitialValuesTest, AMissingFileIsReportedAndChangesNothing)
{
    Open(0x4B2);
    m_messages.Clear();
    EXPECT_FALSE(m_doc.ReadInitialParamFile(Path("NONE.DAT")));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{LoadResString(61579)}));
    EXPECT_TRUE(m_doc.m_InitParams.empty());
    EXPECT_EQ(P(1, 1).m_strValue, Cell(0, 3));
}

TEST_F(InitialValuesTest, ModelColumns)
{
    struct Case {
        int code, wide, narrow;
    } cases[] = {
        {0x44E, 0, -1},      {0x193, 10, -1},     {0x110044E, 11, 0},  {0x111044E, 11, 0},
        {0x11004B7, 16, 5},  {0x11100C9, 17, 6},  {0x110019F, 29, 18}, {0x111019F, 29, 18},
        {0x1100000, -1, -1}, {0x1110000, -1, -1}, {1207, -1, -1},      {0x1100194, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CD390DocData::WideColumnOf(c.code), c.wide) << std::hex << c.code;
        EXPECT_EQ(CD390DocData::NarrowColumnOf(c.code), c.narrow) << std::hex << c.code;
    }
}

TEST_F(InitialValuesTest, PlainModelTakesItsColumnOfTheFirstEightRows)
{
    Open(0x4B2);
    for (int row = 0; row < 8; ++row) {
        EXPECT_EQ(P(kTargets[row].group, kTargets[row].item).m_strValue, Cell(row, 3)) << row;
        EXPECT_EQ(P(kTargets[row].group, kTargets[row].item).m_strFactory, Cell(row, 3)) << row;
    }
    for (int row = 8; row <= 20; ++row)
        EXPECT_EQ(P(kTargets[row].group, kTargets[row].item).m_strValue, "V") << "row " << row;
}

TEST_F(InitialValuesTest, ExtendedModelsTakeWideAndNarrowColumns)
{
    for (int code : {0x11100C9, 0x11000C9}) {
        Open(code);
        for (int row = 0; row <= 20; ++row) {
            std::string expected = Cell(row, row <= 8 ? 17 : 6);
            EXPECT_EQ(P(kTargets[row].group, kTargets[row].item).m_strValue, expected) << row;
            EXPECT_EQ(P(kTargets[row].group, kTargets[row].item).m_strFactory, expected) << row;
        }
    }
}

TEST_F(InitialValuesTest, WithoutApplyingOnlyFactoryDefaultsChange)
{
    Open(0x110019F, 0);
    for (int row = 0; row <= 20; ++row) {
        EXPECT_EQ(P(kTargets[row].group, kTargets[row].item).m_strValue, "V") << row;
        EXPECT_EQ(P(kTargets[row].group, kTargets[row].item).m_strFactory, Cell(row, row <= 8 ? 29 : 18)) << row;
    }
}

TEST_F(InitialValuesTest, MissingColumnsRowsAndTargetsLeaveTargetsAlone)
{
    // A code without a column: nothing is written, not even an empty text.
    Open(0x1100000);
    for (const Target& t : kTargets)
        EXPECT_EQ(P(t.group, t.item).m_strValue, "V");

    // Rows that are too short for the column, and missing rows.
    Write("IntialParam.DAT", "A:1,2,3,4\nB:1\n");
    Open(0x4B2);
    EXPECT_EQ(P(1, 1).m_strValue, "4");
    EXPECT_EQ(P(1, 5).m_strValue, "V");
    EXPECT_EQ(P(1, 7).m_strValue, "V");

    // A table without the target items.
    Write("PARAM.DAT", FullDefinitionFile(3));
    Write("IntialParam.DAT", InitFile());
    CD390DocData& doc = NewDoc();
    doc.m_nModelCode = 0x4B2;
    doc.m_strModelName = LookupModelByCodeName(0x4B2);
    ASSERT_TRUE(doc.BuildForCurrentModel());
    ASSERT_TRUE(doc.ReadInitialParamFile(Path("IntialParam.DAT")));
    EXPECT_EQ(doc.FindParam(1, 1)->m_strValue, Cell(0, 3));
    EXPECT_EQ(doc.FindParam(1, 5), nullptr);
}

// --- Built-in model values ---------------------------------------------

struct ModelValues {
    int code;
    int freq;
    const char* p0104;
    const char* p0106;
    const char* p0108;
    const char* p0203;
    const char* p0206; // nullptr: not written
    const char* capacity;
};

// Cases read as "model 0x11000CB at 60 Hz" in the test list.
void PrintTo(const ModelValues& m, std::ostream* os)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%X", unsigned(m.code));
    *os << "model " << code << " at " << (m.freq == 0 ? "50" : "60") << " Hz";
}

class ModelDefaultsTest : public DocTest, public ::testing::WithParamInterface<ModelValues> {};

TEST_P(ModelDefaultsTest, InitialValuesAndModelDefaults)
{
    const ModelValues& m = GetParam();
    WriteAllDefinitionFiles();
    std::string capacity;
    CD390DocData& doc = NewDoc();
    doc.m_strModelName = LookupModelByCode(uint32_t(m.code), capacity);
    doc.m_nModelCode = 1205; // the lookup by name renews the code
    doc.m_nFreqIndex = m.freq;
    ASSERT_TRUE(doc.BuildForCurrentModel());
    EXPECT_EQ(doc.m_nModelCode, m.code);

    const bool hz50 = m.freq == 0;
    struct Expect {
        int group, item;
        std::string text;
    } expects[] = {
        {0, 11, hz50 ? "50.00" : "60.00"},
        {0, 12, hz50 ? "50.00" : "60.00"},
        {1, 0, hz50 ? "1" : "4"},
        {1, 2, hz50 ? "50.00" : "60.00"},
        {1, 4, m.p0104},
        {1, 6, m.p0106},
        {1, 8, m.p0108},
        {2, 3, m.p0203},
        {12, 3, hz50 ? "1500" : "1800"},
        {13, 0, m.capacity},
    };
    for (const Expect& e : expects) {
        EXPECT_EQ(doc.FindParam(e.group, e.item)->m_strFactory, e.text) << Code(e.group, e.item);
        EXPECT_EQ(doc.FindParam(e.group, e.item)->m_strValue, e.text) << Code(e.group, e.item);
    }
    EXPECT_EQ(doc.FindParam(2, 6)->m_strValue, m.p0206 ? m.p0206 : "V");
    EXPECT_EQ(doc.FindParam(2, 6)->m_strFactory, m.p0206 ? m.p0206 : "F");
    EXPECT_EQ(doc.FindParam(1, 1)->m_strValue, "V") << "a parameter outside the list";

    // Model defaults renew factory defaults only, and never 02-06.
    for (GroupRec& group : doc.m_Groups)
        for (ParamRec& p : group.m_Params)
            p.m_strFactory = p.m_strValue = "x";
    doc.SetModelDefaults();
    for (const Expect& e : expects) {
        EXPECT_EQ(doc.FindParam(e.group, e.item)->m_strFactory, e.text) << Code(e.group, e.item);
        EXPECT_EQ(doc.FindParam(e.group, e.item)->m_strValue, "x") << Code(e.group, e.item);
    }
    EXPECT_EQ(doc.FindParam(2, 6)->m_strFactory, "x");
}

INSTANTIATE_TEST_SUITE_P(
    ByFamilyAndFrequency, ModelDefaultsTest,
    ::testing::Values(
        // plain family
        ModelValues{0x4B2, 0, "25.00", "10.00", "0.50", "1430", nullptr, "2P2"},
        ModelValues{0x4B2, 1, "30.00", "12.00", "0.60", "1680", nullptr, "2P2"},
        ModelValues{0xCB, 0, "25.00", "10.00", "0.50", "1430", nullptr, "203"},
        // second family: speeds by model
        ModelValues{0x11000CB, 0, "2.50", "2.50", "1.30", "1455", "50.0", "203"},
        ModelValues{0x11000CB, 1, "3.00", "3.00", "1.50", "1735", "60.0", "203"},
        ModelValues{0x110019F, 0, "2.50", "2.50", "1.30", "1465", "50.0", "415"},
        ModelValues{0x110019F, 1, "3.00", "3.00", "1.50", "1760", "60.0", "415"},
        ModelValues{0x11004B2, 1, "3.00", "3.00", "1.50", "1710", "60.0", "2P2"},
        ModelValues{0x11000CA, 0, "2.50", "2.50", "1.30", "1430", "50.0", "202"},
        ModelValues{0x11000CA, 1, "3.00", "3.00", "1.50", "1715", "60.0", "202"},
        ModelValues{0x11000D2, 1, "3.00", "3.00", "1.50", "1750", "60.0", "210"},
        ModelValues{0x1100195, 0, "2.50", "2.50", "1.30", "1445", "50.0", "405"},
        // third family: the usual speeds whatever the model
        ModelValues{0x111019F, 0, "2.50", "2.50", "1.30", "1430", "50.0", "415"},
        ModelValues{0x111019F, 1, "3.00", "3.00", "1.50", "1680", "60.0", "415"},
        ModelValues{0x11100CB, 1, "3.00", "3.00", "1.50", "1680", "60.0", "203"}));

TEST_F(DocTest, ModelValuesOtherFrequenciesAndUnknownModels)
{
    WriteAllDefinitionFiles();
    CD390DocData& doc = NewDoc();
    doc.m_strModelName = "D390-2P5-Hxx";
    doc.m_nModelCode = 0x110019F;
    doc.m_nFreqIndex = 2;
    ASSERT_TRUE(doc.BuildForCurrentModel());
    EXPECT_EQ(doc.m_nModelCode, 1205) << "the lookup happens anyway";
    EXPECT_EQ(doc.FindParam(0, 11)->m_strValue, "V") << "no value for a third frequency";
    EXPECT_EQ(doc.FindParam(13, 0)->m_strValue, "V");

    doc.m_strModelName = "not a model";
    doc.m_nFreqIndex = 0;
    doc.SetInitialValues();
    EXPECT_EQ(doc.m_nModelCode, 1205);
    EXPECT_EQ(doc.FindParam(0, 11)->m_strValue, "50.00");
    EXPECT_EQ(doc.FindParam(13, 0)->m_strValue, "V") << "no capacity code: 13-00 is kept, not emptied";
}
