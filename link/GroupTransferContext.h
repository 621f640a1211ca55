#pragma once
// What a group transfer works with besides its station, given when the
// transfer is set up: the drive session fills it for Read, Write and the
// editor's pages, the auto-refresh cycle with a buffer of its own.

#include <string>

class CD390DocData;
class CSerialComm;

struct GroupTransferContext {
    // The link; none fails every transfer with "Communication error!".
    CSerialComm* m_pComm;
    // The document the readers store their read texts in and the writers
    // write from. Its m_fDriveVersion is the drive version the gates test:
    // Write and Read store what they read from the drive there first.
    CD390DocData& m_Doc;
    // The project's model code, which the gates test. Not the connected
    // drive's: the two differ after a model mismatch the user let pass.
    int m_nModelCode;
    // The drive's 00-02 as the group-00 writer last read or wrote it.
    int& m_nParam0002;
    // The unit mode of 14-20 (0 pressure), as the group-14 reader last read it.
    int& m_nPressureMode;
    // The text of the last failure, for the caller to show.
    std::string& m_strLastError;
};
