#pragma once
// How the live windows change the drive's command word 0x2501 (bit 0 run,
// bit 1 reverse, bit 2 external fault, bit 3 fault reset, bit 4 jog forward,
// bit 5 jog reverse).

#include <cstdint>
#include <optional>

constexpr std::uint16_t kRegCommandWord = 0x2501;
constexpr std::uint16_t kRegFrequencyCommand = 0x2502;
constexpr std::uint16_t kRegStatusWord = 0x2520;
constexpr std::uint16_t kRegTerminalWord = 0x2522;
constexpr std::uint16_t kRegCommandSources = 0x0002; // 00-02 to 00-06
constexpr std::uint16_t kRegFrequencyLimits = 0x000C; // 00-12 upper, 00-13 lower

constexpr std::uint16_t kBitRun = 0x0001;
constexpr std::uint16_t kBitReverse = 0x0002;
constexpr std::uint16_t kBitExternalFault = 0x0004;
constexpr std::uint16_t kBitFaultReset = 0x0008;
constexpr std::uint16_t kBitJogForward = 0x0010;
constexpr std::uint16_t kBitJogReverse = 0x0020;

// The control window's buttons; each rewrites the freshly read word.
enum class ControlCommand { Run, Stop, Forward, Reverse, Abnormal, FaultReset };
std::uint16_t ApplyControlCommand(ControlCommand command, std::uint16_t word);

// The keypad's RUN and STOP/RESET: nothing to write when the drive already
// runs (RUN) or already stands (STOP).
std::optional<std::uint16_t> KeypadRunWord(std::uint16_t word);
std::optional<std::uint16_t> KeypadStopWord(std::uint16_t word);

// A jog button on a freshly read word: sets its bit when the button offers to
// start jogging, clears it when it offers to stop.
std::uint16_t JogWord(std::uint16_t freshWord, std::uint16_t jogBit, bool start);
