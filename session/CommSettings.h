#pragma once
// The link settings of the last connection: the port (a device path, or
// "TCPIP" for the network adapter), the radio positions of the Connect dialog
// and the station list text, kept in "lcomfile.ini"; the port list the
// Connect dialog offers; and the connect-at-once job of the hand-over file.

#include <istream>
#include <string>
#include <vector>

// The port entry that selects the network adapter; always listed last.
inline constexpr const char* kNetPortName = "TCPIP";

// Settings of the last connection, shared by start-up and the Connect dialog.
extern std::string g_strCommPort;  // device path, kNetPortName, or empty (the first listed port)
extern int g_nBaudIndex;           // 0 = 4800, 1 = 9600, 2 = 19200, 3 = 38400
extern int g_nDataBitsIndex;       // 0 = 7, 1 = 8
extern int g_nParityIndex;         // 0 = even, 1 = odd, 2 = none
extern int g_nStopBitsIndex;       // 0 = 1, 1 = 2
extern std::string g_strStationText;
extern std::string g_strAppFolder; // program folder, ending with '/'

// The values of a first run: 19200 baud, 8 data bits, no parity, 2 stop bits,
// the first listed port, no station text.
void ResetCommSettings();

// Radio index to line value, and back. An index out of range reads as the
// default index.
unsigned long BaudOfIndex(int index);
int DataBitsOfIndex(int index);
int ParityCodeOfIndex(int index); // code given to the link: 0 none, 1 odd, 2 even
int StopBitsOfIndex(int index);

// "lcomfile.ini": written to the user's settings folder; read from there, else
// from g_strAppFolder, where older installations kept it. A file found in
// neither place changes nothing. True when a file was written or read.
bool SaveCommSettings();
bool LoadCommSettings();
// The file's text, and the reading of it; lines 1 to 4 as SaveCommSettings
// writes them. A first line that is a number (the older form, a zero-based
// COM port number) still loads; values out of range take the defaults.
std::string FormatCommSettings();
void ParseCommSettings(std::istream& in);

// A COM port number of older files and hand-over jobs (zero-based, COM1 = 0)
// as the device path of the same port on this system; a negative number is
// the network adapter.
std::string PortPathOfComNumber(int number);

// One line of a settings file without its line break (a file written
// elsewhere may end lines in CR LF); false and empty at the end.
bool ReadSettingsLine(std::istream& in, std::string& line);

// The user's settings folder, ending with '/': $XDG_CONFIG_HOME/d390/, else
// ~/.config/d390/. Empty when the user has no home folder.
std::string UserSettingsFolder();

// Reading a small settings file by name: the user's settings folder first,
// then the program folder. Only the user's own regular file within a small
// bound is read (the program folder's may also be root's); anything else there
// is skipped with a line on standard error. The path read, or empty.
std::string OpenSettingsFileForReading(const std::string& name, std::string* content);
// Writing one into the user's settings folder (made when missing) through a
// temporary file, so that a failed write keeps the old file; the reason goes
// to standard error. The path written, or empty.
std::string WriteSettingsFile(const std::string& name, const std::string& content);
// The temporary folder, ending with '/'.
std::string TempFolder();

// --- Port list ------------------------------------------------------------

// Natural order of port names: runs of digits compare by value, so ttyS2 comes
// before ttyS10. Negative, zero or positive like strcmp.
int ComparePortNames(const std::string& a, const std::string& b);
// Inserts name into the naturally sorted list; a name already there is dropped.
void InsertPortSorted(std::vector<std::string>& ports, const std::string& name);
// Device paths of the system's serial ports, as libserialport lists them.
std::vector<std::string> ListSystemSerialPorts();
// The Connect dialog's list: the system ports and the wanted port (a path the
// user entered before) sorted naturally, then kNetPortName. The result's index
// of wanted, or 0 when wanted is empty.
std::vector<std::string> BuildPortList(const std::vector<std::string>& systemPorts, const std::string& wanted,
                                       int* selection);

// --- Hand-over job "2": connect at once -------------------------------------

struct HandOverConnect {
    std::string port;           // given to the link as it stands (a COMn text becomes its device path)
    unsigned long baud = 19200; // the number itself goes to the link
    int dataBits = 8;
    int parity = 0;             // 0 none, 1 odd, 2 even
    int stopBits = 2;
    std::string stationText;
    int station = 0;
    int freqIndex = 0;          // 0: the 50.00 Hz set, 1: the 60.00 Hz set
};

// Reads lines 2 to 6 of a hand-over file whose first line was "2", and sets
// g_strCommPort, the radio indexes and g_strStationText from them as start-up
// does. Missing lines read as empty.
HandOverConnect ReadHandOverConnect(std::istream& in);
// The same from the lines after the first, as the hand-over file reader keeps them.
HandOverConnect ReadHandOverConnect(const std::vector<std::string>& lines);
