// The project file and the definition, motor, initial-values and model list
// files under mutated input: every input is refused or read, never a crash,
// and every project that opens can be saved and opens again the same.

#include "document/ModelListFile.h"
#include "document/ProjectFile.h"
#include "tests/document/DocTestSupport.h"
#include "tests/common/Mutator.h"

namespace {

std::vector<std::string> ProjectSeeds()
{
    std::vector<std::string> seeds;
    ProjectFileData data;
    data.modelName = "D390-2P5-Hxx";
    data.defined = {{1, 0, 1}, {1}, {}};
    data.values = {{"1", "", "50.00"}, {"\xE5\x8F\x82"}, {}};
    data.graphSource[1] = "Output Frequency";
    data.graphMax[1] = "60";
    data.title = "Pump room";
    seeds.push_back(BuildProjectBytes(data));
    seeds.push_back(ReadFileBytes(TestSourceFolder() + "document/fixtures/small-v13.zrv"));
    // Versions 9 and 2: no defined block, and no graph block either.
    std::string v9 = seeds[0];
    v9[0] = 9;
    seeds.push_back(v9);
    std::string v2 = seeds[0];
    v2[0] = 2;
    seeds.push_back(v2);
    // What else a user may name: a good file with more after it, and a file
    // of line ends.
    seeds.push_back(seeds[0] + std::string(64, '\0') + "appended");
    std::string lineEnds;
    for (int i = 0; i < 2048; ++i)
        lineEnds += "\r\n";
    seeds.push_back(lineEnds);
    return seeds;
}

} // namespace

TEST(ProjectFileFuzz, EveryProjectThatOpensSavesAndOpensAgain)
{
    const std::vector<std::string> seeds = ProjectSeeds();
    CMutator mutator(1);
    const int runs = FuzzRuns(3000);
    int opened = 0;
    for (int run = 0; run < runs; ++run) {
        const std::string input = mutator.Mutate(seeds);
        ProjectFileData data;
        if (ParseProjectBytes(input, data) != ProjectParseResult::Ok)
            continue;
        ++opened;
        ProjectFileData again;
        const std::string saved = BuildProjectBytes(data);
        ASSERT_EQ(ParseProjectBytes(saved, again), ProjectParseResult::Ok) << "run " << run;
        ASSERT_EQ(again.values, data.values) << "run " << run;
        ASSERT_EQ(again.title, data.title) << "run " << run;
    }
    EXPECT_GT(opened, 0) << "the mutations must leave some files readable";
}

class DefinitionFilesFuzz : public DocTest {};

TEST_F(DefinitionFilesFuzz, DamagedFilesAreReadOrRefused)
{
    const std::vector<std::string> definitions = {
        FullDefinitionFile(12),
        "00-00Control mode@0$2*remark\r\n00-03Name@1.0$2.0*\r\n#Group 0\r\n01-99Last@x$y*\r\n#Group 1\r\n"};
    const std::vector<std::string> initials = {"00-01,1,2,3,4\r\n01-02,50.00,60.00\r\n", "13-00,1P2\r\n"};
    const std::vector<std::string> models = {"D390-1P2-Hxx\r\nfirst line\r\nD390-2P5-Hxx\r\n", "RQ5 07 A240\r\n"};
    WriteAllDefinitionFiles(12);
    CD390DocData& doc = NewDoc();
    doc.m_nModelCode = 1205;
    doc.m_strModelName = "D390-2P5-Hxx";
    ASSERT_TRUE(doc.BuildForCurrentModel());
    CMutator mutator(2);
    const int runs = FuzzRuns(1500);
    for (int run = 0; run < runs; ++run) {
        Write("PARAM.DAT", mutator.Mutate(definitions));
        // A table of more groups than the flags hold is the file's business;
        // everything that walks the table must stay within both.
        if (doc.ParseParamFile(Path("PARAM.DAT")) && doc.SaveProjectFile(Path("p.zrv")))
            doc.LoadProjectFile(Path("p.zrv"));
        Write("motor.dat", mutator.Mutate(definitions));
        doc.ReadMotorParamFile(Path("motor.dat"));
        Write("IntialParam.DAT", mutator.Mutate(initials));
        doc.ReadInitialParamFile(Path("IntialParam.DAT"));
        doc.SetModelDefaults();
        ParseModelList(mutator.Mutate(models));
        m_messages.Clear();
    }
}
