#include "tools/SimDriveMotion.h"

#include "tools/SimDriveRegisters.h"

#include <algorithm>
#include <cmath>

namespace SimDrive {

namespace {

constexpr std::uint16_t kRegMaxOutputVoltage = 0x0101; // 01-01, tenths of a volt
constexpr std::uint16_t kRegMaxOutputFrequency = 0x0102; // 01-02, hundredths of a hertz
constexpr std::uint16_t kRegUpperLimit = 0x000C; // 00-12
constexpr std::uint16_t kRegLowerLimit = 0x000D; // 00-13
constexpr std::uint16_t kRegAccelTime = 0x000E; // 00-14, tenths of a second
constexpr std::uint16_t kRegDecelTime = 0x000F; // 00-15
constexpr std::uint16_t kRegJogFrequency = 0x0012; // 00-18
constexpr std::uint16_t kRegJogAccelTime = 0x0013; // 00-19
constexpr std::uint16_t kRegJogDecelTime = 0x0014; // 00-20

constexpr std::uint16_t kRegOutputVoltage = 0x2525;
constexpr std::uint16_t kRegOutputCurrent = 0x2527;
constexpr std::uint16_t kRegOutputPower = 0x2529;
constexpr std::uint16_t kRegPidFeedback = 0x252A;
constexpr std::uint16_t kRegPidInput = 0x252B;
constexpr std::uint16_t kRegAviInput = 0x252C;
constexpr std::uint16_t kRegAciInput = 0x252D;
constexpr std::uint16_t kRegTemperature = 0x2531;
constexpr std::uint16_t kRegPercentage = 0x2532;

// Without a definition file every parameter reads 0: a drive then ramps as
// the factory settings would (50 Hz reached in 10 s, no limits).
constexpr double kFallbackMaxFrequency = 5000;
constexpr double kFallbackRampTime = 100;
// Heat-sink warming: first order, one minute.
constexpr double kThermalTimeMs = 60000;

std::uint16_t Reg(const std::map<std::uint16_t, std::uint16_t>& regs, std::uint16_t reg)
{
    const auto it = regs.find(reg);
    return it == regs.end() ? 0 : it->second;
}

// Sets a register the drive has; a register the model lacks stays absent.
void Put(std::map<std::uint16_t, std::uint16_t>& regs, std::uint16_t reg, double value)
{
    const auto it = regs.find(reg);
    if (it != regs.end())
        it->second = static_cast<std::uint16_t>(std::clamp(std::lround(value), 0L, 0xFFFFL));
}

// The frequency the ramp times are counted to: 01-02, else the upper limit.
double MaxFrequency(const std::map<std::uint16_t, std::uint16_t>& regs)
{
    if (const double maximum = Reg(regs, kRegMaxOutputFrequency); maximum > 0)
        return maximum;
    if (const double upper = Reg(regs, kRegUpperLimit); upper > 0)
        return upper;
    return kFallbackMaxFrequency;
}

// Hundredths of a hertz per millisecond for a ramp time in tenths of a second
// from 0 to the maximum output frequency.
double Rate(const std::map<std::uint16_t, std::uint16_t>& regs, std::uint16_t timeReg)
{
    double time = Reg(regs, timeReg);
    if (time <= 0)
        time = Reg(regs, kRegUpperLimit) == 0 ? kFallbackRampTime : 1;
    return MaxFrequency(regs) / (time * 100.0);
}

} // namespace

CSimDriveClock::CSimDriveClock()
    : m_start(std::chrono::steady_clock::now())
{
}

std::int64_t CSimDriveClock::NowMs() const
{
    if (m_stepped)
        return m_steppedMs;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start).count();
}

void CSimDriveClock::UseStepped()
{
    if (!m_stepped) {
        m_steppedMs = NowMs();
        m_stepped = true;
    }
}

void CSimDriveClock::Advance(std::chrono::milliseconds step)
{
    if (m_stepped && step.count() > 0)
        m_steppedMs += step.count();
}

void CSimDriveMotion::Advance(std::map<std::uint16_t, std::uint16_t>& regs, std::int64_t nowMs)
{
    if (!m_started) {
        m_started = true;
        m_lastMs = nowMs;
    }
    const std::int64_t stepMs = std::max<std::int64_t>(0, nowMs - m_lastMs);
    m_lastMs = std::max(m_lastMs, nowMs);

    const std::uint16_t command = Reg(regs, kRegCommandWord);
    const bool faulted = (Reg(regs, kRegStatusWord) & kStatusFault) != 0;
    const bool jog = !faulted && (command & (kCommandJogForward | kCommandJogReverse)) != 0;
    const bool run = !faulted && (command & kCommandRun) != 0;

    double target = 0;
    if (jog) {
        target = Reg(regs, kRegJogFrequency);
        if (command & kCommandJogReverse)
            target = -target;
        m_jogging = true;
    } else if (run) {
        target = Reg(regs, kRegFrequencyCommand);
        const double upper = Reg(regs, kRegUpperLimit);
        const double lower = Reg(regs, kRegLowerLimit);
        if (upper > 0)
            target = std::min(target, upper);
        target = std::max(target, std::min(lower, upper > 0 ? upper : lower));
        if (command & kCommandReverse)
            target = -target;
        m_jogging = false;
    }

    if (!m_dirty && m_output == target && m_output == 0)
        return; // at rest: leave the registers as they are

    const double before = m_output;
    if (faulted) {
        m_output = 0; // a trip lets the motor coast
    } else if (m_output != target) {
        // Speeding up away from 0 accelerates, towards 0 (or through it) decelerates.
        const bool speedingUp = std::abs(target) > std::abs(m_output) && (m_output == 0 || (target > 0) == (m_output > 0));
        const std::uint16_t timeReg = speedingUp ? (m_jogging ? kRegJogAccelTime : kRegAccelTime)
                                                 : (m_jogging ? kRegJogDecelTime : kRegDecelTime);
        const double step = Rate(regs, timeReg) * static_cast<double>(stepMs);
        m_output = m_output < target ? std::min(target, m_output + step) : std::max(target, m_output - step);
    }
    const bool accelerating = std::abs(m_output) > std::abs(before);

    std::uint16_t status = Reg(regs, kRegStatusWord);
    status &= static_cast<std::uint16_t>(~(kStatusRunning | kStatusReverse));
    if (run || jog || m_output != 0)
        status |= kStatusRunning;
    const bool reverse = m_output < 0 || (m_output == 0 && target < 0)
        || (m_output == 0 && target == 0 && (command & kCommandReverse) && run);
    if (reverse)
        status |= kStatusReverse;
    regs[kRegStatusWord] = status;

    std::uint16_t terminals = m_terminals;
    if ((status & kStatusRunning) && !(status & kStatusReverse))
        terminals |= kTerminalS1;
    if ((status & kStatusRunning) && (status & kStatusReverse))
        terminals |= kTerminalS2;
    if (status & kStatusFault)
        terminals |= kTerminalRelay;
    Put(regs, kRegTerminalWord, terminals);

    Publish(regs, accelerating, stepMs);
    m_dirty = false;
}

void CSimDriveMotion::Publish(std::map<std::uint16_t, std::uint16_t>& regs, bool accelerating, std::int64_t stepMs)
{
    const double f = std::abs(m_output);
    const double fMax = MaxFrequency(regs);
    const double share = std::clamp(f / fMax, 0.0, 1.0);
    const std::uint16_t modelNumber = Reg(regs, kRegCapacity);
    const bool class400 = modelNumber >= 400 && modelNumber < 1000;

    Put(regs, kRegOutputFrequency, f);
    // V/F: the maximum voltage at the maximum frequency.
    double maxVoltage = Reg(regs, kRegMaxOutputVoltage);
    if (maxVoltage <= 0)
        maxVoltage = class400 ? 3800 : 2200;
    const double voltage = maxVoltage * share;
    Put(regs, kRegOutputVoltage, voltage);
    // The DC bus rises a little while the motor brakes into it.
    const double bus = class400 ? 537 : 311;
    const bool braking = !accelerating && f > 0 && stepMs > 0 && (Reg(regs, kRegStatusWord) & kStatusRunning);
    Put(regs, kRegDcVoltage, bus + (braking && share > 0 ? 15 : 0));
    // A fan load: magnetising current plus a share that grows with speed, more while accelerating.
    const bool energised = f > 0;
    const double current = energised ? 12 + 28 * share * share + (accelerating ? 10 : 0) : 0;
    Put(regs, kRegOutputCurrent, current);
    // Tenths of a kilowatt: sqrt(3) x V x I x 0.85.
    Put(regs, kRegOutputPower, 1.732 * (voltage / 10) * (current / 10) * 0.85 / 100);
    Put(regs, kRegPidFeedback, 100 * share);
    Put(regs, kRegPidInput, 1000 * share);
    Put(regs, kRegAviInput, 1000 * share); // 0 to 10 V in hundredths
    Put(regs, kRegAciInput, 200 + 800 * share); // 4 to 20 mA in steps of 0.02 mA
    Put(regs, kRegPercentage, 100 * share);
    const double warm = 250 + 200 * share * share;
    m_temperature += (warm - m_temperature) * (1 - std::exp(-static_cast<double>(stepMs) / kThermalTimeMs));
    Put(regs, kRegTemperature, m_temperature);
}

void CSimDriveMotion::OnCommandWord(std::map<std::uint16_t, std::uint16_t>& regs, std::uint16_t value, std::int64_t nowMs)
{
    Advance(regs, nowMs);
    std::uint16_t status = Reg(regs, kRegStatusWord);
    if (value & kCommandFaultReset) {
        regs[kRegFaultCode] = 0;
        status &= static_cast<std::uint16_t>(~kStatusFault);
    }
    if (value & kCommandExternalFault) {
        regs[kRegFaultCode] = kFaultExternal;
        regs[kRegLatestFault] = kFaultExternal;
        status |= kStatusFault;
        // A tripped drive forgets its run command: a reset must not restart the motor.
        value &= static_cast<std::uint16_t>(~(kCommandRun | kCommandJogForward | kCommandJogReverse));
    }
    regs[kRegStatusWord] = status;
    regs[kRegCommandWord] = static_cast<std::uint16_t>(value & ~(kCommandExternalFault | kCommandFaultReset));
    m_dirty = true;
    Advance(regs, nowMs);
}

void CSimDriveMotion::OnFrequencyCommand(std::map<std::uint16_t, std::uint16_t>& regs, std::uint16_t value, std::int64_t nowMs)
{
    Advance(regs, nowMs);
    regs[kRegFrequencyCommand] = value;
    Put(regs, kRegSetFrequency, value);
    m_dirty = true;
    Advance(regs, nowMs);
}

void CSimDriveMotion::SetRunCommand(std::map<std::uint16_t, std::uint16_t>& regs, bool run, std::int64_t nowMs)
{
    Advance(regs, nowMs);
    std::uint16_t& command = regs[kRegCommandWord];
    command = run ? (command | kCommandRun) : (command & ~kCommandRun);
    m_dirty = true;
    Advance(regs, nowMs);
}

void CSimDriveMotion::SetFault(std::map<std::uint16_t, std::uint16_t>& regs, std::uint16_t code, std::int64_t nowMs)
{
    Advance(regs, nowMs);
    regs[kRegFaultCode] = code;
    if (code != 0)
        regs[kRegLatestFault] = code;
    std::uint16_t& status = regs[kRegStatusWord];
    status = code != 0 ? (status | kStatusFault) : (status & ~kStatusFault);
    m_dirty = true;
    Advance(regs, nowMs);
}

void CSimDriveMotion::SetTerminals(std::map<std::uint16_t, std::uint16_t>& regs, std::uint16_t bits, std::int64_t nowMs)
{
    m_terminals = bits;
    m_dirty = true;
    Advance(regs, nowMs);
}

} // namespace SimDrive
