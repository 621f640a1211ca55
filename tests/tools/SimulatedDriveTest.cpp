// The simulated drive checked from outside: libmodbus, an independent Modbus
// master, talks to it over its pseudo-terminal, so that the drive cannot share
// a framing or CRC mistake with our own link code. TCP and the adapter
// datagrams are checked with plain sockets.

#include "tools/SimulatedDrive.h"
#include "link/NetAdapterProtocol.h"
#include "tests/common/TestPaths.h"
#include "tools/SimDriveRegisters.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <modbus.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

using namespace SimDrive;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A libmodbus master on the drive's pseudo-terminal.
struct ModbusClient {
    modbus_t* ctx = nullptr;

    ModbusClient(const std::string& path, int station)
    {
        ctx = modbus_new_rtu(path.c_str(), 9600, 'N', 8, 1);
        EXPECT_NE(ctx, nullptr);
        modbus_set_slave(ctx, station);
        EXPECT_EQ(modbus_connect(ctx), 0) << modbus_strerror(errno);
        // Generous: a loaded CI machine may be slow to schedule the drive.
        modbus_set_response_timeout(ctx, 5, 0);
    }
    ~ModbusClient()
    {
        modbus_close(ctx);
        modbus_free(ctx);
    }

    // Sends the request (its CRC added by libmodbus) and returns the raw
    // reply, CRC included; empty on failure.
    Bytes Raw(const Bytes& request)
    {
        modbus_flush(ctx);
        if (modbus_send_raw_request(ctx, request.data(), static_cast<int>(request.size())) < 0)
            return {};
        std::uint8_t reply[MODBUS_RTU_MAX_ADU_LENGTH];
        const int n = modbus_receive_confirmation(ctx, reply);
        return n < 0 ? Bytes {} : Bytes(reply, reply + n);
    }
};

Bytes WithCrc(Bytes frame)
{
    const std::uint16_t crc = CSimulatedDrive::Crc16(frame.data(), frame.size());
    frame.push_back(crc & 0xFF);
    frame.push_back(crc >> 8);
    return frame;
}

std::unique_ptr<CSimulatedDrive> StartDrive(SimDriveConfig config)
{
    auto drive = std::make_unique<CSimulatedDrive>(std::move(config));
    std::string error;
    EXPECT_TRUE(drive->Start(&error)) << error;
    return drive;
}

SimDriveConfig TwoStations(std::uint32_t model = 1202, int version = 1100)
{
    SimDriveConfig config;
    config.stations = { { 1, model, version }, { 3, model, version } };
    return config;
}

int ConnectTcp(const std::string& ip, int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, ip.c_str(), &addr.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads exactly length bytes or what came within the time-out.
Bytes ReadSome(int fd, std::size_t length, int timeoutMs = 5000)
{
    Bytes out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < length) {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p { fd, POLLIN, 0 };
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        std::uint8_t buf[256];
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, length - out.size()));
        if (n <= 0)
            break;
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}

// A UDP socket on loopback, any port.
struct Udp {
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    Udp()
    {
        const int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
        sockaddr_in addr {};
        addr.sin_family = AF_INET;
        inet_pton(AF_INET, "127.0.0.1", &addr.sin_addr);
        ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    }
    ~Udp() { ::close(fd); }
    void Send(const Bytes& data, const std::string& ip, int port)
    {
        sockaddr_in to {};
        to.sin_family = AF_INET;
        to.sin_port = htons(static_cast<std::uint16_t>(port));
        inet_pton(AF_INET, ip.c_str(), &to.sin_addr);
        ::sendto(fd, data.data(), data.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    // One datagram and its sender's address, or nothing within the time-out.
    bool Receive(Bytes* data, std::string* from, int timeoutMs = 5000)
    {
        pollfd p { fd, POLLIN, 0 };
        if (::poll(&p, 1, timeoutMs) <= 0)
            return false;
        std::uint8_t buf[1024];
        sockaddr_in sender {};
        socklen_t length = sizeof sender;
        const ssize_t n = ::recvfrom(fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&sender), &length);
        if (n < 0)
            return false;
        data->assign(buf, buf + n);
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &sender.sin_addr, text, sizeof text);
        *from = text;
        return true;
    }
};

} // namespace

TEST(SimulatedDrive, AnswersLibmodbusReadsAndWritesOnThePseudoTerminal)
{
    auto drive = StartDrive(TwoStations(0x11004B2, 1093));
    ModbusClient client(drive->GetPtyPath(), 3);

    // Identity: model number, version, series code of an S-family model.
    std::uint16_t words[8] = {};
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegCapacity, 2, words), 2) << modbus_strerror(errno);
    EXPECT_EQ(words[0], 1202);
    EXPECT_EQ(words[1], 1093);
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegSeriesCode, 1, words), 1);
    EXPECT_EQ(words[0], kSeriesS);
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegStatusWord, 4, words), 4);
    EXPECT_EQ(words[0], kStatusReady);

    // Function 06, then 0x10 over a block, read back over the wire and in-process.
    ASSERT_EQ(modbus_write_register(client.ctx, ParamRegister(10, 3), 0x1234), 1) << modbus_strerror(errno);
    const std::uint16_t block[] = { 1, 2, 65535, 4 };
    ASSERT_EQ(modbus_write_registers(client.ctx, ParamRegister(14, 22), 4, block), 4) << modbus_strerror(errno);
    ASSERT_EQ(modbus_read_registers(client.ctx, ParamRegister(14, 22), 4, words), 4);
    EXPECT_EQ(std::vector<std::uint16_t>(words, words + 4), std::vector<std::uint16_t>(block, block + 4));
    EXPECT_EQ(drive->GetRegister(3, ParamRegister(10, 3)), 0x1234);
    EXPECT_EQ(drive->GetRegister(1, ParamRegister(10, 3)), 0) << "station 1 must be untouched";

    // The largest block the program moves: 23 registers of group 10.
    std::uint16_t group10[23] = {};
    EXPECT_EQ(modbus_read_registers(client.ctx, ParamRegister(10, 0), 23, group10), 23);

    // Command and frequency words drive the status block; the output
    // frequency ramps (50 Hz in 10 s on a drive without parameters).
    drive->UseSteppedClock();
    ASSERT_EQ(modbus_write_register(client.ctx, kRegFrequencyCommand, 5000), 1);
    ASSERT_EQ(modbus_write_register(client.ctx, kRegCommandWord, kCommandRun), 1);
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegStatusWord, 5, words), 5);
    EXPECT_EQ(words[0] & kStatusRunning, kStatusRunning);
    EXPECT_EQ(words[3], 5000) << "set frequency";
    EXPECT_EQ(words[4], 0) << "output frequency before any time passed";
    drive->AdvanceClock(std::chrono::seconds(10));
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegStatusWord, 5, words), 5);
    EXPECT_EQ(words[4], 5000) << "output frequency once ramped";

    // The external-fault bit trips the drive, the fault-reset bit clears it;
    // both read back 0 once acted on, and the trip dropped the run command.
    ASSERT_EQ(modbus_write_register(client.ctx, kRegCommandWord, kCommandRun | kCommandExternalFault), 1);
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegCommandWord, 1, words), 1);
    EXPECT_EQ(words[0], 0);
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegStatusWord, 5, words), 5);
    EXPECT_EQ(words[0], kStatusReady | kStatusFault);
    EXPECT_EQ(words[1], kFaultExternal);
    EXPECT_EQ(words[2], kTerminalRelay);
    EXPECT_EQ(words[4], 0) << "a trip coasts";
    ASSERT_EQ(modbus_write_register(client.ctx, kRegCommandWord, kCommandFaultReset), 1);
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegStatusWord, 3, words), 3);
    EXPECT_EQ(Bytes({ std::uint8_t(words[0]), std::uint8_t(words[1]), std::uint8_t(words[2]) }),
        Bytes({ kStatusReady, 0, 0 }));
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegCommandWord, 1, words), 1);
    EXPECT_EQ(words[0], 0);

    // Byte for byte: the frame of a read and its reply.
    drive->SetRegister(3, ParamRegister(0, 0), 0x0102);
    EXPECT_EQ(client.Raw({ 3, 0x03, 0x00, 0x00, 0x00, 0x01 }), WithCrc({ 3, 0x03, 0x02, 0x01, 0x02 }));
}

TEST(SimulatedDrive, RefusesWithTheDrivesExceptionCodes)
{
    auto drive = StartDrive(TwoStations(1202, 1100));
    drive->SetRegisterRange(1, ParamRegister(0, 12), 0, 6000);
    drive->ForceException(1, ParamRegister(1, 4), 0x77);
    ModbusClient client(drive->GetPtyPath(), 1);

    struct Case {
        Bytes request;
        std::uint8_t code;
        const char* why;
    };
    const Case cases[] = {
        { { 1, 0x03, 0x30, 0x00, 0x00, 0x01 }, kSimExceptionAddress, "group 0x30 does not exist" },
        { { 1, 0x03, 0x00, 0x14, 0x00, 0x05 }, kSimExceptionAddress, "block runs past 00-21" },
        { { 1, 0x03, 0x0E, 0x00, 0x00, 0x01 }, kSimExceptionAddress, "group 14 only on the S families" },
        { { 1, 0x03, 0x00, 0x00, 0x00, 0x00 }, kSimExceptionCount, "count 0" },
        { { 1, 0x03, 0x00, 0x00, 0x00, 0x7E }, kSimExceptionCount, "count above 125" },
        { { 1, 0x10, 0x00, 0x00, 0x00, 0x02, 0x02, 0x00, 0x01 }, kSimExceptionCount, "byte count not 2 x count" },
        { { 1, 0x06, 0x00, 0x0C, 0x17, 0x71 }, kSimExceptionRange, "6001 above the kept range" },
        { { 1, 0x06, 0x0D, 0x01, 0x00, 0x01 }, kSimExceptionWriteMode, "13-01 is read-only" },
        { { 1, 0x03, 0x01, 0x00, 0x00, 0x08 }, 0x77, "forced code on 01-04 inside the block" },
        { { 1, 0x06, 0x01, 0x04, 0x00, 0x01 }, 0x77, "forced code on a write" },
        { { 1, 0x04, 0x00, 0x00, 0x00, 0x01 }, kSimExceptionFunction, "function 04 is not served" },
    };
    for (const Case& c : cases) {
        const Bytes reply = client.Raw(c.request);
        EXPECT_EQ(reply, WithCrc({ 1, static_cast<std::uint8_t>(c.request[1] | 0x80), c.code })) << c.why;
    }
    // A refused block write changes nothing, not even its valid registers.
    const std::uint16_t values[] = { 100, 9999 };
    drive->SetRegisterRange(1, ParamRegister(0, 13), 0, 6000);
    EXPECT_EQ(modbus_write_registers(client.ctx, ParamRegister(0, 12), 2, values), -1);
    EXPECT_EQ(drive->GetRegister(1, ParamRegister(0, 12)), 0);
    // Clearing the forced code serves the register again.
    drive->ForceException(1, ParamRegister(1, 4), 0);
    std::uint16_t word = 0;
    EXPECT_EQ(modbus_read_registers(client.ctx, ParamRegister(1, 4), 1, &word), 1);
}

TEST(SimulatedDrive, FailureSwitchesAsLibmodbusSeesThem)
{
    auto drive = StartDrive(TwoStations());
    ModbusClient client(drive->GetPtyPath(), 1);
    std::uint16_t word = 0;

    drive->SetCorruptCrc(1, true);
    EXPECT_EQ(modbus_read_registers(client.ctx, 0, 1, &word), -1);
    EXPECT_EQ(errno, EMBBADCRC);
    drive->SetCorruptCrc(1, false);

    drive->SetAnswerAs(1, 2);
    EXPECT_EQ(modbus_read_registers(client.ctx, 0, 1, &word), -1);
    EXPECT_EQ(errno, EMBBADSLAVE);
    drive->SetAnswerAs(1, 0);

    modbus_set_response_timeout(client.ctx, 0, 300000);
    drive->SetSilent(1, true);
    EXPECT_EQ(modbus_read_registers(client.ctx, 0, 1, &word), -1);
    EXPECT_EQ(errno, ETIMEDOUT);
    modbus_set_slave(client.ctx, 3);
    EXPECT_EQ(modbus_read_registers(client.ctx, 0, 1, &word), 1) << "only station 1 was silenced";
    drive->SetSilent(kSimAllStations, true);
    EXPECT_EQ(modbus_read_registers(client.ctx, 0, 1, &word), -1);
    drive->SetSilent(kSimAllStations, false);
    EXPECT_EQ(modbus_read_registers(client.ctx, 0, 1, &word), 1);

    // Late: the reply comes after the master gave up, and is still a whole frame.
    drive->SetReplyDelay(3, 600);
    EXPECT_EQ(modbus_read_registers(client.ctx, 0, 1, &word), -1);
    EXPECT_EQ(errno, ETIMEDOUT);
    modbus_set_response_timeout(client.ctx, 5, 0);
    Bytes late;
    std::uint8_t reply[MODBUS_RTU_MAX_ADU_LENGTH];
    const int n = modbus_receive_confirmation(client.ctx, reply);
    late.assign(reply, reply + std::max(n, 0));
    EXPECT_EQ(late, WithCrc({ 3, 0x03, 0x02, 0x00, 0x00 }));
    drive->SetReplyDelay(3, 0);

    // A running drive with a fault stops; the fault-reset bit clears the fault.
    drive->SetRunning(3, true);
    drive->SetFault(3, 19);
    std::uint16_t status[2] = {};
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegStatusWord, 2, status), 2);
    EXPECT_EQ(status[0], kStatusReady | kStatusFault);
    EXPECT_EQ(status[1], 19);
    ASSERT_EQ(modbus_write_register(client.ctx, kRegCommandWord, kCommandRun | kCommandFaultReset), 1);
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegStatusWord, 2, status), 2);
    EXPECT_EQ(status[0], kStatusReady | kStatusRunning);
    EXPECT_EQ(status[1], 0);
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegLatestFault, 1, &word), 1);
    EXPECT_EQ(word, 19) << "13-02 keeps the latest fault";
}

TEST(SimulatedDrive, BroadcastWritesEveryStationWithoutAnswering)
{
    auto drive = StartDrive(TwoStations());
    const int fd = ::open(drive->GetPtyPath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios tio {};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);

    const Bytes request = WithCrc({ 0, 0x06, 0x0A, 0x03, 0x00, 0x2A });
    ASSERT_EQ(::write(fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    ASSERT_TRUE(drive->WaitForFrameCount(1, 10000));
    EXPECT_EQ(drive->GetRegister(1, ParamRegister(10, 3)), 42);
    EXPECT_EQ(drive->GetRegister(3, ParamRegister(10, 3)), 42);
    // A request with a broken CRC is logged but neither applied nor answered.
    Bytes broken = WithCrc({ 1, 0x06, 0x0A, 0x03, 0x00, 0x07 });
    broken.back() ^= 1;
    ASSERT_EQ(::write(fd, broken.data(), broken.size()), static_cast<ssize_t>(broken.size()));
    ASSERT_TRUE(drive->WaitForFrameCount(2, 10000));
    EXPECT_EQ(drive->GetRegister(1, ParamRegister(10, 3)), 42);
    EXPECT_TRUE(ReadSome(fd, 1, 300).empty()) << "neither frame gets a reply";

    const auto log = drive->GetFrameLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].request, request);
    EXPECT_TRUE(log[0].crcOk);
    EXPECT_TRUE(log[0].reply.empty());
    EXPECT_FALSE(log[1].crcOk);
    EXPECT_LE(log[0].time, log[1].time);
    ::close(fd);
}

TEST(SimulatedDrive, PasswordLocksParametersUntilReleased)
{
    auto drive = StartDrive(TwoStations());
    ModbusClient client(drive->GetPtyPath(), 1);
    std::uint16_t state = 0;
    auto readState = [&] {
        EXPECT_EQ(modbus_read_registers(client.ctx, kRegPassword, 1, &state), 1);
        return state;
    };
    // Set: the same value twice.
    ASSERT_EQ(modbus_write_register(client.ctx, kRegPassword, 4321), 1);
    EXPECT_EQ(readState(), 1);
    ASSERT_EQ(modbus_write_register(client.ctx, kRegPassword, 4321), 1);
    EXPECT_EQ(readState(), 2);
    EXPECT_TRUE(drive->IsPasswordActive(1));
    // Locked: parameters refused, the command word still served.
    EXPECT_EQ(client.Raw({ 1, 0x06, 0x00, 0x03, 0x00, 0x01 }), WithCrc({ 1, 0x86, kSimExceptionWriteMode }));
    EXPECT_EQ(modbus_write_register(client.ctx, kRegCommandWord, 0), 1);
    // A wrong value is echoed and changes nothing; the right one releases.
    EXPECT_EQ(modbus_write_register(client.ctx, kRegPassword, 1111), 1);
    EXPECT_EQ(readState(), 2);
    EXPECT_EQ(modbus_write_register(client.ctx, kRegPassword, 4321), 1);
    EXPECT_EQ(readState(), 0);
    EXPECT_EQ(modbus_write_register(client.ctx, ParamRegister(0, 3), 1), 1);
    // Set in-process, as a test arranges a locked drive.
    drive->SetPassword(1, 7);
    EXPECT_EQ(readState(), 2);
}

TEST(SimulatedDrive, PowerUpValuesComeFromTheDefinitionFile)
{
    SimDriveConfig config;
    config.stations = { { 1, 1202, 1100 } };
    config.definitionFile = TestSourceFolder() + "tools/data/SIMFIXTURE.DAT";
    auto drive = StartDrive(config);
    EXPECT_EQ(drive->GetDefinitionFile(1), config.definitionFile);
    ModbusClient client(drive->GetPtyPath(), 1);

    struct Case {
        std::uint16_t reg;
        std::uint16_t word;
        const char* why;
    };
    const Case cases[] = {
        { ParamRegister(0, 0), 1, "integer" },
        { ParamRegister(0, 12), 5000, "two decimals: 50.00" },
        { ParamRegister(0, 14), 100, "one decimal: 10.0" },
        { ParamRegister(2, 30), 5, "0.5, a register only the file names" },
        { ParamRegister(2, 31), 0xFFF6, "negative -1.0 in two's complement" },
        { ParamRegister(3, 9), 0x13, "five binary digits 10011" },
        { ParamRegister(8, 0), 0x0A, "five binary digits 01010" },
        { ParamRegister(12, 0), 0x1FF, "five octal digits 00777" },
        { kRegCapacity, 1202, "the model number, not the file's text" },
        { kRegVersion, 1100, "the configured version wins over the file" },
        { ParamRegister(0, 13), 0, "built-in register the file lacks" },
    };
    for (const Case& c : cases) {
        std::uint16_t word = 0xDEAD;
        ASSERT_EQ(modbus_read_registers(client.ctx, c.reg, 1, &word), 1) << c.why;
        EXPECT_EQ(word, c.word) << c.why;
    }
}

TEST(SimulatedDrive, KeepsTheRangesOfTheDefinitionFileWhenAsked)
{
    SimDriveConfig config;
    config.definitionFile = TestSourceFolder() + "tools/data/SIMFIXTURE.DAT";
    config.keepRanges = true;
    auto drive = StartDrive(config);
    ModbusClient client(drive->GetPtyPath(), 1);
    struct Case {
        std::uint16_t reg;
        std::uint16_t word;
        bool taken;
        const char* why;
    };
    const Case cases[] = {
        { ParamRegister(0, 12), 59900, true, "599.00 is the maximum" },
        { ParamRegister(0, 12), 59901, false, "above 0.00~599.00" },
        { ParamRegister(0, 0), 3, false, "above 0~2" },
        { ParamRegister(2, 31), 0xFF9C, true, "-10.0 is the signed minimum" },
        { ParamRegister(2, 31), 0xFF9B, false, "-10.1 below -10.0~10.0" },
        { ParamRegister(2, 31), 101, false, "10.1 above -10.0~10.0" },
        { ParamRegister(0, 14), 60000, true, "a remark range of another scale is not kept" },
    };
    for (const Case& c : cases) {
        const Bytes reply
            = client.Raw({ 1, 0x06, static_cast<std::uint8_t>(c.reg >> 8), static_cast<std::uint8_t>(c.reg & 0xFF),
                static_cast<std::uint8_t>(c.word >> 8), static_cast<std::uint8_t>(c.word & 0xFF) });
        ASSERT_GE(reply.size(), 3u) << c.why;
        EXPECT_EQ(reply[1], c.taken ? 0x06 : 0x86) << c.why;
        if (!c.taken) {
            EXPECT_EQ(reply[2], kSimExceptionRange) << c.why;
        }
    }

    // Cut replies never reach libmodbus as a whole frame.
    std::uint16_t word = 0;
    drive->SetReplyLength(1, 4);
    modbus_set_response_timeout(client.ctx, 0, 300000);
    EXPECT_EQ(modbus_read_registers(client.ctx, 0, 1, &word), -1);
    drive->SetReplyLength(1, 0);
    modbus_set_response_timeout(client.ctx, 5, 0);
    modbus_flush(client.ctx);
    EXPECT_EQ(modbus_read_registers(client.ctx, 0, 1, &word), 1);
    EXPECT_EQ(word, 1);
}

TEST(SimulatedDrive, EveryRegisterOfTheInstalledDefinitionFilesIsReadable)
{
    // The data files of the program folder, where the build has put them.
    const std::pair<const char*, std::uint32_t> models[]
        = { { "PARAM.DAT", 1202 }, { "PARAMS.DAT", 0x11004B2 }, { "PARAMSP.DAT", 0x11104B2 } };
    int checked = 0;
    for (const auto& [name, model] : models) {
        const std::string path = TestProgramFolder() + name;
        if (!std::filesystem::exists(path))
            continue;
        SimDriveConfig config;
        config.stations = { { 1, model, 1100 } };
        config.dataDir = TestProgramFolder();
        auto drive = StartDrive(config);
        ASSERT_EQ(drive->GetDefinitionFile(1), path);
        ModbusClient client(drive->GetPtyPath(), 1);
        std::map<std::uint16_t, std::uint16_t> words;
        ASSERT_TRUE(LoadDefinitionFile(path, &words));
        for (const auto& [reg, word] : words) {
            std::uint16_t read = 0;
            ASSERT_EQ(modbus_read_registers(client.ctx, reg, 1, &read), 1) << name << " register 0x" << std::hex << reg;
        }
        ++checked;
    }
    if (checked == 0)
        GTEST_SKIP() << "no definition file in " << TestProgramFolder();
}

TEST(SimulatedDrive, PacesRepliesAtTheLineSpeed)
{
    SimDriveConfig config;
    config.line = { 1200, 8, 'E', 1 };
    auto drive = StartDrive(config);
    ModbusClient client(drive->GetPtyPath(), 1);
    std::uint16_t word = 0;
    // 8 request bytes, the 3.5-character gap and 7 reply bytes of 11 bits at
    // 1200 baud take at least 169 ms; a lower bound only, never an upper one.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegVersion, 1, &word), 1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(165));
    EXPECT_EQ(word, 1100);
}

TEST(SimulatedDrive, StrictLineIgnoresARequestBeforeTheSilentInterval)
{
    SimDriveConfig config;
    config.line = { 1200, 8, 'E', 1, true };
    auto drive = StartDrive(config);
    ModbusClient client(drive->GetPtyPath(), 1);
    const int fd = modbus_get_socket(client.ctx);
    // A second request while the reply to the first is still on the line (7
    // bytes of 11 bits at 1200 baud take 64 ms): the drive ignores it.
    const Bytes request = WithCrc({ 0x01, 0x03, 0x0D, 0x01, 0x00, 0x01 });
    ASSERT_EQ(::write(fd, request.data(), request.size()), 8);
    ASSERT_TRUE(drive->WaitForFrameCount(1, 5000));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(::write(fd, request.data(), request.size()), 8);
    ASSERT_TRUE(drive->WaitForFrameCount(2, 5000));
    auto frames = drive->GetFrameLog();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_FALSE(frames[0].reply.empty());
    ASSERT_TRUE(frames[1].sinceReply.has_value());
    EXPECT_TRUE(frames[1].early);
    EXPECT_TRUE(frames[1].reply.empty()) << "not answered";
    // Well after the reply the drive answers again.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    modbus_flush(client.ctx);
    std::uint16_t word = 0;
    ASSERT_EQ(modbus_read_registers(client.ctx, kRegVersion, 1, &word), 1);
    EXPECT_EQ(word, 1100);
    frames = drive->GetFrameLog();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_FALSE(frames[2].early);
    EXPECT_GE(*frames[2].sinceReply, std::chrono::milliseconds(30));
}

TEST(SimulatedDrive, ServesRtuFramesOverTcp)
{
    SimDriveConfig config = TwoStations();
    config.servePty = false;
    config.tcpPort = 0;
    auto drive = StartDrive(config);
    ASSERT_GT(drive->GetTcpPort(), 0);
    const int fd = ConnectTcp("127.0.0.1", drive->GetTcpPort());
    ASSERT_GE(fd, 0);
    const Bytes read = { 0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A };
    ASSERT_EQ(::write(fd, read.data(), read.size()), 8);
    EXPECT_EQ(ReadSome(fd, 7), (Bytes { 0x01, 0x03, 0x02, 0x00, 0x00, 0xB8, 0x44 }));
    const Bytes write = WithCrc({ 3, 0x10, 0x0B, 0x00, 0x00, 0x02, 0x04, 0x00, 0x05, 0x00, 0x06 });
    ASSERT_EQ(::write(fd, write.data(), write.size()), static_cast<ssize_t>(write.size()));
    EXPECT_EQ(ReadSome(fd, 8), WithCrc({ 3, 0x10, 0x0B, 0x00, 0x00, 0x02 }));
    EXPECT_EQ(drive->GetRegister(3, ParamRegister(11, 1)), 6);
    ::close(fd);
    const auto log = drive->GetFrameLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].transport, SimTransport::Tcp);
}

TEST(SimulatedDrive, AnswersAdapterDatagramsOnLoopback)
{
    // Two modules share the loopback broadcast address, each with its own address.
    SimDriveConfig first;
    first.servePty = false;
    first.tcpPort = 0;
    first.udpPort = 0;
    first.moduleIp = "127.0.0.2";
    first.mac = { 0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F };
    auto one = StartDrive(first);
    SimDriveConfig second = first;
    second.tcpPort = -1;
    second.udpPort = one->GetUdpPort();
    second.moduleIp = "127.0.0.3";
    second.mac = { 0x00, 0x20, 0x4A, 0x00, 0x00, 0x02 };
    auto two = StartDrive(second);
    const int port = one->GetUdpPort();

    Udp program;
    program.Send({ 0, 0, 0, NetAdapter::kSearchRequest }, "127.255.255.255", port);
    std::map<std::string, Bytes> replies;
    Bytes data;
    std::string from;
    while (replies.size() < 2 && program.Receive(&data, &from))
        replies[from] = data;
    ASSERT_EQ(replies.size(), 2u);
    const Bytes& reply = replies["127.0.0.2"];
    ASSERT_EQ(reply.size(), NetAdapter::kSearchReplyLength);
    EXPECT_EQ(reply[NetAdapter::kKindOffset], NetAdapter::kSearchReply);
    EXPECT_EQ(Bytes(reply.begin() + 24, reply.begin() + 30), (Bytes { 0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F }));
    EXPECT_EQ((reply[8] << 8 | reply[9]), one->GetTcpPort());
    EXPECT_EQ(replies["127.0.0.3"][29], 0x02);

    // A short reply when asked for, for the program's length check.
    two->SetDiscoverySilent(true);
    one->SetSearchReplyLength(20);
    program.Send({ 0, 0, 0, NetAdapter::kSearchRequest }, "127.255.255.255", port);
    ASSERT_TRUE(program.Receive(&data, &from));
    EXPECT_EQ(data.size(), 20u);

    // New address by MAC: only that module answers, from its new address,
    // and its TCP data port moves with it.
    const Bytes setIp = { 0, 0, 0, NetAdapter::kSetAddressRequest, 0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 127, 0, 0, 9 };
    program.Send(setIp, "127.255.255.255", port);
    ASSERT_TRUE(program.Receive(&data, &from));
    EXPECT_EQ(from, "127.0.0.9");
    ASSERT_EQ(data.size(), NetAdapter::kSetAddressReplyLength);
    EXPECT_EQ(data[NetAdapter::kKindOffset], NetAdapter::kSetAddressReply);
    EXPECT_EQ(data[NetAdapter::kSetAddressStatusOffset], NetAdapter::kSetAddressAccepted);
    EXPECT_EQ(Bytes(data.begin() + 10, data.begin() + 14), (Bytes { 127, 0, 0, 9 }));
    EXPECT_FALSE(program.Receive(&data, &from, 300)) << "the other module must stay quiet";
    EXPECT_EQ(one->GetModuleIp(), "127.0.0.9");
    const int fd = ConnectTcp("127.0.0.9", one->GetTcpPort());
    EXPECT_GE(fd, 0);
    if (fd >= 0)
        ::close(fd);

    // Identify, sent to the module's own address.
    program.Send({ 0, 0, 0, NetAdapter::kIdentifyRequest }, "127.0.0.9", port);
    ASSERT_TRUE(program.Receive(&data, &from));
    ASSERT_EQ(data.size(), NetAdapter::kIdentifyReplyLength);
    EXPECT_EQ(data[NetAdapter::kKindOffset], NetAdapter::kIdentifyReply);
    EXPECT_EQ(data[9], 0x5F);

    // A refused change.
    one->SetRefuseAddressChange(true);
    program.Send(setIp, "127.255.255.255", port);
    ASSERT_TRUE(program.Receive(&data, &from));
    EXPECT_EQ(data[NetAdapter::kSetAddressStatusOffset], NetAdapter::kSetAddressRefused);
}

TEST(SimulatedDrive, ProgramPrintsItsDeviceAndServesTheChosenStations)
{
    const std::string program = TestProgramFolder() + "d390-simdrive";
    const std::string folder = MakeTempFolder();
    const std::string link = folder + "drive";
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(pipeFds[1], 1);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 2);
        ::close(pipeFds[0]);
        ::execl(program.c_str(), program.c_str(), "--model", "0x1110191", "--version", "1130", "--stations", "2,5-6",
            "--station", "9:1202:1000", "--pty-link", link.c_str(), "--param-file", "/nonexistent/PARAM.DAT",
            static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    FILE* out = ::fdopen(pipeFds[0], "r");
    char line[256] = {};
    const bool gotLine = std::fgets(line, sizeof line, out) != nullptr;
    std::string path = line;
    while (!path.empty() && path.back() == '\n')
        path.pop_back();
    if (gotLine && path.rfind("/dev/pts/", 0) == 0) {
        EXPECT_EQ(std::filesystem::read_symlink(link).string(), path);
        ModbusClient client(link, 6);
        std::uint16_t words[2] = {};
        EXPECT_EQ(modbus_read_registers(client.ctx, kRegCapacity, 2, words), 2) << modbus_strerror(errno);
        EXPECT_EQ(words[0], 0x191);
        EXPECT_EQ(words[1], 1130);
        EXPECT_EQ(modbus_read_registers(client.ctx, kRegSeriesCode, 1, words), 1);
        EXPECT_EQ(words[0], kSeriesSP);
        modbus_set_slave(client.ctx, 9);
        EXPECT_EQ(modbus_read_registers(client.ctx, kRegCapacity, 2, words), 2);
        EXPECT_EQ(words[0], 1202) << "a station with a model of its own";
        EXPECT_EQ(words[1], 1000);
        modbus_set_slave(client.ctx, 3);
        modbus_set_response_timeout(client.ctx, 0, 300000);
        EXPECT_EQ(modbus_read_registers(client.ctx, kRegCapacity, 1, words), -1) << "station 3 is not served";
    } else {
        ADD_FAILURE() << "first line: " << path;
    }
    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a stop signal ends it cleanly";
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << "the link goes with the program";
    std::filesystem::remove_all(folder);
    std::fclose(out);

    // --help documents the options and succeeds.
    FILE* help = ::popen((program + " --help").c_str(), "r");
    ASSERT_NE(help, nullptr);
    std::string text;
    while (std::fgets(line, sizeof line, help))
        text += line;
    EXPECT_EQ(::pclose(help), 0);
    for (const char* option : { "--model", "--version", "--stations", "--tcp", "--baud", "--data-dir", "--silent" })
        EXPECT_NE(text.find(option), std::string::npos) << option;
}
