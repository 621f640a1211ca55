#pragma once
// A simulated drive run in process behind a link object: its register model
// on a stepped clock, reached through SimDriveBackend. What the program sends
// through the link is answered by the model, at the times a line of the
// drive's format (SimDriveConfig::line) would answer, and time-outs cost no
// real time.
//
//   CInProcessDrive drive(config);
//   CSerialComm link;
//   drive.Connect(link);
//   ... link.CommandSend(...), drive.Model().GetFrameLog(), drive.Clock().Now()

#include "tools/SimDriveBackend.h"
#include "tools/SimDriveModel.h"

class CSerial;

class CInProcessDrive {
public:
    explicit CInProcessDrive(SimDriveConfig config = {});

    // Opens link on the drive (closing what it had open). The back end lives
    // in the link from then on; Line() reaches it until the link is closed or
    // opened elsewhere.
    bool Connect(CSerial& link);

    CSimDriveModel& Model() { return m_model; }
    SimSteppedClock& Clock() { return m_clock; }
    SimDriveBackend* Line() { return m_line; }

private:
    SimSteppedClock m_clock;
    SimLineFormat m_format;
    CSimDriveModel m_model;
    SimDriveBackend* m_line = nullptr;
};
