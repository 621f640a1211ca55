#include "tests/common/TestPaths.h"

#include <cstdlib>
#include <filesystem>

std::string TestProgramFolder()
{
    return D390_TEST_PROGRAM_DIR "/";
}

std::string TestSourceFolder()
{
    return D390_TEST_SOURCE_DIR "/";
}

std::string MakeTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "d390test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    return made ? std::string(made) + "/" : std::string("/tmp/");
}
