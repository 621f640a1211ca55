// What a file the user names costs the window thread and the memory of the
// program, through the functions the windows call: File > Import Parameters
// (comma-separated and workbook), File Open of a project, and the recorder's
// Import (comma-separated and workbook). Each reader gets the files that
// cannot hold the program (a FIFO, a link to /dev/zero, a 1 MB and a 50 MB
// line, a 210 MB file, 200 MB of line ends, a good file with 200 MB after it)
// and, for comparison, a good file. Not a test: run it by hand and read the
// figures.
//
//   d390_file_read_bench [folder for the files, default the temporary folder]
//
// Time is the wall time of the call (the window thread waits that long).
// Memory is the growth of the peak resident size over the call: the peak is
// reset before each call through /proc/self/clear_refs.

#include "document/D390DocData.h"
#include "document/FrameWindows.h"
#include "monitor/GraphClock.h"
#include "monitor/GraphExchange.h"
#include "monitor/GraphRecorder.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourceModule.h"
#include "platform/Workbook.h"
#include "session/DriveSession.h"
#include "view/ParamExchange.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A field of /proc/self/status in kB.
long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, key.size(), key) == 0)
            return std::atol(line.c_str() + key.size());
    return -1;
}

bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

std::string g_said;

struct Figure {
    double ms;
    double peakMb;
};

Figure Measure(const std::function<void()>& call)
{
    g_said.clear();
    ResetPeak();
    const long before = StatusKb("VmRSS");
    const auto start = Clock::now();
    call();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const long peak = StatusKb("VmHWM");
    return {ms, (peak - before) / 1024.0};
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

// bytes of piece repeated after head, a megabyte at a time.
bool WriteRepeated(const std::string& path, const std::string& head, const std::string& piece, std::size_t bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << head;
    std::string block;
    while (block.size() < (1u << 20))
        block += piece;
    for (std::size_t done = 0; done < bytes && out; done += block.size())
        out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), bytes - done)));
    return static_cast<bool>(out);
}

bool WithTail(const std::string& path, const std::string& good, std::size_t tail)
{
    return WriteBytes(path, good) && ::truncate(path.c_str(), static_cast<off_t>(good.size() + tail)) == 0;
}

struct Kind {
    const char* name;
    std::function<bool(const std::string& path, const std::string& good)> make;
};

std::vector<Kind> Kinds(const std::string& longLineHead)
{
    return {
        {"good file", [](const std::string& p, const std::string& g) { return WriteBytes(p, g); }},
        {"FIFO", [](const std::string& p, const std::string&) { return ::mkfifo(p.c_str(), 0600) == 0; }},
        {"link to /dev/zero", [](const std::string& p, const std::string&) { return ::symlink("/dev/zero", p.c_str()) == 0; }},
        {"1 MB bad line", [longLineHead](const std::string& p, const std::string&) {
             return WriteRepeated(p, longLineHead, "x", 1u << 20);
         }},
        {"50 MB bad line", [longLineHead](const std::string& p, const std::string&) {
             return WriteRepeated(p, longLineHead, "x", 50u << 20);
         }},
        {"210 MB file", [](const std::string& p, const std::string& g) {
             return WriteRepeated(p, g + "\r\n", "00-00a,1\r\n", 210u << 20);
         }},
        {"200 MB of CRs", [](const std::string& p, const std::string&) { return WriteRepeated(p, "", "\r", 200u << 20); }},
        {"good + 200 MB tail", [](const std::string& p, const std::string& g) { return WithTail(p, g, 200u << 20); }},
        // The most a reader takes in: 16 MB in 65000 lines, just within
        // the bounds, refused only by what the lines say.
        {"16 MB within bounds", [](const std::string& p, const std::string& g) {
             return WriteRepeated(p, g + "\r\n", "00-00" + std::string(251, 'x') + ",1\r\n", (16u << 20) - 65536 * 2 - g.size());
         }},
    };
}

void Report(const char* reader, const char* kind, const Figure& figure)
{
    std::string said = g_said.substr(0, 70);
    for (char& c : said)
        if (c == '\n')
            c = ' ';
    std::printf("%-22s %-20s %10.2f ms %9.2f MB  %s\n", reader, kind, figure.ms, figure.peakMb, said.c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string program = ExecutableFolder();
    if (!LoadResourceModule(program)) {
        std::fprintf(stderr, "no resource module in %s\n", program.c_str());
        return 1;
    }
    SetMessageHandler([](const std::string& text, unsigned) {
        if (g_said.empty())
            g_said = text;
        return IDOK;
    });
    std::string base = argc > 1 ? argv[1] : (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    std::string folder = base + "/d390-file-bench-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    folder += "/";
    if (!ResetPeak())
        std::printf("(the peak cannot be reset here: memory figures are peaks since start)\n");

    CFrameWindows& windows = NoFrameWindows();
    CDriveSession session(windows);
    CD390DocData doc(windows);
    doc.m_strProgramFolder = program;
    doc.m_strModelName = "RQ5 07 A240";
    doc.m_nModelCode = 0x11000C9;
    if (!doc.NewProject()) {
        std::fprintf(stderr, "no project of the program folder's tables\n");
        return 1;
    }
    CParamExchange exchange(session, doc);
    const std::vector<std::string> csvLines = exchange.BuildCsvLines();
    std::string goodCsv;
    for (std::size_t i = 0; i < csvLines.size(); ++i)
        goodCsv += csvLines[i] + (i + 1 < csvLines.size() ? "\r\n" : "");
    doc.SaveProjectFile(folder + "good.zrv");
    std::string goodProject;
    {
        std::ifstream in(folder + "good.zrv", std::ios::binary);
        goodProject.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    CSystemGraphClock clock;
    CGraphRecorder recorder(clock);
    for (int c = 0; c < 4; ++c)
        recorder.SetChannel(c, "Channel", "60.00", "0.00");
    recorder.ApplyScaleRule();
    ExportGraphCsvFile(recorder, folder + "good-graph.csv");
    ExportGraphWorkbookFile(recorder, folder + "good-graph.xlsx");
    auto bytesOf = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    std::string goodParamBook;
    {
        CWorkbook templateBook;
        CParamExchange::MakeTemplate(templateBook);
        std::string error;
        CWorkbook filled;
        if (templateBook.Save(folder + "template.xlsx", error) && exchange.BuildWorkbook(folder + "template.xlsx", filled)
            && filled.Save(folder + "good-param.xlsx", error))
            goodParamBook = bytesOf(folder + "good-param.xlsx");
    }
    const std::string goodGraphCsv = bytesOf(folder + "good-graph.csv");
    const std::string goodGraphBook = bytesOf(folder + "good-graph.xlsx");

    struct Reader {
        const char* name;
        const std::string* good;
        std::string head; // of the long-line files
        const char* extension;
        std::function<void(const std::string&)> call;
    };
    const std::vector<Reader> readers = {
        {"parameter CSV", &goodCsv, goodCsv.substr(0, goodCsv.find("\r\n") + 2) + "x\r\ny\r\n", "csv",
         [&](const std::string& path) { exchange.ImportCsv(path); }},
        {"parameter workbook", &goodParamBook, "", "xlsx", [&](const std::string& path) { exchange.ImportWorkbook(path); }},
        {"project open", &goodProject, "", "zrv", [&](const std::string& path) { doc.OpenProject(path); }},
        {"graph CSV", &goodGraphCsv, ",", "csv", [&](const std::string& path) { ImportGraphCsvFile(recorder, path); }},
        {"graph workbook", &goodGraphBook, "", "xlsx",
         [&](const std::string& path) { ImportGraphWorkbookFile(recorder, path); }},
    };
    std::printf("%-22s %-20s %13s %12s  %s\n", "reader", "file", "window thread", "peak growth", "message");
    for (const Reader& reader : readers) {
        for (const Kind& kind : Kinds(reader.head)) {
            const std::string path = folder + "named." + reader.extension;
            ::unlink(path.c_str());
            const std::string& good = *reader.good;
            if (!kind.make(path, good)) {
                std::printf("%-22s %-20s (could not be made)\n", reader.name, kind.name);
                continue;
            }
            Report(reader.name, kind.name, Measure([&] { reader.call(path); }));
            ::unlink(path.c_str());
        }
    }
    // The 8 MB curve name of a recording, refused at its bound.
    {
        const std::string path = folder + "name.csv";
        WriteRepeated(path, ",", "N", 8u << 20);
        std::ofstream(path, std::ios::binary | std::ios::app) << ",a,b,c\r\nMin,0,0,0,0\r\nMax,1,1,1,1\r\n";
        Report("graph CSV", "8 MB curve name", Measure([&] { ImportGraphCsvFile(recorder, path); }));
        ::unlink(path.c_str());
    }
    for (const char* name : {"good.zrv", "good-graph.csv", "good-graph.xlsx", "template.xlsx", "good-param.xlsx"})
        ::unlink((folder + name).c_str());
    ::rmdir(folder.c_str());
    return 0;
}
