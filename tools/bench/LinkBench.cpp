// The link against libmodbus, request by request: both clients take turns on
// the same simulated drive, paced at line speed and ignoring any request that
// comes before the line's silent interval after a reply. Each client's turn
// holds one silent interval and one transaction: our link keeps the interval
// itself after its own replies, but cannot know of the other client's, so the
// benchmark waits it out before either client's request, as the line needs.
// Prints the paired ratio (ours / libmodbus, per pair; goal at most 1.0) and
// each client's CPU time per transaction. Not a test: run it by hand.
//
//   d390_link_bench [pairs] [baud]

#include "link/ModbusRequest.h"
#include "link/SerialComm.h"
#include "tools/SimulatedDrive.h"

#include <modbus.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ThreadCpuUs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

struct Client {
    std::vector<double> wallUs;
    double cpuUs = 0;
    int failures = 0;
};

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(p * values.size()))];
}

void Print(const char* name, const Client& client)
{
    double sum = 0;
    for (double v : client.wallUs)
        sum += v;
    std::printf("%-24s mean %8.1f us  median %8.1f us  p99 %8.1f us  CPU %6.1f us/transaction  failures %d\n", name,
                sum / client.wallUs.size(), Percentile(client.wallUs, 0.5), Percentile(client.wallUs, 0.99),
                client.cpuUs / client.wallUs.size(), client.failures);
}

// Registers read in turn: 1, 10 and 23 (the longest block of the group readers).
constexpr uint16_t kStart = 0x0100;
constexpr int kCounts[] = {1, 10, 23};

} // namespace

int main(int argc, char** argv)
{
    const int pairs = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 1500;
    const unsigned baud = argc > 2 && std::atoi(argv[2]) > 0 ? static_cast<unsigned>(std::atoi(argv[2])) : 19200;

    SimDriveConfig config;
    config.line = SimLineFormat{baud, 8, 'E', 1, true};
    CSimulatedDrive drive(config);
    std::string error;
    if (!drive.Start(&error)) {
        std::fprintf(stderr, "simulated drive: %s\n", error.c_str());
        return 1;
    }
    for (int i = 0; i < 23; ++i)
        drive.AddRegister(1, static_cast<uint16_t>(kStart + i), static_cast<uint16_t>(i * 3));

    // libmodbus opens the device before our link takes it for exclusive use.
    // A pseudo-terminal refuses parity; the drive paces the line as 8E1.
    modbus_t* ctx = modbus_new_rtu(drive.GetPtyPath().c_str(), static_cast<int>(baud), 'N', 8, 1);
    if (!ctx || modbus_set_slave(ctx, 1) != 0 || modbus_connect(ctx) != 0) {
        std::fprintf(stderr, "libmodbus: %s\n", modbus_strerror(errno));
        return 1;
    }
    modbus_set_response_timeout(ctx, 1, 0);
    CSerialComm comm;
    if (!comm.InitComm(drive.GetPtyPath(), baud, 8, 2, 1.0f)) {
        std::fprintf(stderr, "link: %s\n", comm.GetSettingsReport().c_str());
        return 1;
    }
    CModbusRequest request(&comm);
    const auto interval = LineSilentInterval(SerialSettings{baud, 8, 2, 1});

    Clock::time_point lastReply = Clock::now();
    auto turn = [&](Client& client, int i, bool ours) {
        const int n = kCounts[i % 3];
        uint16_t values[32];
        const auto start = Clock::now();
        std::this_thread::sleep_until(lastReply + interval);
        const double cpuStart = ThreadCpuUs();
        const bool ok = ours ? request.ReadHolding(1, kStart, static_cast<uint16_t>(n), values).Ok()
                             : modbus_read_registers(ctx, kStart, n, values) == n;
        client.cpuUs += ThreadCpuUs() - cpuStart;
        lastReply = Clock::now();
        if (!ok || values[n - 1] != (n - 1) * 3)
            ++client.failures;
        return std::chrono::duration<double, std::micro>(lastReply - start).count();
    };

    Client warm;
    for (int i = 0; i < 60; ++i) {
        turn(warm, i, true);
        turn(warm, i, false);
    }
    Client ours;
    Client theirs;
    std::vector<double> ratios;
    for (int i = 0; i < pairs; ++i) {
        // Who goes first changes every pair, so that neither always follows the other.
        double a = 0;
        double b = 0;
        if (i % 2 == 0) {
            a = turn(ours, i, true);
            b = turn(theirs, i, false);
        } else {
            b = turn(theirs, i, false);
            a = turn(ours, i, true);
        }
        ours.wallUs.push_back(a);
        theirs.wallUs.push_back(b);
        ratios.push_back(a / b);
    }
    size_t early = 0;
    for (const SimFrame& frame : drive.GetFrameLog())
        early += frame.early ? 1 : 0;
    comm.Close();
    modbus_close(ctx);
    modbus_free(ctx);
    drive.Stop();

    const double charUs = 11e6 / baud;
    std::printf("%d pairs at %u baud 8E1, reading 1, 10 and 23 registers in turn; silent interval %.0f us;\n"
                "wire time of a turn (interval, request, interval, reply) %.0f us on average\n",
                pairs, baud, interval.count() / 1e3, (8 + 2 * 3.5 + (5 + 2 * 34 / 3.0)) * charUs);
    Print("d390 link", ours);
    Print("libmodbus", theirs);
    double sumOurs = 0;
    double sumTheirs = 0;
    for (size_t i = 0; i < ratios.size(); ++i) {
        sumOurs += ours.wallUs[i];
        sumTheirs += theirs.wallUs[i];
    }
    std::printf("paired ratio ours/libmodbus: median %.4f, p10 %.4f, p90 %.4f, totals %.4f (goal at most 1.0)\n",
                Percentile(ratios, 0.5), Percentile(ratios, 0.1), Percentile(ratios, 0.9), sumOurs / sumTheirs);
    std::printf("requests that came before the silent interval: %zu\n", early);
    return 0;
}
