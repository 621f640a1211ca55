// Software cost of one transaction: our link and libmodbus side by side, both
// reading the same registers of the simulated drive over an unpaced
// pseudo-terminal. Not a test: run it by hand and read the figures.
//
//   d390_link_bench [transactions]

#include "link/Crc16.h"
#include "link/SerialComm.h"
#include "tools/SimulatedDrive.h"

#include <modbus.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    std::vector<double> wallUs; // per transaction
    double cpuUsPerTransaction = 0;
    int failures = 0;
};

double ThreadCpuUs()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_utime.tv_sec * 1e6 + usage.ru_utime.tv_usec + usage.ru_stime.tv_sec * 1e6 + usage.ru_stime.tv_usec;
}

template <typename Transaction>
Figures Measure(int count, Transaction transaction)
{
    Figures figures;
    figures.wallUs.reserve(count);
    double cpuStart = ThreadCpuUs();
    for (int i = 0; i < count; ++i) {
        auto start = Clock::now();
        if (!transaction(i))
            ++figures.failures;
        figures.wallUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    figures.cpuUsPerTransaction = (ThreadCpuUs() - cpuStart) / count;
    return figures;
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(p * values.size()))];
}

void Print(const char* name, const Figures& figures)
{
    double sum = 0;
    for (double v : figures.wallUs)
        sum += v;
    std::printf("%-28s mean %8.1f us  median %8.1f us  p99 %8.1f us  client CPU %6.1f us  failures %d\n", name,
                sum / figures.wallUs.size(), Percentile(figures.wallUs, 0.5), Percentile(figures.wallUs, 0.99),
                figures.cpuUsPerTransaction, figures.failures);
}

// The registers read in turn: 1, 10 and 23 registers (the longest block of
// the group readers).
constexpr uint16_t kStart = 0x0100;
constexpr int kCounts[] = {1, 10, 23};

} // namespace

int main(int argc, char** argv)
{
    int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    if (count <= 0)
        count = 5000;

    SimDriveConfig config;
    CSimulatedDrive drive(config);
    std::string error;
    if (!drive.Start(&error)) {
        std::fprintf(stderr, "simulated drive: %s\n", error.c_str());
        return 1;
    }
    for (int i = 0; i < 23; ++i)
        drive.AddRegister(1, static_cast<uint16_t>(kStart + i), static_cast<uint16_t>(i * 3));
    std::printf("%d transactions each, reading 1, 10 and 23 registers in turn, %s\n", count,
                drive.GetPtyPath().c_str());

    // libmodbus opens the same device before our link takes it for exclusive
    // use; the two take turns.
    modbus_t* ctx = modbus_new_rtu(drive.GetPtyPath().c_str(), 9600, 'N', 8, 1);
    if (!ctx || modbus_set_slave(ctx, 1) != 0 || modbus_connect(ctx) != 0) {
        std::fprintf(stderr, "libmodbus: %s\n", modbus_strerror(errno));
        return 1;
    }
    modbus_set_response_timeout(ctx, 1, 0);
    auto theirsOne = [&](int i) {
        int n = kCounts[i % 3];
        uint16_t values[32];
        return modbus_read_registers(ctx, kStart, n, values) == n;
    };

    CSerialComm comm;
    if (!comm.InitComm(drive.GetPtyPath(), 9600, 8, 0, 1.0f)) {
        std::fprintf(stderr, "link: %s\n", comm.GetSettingsReport().c_str());
        return 1;
    }
    auto oursOne = [&](int i) {
        int n = kCounts[i % 3];
        uint8_t request[8] = {0x01, 0x03, kStart >> 8, kStart & 0xFF, 0x00, static_cast<uint8_t>(n)};
        AppendCrc16(request, 6);
        uint8_t reply[64];
        return comm.CommandSend(request, 8, reply, 5 + 2 * n) == kErrNone && reply[1] == 0x03;
    };

    // Warm up both, then alternate rounds so that both see the same machine.
    Measure(200, oursOne);
    Measure(200, theirsOne);
    Figures ours;
    Figures theirs;
    constexpr int kRounds = 4;
    for (int round = 0; round < kRounds; ++round) {
        Figures a = Measure(count / kRounds, oursOne);
        Figures b = Measure(count / kRounds, theirsOne);
        ours.wallUs.insert(ours.wallUs.end(), a.wallUs.begin(), a.wallUs.end());
        theirs.wallUs.insert(theirs.wallUs.end(), b.wallUs.begin(), b.wallUs.end());
        ours.cpuUsPerTransaction += a.cpuUsPerTransaction / kRounds;
        theirs.cpuUsPerTransaction += b.cpuUsPerTransaction / kRounds;
        ours.failures += a.failures;
        theirs.failures += b.failures;
    }
    comm.Close();
    modbus_close(ctx);
    modbus_free(ctx);
    drive.Stop();

    Print("d390 link (CommandSend)", ours);
    Print("libmodbus 3.1 (read_registers)", theirs);
    return 0;
}
