#include "monitor/CommandWords.h"

std::uint16_t ApplyControlCommand(ControlCommand command, std::uint16_t word)
{
    switch (command) {
    case ControlCommand::Run: return word | kBitRun;
    case ControlCommand::Stop: return word & 0xFFFE;
    case ControlCommand::Forward: return word & 0xFFFD;
    case ControlCommand::Reverse: return word | kBitReverse;
    case ControlCommand::Abnormal: return word | kBitExternalFault;
    case ControlCommand::FaultReset: return word | kBitFaultReset;
    }
    return word;
}

std::optional<std::uint16_t> KeypadRunWord(std::uint16_t word)
{
    if (word & kBitRun)
        return std::nullopt;
    return static_cast<std::uint16_t>(word | kBitRun);
}

std::optional<std::uint16_t> KeypadStopWord(std::uint16_t word)
{
    if (!(word & kBitRun))
        return std::nullopt;
    return static_cast<std::uint16_t>(word & 0xFFFE);
}

std::uint16_t JogWord(std::uint16_t freshWord, std::uint16_t jogBit, bool start)
{
    return start ? static_cast<std::uint16_t>(freshWord | jogBit) : static_cast<std::uint16_t>(freshWord & ~jogBit);
}
