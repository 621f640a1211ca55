// Opening the link: what fails the open and what is only reported.

#include "link/SerialComm.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

// A pseudo-terminal pair of the test's own; the link opens the slave.
class PtyPair {
public:
    PtyPair()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_path = ::ptsname(m_master);
    }
    ~PtyPair()
    {
        if (m_master >= 0)
            ::close(m_master);
    }
    const std::string& Path() const { return m_path; }

private:
    int m_master = -1;
    std::string m_path;
};

TEST(OpenLink, PseudoTerminalOpensWhateverItRefuses)
{
    PtyPair pty;
    ASSERT_FALSE(pty.Path().empty());
    struct Case {
        unsigned long baud;
        uint8_t dataBits;
        uint8_t parity;
        float stopBits;
    };
    // The formats the Connect dialog offers; a pseudo-terminal takes some of
    // them only in part.
    const Case cases[] = {
        {9600, 8, 0, 1.0f}, {19200, 8, 2, 1.0f}, {4800, 7, 1, 2.0f}, {38400, 7, 2, 1.0f},
    };
    for (const Case& c : cases) {
        CSerialComm comm;
        EXPECT_NE(comm.InitComm(pty.Path(), c.baud, c.dataBits, c.parity, c.stopBits), 0)
            << c.baud << " " << int(c.dataBits) << " " << int(c.parity);
        EXPECT_TRUE(comm.IsOpen());
        EXPECT_FALSE(comm.IsNetLink());
        // What did not take is said, line by line; no line for what did.
        std::string report = comm.GetSettingsReport();
        if (c.parity != 0 && report.find("parity") == std::string::npos)
            ADD_FAILURE() << "parity taken by a pseudo-terminal? report: " << report;
        EXPECT_EQ(report.find("baud rate"), std::string::npos) << report;
        comm.Close();
        EXPECT_FALSE(comm.IsOpen());
    }
}

TEST(OpenLink, PseudoTerminalsAreToldFromPorts)
{
    // Settings a pseudo-terminal refuses are not worth a warning; a real
    // port's are.
    PtyPair pty;
    std::string folder = MakeTempFolder();
    std::filesystem::create_symlink(pty.Path(), folder + "drive");
    std::ofstream(folder + "plain.txt") << "not a port";
    EXPECT_TRUE(IsPseudoTerminalPath(pty.Path()));
    EXPECT_TRUE(IsPseudoTerminalPath(folder + "drive")) << "a stable link to the simulated drive";
    EXPECT_FALSE(IsPseudoTerminalPath(folder + "plain.txt"));
    EXPECT_FALSE(IsPseudoTerminalPath("/dev/does-not-exist"));
    EXPECT_FALSE(IsPseudoTerminalPath("TCPIP"));
    std::filesystem::remove_all(folder);
}

TEST(OpenLink, FailuresFailTheOpen)
{
    std::string folder = MakeTempFolder();
    std::ofstream(folder + "plain.txt") << "not a port";

    struct Case {
        std::string port;
        unsigned long baud;
        const char* why;
    };
    const Case cases[] = {
        {"/dev/does-not-exist", 9600, "no such device"},
        {folder + "plain.txt", 9600, "a file is no serial port"},
        {"", 9600, "no port at all"},
        {"TCPIP", 9600, "no adapter chosen"},
    };
    for (const Case& c : cases) {
        CSerialComm comm;
        EXPECT_EQ(comm.InitComm(c.port, c.baud, 8, 0, 1.0f), 0) << c.why;
        EXPECT_FALSE(comm.IsOpen()) << c.why;
        EXPECT_FALSE(comm.GetSettingsReport().empty()) << c.why;
    }

    PtyPair pty;
    CSerialComm comm;
    EXPECT_EQ(comm.InitComm(pty.Path(), 12345, 8, 0, 1.0f), 0) << "a baud rate no port has";
}

TEST(OpenLink, ClosedLinkFailsEveryTransfer)
{
    CSerialComm comm;
    uint8_t request[8] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A};
    uint8_t reply[7] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(comm.CommandSend(request, 8, reply, 7), kErrComm);
    EXPECT_EQ(reply[0], 0xEE) << "rx is untouched on failure";
    unsigned long written = 99;
    EXPECT_NE(comm.Write(request, 8, &written, 800), 0);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(comm.Close(), 0) << "closing twice is harmless";
}

} // namespace
