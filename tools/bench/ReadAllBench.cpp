// Read-all as a user starts it (the identification reads, then every group of
// the drive), against the simulated drive paced exactly at the line's speed:
// it answers after the request's wire time and the silent interval, and
// ignores a request that comes before the interval after its last reply. The
// wire-time limit of each transaction is its request and reply bytes and the
// same two intervals. A bare client (a loop of write and read on the device,
// keeping the interval) sends the same frames to the same drive in the same
// run. Prints both ratios (goal for read-all: at most 1.05 of the limit). Not
// a test: run it by hand.
//
//   d390_readall_bench [passes] [baud]

#include "document/D390DocData.h"
#include "link/DriveQueries.h"
#include "link/LinkBackend.h"
#include "link/ParamGroupIO.h"
#include "link/SerialComm.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "session/DriveSession.h"
#include "session/ReadWriteAll.h"
#include "tools/SimulatedDrive.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

class NoProgress : public TransferProgress {
public:
    bool IsShown() const override { return m_shown; }
    void ShowWithHeading(const std::string&) override { m_shown = true; }
    void SetRange(int) override {}
    void SetPosition(int) override {}
    void SetText(const std::string&) override {}
    void Hide() override { m_shown = false; }

private:
    bool m_shown = false;
};

// The least a client can do: write the request, read the reply by its length,
// keep the silent interval after it. Seconds for the whole sequence; negative
// when a reply did not come whole.
double BareRun(int fd, const std::vector<std::pair<Bytes, size_t>>& exchanges, std::chrono::nanoseconds interval)
{
    Clock::time_point lastReply = Clock::now();
    std::this_thread::sleep_until(lastReply + interval);
    const auto start = Clock::now();
    uint8_t reply[300];
    for (const auto& [request, replyLength] : exchanges) {
        std::this_thread::sleep_until(lastReply + interval);
        if (::write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
            return -1;
        size_t got = 0;
        while (got < replyLength) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 1000) <= 0)
                return -1;
            ssize_t n = ::read(fd, reply + got, replyLength - got);
            if (n <= 0)
                return -1;
            got += static_cast<size_t>(n);
        }
        lastReply = Clock::now();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // The next client keeps the interval after this one's last reply too.
    std::this_thread::sleep_until(lastReply + interval);
    return seconds;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int passes = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 5;
    const unsigned baud = argc > 2 && std::atoi(argv[2]) > 0 ? static_cast<unsigned>(std::atoi(argv[2])) : 19200;
    const int model = 0x1110000 + 1202; // every gated block is read
    const int version = 1200;
    const int station = 1;

    SimDriveConfig config;
    config.stations = {SimStationConfig{station, static_cast<uint32_t>(model), version}};
    config.dataDir = ExecutableFolder();
    config.line = SimLineFormat{baud, 8, 'E', 1, true};
    CSimulatedDrive drive(config);
    std::string error;
    if (!drive.Start(&error)) {
        std::fprintf(stderr, "simulated drive: %s\n", error.c_str());
        return 1;
    }
    // The bare client's descriptor is opened before our link takes the device
    // for exclusive use.
    const int bare = ::open(drive.GetPtyPath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (bare < 0 || ::tcgetattr(bare, &tio) != 0) {
        std::fprintf(stderr, "cannot open %s for the bare client\n", drive.GetPtyPath().c_str());
        return 1;
    }
    ::cfmakeraw(&tio);
    ::tcsetattr(bare, TCSANOW, &tio);

    CDriveSession frame(NoFrameWindows());
    frame.m_pComm = new CSerialComm;
    if (!frame.m_pComm->InitComm(drive.GetPtyPath(), baud, 8, 2, 1.0f)) {
        std::fprintf(stderr, "cannot open %s\n", drive.GetPtyPath().c_str());
        return 1;
    }
    frame.m_bConnected = 1;
    int messages = 0;
    std::string lastMessage;
    SetMessageHandler([&](const std::string& text, unsigned) {
        ++messages;
        lastMessage = text;
        return IDOK;
    });
    CD390DocData project;
    project.m_strProgramFolder = ExecutableFolder();
    project.m_nModelCode = model;
    if (!project.BuildForCurrentModel()) {
        std::fprintf(stderr, "no project for model %#x (definition files beside the program?)\n", model);
        return 1;
    }
    project.SetModifiedFlag(false);

    const auto interval = LineSilentInterval(SerialSettings{baud, 8, 2, 1});
    const double charSeconds = 11.0 / baud;
    std::vector<double> ours;
    std::vector<double> bares;
    std::vector<double> limits;
    size_t transactions = 0;
    size_t early = 0;
    // From the end of a reply to the next request, beyond the silent interval.
    std::vector<double> oursTurnUs;
    std::vector<double> bareTurnUs;
    auto turnaround = [&](const SimFrame& logged, std::vector<double>& into) {
        if (logged.sinceReply)
            into.push_back(std::chrono::duration<double, std::micro>(*logged.sinceReply - interval).count());
    };
    NoProgress progress;
    for (int pass = 0; pass < passes; ++pass) {
        drive.ClearFrameLog();
        project.SetModifiedFlag(false);
        const auto start = Clock::now();
        const bool read = RunReadAll(frame, project, station, progress);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!read) {
            std::fprintf(stderr, "Read failed in pass %d: %s\n", pass + 1, lastMessage.c_str());
            return 1;
        }
        std::vector<std::pair<Bytes, size_t>> exchanges;
        double limit = 0;
        for (const SimFrame& logged : drive.GetFrameLog()) {
            limit += (logged.request.size() + logged.reply.size()) * charSeconds +
                     2 * std::chrono::duration<double>(interval).count();
            exchanges.emplace_back(logged.request, logged.reply.size());
            early += logged.early ? 1 : 0;
            turnaround(logged, oursTurnUs);
        }
        transactions = exchanges.size();
        // The same frames from the bare client, in the same run.
        const size_t before = drive.GetFrameCount();
        const double bareSeconds = BareRun(bare, exchanges, interval);
        if (bareSeconds < 0) {
            std::fprintf(stderr, "the bare client lost a reply\n");
            return 1;
        }
        for (const SimFrame& logged : drive.GetFramesFrom(before)) {
            early += logged.early ? 1 : 0;
            turnaround(logged, bareTurnUs);
        }
        ours.push_back(seconds);
        bares.push_back(bareSeconds);
        limits.push_back(limit);
    }
    frame.m_pComm->Close();
    delete frame.m_pComm;
    frame.m_pComm = nullptr;
    ::close(bare);
    drive.Stop();

    std::vector<double> toLimit;
    std::vector<double> toBare;
    for (size_t i = 0; i < ours.size(); ++i) {
        toLimit.push_back(ours[i] / limits[i]);
        toBare.push_back(ours[i] / bares[i]);
    }
    std::printf("read-all of a drive %#x version %.3f: %zu transactions, %d passes at %u baud 8E1\n", model,
                version / 1000.0, transactions, passes, baud);
    std::printf("read-all    median %8.1f ms\n", 1000 * Median(ours));
    std::printf("bare client median %8.1f ms\n", 1000 * Median(bares));
    std::printf("wire limit         %8.1f ms (bytes and two silent intervals a transaction)\n",
                1000 * Median(limits));
    std::printf("read-all / wire limit  median %.4f  (min %.4f, max %.4f; goal at most 1.05)\n", Median(toLimit),
                *std::min_element(toLimit.begin(), toLimit.end()), *std::max_element(toLimit.begin(), toLimit.end()));
    std::printf("read-all / bare client median %.4f  (min %.4f, max %.4f)\n", Median(toBare),
                *std::min_element(toBare.begin(), toBare.end()), *std::max_element(toBare.begin(), toBare.end()));
    std::printf("turnaround beyond the interval, reply end to next request at the drive: read-all median %.0f us,\n"
                "  bare client median %.0f us\n",
                Median(oursTurnUs), Median(bareTurnUs));
    std::printf("requests that came before the silent interval: %zu\n", early);
    return 0;
}
