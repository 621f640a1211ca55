// A row write of 06-01 from the editor's engine (station chooser answered,
// message boxes captured) against the simulated drive paced at 19200 baud,
// beside a bare client sending the same frames with the same pauses to the
// same drive. Not a test: run it by hand and read the figures.
//
//   d390_rowwrite_bench [repeats]

#include "document/D390DocData.h"
#include "editor/GroupEditor.h"
#include "link/ModbusRequest.h"
#include "link/ParamGroupIO.h"
#include "link/SerialComm.h"
#include "pages/GroupPages.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourceModule.h"
#include "session/DriveSession.h"
#include "tools/SimulatedDrive.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class Host : public IEditorHost {
public:
    int ChooseStation() override { return 1; }
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 20;
    LoadResourceModule(ExecutableFolder());
    SetMessageHandler([](const std::string&, unsigned) { return IDOK; });
    RegisterGroupPages();

    SimDriveConfig config;
    config.stations = {SimStationConfig{1, 0x1100000 + 1202, 1130}};
    config.line.baud = 19200;
    CSimulatedDrive drive(config);
    if (!drive.Start()) {
        std::fprintf(stderr, "the simulated drive did not start\n");
        return 1;
    }
    CSerialComm comm;
    comm.InitComm(drive.GetPtyPath(), 19200, 8, 0, 1.0f);
    CDriveSession state(NoFrameWindows());
    state.m_pComm = &comm;
    state.m_bConnected = 1;
    CD390DocData doc;
    doc.m_strProgramFolder = ExecutableFolder();
    doc.m_nModelCode = 0x1100000 + 1202;
    doc.NewProject();
    Host host;
    EditorContext context{state, doc, host, doc.m_nModelCode};
    CGroupEditor editor(context, *FindGroupTable(6), 6, -1);
    editor.InitGroupTabs();
    editor.m_Pages[0]->m_rows[1].text = "12.34";

    std::vector<double> engine;
    std::vector<double> bare;
    for (int i = 0; i < repeats; ++i) {
        auto start = Clock::now();
        editor.OnParamButton(0, 1);
        engine.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());

        start = Clock::now();
        CModbusRequest direct(&comm, RequestPace::Direct);
        CModbusRequest interactive(&comm, RequestPace::Interactive);
        uint16_t word = 0;
        interactive.ReadHolding(1, 0x0D07, 1, &word); // the password query pauses too
        direct.ReadHolding(1, 0x2520, 1, &word); // the running query
        interactive.WriteOne(1, 0x0601, 1234);
        bare.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    // Wire: 3 requests of 8 bytes, 2 read replies of 7, 1 write echo of 8; 10
    // bits a byte at 19200 baud, 3.5 characters of silence after each frame,
    // and the 10 ms pauses of the password query and of the write.
    const double byteMs = 10.0 / 19200 * 1000;
    const double wireMs = (3 * 8 + 2 * 7 + 8) * byteMs + 6 * 3.5 * byteMs + 20.0;
    const double e = Median(engine);
    const double b = Median(bare);
    std::printf("row write 06-01, median of %d: engine %.2f ms, bare client %.2f ms, ratio %.3f; wire + pauses %.2f ms\n",
                repeats, e, b, e / b, wireMs);
    comm.Close();
    drive.Stop();
    return 0;
}
