#include "tests/document/DocTestSupport.h"

#include "document/ProjectFile.h"
#include "platform/ResourceModule.h"

#include <filesystem>
#include <map>

namespace {

// Builds project file bytes by hand, field by field.
class Bytes {
public:
    Bytes& U32(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes += char((value >> (8 * i)) & 0xFF);
        return *this;
    }
    Bytes& Text(const std::string& text)
    {
        U32(uint32_t(text.size()));
        m_bytes += text;
        return *this;
    }
    // One flag per record, groups in order.
    Bytes& Defined(const std::vector<std::vector<uint32_t>>& groups)
    {
        U32(uint32_t(groups.size()));
        for (const auto& group : groups) {
            U32(uint32_t(group.size()));
            for (uint32_t flag : group)
                U32(flag);
        }
        return *this;
    }
    Bytes& Values(const std::vector<std::vector<std::string>>& groups)
    {
        U32(uint32_t(groups.size()));
        for (const auto& group : groups) {
            U32(uint32_t(group.size()));
            for (const std::string& value : group)
                Text(value);
        }
        return *this;
    }
    Bytes& Graph()
    {
        for (int channel = 0; channel < 4; ++channel)
            U32(uint32_t(channel + 1)).Text("src" + std::to_string(channel)).Text("9" + std::to_string(channel)).Text("-1");
        return *this;
    }
    Bytes& Titles(const std::string& title, const std::string& name, const std::string& department)
    {
        return Text(title).Text(name).Text(department);
    }
    const std::string& Str() const { return m_bytes; }
    size_t Size() const { return m_bytes.size(); }

private:
    std::string m_bytes;
};

// 15 groups of values; group g gets the texts of `filled` where given.
std::vector<std::vector<std::string>> ValueGroups(const std::map<int, std::vector<std::string>>& filled, size_t groups = 15)
{
    std::vector<std::vector<std::string>> values(groups);
    for (const auto& [group, texts] : filled)
        values[size_t(group)] = texts;
    return values;
}

std::vector<std::string> Numbered(const std::string& prefix, int count)
{
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i)
        texts.push_back(prefix + std::to_string(i));
    return texts;
}

} // namespace

class ProjectFileTest : public DocTest {
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        WriteAllDefinitionFiles();
        m_doc.m_strModelName = "D390-2P5-Hxx";
        m_doc.m_nModelCode = 1205;
        ASSERT_TRUE(m_doc.BuildForCurrentModel());
    }

    bool Load(const std::string& bytes)
    {
        Write("p.zrv", bytes);
        return m_doc.LoadProjectFile(Path("p.zrv"));
    }

    const std::string& Value(int group, int item) { return m_doc.FindParam(group, item)->m_strValue; }

    CD390DocData& m_doc = NewDoc();
};

TEST_F(ProjectFileTest, Version13RoundTrip)
{
    CD390DocData& saved = NewDoc();
    saved.m_strModelName = "RQ5 07 A240";
    saved.m_nModelCode = 0x11000C9;
    ASSERT_TRUE(saved.BuildForCurrentModel());
    saved.FindParam(0, 3)->m_strValue = "3";
    saved.FindParam(14, 39)->m_strValue = std::string(300, 'v'); // far above the old 99-byte limit
    saved.FindParam(2, 7)->m_strValue = "";
    for (int c = 0; c < 4; ++c) {
        saved.m_nGraphSel[c] = 10 + c;
        saved.m_strGraphSource[c] = "Output frequency " + std::to_string(c);
        saved.m_strGraphMax[c] = "60.00";
        saved.m_strGraphMin[c] = "-" + std::to_string(c);
    }
    saved.m_nFreqIndex = 1;
    saved.m_strPrintTitle = "Pump station";
    saved.m_strPrintName = "Ann";
    saved.m_strPrintDepartment = "Maintenance";
    ASSERT_TRUE(saved.SaveProjectFile(Path("round.zrv")));

    // A different project is open when the file comes back.
    CD390DocData& loaded = NewDoc();
    loaded.m_strModelName = "D390-2P5-Hxx";
    loaded.m_nModelCode = 1205;
    loaded.ResetGraphChannels();
    loaded.m_nFreqIndex = 0;
    ASSERT_TRUE(loaded.BuildForCurrentModel());
    ASSERT_TRUE(loaded.LoadProjectFile(Path("round.zrv"))) << loaded.m_strLoadError;

    EXPECT_EQ(loaded.m_strModelName, "RQ5 07 A240");
    EXPECT_EQ(loaded.m_nModelCode, 0x11000C9);
    ASSERT_EQ(loaded.m_Groups.size(), saved.m_Groups.size());
    for (size_t g = 0; g < saved.m_Groups.size(); ++g)
        for (size_t i = 0; i < saved.m_Groups[g].m_Params.size(); ++i)
            EXPECT_EQ(loaded.m_Groups[g].m_Params[i].m_strValue, saved.m_Groups[g].m_Params[i].m_strValue) << Code(int(g), int(i));
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(loaded.m_nGraphSel[c], 10 + c);
        EXPECT_EQ(loaded.m_strGraphSource[c], "Output frequency " + std::to_string(c));
        EXPECT_EQ(loaded.m_strGraphMax[c], "60.00");
        EXPECT_EQ(loaded.m_strGraphMin[c], "-" + std::to_string(c));
    }
    EXPECT_EQ(loaded.m_nFreqIndex, 1);
    EXPECT_EQ(loaded.m_strPrintTitle, "Pump station");
    EXPECT_EQ(loaded.m_strPrintName, "Ann");
    EXPECT_EQ(loaded.m_strPrintDepartment, "Maintenance");
    EXPECT_EQ(loaded.m_SavedDefined[14][39], 1u);
    EXPECT_EQ(loaded.m_bApplyInitParams, 0) << "the open reads the initial values for factory defaults only";
    EXPECT_EQ(loaded.FindParam(12, 3)->m_strFactory, "1800") << "model defaults for the stored base frequency";
    EXPECT_EQ(loaded.FindParam(12, 3)->m_strValue, "1500") << "model defaults leave stored values";
}

TEST_F(ProjectFileTest, StoredBytesFollowTheLayoutExactly)
{
    // Two groups: group 0 has items 0 and 2 (1 is a placeholder), group 1 item 0.
    Write("PARAM.DAT", "00-00First@1$a*\n00-02Third@1$bc*\n#G0\n01-00Only@1$1*\n#G1\n");
    CD390DocData& doc = NewDoc();
    doc.m_strModelName = "D390-2P5-Hxx";
    doc.m_nModelCode = 1205;
    ASSERT_TRUE(doc.BuildForCurrentModel());
    doc.FindParam(1, 0)->m_strValue = "";
    for (int c = 0; c < 4; ++c) {
        doc.m_nGraphSel[c] = c;
        doc.m_strGraphSource[c] = "S" + std::to_string(c);
        doc.m_strGraphMax[c] = "10.00";
        doc.m_strGraphMin[c] = "0.00";
    }
    doc.m_nFreqIndex = 1;
    doc.m_strPrintTitle = "T";
    doc.m_strPrintName = "";
    doc.m_strPrintDepartment = "Dep";
    ASSERT_TRUE(doc.SaveProjectFile(Path("small.zrv")));
    std::string expected = ReadFileBytes(TestSourceFolder() + "document/fixtures/small-v13.zrv");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadFileBytes(Path("small.zrv")), expected);
}

TEST_F(ProjectFileTest, Version12AppliesStoredValuesOnlyWhereTheyWereDefined)
{
    std::vector<std::vector<uint32_t>> defined(15);
    defined[2] = std::vector<uint32_t>(12, 1);
    defined[2][10] = 0;
    Bytes file;
    file.U32(12).Text("D390-2P5-Hxx").Defined(defined).Values(ValueGroups({{2, Numbered("s", 12)}})).Graph().U32(0);
    ASSERT_TRUE(Load(file.Str())) << m_doc.m_strLoadError;
    EXPECT_EQ(Value(2, 9), "s9");
    EXPECT_EQ(Value(2, 10), "V") << "flag 0: the definition file's value stays";
    EXPECT_EQ(Value(2, 11), "s11");
    EXPECT_EQ(m_doc.m_SavedDefined[2][10], 0u);
    EXPECT_EQ(m_doc.m_SavedDefined[2][11], 1u);
    EXPECT_EQ(m_doc.m_SavedDefined[2][12], 0u);
}

TEST_F(ProjectFileTest, ItemsMoveOnlyInFilesBelowVersion10)
{
    for (uint32_t version : {11u, 10u}) {
        Bytes file;
        file.U32(version).Text("D390-2P5-Hxx").Values(ValueGroups({{2, Numbered("s", 12)}})).Graph();
        ASSERT_TRUE(Load(file.Str()));
        EXPECT_EQ(Value(2, 11), "s11") << version;
    }
    Bytes file;
    file.U32(9).Text("D390-2P5-Hxx").Values(ValueGroups({{2, Numbered("s", 12)}})).Graph();
    ASSERT_TRUE(Load(file.Str()));
    EXPECT_EQ(Value(2, 9), "s9");
    EXPECT_EQ(Value(2, 10), "V");
    EXPECT_EQ(Value(2, 12), "V");
    EXPECT_EQ(Value(2, 13), "s10");
    EXPECT_EQ(Value(2, 14), "s11");
}

TEST_F(ProjectFileTest, RemapRules)
{
    struct Case {
        uint32_t version;
        int group, record, code, item;
    } cases[] = {
        {9, 0, 0, 1205, 1},         {9, 0, 0, 0x11004B2, 0},   {5, 0, 3, 0x1100000 - 1, 4},
        {5, 0, 3, 0x1100000, 3},    {4, 0, 0, 0x11004B2, 1},   {4, 0, 0, 1205, 0},
        {4, 0, 0, 0x1110000, 0},    {4, 0, 0, 0x111019F, 0},   {9, 2, 9, 1205, 9},
        {9, 2, 10, 1205, 13},       {9, 3, 4, 1205, 4},        {9, 3, 5, 1205, 6},
        {9, 3, 8, 1205, 9},         {9, 3, 9, 1205, 11},       {9, 3, 10, 1205, 13},
        {9, 5, 8, 1205, 8},         {9, 5, 9, 1205, 17},       {9, 6, 7, 1205, 7},
        {9, 6, 8, 1205, 16},        {9, 6, 15, 1205, 23},      {9, 6, 16, 1205, 32},
        {9, 11, 11, 1205, 11},      {9, 11, 12, 1205, 13},     {9, 4, 30, 1205, 30},
        {10, 6, 16, 1205, 16},      {13, 0, 0, 1205, 0},       {0, 3, 9, 1205, 11},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RemapProjectItem(c.version, c.group, c.record, c.code), c.item)
            << "v" << c.version << " " << Code(c.group, c.record) << " code " << std::hex << c.code;
}

TEST_F(ProjectFileTest, OldFilesOfPlainModelsShiftGroup00ByOne)
{
    Bytes file;
    file.U32(9).Text("D390-2P5-H").Values(ValueGroups({{0, {"first", "second"}}})).Graph();
    ASSERT_TRUE(Load(file.Str()));
    EXPECT_EQ(m_doc.m_strModelName, "D390-2P5-Hxx") << "old names gain their ending";
    EXPECT_EQ(Value(0, 0), "V");
    EXPECT_EQ(Value(0, 1), "first");
    EXPECT_EQ(Value(0, 2), "second");
}

TEST_F(ProjectFileTest, OldModelNamesAreModernised)
{
    struct Case {
        const char* stored;
        const char* modern;
    } cases[] = {
        {"D390-2P5-H", "D390-2P5-Hxx"},
        {"D390-2P5-Hxx", "D390-2P5-Hxx"},
        {"D390S-2P5-H", "D390-2P5-SHxx"},
        {"D390S-415-Hxx", "D390-415-SHxx"},
        {"", "xx"},
        {"x", "xxx"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ModerniseModelName(c.stored), c.modern) << c.stored;

    Bytes file;
    file.U32(9).Text("D390S-405-H").Values(ValueGroups({})).Graph();
    ASSERT_TRUE(Load(file.Str()));
    EXPECT_EQ(m_doc.m_strModelName, "D390-405-SHxx");
    EXPECT_EQ(m_doc.m_nModelCode, 0x1100195);

    Bytes current;
    current.U32(10).Text("D390-2P5-H").Values(ValueGroups({})).Graph();
    ASSERT_TRUE(Load(current.Str()));
    EXPECT_EQ(m_doc.m_strModelName, "D390-2P5-H") << "from version 10 on the name is taken as stored";
    EXPECT_EQ(m_doc.m_nModelCode, 0x1100195) << "a name the table lacks keeps the code";
}

TEST_F(ProjectFileTest, Version2HasNoGraphBlock)
{
    m_doc.m_nGraphSel[0] = 5;
    Bytes file;
    file.U32(2).Text("D390-2P5-Hxx").Values(ValueGroups({{1, {"a"}}})).U32(1);
    ASSERT_TRUE(Load(file.Str()));
    EXPECT_EQ(Value(1, 0), "a");
    EXPECT_EQ(m_doc.m_nFreqIndex, 1) << "the base frequency follows the values directly";
    EXPECT_EQ(m_doc.m_nGraphSel[0], 0) << "a new project's graph channels";
    EXPECT_EQ(m_doc.m_strGraphMax[0], "10.00");
}

TEST_F(ProjectFileTest, OptionalTailKeepsCurrentSettingsWhenAbsent)
{
    m_doc.m_nFreqIndex = 1;
    m_doc.m_strPrintTitle = "Current title";
    Bytes file;
    file.U32(13).Text("D390-2P5-Hxx").Defined({}).Values({}).Graph();
    ASSERT_TRUE(Load(file.Str()));
    EXPECT_EQ(m_doc.m_nFreqIndex, 1);
    EXPECT_EQ(m_doc.m_strPrintTitle, "Current title");
    EXPECT_EQ(m_doc.m_nGraphSel[3], 4) << "graph channels were read";
    EXPECT_EQ(m_doc.m_strGraphSource[3], "src3");

    file.U32(0);
    ASSERT_TRUE(Load(file.Str()));
    EXPECT_EQ(m_doc.m_nFreqIndex, 0);
    EXPECT_EQ(m_doc.m_strPrintTitle, "Current title");
}

TEST_F(ProjectFileTest, TruncatedFilesAreRefusedExceptAtTheOptionalEnds)
{
    Bytes mandatory;
    mandatory.U32(13).Text("RQ5 07 A240").Defined({{1, 0}, {1}}).Values({{"a", "b"}, {"c"}}).Graph();
    Bytes withFreq = mandatory;
    withFreq.U32(1);
    Bytes full = withFreq;
    full.Titles("T", "N", "D");

    for (size_t length = 0; length <= full.Size(); ++length) {
        bool loads = length == mandatory.Size() || length == withFreq.Size() || length == full.Size();
        SCOPED_TRACE("length " + std::to_string(length));
        m_doc.m_strModelName = "D390-2P5-Hxx";
        m_doc.m_nModelCode = 1205;
        m_doc.ResetGraphChannels();
        m_doc.m_nFreqIndex = 0;
        ASSERT_TRUE(m_doc.BuildForCurrentModel());
        m_doc.m_strPrintTitle = "Old";
        m_doc.FindParam(0, 0)->m_strValue = "kept";
        EXPECT_EQ(Load(full.Str().substr(0, length)), loads);
        if (loads) {
            EXPECT_EQ(m_doc.m_nModelCode, 0x11000C9);
            EXPECT_EQ(Value(0, 0), "a");
            continue;
        }
        EXPECT_EQ(m_doc.m_strLoadError, LoadResString(61579));
        EXPECT_EQ(m_doc.m_strModelName, "D390-2P5-Hxx");
        EXPECT_EQ(m_doc.m_nModelCode, 1205);
        EXPECT_EQ(m_doc.m_nGraphSel[0], 0);
        EXPECT_EQ(m_doc.m_strGraphMax[0], "10.00");
        EXPECT_EQ(m_doc.m_nFreqIndex, 0);
        EXPECT_EQ(m_doc.m_strPrintTitle, "Old");
        EXPECT_EQ(Value(0, 0), "kept");
        EXPECT_EQ(m_doc.m_bApplyInitParams, 1);
    }
}

TEST_F(ProjectFileTest, ANewerVersionIsRefusedUntouched)
{
    m_doc.FindParam(0, 0)->m_strValue = "kept";
    Bytes file;
    file.U32(14).Text("RQ5 07 A240").Defined({}).Values({}).Graph().U32(1);
    EXPECT_FALSE(Load(file.Str()));
    EXPECT_EQ(m_doc.m_strLoadError, LoadResString(61582));
    EXPECT_EQ(m_doc.m_strModelName, "D390-2P5-Hxx");
    EXPECT_EQ(m_doc.m_nModelCode, 1205);
    EXPECT_EQ(m_doc.m_nFreqIndex, 0);
    EXPECT_EQ(Value(0, 0), "kept");

    Bytes huge;
    huge.U32(0xFFFFFFFF);
    EXPECT_FALSE(Load(huge.Str()));
    EXPECT_EQ(m_doc.m_strLoadError, LoadResString(61582));
}

TEST_F(ProjectFileTest, TextsAboveTheBoundAreRefusedByName)
{
    for (size_t length : {4096u, 4097u}) {
        Bytes file;
        file.U32(13).Text("D390-2P5-Hxx").Defined({{1}}).Values({{std::string(length, 'x')}}).Graph();
        EXPECT_EQ(Load(file.Str()), length == 4096) << length;
    }
    EXPECT_EQ(m_doc.m_strLoadError, "The project cannot be opened: parameter 00-00 holds a text longer than 4096 bytes.");

    // 4000 bytes of code page 936 become 6000 of UTF-8: such a project opened,
    // and then no save of it could ever succeed.
    std::string gbk;
    for (int n = 0; n < 2000; ++n)
        gbk += "\xB2\xCE";
    Bytes title;
    title.U32(13).Text("D390-2P5-Hxx").Defined({{1}}).Values({{"1"}}).Graph().U32(0).Titles(gbk, "", "");
    EXPECT_FALSE(Load(title.Str()));
    EXPECT_EQ(m_doc.m_strLoadError, "The project cannot be opened: the print title holds a text longer than 4096 bytes.");
    Bytes graph;
    graph.U32(13).Text("D390-2P5-Hxx").Defined({{1}}).Values({{"1"}});
    for (int channel = 0; channel < 4; ++channel)
        graph.U32(0).Text("src").Text(channel == 2 ? std::string(5000, '9') : "9").Text("-1");
    EXPECT_FALSE(Load(graph.Str()));
    EXPECT_EQ(m_doc.m_strLoadError,
              "The project cannot be opened: graph channel 3's maximum holds a text longer than 4096 bytes.");
    // A model name of an older file grows by its modern form.
    Bytes oldName;
    oldName.U32(9).Text(std::string(4095, 'M')).Values({}).Graph();
    EXPECT_FALSE(Load(oldName.Str()));
    EXPECT_EQ(m_doc.m_strLoadError, "The project cannot be opened: the model name holds a text longer than 4096 bytes.");

    Bytes lying;
    lying.U32(13).U32(0xFFFFFFF0);
    EXPECT_FALSE(Load(lying.Str()));
    Bytes manyGroups;
    manyGroups.U32(13).Text("D390-2P5-Hxx").U32(0x40000000);
    EXPECT_FALSE(Load(manyGroups.Str())) << "a count beyond the file's size";
}

TEST_F(ProjectFileTest, EntriesOutsideTheTableAreSkipped)
{
    // 17 groups, 120 records in group 0, all flagged; the table has 15 x 40.
    std::vector<std::vector<uint32_t>> defined(17, std::vector<uint32_t>(120, 1));
    std::vector<std::vector<std::string>> values(17, Numbered("s", 120));
    Bytes file;
    file.U32(13).Text("D390-2P5-Hxx").Defined(defined).Values(values).Graph();
    ASSERT_TRUE(Load(file.Str()));
    EXPECT_EQ(m_doc.m_Groups.size(), 15u);
    EXPECT_EQ(m_doc.m_Groups[0].m_Params.size(), 40u);
    EXPECT_EQ(Value(0, 39), "s39");
    EXPECT_EQ(Value(14, 0), "s0");
    EXPECT_EQ(m_doc.m_SavedDefined[14][99], 1u);

    // Old files whose remap lands past the table.
    Bytes old;
    old.U32(9).Text("D390-2P5-Hxx").Values(ValueGroups({{6, Numbered("s", 40)}}, 20)).Graph();
    ASSERT_TRUE(Load(old.Str()));
    EXPECT_EQ(Value(6, 32), "s16");
    EXPECT_EQ(Value(6, 39), "s23");
}

TEST_F(ProjectFileTest, AMissingDefinitionFileRefusesTheProject)
{
    std::remove(Path("PARAMS.DAT").c_str());
    Bytes file;
    file.U32(13).Text("RQ5 07 A240").Defined({}).Values({}).Graph().U32(1);
    EXPECT_FALSE(Load(file.Str()));
    EXPECT_NE(m_doc.m_strLoadError.find(Path("PARAMS.DAT")), std::string::npos);
    EXPECT_EQ(m_doc.m_strModelName, "D390-2P5-Hxx");
    EXPECT_EQ(m_doc.m_nFreqIndex, 0);
    EXPECT_EQ(m_doc.m_Groups.size(), 15u);

    EXPECT_FALSE(m_doc.LoadProjectFile(Path("none.zrv")));
    EXPECT_EQ(m_doc.m_strLoadError, LoadResString(61579));
    EXPECT_TRUE(m_messages.Texts().empty()) << "the caller shows the load error";
}

TEST_F(ProjectFileTest, AFailedSaveLeavesTheOldFile)
{
    ASSERT_TRUE(m_doc.SaveProjectFile(Path("p.zrv")));
    std::string old = ReadFileBytes(Path("p.zrv"));
    m_doc.FindParam(0, 0)->m_strValue = "new";
    ASSERT_TRUE(m_doc.SaveProjectFile(Path("p.zrv")));
    EXPECT_NE(ReadFileBytes(Path("p.zrv")), old) << "a save replaces the file";

    // A project that would not open again is not written over the old file.
    m_doc.FindParam(0, 0)->m_strValue = std::string(kProjectTextLimit + 1, 'x');
    std::string kept = ReadFileBytes(Path("p.zrv"));
    EXPECT_FALSE(m_doc.SaveProjectFile(Path("p.zrv")));
    EXPECT_EQ(ReadFileBytes(Path("p.zrv")), kept);
    m_doc.FindParam(0, 0)->m_strValue = std::string(kProjectTextLimit, 'x');
    ASSERT_TRUE(m_doc.SaveProjectFile(Path("p.zrv")));
    ASSERT_TRUE(Load(ReadFileBytes(Path("p.zrv"))));
    EXPECT_EQ(Value(0, 0), std::string(kProjectTextLimit, 'x'));

    EXPECT_FALSE(m_doc.SaveProjectFile(Path("no/such/folder.zrv")));
    std::filesystem::create_directory(Path("taken.zrv"));
    EXPECT_FALSE(m_doc.SaveProjectFile(Path("taken.zrv")));
    EXPECT_TRUE(std::filesystem::is_directory(Path("taken.zrv")));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder))
        files += entry.path().filename().string().rfind("taken.zrv.", 0) == 0;
    EXPECT_EQ(files, 0) << "no temporary file is left behind";
}

TEST_F(ProjectFileTest, TextsOfWindowsFilesAreReadAsCodePage936)
{
    // "参数" (parameter) in code page 936, and the same title in UTF-8.
    const std::string gbk = "\xB2\xCE\xCA\xFD";
    const std::string utf8 = "\xE5\x8F\x82\xE6\x95\xB0";
    Bytes legacy;
    legacy.U32(13).Text("D390-2P5-Hxx").Defined({{1}}).Values({{"1"}}).Graph().U32(0).Titles(gbk + " list", "", "");
    ASSERT_TRUE(Load(legacy.Str()));
    EXPECT_EQ(m_doc.m_strPrintTitle, utf8 + " list");
    EXPECT_EQ(m_doc.m_strModelName, "D390-2P5-Hxx");

    Bytes current;
    current.U32(13).Text("D390-2P5-Hxx").Defined({{1}}).Values({{"1"}}).Graph().U32(0).Titles(utf8, "", "");
    ASSERT_TRUE(Load(current.Str()));
    EXPECT_EQ(m_doc.m_strPrintTitle, utf8) << "UTF-8 files stay as they are";
}
