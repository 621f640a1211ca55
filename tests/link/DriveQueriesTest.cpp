// The drive session's single-register queries against the simulated drive: the
// request on the wire, the values, and the message each failure shows.

#include "session/DriveSession.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/RecordingWindows.h"
#include "tests/link/SimLink.h"

#include <functional>
#include <ostream>

namespace {

constexpr const char* kCrc = "CRC parity error!";
constexpr const char* kTimeOut = "TimeOut!";
constexpr const char* kComm = "Communication error!";
constexpr const char* kPassword = "Read parameter password error!";
constexpr const char* kAddress = "Address Error ";
constexpr const char* kNone = "";

constexpr int kUntouched = -12345;

// Calls the query; value receives its out value as an int (a flag as 0 or 1,
// the version times 1000), untouched when the query fails.
using Call = std::function<int(CDriveSession&, uint8_t station, int& value)>;

int CallFlag(int (CDriveSession::*query)(uint8_t, bool&), CDriveSession& session, uint8_t station, int& value)
{
    bool flag = false;
    if (!(session.*query)(station, flag))
        return 0;
    value = flag ? 1 : 0;
    return 1;
}

struct QueryCase {
    const char* name;
    Call call;
    uint16_t reg;
    // Messages for a wrong CRC, silence, another station answering, and a
    // refusal (code 0x52).
    const char* onCrc;
    const char* onTimeOut;
    const char* onOther;
    const char* onRefusal;
};

#define VALUE_QUERY(method)                                                                                         \
    [](CDriveSession& f, uint8_t s, int& v) { return f.method(s, v); }

const QueryCase kQueries[] = {
    {"ReadPasswordState",
     [](CDriveSession& f, uint8_t s, int& v) { return CallFlag(&CDriveSession::ReadPasswordState, f, s, v); },
     0x0D07, kPassword, kPassword, kPassword, kPassword},
    {"IsDriveRunning",
     [](CDriveSession& f, uint8_t s, int& v) {
         bool running = false;
         if (!f.IsDriveRunning(s, running))
             return 0;
         v = running;
         return 1;
     },
     0x2520, kCrc, kTimeOut, kComm, kComm},
    {"ReadParam0002",
     [](CDriveSession& f, uint8_t s, int& v) {
         f.m_nParam0002 = v;
         int ok = f.ReadParam0002(s);
         v = f.m_nParam0002;
         return ok;
     },
     0x0002, kComm, kComm, kComm, kComm},
    {"ReadParam0002To", VALUE_QUERY(ReadParam0002To), 0x0002, kComm, kComm, kComm, kComm},
    {"ReadParam0003", VALUE_QUERY(ReadParam0003), 0x0003, kComm, kComm, kComm, kComm},
    {"ReadParam0005", VALUE_QUERY(ReadParam0005), 0x0005, kComm, kComm, kComm, kComm},
    {"ReadParam0006", VALUE_QUERY(ReadParam0006), 0x0006, kComm, kComm, kComm, kComm},
    {"ReadParam0D01",
     [](CDriveSession& f, uint8_t s, int& v) {
         float version = 0;
         if (!f.ReadParam0D01(s, version))
             return 0;
         v = static_cast<int>(version * 1000.0f + 0.5f);
         return 1;
     },
     0x0D01, kCrc, kTimeOut, kComm, kAddress},
    {"ReadParam0201", VALUE_QUERY(ReadParam0201), 0x0201, kNone, kNone, kNone, kNone},
    {"ReadParam0200", VALUE_QUERY(ReadParam0200), 0x0200, kComm, kComm, kComm, kNone},
    {"ReadParam0104", VALUE_QUERY(ReadParam0104), 0x0104, kNone, kNone, kNone, kNone},
    {"ReadParam0105", VALUE_QUERY(ReadParam0105), 0x0105, kNone, kNone, kNone, kNone},
    {"ReadParam0106", VALUE_QUERY(ReadParam0106), 0x0106, kNone, kNone, kNone, kNone},
    {"ReadParam0107", VALUE_QUERY(ReadParam0107), 0x0107, kNone, kNone, kNone, kNone},
    {"ReadParam0108", VALUE_QUERY(ReadParam0108), 0x0108, kNone, kNone, kNone, kNone},
    {"ReadParam0109", VALUE_QUERY(ReadParam0109), 0x0109, kNone, kNone, kNone, kNone},
    {"ReadCapacityCode", VALUE_QUERY(ReadCapacityCode), 0x0D00, kCrc, kTimeOut, kComm, kAddress},
    {"ReadSeriesCode", VALUE_QUERY(ReadSeriesCode), 0x252F, kCrc, kTimeOut, kComm, kAddress},
};

// The case shows by its name, not as a dump of its bytes.
void PrintTo(const QueryCase& query, std::ostream* os)
{
    *os << query.name;
}

class DriveQueryTest : public SimLinkTest, public ::testing::WithParamInterface<QueryCase> {
protected:
    void SetUp() override
    {
        SimLinkTest::SetUp();
        m_session.m_pComm = m_comm.get();
    }
    void TearDown() override
    {
        m_session.m_pComm = nullptr;
        SimLinkTest::TearDown();
    }

    // The query's messages for one failure, and that its out value stayed.
    std::vector<std::string> Fail(const QueryCase& query)
    {
        MessageRecorder recorder;
        int value = kUntouched;
        EXPECT_EQ(query.call(m_session, 1, value), 0);
        EXPECT_EQ(value, kUntouched);
        return recorder.Texts();
    }

    static std::vector<std::string> Expect(const char* text)
    {
        return *text ? std::vector<std::string>{text} : std::vector<std::string>{};
    }

    RecordingWindows m_windows;
    CDriveSession m_session{m_windows};
};

TEST_P(DriveQueryTest, RequestValueAndFailures)
{
    const QueryCase& query = GetParam();
    // A value with both bytes set and bit 0 set.
    m_drive->AddRegister(1, query.reg, 0x0457);
    if (query.reg == 0x0D07)
        m_drive->SetPassword(1, 1234);

    size_t before = m_drive->GetFrameCount();
    {
        MessageRecorder recorder;
        int value = kUntouched;
        EXPECT_EQ(query.call(m_session, 1, value), 1);
        EXPECT_TRUE(recorder.Texts().empty());
        int expected = 0x0457;
        if (query.reg == 0x0D07 || query.reg == 0x2520)
            expected = 1; // a password is active; bit 0 set: running
        EXPECT_EQ(value, expected);
    }
    auto frames = m_drive->GetFramesFrom(before);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].request, ReadRequest(1, query.reg));

    m_drive->SetCorruptCrc(1, true);
    EXPECT_EQ(Fail(query), Expect(query.onCrc)) << "wrong CRC";
    m_drive->SetCorruptCrc(1, false);

    m_drive->SetAnswerAs(1, 2);
    EXPECT_EQ(Fail(query), Expect(query.onOther)) << "another station";
    m_drive->SetAnswerAs(1, 0);

    m_drive->ForceException(1, query.reg, 0x52);
    EXPECT_EQ(Fail(query), Expect(query.onRefusal)) << "refused";
    m_drive->ForceException(1, query.reg, 0);

    m_drive->SetSilent(1, true);
    EXPECT_EQ(Fail(query), Expect(query.onTimeOut)) << "silence";
}

INSTANTIATE_TEST_SUITE_P(Queries, DriveQueryTest, ::testing::ValuesIn(kQueries),
                         [](const auto& info) { return std::string(info.param.name); });

using DriveQueryValues = SimLinkTest;

TEST_F(DriveQueryValues, ValueCases)
{
    RecordingWindows windows;
    CDriveSession session(windows);
    session.m_pComm = m_comm.get();
    MessageRecorder recorder;

    bool flag = true;
    ASSERT_EQ(session.ReadPasswordState(1, flag), 1);
    EXPECT_FALSE(flag) << "no password";
    m_drive->SetPassword(1, 1234);
    ASSERT_EQ(session.ReadPasswordState(1, flag), 1);
    EXPECT_TRUE(flag) << "password active: 13-07 reads 2";

    struct Status {
        uint16_t word;
        bool running;
    };
    for (Status status : {Status{0x0003, true}, Status{0x0002, false}, Status{0x0001, true}, Status{0, false}}) {
        m_drive->AddRegister(1, 0x2520, status.word);
        ASSERT_EQ(session.IsDriveRunning(1, flag), 1);
        EXPECT_EQ(flag, status.running) << status.word;
    }

    m_drive->AddRegister(1, 0x0D01, 1100);
    float version = 0;
    ASSERT_EQ(session.ReadParam0D01(1, version), 1);
    EXPECT_EQ(version, 1.1f);
    m_drive->AddRegister(1, 0x0D01, 1093);
    ASSERT_EQ(session.ReadParam0D01(1, version), 1);
    EXPECT_EQ(version, 1.093f);

    m_drive->AddRegister(1, 0x0002, 0xFFFF);
    int value = 0;
    ASSERT_EQ(session.ReadParam0002To(1, value), 1);
    EXPECT_EQ(value, 65535) << "registers are unsigned";

    struct Model {
        uint16_t series;
        uint16_t capacity;
        int code;
    };
    for (Model model : {Model{0x100, 1205, 1205}, Model{0x110, 201, 0x11000C9}, Model{0x111, 415, 0x111019F}}) {
        m_drive->AddRegister(1, 0x252F, model.series);
        m_drive->AddRegister(1, 0x0D00, model.capacity);
        int code = 0;
        ASSERT_EQ(session.ReadModelCode(1, code), 1);
        EXPECT_EQ(code, model.code);
    }
    EXPECT_TRUE(recorder.Texts().empty());

    // The first failing read ends the rule with its own message.
    m_drive->ForceException(1, 0x252F, 0x52);
    int code = kUntouched;
    EXPECT_EQ(session.ReadModelCode(1, code), 0);
    EXPECT_EQ(code, kUntouched);
    EXPECT_EQ(recorder.Texts(), std::vector<std::string>{kAddress});
    session.m_pComm = nullptr;
}

TEST(DriveQueryWithoutLink, NoLinkIsACommunicationError)
{
    RecordingWindows windows;
    CDriveSession session(windows);
    MessageRecorder recorder;
    int value = kUntouched;
    EXPECT_EQ(session.ReadParam0003(1, value), 0);
    bool running = false;
    EXPECT_EQ(session.IsDriveRunning(1, running), 0);
    EXPECT_EQ(recorder.Texts(), (std::vector<std::string>{kComm, kComm}));
    EXPECT_EQ(value, kUntouched);
}

} // namespace
