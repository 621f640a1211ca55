// d390-simdrive: a simulated drive for trying the program without hardware
// and for benchmarks. Prints the pseudo-terminal's device path as its first
// line, then serves until it is stopped (SIGINT or SIGTERM).

#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ProgramFolder.h"
#include "tools/SimDriveRegisters.h"
#include "tools/SimulatedDrive.h"

namespace {

const char kUsage[] = "Usage: d390-simdrive [options]\n"
                      "A simulated drive: Modbus RTU stations on a pseudo-terminal (its path is the first\n"
                      "line printed) and, with --tcp, on TCP as a network adapter module. With --tcp or\n"
                      "--udp the next lines name the adapter's address and ports: \"tcp 127.0.0.1 10001\",\n"
                      "\"udp 127.0.0.1 30719\". Runs until SIGINT or SIGTERM.\n"
                      "\n"
                      "Drive:\n"
                      "  --model CODE           model code, decimal or 0x hex (default 1202 = 0x4B2);\n"
                      "                         codes above 0x1100000 are the S family, above 0x1110000 S-P\n"
                      "  --version N            register 13-01, software version x 1000 (default 1100)\n"
                      "  --stations LIST        station numbers, e.g. 1,3,5-7 (default 1)\n"
                      "  --station N:CODE[:VER] one more station with a model (and version) of its own\n"
                      "  --data-dir DIR         folder of the program's data files (PARAM.DAT, PARAMS.DAT,\n"
                      "                         PARAMSP.DAT, IntialParam.DAT; default: this program's folder):\n"
                      "                         a drive starts with the values of a new project of its model\n"
                      "  --param-file PATH      definition file whose values every station takes instead\n"
                      "  --ranges               refuse writes outside the MIN~MAX ranges of the definition\n"
                      "                         file's remarks (exception 0x54)\n"
                      "\n"
                      "Line and network:\n"
                      "  --no-pty               serve no pseudo-terminal (the first line is then empty)\n"
                      "  --pty-link PATH        also make PATH a symbolic link to the pseudo-terminal while\n"
                      "                         running, a port name that stays the same between runs\n"
                      "  --baud B               pace replies at B baud (default: no pacing)\n"
                      "  --format 8N1           character format for pacing: data bits, parity N/E/O, stop bits\n"
                      "  --strict-silence       with --baud, ignore a request that comes before the line's silent\n"
                      "                         interval (3.5 characters, 1.75 ms above 19200 baud) after a reply\n"
                      "  --tcp PORT             serve RTU frames over TCP on PORT (0: any free port)\n"
                      "  --udp PORT             answer adapter datagrams on UDP PORT (0: any; usually 30718)\n"
                      "  --ip ADDR              the adapter's own address (default 127.0.0.1)\n"
                      "  --discovery-address A  address also listened on for searches (default 127.255.255.255;\n"
                      "                         0.0.0.0 answers searches from any network)\n"
                      "  --mac XX-XX-XX-XX-XX-XX  the adapter's MAC (default 00-20-4a-00-00-01)\n"
                      "\n"
                      "Failure roads (LIST as for --stations, or all):\n"
                      "  --silent LIST          stations that never answer\n"
                      "  --corrupt-crc LIST     stations whose replies carry a wrong CRC\n"
                      "  --delay MS             answer MS milliseconds late\n"
                      "  --answer-as N          replies carry station number N instead\n"
                      "  --reply-length N       replies are cut to N bytes\n"
                      "  --password N           a parameter password N is active (13-07 reads 2)\n"
                      "  --running              the drives run (the run bit of the command word)\n"
                      "  --comm-control         run and frequency commands come from communication\n"
                      "                         (00-02 = 2, 00-05 = 5), so that RUN and a frequency work at once\n"
                      "  --terminals BITS       terminal word bits shown besides S1/S2 and the fault relay,\n"
                      "                         binary (e.g. 0011100) or 0x hex\n"
                      "  --fault CODE           the drives report fault CODE (0x2521, status word bit 3)\n"
                      "  --exception REG:CODE   answer every request touching REG (GG-NN or 0x hex) with CODE\n"
                      "\n"
                      "  --verbose              print every request and reply on standard error\n"
                      "  --help                 this text\n";

bool ParseNumber(const std::string& text, unsigned long* value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    *value = std::strtoul(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    return *end == '\0' && end != text.c_str() + (hex ? 2 : 0);
}

// "1,3,5-7" -> {1, 3, 5, 6, 7}; "all" -> {0}.
bool ParseStations(const std::string& text, std::vector<int>* stations)
{
    stations->clear();
    if (text == "all") {
        stations->push_back(kSimAllStations);
        return true;
    }
    std::set<int> seen;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        unsigned long first = 0;
        unsigned long last = 0;
        const size_t dash = part.find('-');
        if (dash == std::string::npos) {
            if (!ParseNumber(part, &first))
                return false;
            last = first;
        } else if (!ParseNumber(part.substr(0, dash), &first) || !ParseNumber(part.substr(dash + 1), &last)) {
            return false;
        }
        if (first < 1 || last > 247 || first > last)
            return false;
        for (unsigned long s = first; s <= last; ++s) {
            if (seen.insert(static_cast<int>(s)).second)
                stations->push_back(static_cast<int>(s));
        }
    }
    return !stations->empty();
}

// "0011100" (binary, bit 0 last) or "0x1C".
bool ParseTerminalBits(const std::string& text, unsigned long* bits)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseNumber(text, bits) && *bits <= 0xFFFF;
    if (text.empty() || text.size() > 16 || text.find_first_not_of("01") != std::string::npos)
        return false;
    *bits = std::strtoul(text.c_str(), nullptr, 2);
    return true;
}

// "GG-NN" or a number.
bool ParseRegister(const std::string& text, std::uint16_t* reg)
{
    if (text.size() == 5 && text[2] == '-') {
        unsigned long group = 0;
        unsigned long item = 0;
        if (!ParseNumber(text.substr(0, 2), &group) || !ParseNumber(text.substr(3), &item) || group > 255 || item > 255)
            return false;
        *reg = SimDrive::ParamRegister(static_cast<int>(group), static_cast<int>(item));
        return true;
    }
    unsigned long value = 0;
    if (!ParseNumber(text, &value) || value > 0xFFFF)
        return false;
    *reg = static_cast<std::uint16_t>(value);
    return true;
}

bool ParseMac(const std::string& text, std::array<std::uint8_t, 6>* mac)
{
    unsigned parts[6];
    char tail = 0;
    if (std::sscanf(text.c_str(), "%2x-%2x-%2x-%2x-%2x-%2x%c", &parts[0], &parts[1], &parts[2], &parts[3], &parts[4],
            &parts[5], &tail)
        != 6)
        return false;
    for (int i = 0; i < 6; ++i)
        (*mac)[i] = static_cast<std::uint8_t>(parts[i]);
    return true;
}

bool ParseFormat(const std::string& text, SimLineFormat* line)
{
    if (text.size() != 3 || (text[0] != '7' && text[0] != '8') || std::strchr("NEOneo", text[1]) == nullptr
        || (text[2] != '1' && text[2] != '2'))
        return false;
    line->dataBits = text[0] - '0';
    line->parity = static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])));
    line->stopBits = text[2] - '0';
    return true;
}

std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    std::string out;
    char buf[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", b);
        out += buf;
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

int Fail(const std::string& message)
{
    std::cerr << "d390-simdrive: " << message << "\n(--help lists the options)\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    SimDriveConfig config;
    unsigned long model = 1202;
    unsigned long version = 1100;
    std::vector<int> stations { 1 };
    std::vector<SimStationConfig> ownStations;
    std::string ptyLink;
    std::vector<int> silent;
    std::vector<int> corrupt;
    unsigned long delayMs = 0;
    unsigned long answerAs = 0;
    unsigned long replyLength = 0;
    long password = -1;
    bool running = false;
    bool commControl = false;
    unsigned long terminals = 0;
    unsigned long fault = 0;
    bool verbose = false;
    std::vector<std::pair<std::uint16_t, std::uint8_t>> exceptions;
    config.dataDir = ExecutableFolder();

    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc)
                return false;
            *out = argv[++i];
            return true;
        };
        std::string text;
        unsigned long number = 0;
        if (option == "--help" || option == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (option == "--model") {
            if (!value(&text) || !ParseNumber(text, &model) || model > 0x7FFFFFFF)
                return Fail("--model needs a model code");
        } else if (option == "--version") {
            if (!value(&text) || !ParseNumber(text, &version) || version > 0xFFFF)
                return Fail("--version needs a number from 0 to 65535");
        } else if (option == "--stations") {
            if (!value(&text) || !ParseStations(text, &stations) || stations[0] == kSimAllStations)
                return Fail("--stations needs a list such as 1,3,5-7 (stations 1 to 247)");
        } else if (option == "--station") {
            unsigned long station = 0;
            unsigned long code = 0;
            unsigned long ownVersion = 0;
            std::vector<std::string> parts;
            if (value(&text)) {
                std::stringstream in(text);
                for (std::string part; std::getline(in, part, ':');)
                    parts.push_back(part);
            }
            if (parts.size() < 2 || parts.size() > 3 || !ParseNumber(parts[0], &station) || station < 1 || station > 247
                || !ParseNumber(parts[1], &code) || code > 0x7FFFFFFF
                || (parts.size() == 3 && (!ParseNumber(parts[2], &ownVersion) || ownVersion > 0xFFFF)))
                return Fail("--station needs STATION:MODEL or STATION:MODEL:VERSION, e.g. 4:0x11004B2:1093");
            ownStations.push_back({ static_cast<int>(station), static_cast<std::uint32_t>(code),
                parts.size() == 3 ? static_cast<int>(ownVersion) : -1 });
        } else if (option == "--data-dir") {
            if (!value(&config.dataDir))
                return Fail("--data-dir needs a folder");
        } else if (option == "--param-file") {
            if (!value(&config.definitionFile))
                return Fail("--param-file needs a path");
        } else if (option == "--ranges") {
            config.keepRanges = true;
        } else if (option == "--reply-length") {
            if (!value(&text) || !ParseNumber(text, &replyLength) || replyLength == 0 || replyLength > 255)
                return Fail("--reply-length needs a number of bytes");
        } else if (option == "--pty-link") {
            if (!value(&ptyLink) || ptyLink.empty())
                return Fail("--pty-link needs a path");
        } else if (option == "--no-pty") {
            config.servePty = false;
        } else if (option == "--baud") {
            if (!value(&text) || !ParseNumber(text, &number) || number == 0 || number > 4000000)
                return Fail("--baud needs a line speed");
            config.line.baud = static_cast<unsigned>(number);
        } else if (option == "--strict-silence") {
            config.line.ignoreEarly = true;
        } else if (option == "--format") {
            if (!value(&text) || !ParseFormat(text, &config.line))
                return Fail("--format needs data bits, parity and stop bits, e.g. 8N1 or 8E1");
        } else if (option == "--tcp" || option == "--udp") {
            if (!value(&text) || !ParseNumber(text, &number) || number > 65535)
                return Fail(option + " needs a port number");
            (option == "--tcp" ? config.tcpPort : config.udpPort) = static_cast<int>(number);
        } else if (option == "--ip") {
            if (!value(&config.moduleIp))
                return Fail("--ip needs an address");
        } else if (option == "--discovery-address") {
            if (!value(&config.discoveryAddress))
                return Fail("--discovery-address needs an address");
        } else if (option == "--mac") {
            if (!value(&text) || !ParseMac(text, &config.mac))
                return Fail("--mac needs six hexadecimal pairs joined by '-'");
        } else if (option == "--silent" || option == "--corrupt-crc") {
            if (!value(&text) || !ParseStations(text, option == "--silent" ? &silent : &corrupt))
                return Fail(option + " needs a station list or all");
        } else if (option == "--delay") {
            if (!value(&text) || !ParseNumber(text, &delayMs) || delayMs > 600000)
                return Fail("--delay needs milliseconds");
        } else if (option == "--answer-as") {
            if (!value(&text) || !ParseNumber(text, &answerAs) || answerAs > 255)
                return Fail("--answer-as needs a station number");
        } else if (option == "--password") {
            if (!value(&text) || !ParseNumber(text, &number) || number > 65535)
                return Fail("--password needs a number from 0 to 65535");
            password = static_cast<long>(number);
        } else if (option == "--running") {
            running = true;
        } else if (option == "--comm-control") {
            commControl = true;
        } else if (option == "--terminals") {
            if (!value(&text) || !ParseTerminalBits(text, &terminals))
                return Fail("--terminals needs binary digits (bit 0 last) or a 0x hex word");
        } else if (option == "--fault") {
            if (!value(&text) || !ParseNumber(text, &fault) || fault == 0 || fault > 0xFFFF)
                return Fail("--fault needs a fault code, e.g. 19");
        } else if (option == "--exception") {
            std::uint16_t reg = 0;
            if (!value(&text))
                return Fail("--exception needs REG:CODE");
            const size_t at = text.find(':');
            if (at == std::string::npos || !ParseRegister(text.substr(0, at), &reg)
                || !ParseNumber(text.substr(at + 1), &number) || number == 0 || number > 255)
                return Fail("--exception needs REG:CODE, e.g. 13-01:0x52");
            exceptions.emplace_back(reg, static_cast<std::uint8_t>(number));
        } else if (option == "--verbose") {
            verbose = true;
        } else {
            return Fail("unknown option " + option);
        }
    }

    config.stations.clear();
    for (int station : stations) {
        const bool own = std::any_of(
            ownStations.begin(), ownStations.end(), [&](const SimStationConfig& s) { return s.station == station; });
        if (!own)
            config.stations.push_back({ station, static_cast<std::uint32_t>(model), static_cast<int>(version) });
    }
    for (SimStationConfig station : ownStations) {
        if (station.version < 0)
            station.version = static_cast<int>(version);
        config.stations.push_back(station);
    }

    CSimulatedDrive drive(config);
    for (int station : silent)
        drive.SetSilent(station, true);
    for (int station : corrupt)
        drive.SetCorruptCrc(station, true);
    drive.SetReplyDelay(kSimAllStations, static_cast<int>(delayMs));
    drive.SetAnswerAs(kSimAllStations, static_cast<int>(answerAs));
    drive.SetReplyLength(kSimAllStations, replyLength);
    if (password >= 0)
        drive.SetPassword(kSimAllStations, static_cast<std::uint16_t>(password));
    for (const SimStationConfig& station : config.stations) {
        if (commControl) {
            drive.SetRegister(station.station, SimDrive::ParamRegister(0, 2), 2);
            drive.SetRegister(station.station, SimDrive::ParamRegister(0, 5), 5);
        }
    }
    drive.SetTerminals(kSimAllStations, static_cast<std::uint16_t>(terminals));
    drive.SetRunning(kSimAllStations, running);
    if (fault != 0)
        drive.SetFault(kSimAllStations, static_cast<std::uint16_t>(fault));
    for (const auto& [reg, code] : exceptions)
        drive.ForceException(kSimAllStations, reg, code);

    // Stop on a signal, taken synchronously below.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    std::string error;
    if (!drive.Start(&error)) {
        Fail(error);
        return 1;
    }
    if (!ptyLink.empty() && !drive.GetPtyPath().empty()) {
        // Replace only an earlier link of ours, never a file.
        struct stat info { };
        if (::lstat(ptyLink.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
            ::unlink(ptyLink.c_str());
        if (::symlink(drive.GetPtyPath().c_str(), ptyLink.c_str()) != 0) {
            Fail("cannot make the link " + ptyLink + ": " + std::strerror(errno));
            return 1;
        }
    }
    std::cout << drive.GetPtyPath() << std::endl;
    if (drive.GetTcpPort() >= 0)
        std::cout << "tcp " << drive.GetModuleIp() << " " << drive.GetTcpPort() << std::endl;
    if (drive.GetUdpPort() >= 0)
        std::cout << "udp " << drive.GetModuleIp() << " " << drive.GetUdpPort() << std::endl;
    for (const SimStationConfig& station : config.stations) {
        const std::string definition = drive.GetDefinitionFile(station.station);
        std::cerr << "d390-simdrive: station " << station.station << ", model 0x" << std::hex << station.modelCode
                  << std::dec << ", version " << station.version << ", "
                  << (definition.empty() ? "no definition file (registers start at 0)" : "registers from " + definition)
                  << "\n";
    }

    std::size_t shown = 0;
    for (;;) {
        timespec tick { 0, 100 * 1000 * 1000 };
        if (sigtimedwait(&signals, nullptr, &tick) > 0)
            break;
        if (!verbose)
            continue;
        for (const SimFrame& frame : drive.GetFramesFrom(shown)) {
            std::cerr << (frame.transport == SimTransport::Pty ? "pty" : "tcp") << " <- " << Hex(frame.request)
                      << (frame.crcOk ? "" : " (bad CRC)") << "\n";
            if (!frame.reply.empty())
                std::cerr << "    -> " << Hex(frame.reply) << "\n";
            ++shown;
        }
    }
    drive.Stop();
    if (!ptyLink.empty())
        ::unlink(ptyLink.c_str());
    return 0;
}
