// Reading every parameter group (00 to 14) of one drive, against the time the
// same frames need on the wire. The simulated drive paces its replies at a
// real line speed (8 data bits, even parity, 1 stop bit: 11 bits a
// character); the wire limit of a transaction is its request and reply bytes
// plus the 3.5-character silence that ends each of the two frames. Not a test:
// run it by hand and read the ratio.
//
//   d390_groupread_bench [passes] [baud]

#include "document/D390DocData.h"
#include "link/ParamGroupIO.h"
#include "link/SerialComm.h"
#include "link/DriveQueries.h"
#include "shell/MainFrameState.h"
#include "tools/SimulatedDrive.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const int passes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const unsigned baud = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 19200;
    const uint32_t model = 0x1110000 + 1202; // every gated block is read
    const int version = 1200;

    SimDriveConfig config;
    config.stations = {SimStationConfig{1, model, version}};
    config.line = SimLineFormat{baud, 8, 'E', 1};
    CSimulatedDrive drive(config);
    std::string error;
    if (!drive.Start(&error)) {
        std::fprintf(stderr, "simulated drive: %s\n", error.c_str());
        return 1;
    }
    CSerialComm comm;
    if (!comm.InitComm(drive.GetPtyPath(), baud, 8, 2, 1.0f, 2048, 2048)) {
        std::fprintf(stderr, "cannot open %s\n", drive.GetPtyPath().c_str());
        return 1;
    }

    CMainFrameState frame;
    frame.m_pComm = &comm;
    frame.m_nModelCode = static_cast<int>(model);
    SetMainFrameState(&frame);
    CD390DocData doc;
    doc.m_fDriveVersion = VersionFromRegister(version);
    doc.m_Groups.assign(15, GroupRec{});
    for (GroupRec& group : doc.m_Groups)
        group.m_Params.resize(100);
    CParamGroupIO io(frame.TransferContext(doc));

    const double charSeconds = 11.0 / baud;
    double measured = 0.0;
    double wire = 0.0;
    double paced = 0.0; // what the drive itself takes: request, one gap, reply
    size_t transactions = 0;
    std::vector<double> ratios; // per pass: a loaded machine shows in the spread
    for (int pass = 0; pass < passes; ++pass) {
        drive.ClearFrameLog();
        const auto start = std::chrono::steady_clock::now();
        for (int group = 0; group <= 14; ++group) {
            if (!io.ReadParamGroup(group, 1)) {
                std::fprintf(stderr, "group %02d: %s\n", group, frame.m_strLastError.c_str());
                return 1;
            }
        }
        const double passSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        double passWire = 0.0;
        for (const SimFrame& logged : drive.GetFrameLog()) {
            passWire += (logged.request.size() + logged.reply.size() + 2 * 3.5) * charSeconds;
            paced += (logged.request.size() + logged.reply.size() + 3.5) * charSeconds;
            ++transactions;
        }
        measured += passSeconds;
        wire += passWire;
        ratios.push_back(passSeconds / passWire);
    }
    comm.Close();
    drive.Stop();
    SetMainFrameState(nullptr);

    std::printf("groups 00-14, %d passes at %u baud, %zu transactions per pass\n", passes, baud,
                transactions / passes);
    std::printf("measured   %8.1f ms per pass\n", 1000.0 * measured / passes);
    std::printf("wire limit %8.1f ms per pass\n", 1000.0 * wire / passes);
    std::printf("drive pace %8.1f ms per pass (the simulated drive answers after one gap)\n", 1000.0 * paced / passes);
    std::printf("ratio      %8.3f (all passes)\n", measured / wire);
    std::printf("above pace %8.2f ms per transaction\n", 1000.0 * (measured - paced) / transactions);
    std::sort(ratios.begin(), ratios.end());
    std::printf("per pass   min %.3f, median %.3f, max %.3f\n", ratios.front(), ratios[ratios.size() / 2],
                ratios.back());
    return 0;
}
