// How the simulated drive moves, on a station's registers with time stepped
// by hand: ramps at the drive's own times and limits, jog, stop, reversal,
// trip and reset, and values that follow the output frequency.

#include "tools/SimDriveMotion.h"
#include "tools/SimDriveRegisters.h"

#include <gtest/gtest.h>

using namespace SimDrive;
using Regs = std::map<std::uint16_t, std::uint16_t>;

namespace {

struct Motion : ::testing::Test {
    Motion()
    {
        regs = BuiltInRegisters(0x11004B2, 1100);
        regs[ParamRegister(1, 2)] = 5000; // 01-02 maximum output frequency 50.00 Hz
        regs[ParamRegister(0, 12)] = 5000; // upper limit
        regs[ParamRegister(0, 13)] = 500; // lower limit 5.00 Hz
        regs[ParamRegister(0, 14)] = 100; // 10.0 s to 50 Hz
        regs[ParamRegister(0, 15)] = 50; // 5.0 s down
        regs[ParamRegister(0, 18)] = 600; // jog 6.00 Hz
        regs[ParamRegister(0, 19)] = 10; // 1.0 s
        regs[ParamRegister(0, 20)] = 20; // 2.0 s
        motion.Advance(regs, now);
    }
    void Step(std::int64_t ms)
    {
        now += ms;
        motion.Advance(regs, now);
    }
    void Command(std::uint16_t word) { motion.OnCommandWord(regs, word, now); }
    std::uint16_t Output() const { return regs.at(kRegOutputFrequency); }
    std::uint16_t Status() const { return regs.at(kRegStatusWord); }

    Regs regs;
    CSimDriveMotion motion;
    std::int64_t now = 1000;
};

} // namespace

TEST_F(Motion, RampsAtTheAccelerationAndDecelerationTimesWithinTheLimits)
{
    motion.OnFrequencyCommand(regs, 3000, now);
    Command(kCommandRun);
    EXPECT_EQ(Status() & kStatusRunning, kStatusRunning) << "running as soon as the command comes";
    Step(1000);
    EXPECT_EQ(Output(), 500) << "50 Hz in 10 s: 5 Hz after one second";
    Step(5000);
    EXPECT_EQ(Output(), 3000) << "stops at the command";
    motion.OnFrequencyCommand(regs, 6000, now);
    Step(10000);
    EXPECT_EQ(Output(), 5000) << "held at the upper limit 00-12";
    motion.OnFrequencyCommand(regs, 100, now);
    Step(10000);
    EXPECT_EQ(Output(), 500) << "held at the lower limit 00-13";

    Command(0);
    Step(50);
    EXPECT_EQ(Output(), 450) << "50 Hz in 5 s down: 0.5 Hz per 50 ms";
    EXPECT_EQ(Status() & kStatusRunning, kStatusRunning) << "running until the output reaches 0";
    Step(1000);
    EXPECT_EQ(Output(), 0);
    EXPECT_EQ(Status() & kStatusRunning, 0);
}

TEST_F(Motion, ReversesThroughZeroAndJogsAtTheJogFrequency)
{
    motion.OnFrequencyCommand(regs, 1000, now);
    Command(kCommandRun);
    Step(2000);
    ASSERT_EQ(Output(), 1000);
    EXPECT_EQ(regs.at(kRegTerminalWord), kTerminalS1);
    Command(kCommandRun | kCommandReverse);
    Step(500);
    EXPECT_EQ(Output(), 500) << "decelerates forward first";
    EXPECT_EQ(Status() & kStatusReverse, 0);
    Step(3000);
    EXPECT_EQ(Output(), 1000);
    EXPECT_EQ(Status() & kStatusReverse, kStatusReverse);
    EXPECT_EQ(regs.at(kRegTerminalWord), kTerminalS2);

    Command(0);
    Step(5000);
    Command(kCommandJogForward);
    Step(60);
    EXPECT_EQ(Output(), 300) << "jog: 50 Hz in 1 s";
    Step(500);
    EXPECT_EQ(Output(), 600) << "the jog frequency 00-18";
    Command(0);
    Step(100);
    EXPECT_EQ(Output(), 350) << "jog deceleration: 50 Hz in 2 s";
}

TEST_F(Motion, ExternalFaultTripsCoastsAndResetClearsWithoutRestarting)
{
    motion.SetTerminals(regs, 0x001C, now);
    motion.OnFrequencyCommand(regs, 3000, now);
    Command(kCommandRun);
    Step(6000);
    ASSERT_EQ(Output(), 3000);
    Command(kCommandRun | kCommandExternalFault);
    EXPECT_EQ(Output(), 0);
    EXPECT_EQ(Status(), kStatusReady | kStatusFault);
    EXPECT_EQ(regs.at(kRegFaultCode), kFaultExternal);
    EXPECT_EQ(regs.at(kRegLatestFault), kFaultExternal);
    EXPECT_EQ(regs.at(kRegCommandWord), 0) << "the trip dropped the run command and bit 2 reads 0";
    EXPECT_EQ(regs.at(kRegTerminalWord), 0x001C | kTerminalRelay);

    Command(kCommandFaultReset);
    Step(1000);
    EXPECT_EQ(Status(), kStatusReady);
    EXPECT_EQ(regs.at(kRegFaultCode), 0);
    EXPECT_EQ(regs.at(kRegCommandWord), 0);
    EXPECT_EQ(Output(), 0) << "a reset does not restart the motor";
    EXPECT_EQ(regs.at(kRegTerminalWord), 0x001C);
}

TEST_F(Motion, MonitorValuesFollowTheOutputFrequency)
{
    const std::uint16_t watched[] = { 0x2525, 0x2527, 0x2529, 0x252A, 0x252B, 0x252C, 0x2532 };
    motion.OnFrequencyCommand(regs, 5000, now);
    Command(kCommandRun);
    std::map<std::uint16_t, std::uint16_t> last;
    for (std::uint16_t reg : watched)
        last[reg] = regs.at(reg);
    for (int step = 0; step < 4; ++step) {
        Step(2500);
        for (std::uint16_t reg : watched) {
            EXPECT_GT(regs.at(reg), last[reg]) << std::hex << reg << " at step " << step;
            last[reg] = regs.at(reg);
        }
    }
    EXPECT_EQ(regs.at(0x2525), 2200) << "full voltage at the maximum frequency";
    EXPECT_GT(regs.at(0x2531), 250) << "the heat sink warms";

    // At rest with nothing commanded the drive leaves words set by hand alone.
    Command(0);
    Step(20000);
    regs[kRegStatusWord] = 0x0009;
    Step(1000);
    EXPECT_EQ(Status(), 0x0009);
}
