// The parameter password commands against the simulated drive, and the
// checks of the password dialogs.

#include "ConnectTestSupport.h"

#include "platform/ResourceModule.h"
#include "session/LinkSetup.h"
#include "session/PasswordCommands.h"

namespace {

constexpr std::uint16_t kRegPassword = 0x0D07;

Bytes PasswordWrite(int station, std::uint16_t value)
{
    return WithCrc({static_cast<std::uint8_t>(station), 0x06, 0x0D, 0x07, static_cast<std::uint8_t>(value >> 8),
                    static_cast<std::uint8_t>(value & 0xFF)});
}

// A session on one drive, station 1, and dialogs that answer from the test.
class PasswordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_drive = StartDrive(DriveConfig({1}, 1205));
        CSerialComm* comm = EnsureLinkObject(m_session);
        ASSERT_NE(comm->InitComm(m_drive->GetPtyPath(), 19200, 8, 0, 2.0f), 0);
        AppendStationRecord(m_session, {1, 1205, 1100});
        m_session.m_bConnected = 1;

        m_dialogs.selectStation = [this](int& station) {
            ++m_asked;
            station = 1;
            return m_stationOk;
        };
        m_dialogs.askNewPassword = [this](std::string& password) {
            ++m_asked;
            password = m_new;
            return m_dialogOk;
        };
        m_dialogs.askChangePassword = [this](std::string& oldText, std::string& newText) {
            ++m_asked;
            oldText = m_old;
            newText = m_new;
            return m_dialogOk;
        };
        m_dialogs.askPassword = [this](std::string& password) {
            ++m_asked;
            password = m_old;
            return m_dialogOk;
        };
    }

    std::vector<Bytes> Writes() const
    {
        std::vector<Bytes> writes;
        for (const Bytes& request : Requests(*m_drive))
            if (request.size() > 1 && request[1] == 0x06)
                writes.push_back(request);
        return writes;
    }

    TestSession m_session;
    std::unique_ptr<CSimulatedDrive> m_drive;
    MessageRecorder m_messages;
    PasswordDialogs m_dialogs;
    bool m_stationOk = true;
    bool m_dialogOk = true;
    std::string m_old;
    std::string m_new;
    int m_asked = 0;
};

} // namespace

TEST_F(PasswordTest, SetSendsTheValueTwice)
{
    m_new = "1234";
    RunPasswordSet(m_session, m_dialogs);
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(Requests(*m_drive),
              (std::vector<Bytes>{ReadRequest(1, kRegPassword), PasswordWrite(1, 1234), PasswordWrite(1, 1234)}));
    EXPECT_TRUE(m_drive->IsPasswordActive(1));
    EXPECT_EQ(m_drive->GetRegister(1, kRegPassword), 2);
}

TEST_F(PasswordTest, ChangeWithTheRightOldPassword)
{
    m_drive->SetPassword(1, 4321);
    m_old = "4321";
    m_new = "65535";
    RunPasswordSet(m_session, m_dialogs);
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(Writes(), (std::vector<Bytes>{PasswordWrite(1, 4321), PasswordWrite(1, 65535), PasswordWrite(1, 65535)}));
    EXPECT_TRUE(m_drive->IsPasswordActive(1));

    // The new password is the one that releases it now.
    m_old = "65535";
    m_messages.Clear();
    RunPasswordRelease(m_session, m_dialogs);
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_FALSE(m_drive->IsPasswordActive(1));
}

TEST_F(PasswordTest, ChangeWithAWrongOldPasswordNeverSendsTheNewOne)
{
    m_drive->SetPassword(1, 4321);
    m_old = "1111";
    m_new = "2222";
    RunPasswordSet(m_session, m_dialogs);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61521)});
    EXPECT_EQ(Writes(), std::vector<Bytes>{PasswordWrite(1, 1111)});
    EXPECT_TRUE(m_drive->IsPasswordActive(1));
}

TEST_F(PasswordTest, Release)
{
    // No password: said at once, no password is asked for.
    RunPasswordRelease(m_session, m_dialogs);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61553)});
    EXPECT_EQ(m_asked, 1);

    m_drive->SetPassword(1, 777);
    m_messages.Clear();
    m_old = "778";
    RunPasswordRelease(m_session, m_dialogs);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61521)});
    EXPECT_TRUE(m_drive->IsPasswordActive(1));

    m_messages.Clear();
    m_old = "777";
    RunPasswordRelease(m_session, m_dialogs);
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_FALSE(m_drive->IsPasswordActive(1));
}

TEST_F(PasswordTest, CancelAndLinkFailures)
{
    m_stationOk = false;
    RunPasswordSet(m_session, m_dialogs);
    RunPasswordRelease(m_session, m_dialogs);
    EXPECT_EQ(m_drive->GetFrameCount(), 0u) << "Cancel in the station chooser sends nothing";

    m_stationOk = true;
    m_dialogOk = false;
    RunPasswordSet(m_session, m_dialogs);
    EXPECT_EQ(Requests(*m_drive), std::vector<Bytes>{ReadRequest(1, kRegPassword)});
    EXPECT_TRUE(m_messages.Texts().empty());

    // A silent drive: the state read reports it.
    m_dialogOk = true;
    m_drive->SetSilent(1, true);
    RunPasswordSet(m_session, m_dialogs);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61520)});

    // A drive that refuses the write: "Set password failure!".
    m_drive->SetSilent(1, false);
    m_drive->ForceException(1, kRegPassword, kSimExceptionWriteMode);
    m_messages.Clear();
    RunPasswordSet(m_session, m_dialogs);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61520)})
        << "the state read itself is refused first";

}

TEST(PasswordText, Checks)
{
    struct Case {
        const char* password;
        const char* repeat;
        unsigned message;
        const char* why;
    };
    const Case cases[] = {
        {"65535", "65535", 0, "the highest password"},
        {"", "", 0, "empty means 0"},
        {"0", "0", 0, "zero"},
        {"65536", "65536", 61460, "above the highest"},
        {"99999", "99999", 61460, "five digits above the highest"},
        {"12a", "12a", 61552, "a letter"},
        {"1 2", "1 2", 61552, "a blank"},
        {"-1", "-1", 61552, "a sign"},
        {"123", "124", 61550, "the repeat differs: checked first"},
        {"7000a", "7000b", 61550, "the repeat differs before the digits count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(CheckPasswordSetInput(c.password, c.repeat), c.message);
    }
    EXPECT_EQ(CheckChangePasswordInput("1x", "1", "2"), 61552u) << "the old text is checked first";
    EXPECT_EQ(CheckChangePasswordInput("1", "1", "2"), 61550u);
    EXPECT_EQ(CheckChangePasswordInput("1", "70000", "70000"), 61460u);
    EXPECT_EQ(CheckPasswordText("00065535"), 0u) << "leading zeros do not count";
    EXPECT_EQ(PasswordValue("65535"), 65535);
    EXPECT_EQ(PasswordValue(""), 0);
}
