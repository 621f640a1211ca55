#pragma once
// How a simulated drive moves: the output frequency ramps towards the
// frequency command (or the jog frequency) at the drive's own acceleration and
// deceleration times, the monitor values follow it, the external-fault bit
// trips the drive and the fault-reset bit clears the trip. Time comes from a
// clock that tests step by hand, so a test sees the same drive every run.

#include <chrono>
#include <cstdint>
#include <map>

namespace SimDrive {

// Command word bits besides run, reverse and fault reset.
constexpr std::uint16_t kCommandExternalFault = 0x0004;
constexpr std::uint16_t kCommandJogForward = 0x0010;
constexpr std::uint16_t kCommandJogReverse = 0x0020;

// The fault an external-fault command raises ("EFO" in the fault table).
constexpr std::uint16_t kFaultExternal = 14;

// Terminal word bits the drive drives itself.
constexpr std::uint16_t kTerminalS1 = 0x0001; // forward run
constexpr std::uint16_t kTerminalS2 = 0x0002; // reverse run
constexpr std::uint16_t kTerminalRelay = 0x0040; // fault relay

// Milliseconds since the drive started: the steady clock, or, once stepped,
// only what Advance adds.
class CSimDriveClock {
public:
    CSimDriveClock();
    std::int64_t NowMs() const;
    // From now on time moves only by Advance (it starts where it stands).
    void UseStepped();
    void Advance(std::chrono::milliseconds step);
    bool IsStepped() const { return m_stepped; }

private:
    std::chrono::steady_clock::time_point m_start;
    bool m_stepped = false;
    std::int64_t m_steppedMs = 0;
};

// The motion of one station, kept beside its registers. Every call takes the
// registers of that station and the clock's time; the caller serialises them.
class CSimDriveMotion {
public:
    // Brings output frequency and monitor values up to nowMs. A drive at rest
    // with nothing commanded leaves its registers alone, so words a test set
    // by hand stay as set.
    void Advance(std::map<std::uint16_t, std::uint16_t>& regs, std::int64_t nowMs);

    // A write of the command word: run, direction and jog bits are kept, the
    // external-fault bit trips the drive (fault 14, coasting to 0, run and jog
    // dropped) and the fault-reset bit clears a fault; both read back 0.
    void OnCommandWord(std::map<std::uint16_t, std::uint16_t>& regs, std::uint16_t value, std::int64_t nowMs);
    // A write of the frequency command (hundredths of a hertz).
    void OnFrequencyCommand(std::map<std::uint16_t, std::uint16_t>& regs, std::uint16_t value, std::int64_t nowMs);

    // Set from outside (switches of the drive, not frames).
    void SetRunCommand(std::map<std::uint16_t, std::uint16_t>& regs, bool run, std::int64_t nowMs);
    void SetFault(std::map<std::uint16_t, std::uint16_t>& regs, std::uint16_t code, std::int64_t nowMs);
    // Terminal bits always shown on top of those the drive drives (S1, S2, relay).
    void SetTerminals(std::map<std::uint16_t, std::uint16_t>& regs, std::uint16_t bits, std::int64_t nowMs);

    // Signed output frequency in hundredths of a hertz (negative: reverse).
    double OutputFrequency() const { return m_output; }

private:
    void Publish(std::map<std::uint16_t, std::uint16_t>& regs, bool accelerating, std::int64_t stepMs);

    bool m_started = false;
    std::int64_t m_lastMs = 0;
    double m_output = 0; // hundredths of a hertz, signed
    bool m_jogging = false; // the last target came from a jog bit: jog ramp times
    bool m_dirty = false; // a command changed since the registers were last written
    std::uint16_t m_terminals = 0;
    double m_temperature = 250; // tenths of a degree
};

} // namespace SimDrive
