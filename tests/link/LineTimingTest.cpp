// The line's timing as the transaction core keeps it: the silence between a
// reply and the next request, and the quiet guard after a failed transaction
// that keeps a late reply from being taken for the answer to the next
// request. The drive's register model runs in process on a stepped clock, so
// that long sequences with time-outs take no real time; the end-to-end cases
// run against the drive on a pseudo-terminal.

#include "link/ModbusRequest.h"
#include "tests/link/SimLink.h"
#include "tools/InProcessDrive.h"

#include <atomic>
#include <chrono>
#include <map>

namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

SimDriveConfig TwoStations(SimLineFormat line)
{
    SimDriveConfig config;
    SimStationConfig second;
    second.station = 2;
    config.stations.push_back(second);
    config.line = line;
    return config;
}

// Register 0x0100 + k of station s holds 0x1000 x s + k: a value names its register.
constexpr uint16_t kFirst = 0x0100;
constexpr int kRegisters = 8;

uint16_t ValueOf(int station, int k)
{
    return static_cast<uint16_t>(0x1000 * station + k);
}

void FillRegisters(CSimDriveModel& drive)
{
    for (int station = 1; station <= 2; ++station)
        for (int k = 0; k < kRegisters; ++k)
            drive.AddRegister(station, static_cast<uint16_t>(kFirst + k), ValueOf(station, k));
}

TEST(LineTiming, SilentIntervalOfEachLine)
{
    struct Case {
        SerialSettings settings;
        nanoseconds interval;
        const char* why;
    };
    const Case cases[] = {
        {{9600, 8, 0, 1}, nanoseconds(3'645'834), "10 bits a character"},
        {{19200, 8, 2, 1}, nanoseconds(2'005'209), "11 bits a character"},
        {{19200, 8, 0, 2}, nanoseconds(2'005'209), "two stop bits"},
        {{4800, 7, 1, 1}, nanoseconds(7'291'667), "7 data bits and parity"},
        {{38400, 8, 2, 1}, microseconds(1750), "fixed above 19200 baud"},
        {{115200, 8, 0, 1}, microseconds(1750), "fixed above 19200 baud"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineSilentInterval(c.settings), c.interval) << c.why;
}

// Every request of a long sequence goes out exactly one silent interval after
// the reply before it, on lines that ignore a request that comes sooner.
TEST(LineTiming, RequestsKeepTheSilenceAfterEachReply)
{
    for (unsigned baud : {9600u, 19200u, 38400u}) {
        SimLineFormat format{baud, 8, 'E', 1, true};
        CInProcessDrive drive(TwoStations(format));
        FillRegisters(drive.Model());
        CSerialComm link;
        ASSERT_TRUE(drive.Connect(link));
        CModbusRequest request(&link);
        for (int i = 0; i < 300; ++i) {
            uint16_t words[kRegisters] = {};
            const int station = 1 + i % 2;
            const int count = 1 + i % kRegisters;
            if (i % 3 == 2) {
                ASSERT_TRUE(request.WriteOne(static_cast<uint8_t>(station), kFirst, ValueOf(station, 0)).Ok()) << i;
            } else {
                ASSERT_TRUE(request.ReadHolding(static_cast<uint8_t>(station), kFirst, static_cast<uint16_t>(count),
                                                words).Ok())
                    << baud << " baud, transaction " << i;
                EXPECT_EQ(words[count - 1], ValueOf(station, count - 1));
            }
        }
        const nanoseconds interval = SimSilentInterval(format);
        auto frames = drive.Model().GetFrameLog();
        ASSERT_EQ(frames.size(), 300u);
        for (size_t i = 1; i < frames.size(); ++i) {
            ASSERT_TRUE(frames[i].sinceReply.has_value());
            EXPECT_FALSE(frames[i].early) << baud << " baud, frame " << i;
            // A line that answers pays nothing beyond the interval.
            EXPECT_LT(*frames[i].sinceReply - interval, microseconds(1)) << baud << " baud, frame " << i;
        }
    }
}

// The silence holds against a drive on a pseudo-terminal paced at 19200
// baud that ignores early requests: no transaction of a long run times out.
TEST(LineTiming, PacedDriveOnAPseudoTerminalAnswersEveryRequest)
{
    SimLineFormat format{19200, 8, 'E', 1, true};
    CSimulatedDrive drive(TwoStations(format));
    std::string error;
    ASSERT_TRUE(drive.Start(&error)) << error;
    FillRegisters(drive);
    CSerialComm link;
    ASSERT_NE(link.InitComm(drive.GetPtyPath(), 19200, 8, 2, 1.0f), 0);
    CModbusRequest request(&link);
    int failures = 0;
    for (int i = 0; i < 60; ++i) {
        uint16_t words[2] = {};
        if (!request.ReadHolding(1, kFirst, 2, words).Ok() || words[1] != ValueOf(1, 1))
            ++failures;
    }
    EXPECT_EQ(failures, 0);
    for (const SimFrame& frame : drive.GetFrameLog())
        EXPECT_FALSE(frame.early);
    link.Close();
    drive.Stop();
}

class LateReplies : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_drive = std::make_unique<CInProcessDrive>(TwoStations(SimLineFormat{19200, 8, 'E', 1, true}));
        FillRegisters(m_drive->Model());
        ASSERT_TRUE(m_drive->Connect(m_link));
        m_timeouts = m_link.GetTimeouts();
    }

    std::unique_ptr<CInProcessDrive> m_drive;
    CSerialComm m_link;
    LinkTimeouts m_timeouts;
};

// A drive that answers later than the time-out, then on time, then late
// again, to reads and writes in a row: every result is the right value or a
// failure, never the value of the request before.
TEST_F(LateReplies, NeverTakenForTheNextAnswer)
{
    CSimDriveModel& model = m_drive->Model();
    CModbusRequest request(&m_link);
    // Late by up to one first-byte time-out past the time-out itself: what
    // the guard covers.
    const int lateness[] = {0, m_timeouts.firstByteMs + 500, m_timeouts.firstByteMs / 2,
                            m_timeouts.firstByteMs + 50, 2 * m_timeouts.firstByteMs - 100};
    int answered = 0;
    int failed = 0;
    for (int round = 0; round < 200; ++round) {
        model.SetReplyDelay(1, lateness[(round / 7) % 5]);
        const int k = round % kRegisters;
        const auto reg = static_cast<uint16_t>(kFirst + k);
        if (round % 4 == 3) {
            // A write's echo of another register is no success either.
            ModbusReply reply = request.WriteOne(1, reg, ValueOf(1, k));
            EXPECT_TRUE(reply.Ok() || !reply.Answered()) << round;
            reply.Ok() ? ++answered : ++failed;
            continue;
        }
        uint16_t word = 0xFFFF;
        ModbusReply reply = request.ReadHolding(1, reg, 1, &word);
        if (reply.Ok()) {
            EXPECT_EQ(word, ValueOf(1, k)) << "round " << round << ": a neighbour's value";
            ++answered;
        } else {
            EXPECT_EQ(word, 0xFFFF) << round;
            ++failed;
        }
    }
    EXPECT_GT(answered, 50) << "the drive answered on time in some rounds";
    EXPECT_GT(failed, 50) << "and late in others";
}

// The case: six reads of 01-00 to 01-05 from a drive 1.5 s late.
TEST_F(LateReplies, SixReadsOfADriveLateByHalfASecondMore)
{
    m_drive->Model().SetReplyDelay(1, 1500);
    CModbusRequest request(&m_link);
    for (int k = 0; k < 6; ++k) {
        uint16_t word = 0xFFFF;
        ModbusReply reply = request.ReadHolding(1, static_cast<uint16_t>(kFirst + k), 1, &word);
        EXPECT_EQ(reply.result, kErrTimeout) << k;
        EXPECT_EQ(word, 0xFFFF) << k;
    }
}

// Probes back to back, as the watchdog makes them: station 1 late, station 2
// healthy. Station 1's late reply arrives while station 2 would be probed:
// the guard waits it out, and station 2 answers for itself.
TEST_F(LateReplies, ALateStationDoesNotTakeTheNextOffTheLink)
{
    m_drive->Model().SetReplyDelay(1, m_timeouts.firstByteMs + 500);
    CModbusRequest request(&m_link);
    for (int tick = 0; tick < 5; ++tick) {
        uint16_t word = 0;
        EXPECT_EQ(request.ReadHolding(1, kFirst, 1, &word).result, kErrTimeout) << tick;
        ModbusReply second = request.ReadHolding(2, kFirst, 1, &word);
        EXPECT_TRUE(second.Ok()) << tick << ": result " << second.result;
        EXPECT_EQ(word, ValueOf(2, 0)) << tick;
    }
}

// The guard after a failure, in time: nothing goes out until the line has
// been quiet for the first-byte time-out; a line that answers again pays
// nothing after the first success.
TEST_F(LateReplies, GuardWaitsForQuietThenCostsNothing)
{
    CSimDriveModel& model = m_drive->Model();
    SimSteppedClock& clock = m_drive->Clock();
    CModbusRequest request(&m_link);
    uint16_t word = 0;

    model.SetCorruptCrc(1, true);
    EXPECT_EQ(request.ReadHolding(1, kFirst, 1, &word).result, kErrCrc);
    const auto failedAt = clock.Now();
    model.SetCorruptCrc(1, false);
    model.ClearFrameLog();
    EXPECT_TRUE(request.ReadHolding(1, kFirst, 1, &word).Ok());
    EXPECT_TRUE(request.ReadHolding(1, kFirst, 1, &word).Ok());
    auto frames = model.GetFrameLog();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_GE(frames[0].time - failedAt, milliseconds(m_timeouts.firstByteMs)) << "a quiet guard first";
    EXPECT_LT(frames[0].time - failedAt, milliseconds(m_timeouts.firstByteMs + 1));
    EXPECT_LT(*frames[1].sinceReply - SimSilentInterval(SimLineFormat{19200, 8, 'E', 1}), microseconds(1))
        << "then the silent interval only";

    // A reply cut short: the rest of the frame never comes.
    model.SetReplyLength(1, 4);
    EXPECT_EQ(request.ReadHolding(1, kFirst, 1, &word).result, kErrTimeout);
    model.SetReplyLength(1, 0);
    EXPECT_TRUE(request.ReadHolding(1, kFirst, 1, &word).Ok());
}

// A request whose caller may give it up (a live window that closes): given up
// while the line is kept quiet after a failure, nothing goes out and the
// quiet is still owed by the next request; not given up, the line sees what
// it sees of any other request, frame and silences alike.
TEST_F(LateReplies, AnAbandonedRequestIsNeverSentAndLeavesTheQuietOwed)
{
    CSimDriveModel& model = m_drive->Model();
    SimSteppedClock& clock = m_drive->Clock();
    std::atomic<bool> abandoned{true};
    CModbusRequest mayBeAbandoned(&m_link, RequestPace::Direct, &abandoned);
    uint16_t word = 0xFFFF;

    model.SetCorruptCrc(1, true);
    EXPECT_EQ(CModbusRequest(&m_link).ReadHolding(1, kFirst, 1, &word).result, kErrCrc);
    const auto failedAt = clock.Now();
    model.SetCorruptCrc(1, false);
    model.ClearFrameLog();
    for (bool write : {false, true}) {
        const ModbusReply reply = write ? mayBeAbandoned.WriteOne(1, kFirst, 7)
                                        : mayBeAbandoned.ReadHolding(1, kFirst, 1, &word);
        EXPECT_TRUE(reply.Abandoned()) << write;
        EXPECT_FALSE(reply.Answered()) << write;
    }
    EXPECT_EQ(word, 0xFFFF);
    EXPECT_TRUE(model.GetFrameLog().empty());
    EXPECT_LT(clock.Now() - failedAt, milliseconds(m_timeouts.firstByteMs)) << "given up without the wait";

    abandoned = false;
    EXPECT_TRUE(mayBeAbandoned.ReadHolding(1, kFirst, 1, &word).Ok());
    EXPECT_EQ(word, ValueOf(1, 0));
    EXPECT_TRUE(mayBeAbandoned.WriteOne(1, kFirst, ValueOf(1, 0)).Ok());
    auto frames = model.GetFrameLog();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].request, ReadRequest(1, kFirst));
    EXPECT_EQ(frames[1].request, WriteRequest(1, kFirst, ValueOf(1, 0)));
    EXPECT_GE(frames[0].time - failedAt, milliseconds(m_timeouts.firstByteMs)) << "the quiet, still owed";
    EXPECT_LT(frames[0].time - failedAt, milliseconds(m_timeouts.firstByteMs + 1));
    EXPECT_LT(*frames[1].sinceReply - SimSilentInterval(SimLineFormat{19200, 8, 'E', 1}), microseconds(1))
        << "then the silent interval only";
}

// A line that never falls quiet: the next transaction fails as a time-out
// within the guard's limit, without sending; once the noise ends the link
// works again.
TEST_F(LateReplies, NoisyLineEndsTheGuardAsATimeOut)
{
    CSimDriveModel& model = m_drive->Model();
    SimSteppedClock& clock = m_drive->Clock();
    CModbusRequest request(&m_link);
    uint16_t word = 0;
    model.SetSilent(1, true);
    EXPECT_EQ(request.ReadHolding(1, kFirst, 1, &word).result, kErrTimeout);
    model.SetSilent(1, false);

    const auto noiseEnd = clock.Now() + std::chrono::seconds(20);
    m_drive->Line()->SetNoise(milliseconds(5), noiseEnd);
    const size_t before = model.GetFrameCount();
    for (int i = 0; i < 3; ++i) {
        const auto start = clock.Now();
        EXPECT_EQ(request.ReadHolding(1, kFirst, 1, &word).result, kErrTimeout) << i;
        EXPECT_LE(clock.Now() - start, milliseconds(m_timeouts.guardLimitMs + 5)) << i;
        EXPECT_EQ(model.GetFrameCount(), before) << "nothing sent into the noise";
    }
    EXPECT_FALSE(request.Broadcast(kFirst, 1)) << "nor a broadcast";
    clock.AdvanceTo(noiseEnd);
    EXPECT_TRUE(request.ReadHolding(1, kFirst, 1, &word).Ok());
    EXPECT_EQ(word, ValueOf(1, 0));
}

TEST_F(LateReplies, DroppedLineIsACommunicationError)
{
    CModbusRequest request(&m_link);
    uint16_t word = 0;
    m_drive->Line()->DropAfter(2);
    EXPECT_TRUE(request.ReadHolding(1, kFirst, 1, &word).Ok());
    EXPECT_TRUE(request.WriteOne(1, kFirst, 5).Ok());
    EXPECT_EQ(request.ReadHolding(1, kFirst, 1, &word).result, kErrComm);
    EXPECT_EQ(request.WriteOne(1, kFirst, 6).result, kErrComm);
    EXPECT_FALSE(request.Broadcast(kFirst, 7));
}

// End to end on a pseudo-terminal: a drive late beyond a short time-out,
// reads of neighbouring registers in a row.
TEST(LateRepliesEndToEnd, NeverANeighboursValue)
{
    CSimulatedDrive drive(TwoStations(SimLineFormat{}));
    std::string error;
    ASSERT_TRUE(drive.Start(&error)) << error;
    FillRegisters(drive);
    CSerialComm link;
    ASSERT_NE(link.InitComm(drive.GetPtyPath(), 19200, 8, 0, 1.0f), 0);
    LinkTimeouts timeouts = link.GetTimeouts();
    timeouts.firstByteMs = 300;
    link.SetTimeouts(timeouts);
    CModbusRequest request(&link);
    for (int k = 0; k < 6; ++k) {
        drive.SetReplyDelay(1, k % 2 == 0 ? 500 : 0);
        uint16_t word = 0xFFFF;
        ModbusReply reply = request.ReadHolding(1, static_cast<uint16_t>(kFirst + k), 1, &word);
        if (reply.Ok())
            EXPECT_EQ(word, ValueOf(1, k)) << k;
        else
            EXPECT_EQ(reply.result, kErrTimeout) << k;
        EXPECT_EQ(reply.Ok(), k % 2 == 1) << k;
    }
    link.Close();
    drive.Stop();
}

} // namespace
