#include "session/CommSettings.h"

#include "platform/FileWrite.h"
#include "platform/OwnFileRead.h"

#include <libserialport.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string g_strCommPort;
int g_nBaudIndex = 2;
int g_nDataBitsIndex = 1;
int g_nParityIndex = 2;
int g_nStopBitsIndex = 1;
std::string g_strStationText;
std::string g_strAppFolder;

namespace {

constexpr const char* kCommSettingsFile = "lcomfile.ini";

// Four short lines, or a list of adapters; anything larger is not ours.
constexpr std::size_t kSettingsFileBound = 64 * 1024;

constexpr unsigned long kBauds[] = {4800, 9600, 19200, 38400};
constexpr int kDataBits[] = {7, 8};
constexpr int kParityCodes[] = {2, 1, 0};
constexpr int kStopBits[] = {1, 2};

constexpr int kDefaultBaudIndex = 2;
constexpr int kDefaultDataBitsIndex = 1;
constexpr int kDefaultParityIndex = 2;
constexpr int kDefaultStopBitsIndex = 1;

// Older files name ports by number; no system has more COM ports than this.
constexpr int kHighestComNumber = 255;

template <typename T, std::size_t N>
T ValueOfIndex(const T (&values)[N], int index, int fallback)
{
    if (index < 0 || index >= static_cast<int>(N))
        index = fallback;
    return values[index];
}

int IndexInRange(int value, int count, int fallback)
{
    return value >= 0 && value < count ? value : fallback;
}

bool IsDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string TrimBlanks(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}


// The leading-digits value that the older files were read with, kept within int.
long LeadingNumber(const std::string& text)
{
    long value = std::strtol(text.c_str(), nullptr, 10);
    return std::clamp(value, -100000L, 100000L);
}

bool IsOldPortNumber(const std::string& text)
{
    return IsDigits(text) || (text.size() > 1 && text[0] == '-' && IsDigits(text.substr(1)));
}

// "COM3" (any case), as hand-over files of the older form name a port.
bool ParseComName(const std::string& text, int* number)
{
    if (text.size() < 4 || !IsDigits(text.substr(3)))
        return false;
    std::string prefix = text.substr(0, 3);
    std::transform(prefix.begin(), prefix.end(), prefix.begin(), [](unsigned char c) { return std::toupper(c); });
    if (prefix != "COM" || text.size() > 6)
        return false;
    *number = std::atoi(text.c_str() + 3);
    return *number >= 1;
}

std::string PortOfSettingsLine(const std::string& line)
{
    std::string text = TrimBlanks(line);
    if (!IsOldPortNumber(text))
        return text;
    long number = LeadingNumber(text);
    if (number > kHighestComNumber)
        return {};
    return PortPathOfComNumber(static_cast<int>(number));
}

int BaudIndexOf(unsigned long baud)
{
    for (int index = 0; index < 4; ++index)
        if (kBauds[index] == baud)
            return index;
    return kDefaultBaudIndex;
}

} // namespace

void ResetCommSettings()
{
    g_strCommPort.clear();
    g_nBaudIndex = kDefaultBaudIndex;
    g_nDataBitsIndex = kDefaultDataBitsIndex;
    g_nParityIndex = kDefaultParityIndex;
    g_nStopBitsIndex = kDefaultStopBitsIndex;
    g_strStationText.clear();
}

unsigned long BaudOfIndex(int index)
{
    return ValueOfIndex(kBauds, index, kDefaultBaudIndex);
}

int DataBitsOfIndex(int index)
{
    return ValueOfIndex(kDataBits, index, kDefaultDataBitsIndex);
}

int ParityCodeOfIndex(int index)
{
    return ValueOfIndex(kParityCodes, index, kDefaultParityIndex);
}

int StopBitsOfIndex(int index)
{
    return ValueOfIndex(kStopBits, index, kDefaultStopBitsIndex);
}

std::string PortPathOfComNumber(int number)
{
    if (number < 0)
        return kNetPortName;
    return "/dev/ttyS" + std::to_string(number);
}

std::string FormatCommSettings()
{
    std::ostringstream out;
    out << g_strCommPort << '\n'
        << g_nBaudIndex << '\n'
        << g_nDataBitsIndex << g_nParityIndex << g_nStopBitsIndex << '\n'
        << g_strStationText << '\n';
    return out.str();
}

void ParseCommSettings(std::istream& in)
{
    std::string line;
    ReadSettingsLine(in, line);
    g_strCommPort = PortOfSettingsLine(line);

    ReadSettingsLine(in, line);
    g_nBaudIndex = IndexInRange(static_cast<int>(LeadingNumber(line)), 4, kDefaultBaudIndex);

    // Data bits, parity and stop bits run together; another length leaves them.
    ReadSettingsLine(in, line);
    if (line.size() == 3 && IsDigits(line)) {
        g_nDataBitsIndex = IndexInRange(line[0] - '0', 2, kDefaultDataBitsIndex);
        g_nParityIndex = IndexInRange(line[1] - '0', 3, kDefaultParityIndex);
        g_nStopBitsIndex = IndexInRange(line[2] - '0', 2, kDefaultStopBitsIndex);
    }

    ReadSettingsLine(in, line);
    g_strStationText = line;
}

std::string TempFolder()
{
    std::error_code error;
    std::string folder = std::filesystem::temp_directory_path(error).string();
    if (error || folder.empty())
        folder = "/tmp";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

std::string UserSettingsFolder()
{
    std::string base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is ignored, as desktops do.
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') {
            const passwd* user = ::getpwuid(::geteuid());
            home = user ? user->pw_dir : nullptr;
        }
        if (!home || home[0] != '/')
            return {};
        base = std::string(home) + "/.config";
    }
    if (base.back() != '/')
        base += '/';
    return base + "d390/";
}

std::string OpenSettingsFileForReading(const std::string& name, std::string* content)
{
    const std::string userFolder = UserSettingsFolder();
    for (const std::string& folder : {userFolder, g_strAppFolder}) {
        if (folder.empty())
            continue;
        OwnFileRules rules;
        rules.maxBytes = kSettingsFileBound;
        rules.rootMayOwn = folder != userFolder; // an installation's program folder
        std::string reason;
        switch (ReadOwnFile(folder + name, rules, *content, reason)) {
        case OwnFileRead::Read:
            return folder + name;
        case OwnFileRead::Missing:
            break;
        case OwnFileRead::TooLarge:
        case OwnFileRead::Refused:
            ReportIgnoredFile(folder + name, reason);
            break;
        }
    }
    content->clear();
    return {};
}

std::string WriteSettingsFile(const std::string& name, const std::string& content)
{
    const std::string folder = UserSettingsFolder();
    if (folder.empty()) {
        std::fprintf(stderr, "d390: %s not saved: no home folder\n", name.c_str());
        return {};
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::string reason;
    if (error) {
        reason = error.message();
    } else if (WriteFileReplacing(folder + name, content, &reason)) {
        return folder + name;
    }
    // The Connect dialog has already reported success of the link itself;
    // the old file stays as it was.
    std::fprintf(stderr, "d390: %s%s not saved: %s\n", folder.c_str(), name.c_str(), reason.c_str());
    return {};
}

bool SaveCommSettings()
{
    return !WriteSettingsFile(kCommSettingsFile, FormatCommSettings()).empty();
}

bool LoadCommSettings()
{
    std::string content;
    if (OpenSettingsFileForReading(kCommSettingsFile, &content).empty())
        return false;
    std::istringstream in(content);
    ParseCommSettings(in);
    return true;
}

int ComparePortNames(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        bool digitA = std::isdigit(static_cast<unsigned char>(a[i]));
        bool digitB = std::isdigit(static_cast<unsigned char>(b[j]));
        if (digitA && digitB) {
            std::size_t endA = a.find_first_not_of("0123456789", i);
            std::size_t endB = b.find_first_not_of("0123456789", j);
            if (endA == std::string::npos)
                endA = a.size();
            if (endB == std::string::npos)
                endB = b.size();
            // Compare the values digit string to digit string, so no length overflows.
            std::string numA = a.substr(i, endA - i);
            std::string numB = b.substr(j, endB - j);
            numA.erase(0, std::min(numA.find_first_not_of('0'), numA.size()));
            numB.erase(0, std::min(numB.find_first_not_of('0'), numB.size()));
            if (numA.size() != numB.size())
                return numA.size() < numB.size() ? -1 : 1;
            if (int order = numA.compare(numB))
                return order < 0 ? -1 : 1;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1); // "ttyS01" and "ttyS1" stay apart
}

void InsertPortSorted(std::vector<std::string>& ports, const std::string& name)
{
    auto place = std::lower_bound(ports.begin(), ports.end(), name,
                                  [](const std::string& a, const std::string& b) { return ComparePortNames(a, b) < 0; });
    if (place != ports.end() && *place == name)
        return;
    ports.insert(place, name);
}

std::vector<std::string> ListSystemSerialPorts()
{
    std::vector<std::string> names;
    sp_port** list = nullptr;
    if (sp_list_ports(&list) != SP_OK)
        return names;
    for (sp_port** port = list; *port; ++port) {
        if (const char* name = sp_get_port_name(*port))
            names.emplace_back(name);
    }
    sp_free_port_list(list);
    return names;
}

std::vector<std::string> BuildPortList(const std::vector<std::string>& systemPorts, const std::string& wanted,
                                       int* selection)
{
    std::vector<std::string> ports;
    for (const std::string& name : systemPorts)
        if (!name.empty() && name != kNetPortName)
            InsertPortSorted(ports, name);
    if (!wanted.empty() && wanted != kNetPortName)
        InsertPortSorted(ports, wanted);
    ports.emplace_back(kNetPortName);
    int index = 0;
    if (!wanted.empty())
        index = static_cast<int>(std::find(ports.begin(), ports.end(), wanted) - ports.begin());
    if (selection)
        *selection = index;
    return ports;
}

HandOverConnect ReadHandOverConnect(std::istream& in)
{
    HandOverConnect job;
    std::string line;

    ReadSettingsLine(in, line);
    job.port = TrimBlanks(line);
    int number = 0;
    if (ParseComName(job.port, &number))
        job.port = PortPathOfComNumber(number - 1);
    g_strCommPort = job.port;

    ReadSettingsLine(in, line);
    job.baud = static_cast<unsigned long>(std::max(0L, LeadingNumber(line)));
    g_nBaudIndex = BaudIndexOf(job.baud);

    // Three digits: data bits, parity (0 none, 1 odd, 2 even), stop bits. A digit
    // that is none of those leaves its index, and goes to the link as it is.
    ReadSettingsLine(in, line);
    line = TrimBlanks(line);
    auto digit = [&line](std::size_t at, int fallback) {
        return at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])) ? line[at] - '0' : fallback;
    };
    job.dataBits = digit(0, job.dataBits);
    job.parity = digit(1, job.parity);
    job.stopBits = digit(2, job.stopBits);
    if (job.dataBits == 7 || job.dataBits == 8)
        g_nDataBitsIndex = job.dataBits - 7;
    if (job.parity >= 0 && job.parity <= 2)
        g_nParityIndex = 2 - job.parity;
    if (job.stopBits == 1 || job.stopBits == 2)
        g_nStopBitsIndex = job.stopBits - 1;

    ReadSettingsLine(in, line);
    job.stationText = TrimBlanks(line);
    job.station = static_cast<int>(LeadingNumber(job.stationText));
    g_strStationText = job.stationText;

    ReadSettingsLine(in, line);
    job.freqIndex = LeadingNumber(line) == 1 ? 1 : 0;
    return job;
}

HandOverConnect ReadHandOverConnect(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    std::istringstream in(text);
    return ReadHandOverConnect(in);
}

bool ReadSettingsLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line)) {
        line.clear();
        return false;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}
