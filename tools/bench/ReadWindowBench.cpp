// Read as the user starts it: the menu command of the real main frame (the
// station dialog answered with OK), the identification and the groups on the
// drive work's worker, the progress window, the list refreshed and the
// closing message, against the simulated drive paced exactly at the line's
// speed (it answers after the request's wire time and the silent interval,
// and ignores a request that comes before the interval after its last reply).
// The wire limit of a Read is the sum over its transactions of the request and
// reply bytes and two silent intervals. Prints, per pass and as medians:
//   - from the click to the end (the command returned) against the limit;
//   - on the wire (first request to last reply) against the limit;
//   - each silence between a reply and the next request beyond the interval,
//     the one before group 00's first read apart.
// Not a test: run it by hand under a display (xvfb-run).
//
//   d390_read_window_bench [passes] [baud]
//
// D390_BENCH_DETAIL=1 also prints every request with the silence before it.

#include "platform/MessageBox.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "shell/MainFrame.h"
#include "tools/SimulatedDrive.h"
#include "tools/bench/BenchMainFrame.h"
#include "tools/bench/BenchStart.h"


#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace bench;

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(share * static_cast<double>(values.size())))];
}

struct Pass {
    double clickToEnd = 0;  // ms
    double wire = 0;        // ms, first request's first byte to last reply's last byte
    double limit = 0;       // ms
    double beforeWire = 0;  // ms, click to the first request
    double afterWire = 0;   // ms, last reply to the command's end
    double group00 = -1;    // us beyond the interval before group 00's first read
    std::size_t transactions = 0;
    std::size_t early = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const int passes = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 10;
    const unsigned baud = argc > 2 && std::atoi(argv[2]) > 0 ? static_cast<unsigned>(std::atoi(argv[2])) : 19200;
    if (!StartBench())
        return 1;
    std::vector<std::string> messages;
    SetMessageHandler([&messages](const std::string& text, unsigned) {
        messages.push_back(text);
        return IDOK;
    });

    BenchProgram program("d390_read_window_bench");
    // An S-P drive at a version that has every gated block: 45 transactions.
    const uint32_t model = 0x11104B2;
    const int version = 1200;
    if (!program.StartDrive({SimStationConfig{1, model, version}}, baud, true))
        return 1;
    CSimulatedDrive& drive = program.Drive();
    CMainFrame* started = program.StartProgram(argv);
    int status = started ? 0 : 1;

    const SimLineFormat line = program.Line();
    const double charMs = Ms(std::chrono::duration_cast<Clock::duration>(SimCharTime(line)));
    const auto interval = SimSilentInterval(line);
    const double intervalMs = Ms(std::chrono::duration_cast<Clock::duration>(interval));
    std::vector<Pass> results;
    std::vector<double> silencesUs; // beyond the interval, every pass, group 00's first read excluded
    if (status == 0) {
        CMainFrame& frame = *started;
        // The windows are shown and drawn first, as a running program has them.
        frame.Show();
        const Clock::time_point settled = Clock::now() + std::chrono::milliseconds(1000);
        while (Clock::now() < settled) {
            wxTheApp->Yield(true);
            wxMilliSleep(10);
        }
        const std::string succeeded = LoadResString(61575);
        for (int pass = 0; pass < passes && status == 0; ++pass) {
            drive.ClearFrameLog();
            messages.clear();
            const Clock::time_point click = Clock::now();
            Command(frame, ID_READ);
            const Clock::time_point end = Clock::now();
            if (messages != std::vector<std::string>{succeeded}) {
                std::fprintf(stderr, "Read did not succeed in pass %d:%s\n", pass + 1,
                             messages.empty() ? " no message" : "");
                for (const std::string& text : messages)
                    std::fprintf(stderr, "  %s\n", text.c_str());
                status = 1;
                break;
            }
            const std::vector<SimFrame> log = drive.GetFrameLog();
            if (log.empty()) {
                std::fprintf(stderr, "no traffic in pass %d\n", pass + 1);
                status = 1;
                break;
            }
            Pass result;
            result.transactions = log.size();
            const bool detail = std::getenv("D390_BENCH_DETAIL") != nullptr;
            for (const SimFrame& logged : log) {
                result.limit += static_cast<double>(logged.request.size() + logged.reply.size()) * charMs + 2 * intervalMs;
                result.early += logged.early ? 1 : 0;
                // The first request's silence began before the click.
                if (!logged.sinceReply || &logged == &log.front())
                    continue;
                const double beyondUs = std::chrono::duration<double, std::micro>(*logged.sinceReply - interval).count();
                const bool group00 = logged.request.size() >= 4 && logged.request[1] == 0x03 &&
                                     logged.request[2] == 0x00 && logged.request[3] == 0x00;
                if (detail)
                    std::printf("  %02X %02X%02X x%-2d after %7.0f us beyond the interval\n", logged.request[1],
                                logged.request[2], logged.request[3], logged.request.size() > 5 ? logged.request[5] : 0,
                                beyondUs);
                if (group00 && result.group00 < 0)
                    result.group00 = beyondUs;
                else
                    silencesUs.push_back(beyondUs);
            }
            const SimFrame& last = log.back();
            const Clock::time_point lastEnd =
                last.time + std::chrono::duration_cast<Clock::duration>(
                                std::chrono::duration<double, std::milli>(
                                    static_cast<double>(last.request.size() + last.reply.size()) * charMs + intervalMs));
            result.wire = Ms(lastEnd - log.front().time);
            result.clickToEnd = Ms(end - click);
            result.beforeWire = Ms(log.front().time - click);
            result.afterWire = Ms(end - lastEnd);
            results.push_back(result);
            std::printf("pass %2d: click to end %6.1f ms (%.4f), wire %6.1f ms (%.4f), limit %.1f ms; "
                        "before the wire %5.1f ms, after %5.1f ms; group 00 waited %6.0f us beyond the interval\n",
                        pass + 1, result.clickToEnd, result.clickToEnd / result.limit, result.wire,
                        result.wire / result.limit, result.limit, result.beforeWire, result.afterWire, result.group00);
        }
    }

    if (status == 0 && !results.empty()) {
        std::vector<double> toLimit;
        std::vector<double> wireToLimit;
        std::vector<double> before;
        std::vector<double> after;
        std::vector<double> group00;
        std::size_t early = 0;
        for (const Pass& result : results) {
            toLimit.push_back(result.clickToEnd / result.limit);
            wireToLimit.push_back(result.wire / result.limit);
            before.push_back(result.beforeWire);
            after.push_back(result.afterWire);
            group00.push_back(result.group00);
            early += result.early;
        }
        std::printf("\nRead from the menu of a drive %#x version %.3f: %zu transactions, %d passes at %u baud 8N2\n",
                    model, version / 1000.0, results.front().transactions, passes, baud);
        std::printf("wire limit                 %7.1f ms (bytes and two silent intervals of %.3f ms a transaction)\n",
                    results.front().limit, intervalMs);
        std::printf("click to end / limit       median %.4f  (min %.4f, max %.4f; goal at most 1.05)\n",
                    Median(toLimit), *std::min_element(toLimit.begin(), toLimit.end()),
                    *std::max_element(toLimit.begin(), toLimit.end()));
        std::printf("on the wire / limit        median %.4f  (min %.4f, max %.4f)\n", Median(wireToLimit),
                    *std::min_element(wireToLimit.begin(), wireToLimit.end()),
                    *std::max_element(wireToLimit.begin(), wireToLimit.end()));
        std::printf("click to the first request median %6.1f ms; last reply to the end median %6.1f ms\n",
                    Median(before), Median(after));
        std::printf("silence beyond the interval, reply to next request: median %.0f us, 90%% %.0f us, max %.0f us "
                    "(%zu silences)\n",
                    Median(silencesUs), Percentile(silencesUs, 0.9),
                    silencesUs.empty() ? 0.0 : *std::max_element(silencesUs.begin(), silencesUs.end()),
                    silencesUs.size());
        std::printf("before group 00's first read, beyond the interval: median %.0f us (min %.0f, max %.0f)\n",
                    Median(group00), *std::min_element(group00.begin(), group00.end()),
                    *std::max_element(group00.begin(), group00.end()));
        std::printf("requests that came before the silent interval: %zu\n", early);
    }

    return status;
}
