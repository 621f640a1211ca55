#include "tools/SimDriveModel.h"
#include "tools/SimDriveMotion.h"

#include "tools/SimDriveRegisters.h"

#include <algorithm>
#include <climits>
#include <cstdint>

using namespace SimDrive;

namespace {

constexpr std::size_t kLogLimit = 100000;
// Modbus limits on one request.
constexpr int kMaxReadCount = 125;
constexpr int kMaxWriteCount = 123;

std::uint16_t Word(const std::vector<std::uint8_t>& frame, std::size_t offset)
{
    return static_cast<std::uint16_t>(frame[offset] << 8 | frame[offset + 1]);
}

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void AppendCrc(std::vector<std::uint8_t>& frame)
{
    const std::uint16_t crc = CSimDriveModel::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
}

// What the drive reports about itself: model number, version, latest fault,
// and the status block.
bool IsReadOnly(std::uint16_t reg)
{
    return reg == kRegCapacity || reg == kRegVersion || reg == kRegLatestFault
        || (reg >= kRegStatusWord && reg <= kRegMonitorLast);
}

bool IsParameter(std::uint16_t reg)
{
    return reg < ParamRegister(15, 0);
}

} // namespace

std::chrono::nanoseconds SimCharTime(const SimLineFormat& line)
{
    if (line.baud == 0)
        return std::chrono::nanoseconds::zero();
    const int bits = 1 + line.dataBits + (line.parity == 'N' || line.parity == 'n' ? 0 : 1) + line.stopBits;
    return std::chrono::nanoseconds(1'000'000'000LL * bits / line.baud);
}

std::chrono::nanoseconds SimSilentInterval(const SimLineFormat& line)
{
    if (line.baud == 0)
        return std::chrono::nanoseconds::zero();
    if (line.baud > 19200)
        return std::chrono::microseconds(1750);
    return SimCharTime(line) * 7 / 2;
}

std::size_t SimRequestLength(const std::vector<std::uint8_t>& buf)
{
    if (buf.size() < 2)
        return 0;
    switch (buf[1]) {
    case 0x03:
    case 0x06:
        return 8;
    case 0x10:
        return buf.size() < 7 ? 0 : 9 + static_cast<std::size_t>(buf[6]);
    default:
        return SIZE_MAX;
    }
}

bool SimCrcOk(const std::vector<std::uint8_t>& frame)
{
    if (frame.size() < 4)
        return false;
    const std::uint16_t crc = CSimDriveModel::Crc16(frame.data(), frame.size() - 2);
    return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}

struct CSimDriveModel::Station {
    SimStationConfig config;
    std::string definitionFile;
    std::map<std::uint16_t, std::uint16_t> regs;
    std::map<std::uint16_t, WordRange> ranges;
    std::map<std::uint16_t, std::uint8_t> forced;
    bool silent = false;
    bool corruptCrc = false;
    int delayMs = 0;
    int answerAs = 0;
    std::size_t replyLength = 0;
    // Password: 0 none, 1 a first value written and awaiting its repetition, 2 active.
    int passwordState = 0;
    std::uint16_t password = 0;
    SimDrive::CSimDriveMotion motion;
};

std::uint16_t CSimDriveModel::Crc16(const std::uint8_t* data, std::size_t length)
{
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    return crc;
}

CSimDriveModel::CSimDriveModel(SimDriveConfig config, const SimClock* clock)
    : m_config(std::move(config))
    , m_clock(clock ? clock : &m_systemClock)
{
    for (const SimStationConfig& stationConfig : m_config.stations) {
        auto station = std::make_unique<Station>();
        station->config = stationConfig;
        station->regs = BuiltInRegisters(stationConfig.modelCode, stationConfig.version);
        // The power-up words in the forms the program reads them in at this
        // drive's model and version (10-05 is x0.1 below 1.1 on an S drive).
        const DriveIdentity identity{stationConfig.modelCode, stationConfig.version};
        std::map<std::uint16_t, WordRange>* ranges = m_config.keepRanges ? &station->ranges : nullptr;
        if (!m_config.definitionFile.empty()) {
            // A file of its own: the values it states, as they stand.
            if (LoadDefinitionFile(m_config.definitionFile, &station->regs, ranges, &identity))
                station->definitionFile = m_config.definitionFile;
        } else if (!m_config.dataDir.empty()) {
            // What a new project of the model holds, so that a Compare of a
            // new project with a new drive finds nothing.
            if (LoadNewProjectValues(m_config.dataDir, identity, &station->regs, ranges)) {
                std::string file = m_config.dataDir;
                if (file.back() != '/')
                    file += '/';
                station->definitionFile = file + DefinitionFileName(stationConfig.modelCode);
            }
        }
        // The drive's identity wins over whatever the definition file shows for it.
        const auto builtIn = BuiltInRegisters(stationConfig.modelCode, stationConfig.version);
        for (std::uint16_t reg : { kRegCapacity, kRegVersion, kRegPassword, kRegSeriesCode, kRegStatusWord }) {
            station->regs[reg] = builtIn.at(reg);
        }
        m_stations.push_back(std::move(station));
    }
}

CSimDriveModel::~CSimDriveModel() = default;

SimClock::time_point CSimDriveModel::Now() const
{
    return m_clock->Now();
}

std::string CSimDriveModel::GetDefinitionFile(int station) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Station* found = FindStation(station);
    return found ? found->definitionFile : std::string();
}

CSimDriveModel::Station* CSimDriveModel::FindStation(int station)
{
    for (auto& candidate : m_stations) {
        if (candidate->config.station == station)
            return candidate.get();
    }
    return nullptr;
}

const CSimDriveModel::Station* CSimDriveModel::FindStation(int station) const
{
    for (const auto& candidate : m_stations) {
        if (candidate->config.station == station)
            return candidate.get();
    }
    return nullptr;
}

template <typename F> void CSimDriveModel::ForEachStation(int station, F f)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& candidate : m_stations) {
        if (station == kSimAllStations || candidate->config.station == station)
            f(*candidate);
    }
}

bool CSimDriveModel::GetRegister(int station, std::uint16_t reg, std::uint16_t* value) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Station* found = FindStation(station);
    if (!found)
        return false;
    const auto it = found->regs.find(reg);
    if (it == found->regs.end())
        return false;
    *value = it->second;
    return true;
}

std::uint16_t CSimDriveModel::GetRegister(int station, std::uint16_t reg) const
{
    std::uint16_t value = 0;
    return GetRegister(station, reg, &value) ? value : 0;
}

bool CSimDriveModel::SetRegister(int station, std::uint16_t reg, std::uint16_t value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Station* found = FindStation(station);
    if (!found)
        return false;
    const auto it = found->regs.find(reg);
    if (it == found->regs.end())
        return false;
    it->second = value;
    return true;
}

void CSimDriveModel::AddRegister(int station, std::uint16_t reg, std::uint16_t value)
{
    ForEachStation(station, [&](Station& s) { s.regs[reg] = value; });
}

void CSimDriveModel::RemoveRegister(int station, std::uint16_t reg)
{
    ForEachStation(station, [&](Station& s) { s.regs.erase(reg); });
}

void CSimDriveModel::SetRegisterRange(int station, std::uint16_t reg, int min, int max)
{
    ForEachStation(station, [&](Station& s) { s.ranges[reg] = WordRange { min, max }; });
}

void CSimDriveModel::ForceException(int station, std::uint16_t reg, std::uint8_t code)
{
    ForEachStation(station, [&](Station& s) {
        if (code == 0) {
            s.forced.erase(reg);
        } else {
            s.forced[reg] = code;
        }
    });
}

void CSimDriveModel::SetSilent(int station, bool silent)
{
    if (station == kSimAllStations) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_silentAll = silent;
        if (!silent) {
            for (auto& s : m_stations)
                s->silent = false;
        }
        return;
    }
    ForEachStation(station, [&](Station& s) { s.silent = silent; });
}

void CSimDriveModel::SetCorruptCrc(int station, bool corrupt)
{
    ForEachStation(station, [&](Station& s) { s.corruptCrc = corrupt; });
}

void CSimDriveModel::SetReplyDelay(int station, int milliseconds)
{
    ForEachStation(station, [&](Station& s) { s.delayMs = std::max(0, milliseconds); });
}

void CSimDriveModel::SetAnswerAs(int station, int answerAs)
{
    ForEachStation(station, [&](Station& s) { s.answerAs = answerAs; });
}

void CSimDriveModel::SetReplyLength(int station, std::size_t length)
{
    ForEachStation(station, [&](Station& s) { s.replyLength = length; });
}

void CSimDriveModel::SetPassword(int station, std::uint16_t password)
{
    ForEachStation(station, [&](Station& s) {
        s.password = password;
        s.passwordState = 2;
        s.regs[kRegPassword] = 2;
    });
}

void CSimDriveModel::ClearPassword(int station)
{
    ForEachStation(station, [&](Station& s) {
        s.passwordState = 0;
        s.regs[kRegPassword] = 0;
    });
}

bool CSimDriveModel::IsPasswordActive(int station) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Station* found = FindStation(station);
    return found && found->passwordState == 2;
}

void CSimDriveModel::SetRunning(int station, bool running)
{
    ForEachStation(station, [&](Station& s) { s.motion.SetRunCommand(s.regs, running, m_motionClock.NowMs()); });
}

void CSimDriveModel::SetFault(int station, std::uint16_t code)
{
    ForEachStation(station, [&](Station& s) { s.motion.SetFault(s.regs, code, m_motionClock.NowMs()); });
}

void CSimDriveModel::SetTerminals(int station, std::uint16_t bits)
{
    ForEachStation(station, [&](Station& s) { s.motion.SetTerminals(s.regs, bits, m_motionClock.NowMs()); });
}

void CSimDriveModel::UseSteppedClock()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_motionClock.UseStepped();
}

void CSimDriveModel::AdvanceClock(std::chrono::milliseconds step)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_motionClock.Advance(step);
    }
    ForEachStation(kSimAllStations, [&](Station& s) { s.motion.Advance(s.regs, m_motionClock.NowMs()); });
}

std::vector<SimFrame> CSimDriveModel::GetFrameLog() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::vector<SimFrame>(m_log.begin(), m_log.end());
}

std::vector<SimFrame> CSimDriveModel::GetFramesFrom(std::size_t first) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::size_t oldestKept = m_frameCount - m_log.size();
    const std::size_t skip = first > oldestKept ? std::min(first - oldestKept, m_log.size()) : 0;
    return std::vector<SimFrame>(m_log.begin() + static_cast<long>(skip), m_log.end());
}

std::size_t CSimDriveModel::GetFrameCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frameCount;
}

void CSimDriveModel::ClearFrameLog()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_log.clear();
    m_frameCount = 0;
}

bool CSimDriveModel::WaitForFrameCount(std::size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_logged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_frameCount >= count; });
}

SimAnswer CSimDriveModel::HandleFrame(SimFrame frame, bool mayAnswer)
{
    SimAnswer answer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (mayAnswer && frame.crcOk && frame.request.size() >= 4) {
            const std::vector<std::uint8_t>& request = frame.request;
            const int address = request[0];
            const std::uint8_t function = request[1];
            if (address == 0) {
                if (function == 0x06 || function == 0x10) {
                    for (auto& station : m_stations)
                        Answer(*station, request);
                }
            } else if (Station* station = FindStation(address); station && !m_silentAll && !station->silent) {
                std::vector<std::uint8_t> reply = Answer(*station, request);
                if (station->answerAs != 0 || station->corruptCrc) {
                    if (station->answerAs != 0)
                        reply[0] = static_cast<std::uint8_t>(station->answerAs);
                    reply.resize(reply.size() - 2);
                    AppendCrc(reply);
                    if (station->corruptCrc)
                        reply.back() ^= 0x5A;
                }
                if (station->replyLength != 0 && station->replyLength < reply.size())
                    reply.resize(station->replyLength);
                answer.reply = std::move(reply);
                answer.delayMs = station->delayMs;
            }
        }
        frame.reply = answer.reply;
        m_log.push_back(std::move(frame));
        if (m_log.size() > kLogLimit)
            m_log.pop_front();
        ++m_frameCount;
    }
    m_logged.notify_all();
    return answer;
}

std::vector<std::uint8_t> CSimDriveModel::Answer(Station& station, const std::vector<std::uint8_t>& frame)
{
    station.motion.Advance(station.regs, m_motionClock.NowMs());
    const std::uint8_t address = frame[0];
    const std::uint8_t function = frame[1];
    auto refuse = [&](std::uint8_t code) {
        std::vector<std::uint8_t> reply { address, static_cast<std::uint8_t>(function | 0x80), code };
        AppendCrc(reply);
        return reply;
    };
    auto forcedIn = [&](std::uint16_t first, int count) -> std::uint8_t {
        for (int i = 0; i < count; ++i) {
            const auto it = station.forced.find(static_cast<std::uint16_t>(first + i));
            if (it != station.forced.end())
                return it->second;
        }
        return 0;
    };

    if (function == 0x03) {
        const std::uint16_t start = Word(frame, 2);
        const int count = Word(frame, 4);
        if (count < 1 || count > kMaxReadCount)
            return refuse(kSimExceptionCount);
        if (const std::uint8_t code = forcedIn(start, count))
            return refuse(code);
        std::vector<std::uint8_t> reply { address, function, static_cast<std::uint8_t>(2 * count) };
        for (int i = 0; i < count; ++i) {
            const auto it = station.regs.find(static_cast<std::uint16_t>(start + i));
            if (it == station.regs.end() || start + i > 0xFFFF)
                return refuse(kSimExceptionAddress);
            PutWord(reply, it->second);
        }
        AppendCrc(reply);
        return reply;
    }
    if (function == 0x06) {
        const std::uint16_t reg = Word(frame, 2);
        const std::uint16_t value = Word(frame, 4);
        if (const std::uint8_t code = forcedIn(reg, 1))
            return refuse(code);
        if (const std::uint8_t code = CheckWrite(station, reg, value))
            return refuse(code);
        ApplyWrite(station, reg, value);
        std::vector<std::uint8_t> reply(frame.begin(), frame.begin() + 6);
        AppendCrc(reply);
        return reply;
    }
    if (function == 0x10) {
        const std::uint16_t start = Word(frame, 2);
        const int count = Word(frame, 4);
        const std::size_t byteCount = frame[6];
        if (count < 1 || count > kMaxWriteCount || byteCount != 2u * count || frame.size() != 9 + byteCount) {
            return refuse(kSimExceptionCount);
        }
        if (const std::uint8_t code = forcedIn(start, count))
            return refuse(code);
        // All or nothing: check every register before changing any.
        for (int i = 0; i < count; ++i) {
            if (start + i > 0xFFFF)
                return refuse(kSimExceptionAddress);
            const std::uint8_t code = CheckWrite(
                station, static_cast<std::uint16_t>(start + i), Word(frame, 7 + 2 * static_cast<std::size_t>(i)));
            if (code)
                return refuse(code);
        }
        for (int i = 0; i < count; ++i) {
            ApplyWrite(
                station, static_cast<std::uint16_t>(start + i), Word(frame, 7 + 2 * static_cast<std::size_t>(i)));
        }
        std::vector<std::uint8_t> reply(frame.begin(), frame.begin() + 6);
        AppendCrc(reply);
        return reply;
    }
    return refuse(kSimExceptionFunction);
}

std::uint8_t CSimDriveModel::CheckWrite(const Station& station, std::uint16_t reg, std::uint16_t value) const
{
    if (station.regs.find(reg) == station.regs.end())
        return kSimExceptionAddress;
    if (IsReadOnly(reg))
        return kSimExceptionWriteMode;
    if (reg == kRegPassword)
        return 0;
    if (station.passwordState == 2 && IsParameter(reg))
        return kSimExceptionWriteMode;
    const auto range = station.ranges.find(reg);
    const int number
        = range != station.ranges.end() && range->second.min < 0 ? static_cast<std::int16_t>(value) : value;
    if (range != station.ranges.end() && (number < range->second.min || number > range->second.max)) {
        return kSimExceptionRange;
    }
    return 0;
}

void CSimDriveModel::ApplyWrite(Station& station, std::uint16_t reg, std::uint16_t value)
{
    auto& regs = station.regs;
    if (reg == kRegPassword) {
        if (station.passwordState == 2) {
            if (value == station.password)
                station.passwordState = 0;
        } else if (station.passwordState == 1 && value == station.password) {
            station.passwordState = 2;
        } else {
            station.password = value;
            station.passwordState = 1;
        }
        regs[kRegPassword] = static_cast<std::uint16_t>(station.passwordState);
        return;
    }
    if (reg == kRegCommandWord)
        station.motion.OnCommandWord(regs, value, m_motionClock.NowMs());
    else if (reg == kRegFrequencyCommand)
        station.motion.OnFrequencyCommand(regs, value, m_motionClock.NowMs());
    else
        regs[reg] = value;
}

