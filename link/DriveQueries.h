#pragma once
// The drive queries: one holding register of one station each, through the
// link given. Each returns 1 with its out value on success, and 0, leaving the
// out value alone, after its own report (a message box, or none for the
// silent ones). The drive session offers them under the same names.

#include <cstdint>

class CSerialComm;

namespace DriveQuery {

// 13-07 reads 2 while a parameter password is active. Paused as a click is.
int ReadPasswordState(CSerialComm* comm, uint8_t station, bool& passwordActive);
// Bit 0 of the status word.
int IsDriveRunning(CSerialComm* comm, uint8_t station, bool& running);
int ReadParam0002(CSerialComm* comm, uint8_t station, int& value);
int ReadParam0003(CSerialComm* comm, uint8_t station, int& value);
int ReadParam0005(CSerialComm* comm, uint8_t station, int& value);
int ReadParam0006(CSerialComm* comm, uint8_t station, int& value);
int ReadParam0D01(CSerialComm* comm, uint8_t station, float& version);
// Silent.
int ReadParam0201(CSerialComm* comm, uint8_t station, int& value);
// "Communication error!" when the link fails; a refusal is silent.
int ReadParam0200(CSerialComm* comm, uint8_t station, int& value);
// 01-04 to 01-09, silent; 0 for any other item.
int ReadParam01(CSerialComm* comm, uint8_t station, int item, int& value);
int ReadCapacityCode(CSerialComm* comm, uint8_t station, int& capacity);
int ReadSeriesCode(CSerialComm* comm, uint8_t station, int& series);
// Series and capacity together (see ModelCodeFromSeries).
int ReadModelCode(CSerialComm* comm, uint8_t station, int& modelCode);

} // namespace DriveQuery

// Rules of the drive queries that need no link.

// The model code of a drive from its series code (register 0x252F) and its
// capacity code (13-00): series 0x110 and 0x111 add their family base.
int ModelCodeFromSeries(int series, int capacity);

// A drive's software version from register 13-01 (1093 is version 1.093),
// rounded once to single precision so that it equals the thresholds the pages
// compare it with.
float VersionFromRegister(int value);
