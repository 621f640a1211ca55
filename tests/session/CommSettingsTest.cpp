#include "session/CommSettings.h"
#include "tests/common/PlantedFiles.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

// Keeps the process-wide settings of one test away from the next.
class CommSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetCommSettings();
        m_savedFolder = g_strAppFolder;
        g_strAppFolder = MakeTempFolder();
        m_configHome = MakeTempFolder();
        m_config = std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", m_configHome);
    }
    void TearDown() override
    {
        m_config.reset();
        std::filesystem::remove_all(m_configHome);
        std::filesystem::remove_all(g_strAppFolder);
        g_strAppFolder = m_savedFolder;
        ResetCommSettings();
    }

    std::string SettingsPath(const std::string& name) const { return m_configHome + "d390/" + name; }

    static void Parse(const std::string& text)
    {
        std::istringstream in(text);
        ParseCommSettings(in);
    }

    std::string m_savedFolder;
    std::string m_configHome;
    std::unique_ptr<ScopedEnv> m_config;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST_F(CommSettingsTest, FirstRunValues)
{
    EXPECT_EQ(BaudOfIndex(g_nBaudIndex), 19200u);
    EXPECT_EQ(DataBitsOfIndex(g_nDataBitsIndex), 8);
    EXPECT_EQ(ParityCodeOfIndex(g_nParityIndex), 0);
    EXPECT_EQ(StopBitsOfIndex(g_nStopBitsIndex), 2);
    EXPECT_EQ(g_strCommPort, "");
    EXPECT_EQ(g_strStationText, "");
}

TEST_F(CommSettingsTest, WrittenAndReadBack)
{
    g_strCommPort = "/dev/pts/7";
    g_nBaudIndex = 3;
    g_nDataBitsIndex = 0;
    g_nParityIndex = 1;
    g_nStopBitsIndex = 0;
    g_strStationText = "1,3,5-7";
    ASSERT_TRUE(SaveCommSettings());
    EXPECT_EQ(ReadFile(SettingsPath("lcomfile.ini")), "/dev/pts/7\n3\n010\n1,3,5-7\n");
    EXPECT_FALSE(std::filesystem::exists(g_strAppFolder + "lcomfile.ini"));

    ResetCommSettings();
    ASSERT_TRUE(LoadCommSettings());
    EXPECT_EQ(g_strCommPort, "/dev/pts/7");
    EXPECT_EQ(g_nBaudIndex, 3);
    EXPECT_EQ(g_nDataBitsIndex, 0);
    EXPECT_EQ(g_nParityIndex, 1);
    EXPECT_EQ(g_nStopBitsIndex, 0);
    EXPECT_EQ(g_strStationText, "1,3,5-7");
}

TEST_F(CommSettingsTest, TheProgramFolderIsReadWhenTheSettingsFolderHasNone)
{
    // An older installation's file beside the program, in a folder that cannot
    // be written: a change is saved to the settings folder, and the next start
    // reads that one, not the old file.
    std::ofstream(g_strAppFolder + "lcomfile.ini") << "2\n3\n100\n5\n";
    std::filesystem::permissions(g_strAppFolder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ASSERT_TRUE(LoadCommSettings());
    EXPECT_EQ(g_strCommPort, "/dev/ttyS2");
    EXPECT_EQ(g_strStationText, "5");

    g_strStationText = "7";
    ASSERT_TRUE(SaveCommSettings());
    EXPECT_EQ(ReadFile(SettingsPath("lcomfile.ini")), "/dev/ttyS2\n3\n100\n7\n");
    ResetCommSettings();
    ASSERT_TRUE(LoadCommSettings());
    EXPECT_EQ(g_strStationText, "7");
    std::filesystem::permissions(g_strAppFolder, std::filesystem::perms::owner_all);
}

TEST_F(CommSettingsTest, TheSharedTemporaryFolderIsNeitherReadNorWritten)
{
    std::string tempFolder = MakeTempFolder();
    ScopedEnv tmp("TMPDIR", tempFolder);
    std::ofstream(tempFolder + "lcomfile.ini") << "/dev/ttyS9\n0\n000\n9\n";
    g_strStationText = "4";
    EXPECT_FALSE(LoadCommSettings());
    EXPECT_EQ(g_strStationText, "4");
    EXPECT_TRUE(SaveCommSettings());
    EXPECT_EQ(ReadFile(tempFolder + "lcomfile.ini"), "/dev/ttyS9\n0\n000\n9\n");
    std::filesystem::remove_all(tempFolder);
}

TEST_F(CommSettingsTest, AFailedWriteKeepsTheOldFile)
{
    g_strStationText = "1";
    ASSERT_TRUE(SaveCommSettings());
    g_strStationText = "2";
    StderrToPipe captured;
    {
        ScopedFileSizeLimit full(4); // the disk is full
        EXPECT_FALSE(SaveCommSettings());
    }
    std::string said = captured.Take();
    EXPECT_NE(said.find("File too large"), std::string::npos) << said;
    EXPECT_EQ(ReadFile(SettingsPath("lcomfile.ini")), "\n2\n121\n1\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_configHome + "d390"),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left behind";
}

TEST_F(CommSettingsTest, PlantedFilesAreSkippedWithALine)
{
    for (Planted kind : {Planted::Fifo, Planted::LinkToDevZero, Planted::HugeFile}) {
        SCOPED_TRACE(PlantedName(kind));
        ResetCommSettings();
        g_strStationText = "3";
        ASSERT_TRUE(std::filesystem::create_directories(m_configHome + "d390") ||
                    std::filesystem::is_directory(m_configHome + "d390"));
        ASSERT_TRUE(Plant(kind, SettingsPath("lcomfile.ini")));
        // The program folder's older file is what is read instead.
        std::ofstream(g_strAppFolder + "lcomfile.ini") << "1\n1\n111\n8\n";
        testing::internal::CaptureStderr();
        EXPECT_TRUE(LoadCommSettings());
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(SettingsPath("lcomfile.ini")), std::string::npos) << said;
        EXPECT_EQ(g_strStationText, "8");
        std::filesystem::remove(SettingsPath("lcomfile.ini"));
    }
}

TEST_F(CommSettingsTest, MissingFileKeepsTheValues)
{
    g_strStationText = "9";
    EXPECT_FALSE(LoadCommSettings());
    EXPECT_EQ(g_strStationText, "9");
    EXPECT_EQ(g_nBaudIndex, 2);
}

TEST_F(CommSettingsTest, ReadsFilesOfEveryForm)
{
    struct Case {
        const char* text;
        const char* port;
        int baud, dataBits, parity, stopBits;
        const char* stations;
        const char* why;
    };
    const Case cases[] = {
        {"2\n3\n100\n5\n", "/dev/ttyS2", 3, 1, 0, 0, "5", "the older form: COM3 is the third serial port"},
        {"-1\n1\n121\n1\n", "TCPIP", 1, 1, 2, 1, "1", "the older form's network adapter"},
        {"TCPIP\n0\n011\n2-4\n", "TCPIP", 0, 0, 1, 1, "2-4", "the network adapter by name"},
        {"/dev/ttyUSB0\r\n2\r\n121\r\n1\r\n", "/dev/ttyUSB0", 2, 1, 2, 1, "1", "lines ending in CR LF"},
        {"/dev/ttyS0\n1\n12\n3\n", "/dev/ttyS0", 1, 1, 2, 1, "3", "a third line of two characters leaves the indexes"},
        {"/dev/ttyS0\n7\n999\n3\n", "/dev/ttyS0", 2, 1, 2, 1, "3", "indexes out of range take the defaults"},
        {"/dev/ttyS0\n-4\n1x1\n", "/dev/ttyS0", 2, 1, 2, 1, "", "a negative index and a third line with a letter"},
        {"99999999999\n2\n121\n1\n", "", 2, 1, 2, 1, "1", "a port number no system has: the first listed port"},
        {"", "", 0, 1, 2, 1, "", "an empty file: missing lines read as 0 and empty, as ever"},
        {"  /dev/ttyACM1  \n", "/dev/ttyACM1", 0, 1, 2, 1, "", "blanks around the port are trimmed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ResetCommSettings();
        Parse(c.text);
        EXPECT_EQ(g_strCommPort, c.port);
        EXPECT_EQ(g_nBaudIndex, c.baud);
        EXPECT_EQ(g_nDataBitsIndex, c.dataBits);
        EXPECT_EQ(g_nParityIndex, c.parity);
        EXPECT_EQ(g_nStopBitsIndex, c.stopBits);
        EXPECT_EQ(g_strStationText, c.stations);
    }
}

TEST(PortList, NaturalOrderThenTheNetworkAdapter)
{
    int selection = -1;
    std::vector<std::string> ports =
        BuildPortList({"/dev/ttyUSB0", "/dev/ttyS10", "/dev/ttyS2", "/dev/ttyS2", "/dev/ttyACM0", "/dev/ttyS1"},
                      "/dev/ttyS10", &selection);
    std::vector<std::string> expected = {"/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10",
                                         "/dev/ttyUSB0", "TCPIP"};
    EXPECT_EQ(ports, expected);
    EXPECT_EQ(selection, 3);
}

TEST(PortList, NoSerialPortStillOffersTheNetworkAdapter)
{
    int selection = -1;
    EXPECT_EQ(BuildPortList({}, "", &selection), std::vector<std::string>{"TCPIP"});
    EXPECT_EQ(selection, 0);
    EXPECT_EQ(BuildPortList({"/dev/ttyS0"}, "TCPIP", &selection), (std::vector<std::string>{"/dev/ttyS0", "TCPIP"}));
    EXPECT_EQ(selection, 1);
}

TEST(PortList, AnEnteredPathIsListedAndChosen)
{
    int selection = -1;
    std::vector<std::string> ports = BuildPortList({"/dev/ttyS0", "/dev/ttyS1"}, "/dev/pts/12", &selection);
    EXPECT_EQ(ports, (std::vector<std::string>{"/dev/pts/12", "/dev/ttyS0", "/dev/ttyS1", "TCPIP"}));
    EXPECT_EQ(selection, 0);
}

TEST(PortList, ComparesNumbersByValue)
{
    EXPECT_LT(ComparePortNames("/dev/ttyS2", "/dev/ttyS10"), 0);
    EXPECT_GT(ComparePortNames("/dev/ttyUSB0", "/dev/ttyS99"), 0);
    EXPECT_EQ(ComparePortNames("/dev/ttyS3", "/dev/ttyS3"), 0);
    EXPECT_NE(ComparePortNames("/dev/ttyS01", "/dev/ttyS1"), 0);
    EXPECT_LT(ComparePortNames("/dev/ttyS99999999999999999999", "/dev/ttyS100000000000000000000"), 0);
}

TEST(PortList, SystemListDoesNotFail)
{
    // Whatever the machine has: device paths only, never the adapter entry.
    for (const std::string& name : ListSystemSerialPorts()) {
        EXPECT_FALSE(name.empty());
        EXPECT_NE(name, "TCPIP");
    }
}

TEST_F(CommSettingsTest, HandOverConnectJob)
{
    struct Case {
        const char* text;
        const char* port;
        unsigned long baud;
        int dataBits, parity, stopBits, station, freq;
        int baudIndex, dataBitsIndex, parityIndex, stopBitsIndex;
        const char* why;
    };
    const Case cases[] = {
        {"COM4\n57600\n812\n1\n0\n", "/dev/ttyS3", 57600, 8, 1, 2, 1, 0, 2, 1, 1, 1,
         "an older port name; a baud rate without a radio position keeps 19200 shown"},
        {"/dev/pts/3\n9600\n702\n5\n1\n", "/dev/pts/3", 9600, 7, 0, 2, 5, 1, 1, 0, 2, 1, "a device path"},
        {"/dev/ttyUSB1\n38400\n821\n2\n", "/dev/ttyUSB1", 38400, 8, 2, 1, 2, 0, 3, 1, 0, 0, "even parity, 1 stop bit"},
        {"/dev/ttyS0\n4800\n953\n7\n4\n", "/dev/ttyS0", 4800, 9, 5, 3, 7, 0, 0, 1, 2, 1,
         "digits out of range leave the indexes; the frequency set is 0 or 1"},
        {"/dev/ttyS0\n", "/dev/ttyS0", 0, 8, 0, 2, 0, 0, 2, 1, 2, 1, "missing lines"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ResetCommSettings();
        std::istringstream in(c.text);
        HandOverConnect job = ReadHandOverConnect(in);
        EXPECT_EQ(job.port, c.port);
        EXPECT_EQ(g_strCommPort, c.port);
        EXPECT_EQ(job.baud, c.baud);
        EXPECT_EQ(job.dataBits, c.dataBits);
        EXPECT_EQ(job.parity, c.parity);
        EXPECT_EQ(job.stopBits, c.stopBits);
        EXPECT_EQ(job.station, c.station);
        EXPECT_EQ(job.freqIndex, c.freq);
        EXPECT_EQ(g_nBaudIndex, c.baudIndex);
        EXPECT_EQ(g_nDataBitsIndex, c.dataBitsIndex);
        EXPECT_EQ(g_nParityIndex, c.parityIndex);
        EXPECT_EQ(g_nStopBitsIndex, c.stopBitsIndex);
    }
}
