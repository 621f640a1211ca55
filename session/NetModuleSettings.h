#pragma once
// The network adapters of the Connect dialog: those the last search found, and
// the names the user gave adapters before, kept in "tm4comfile.ini" by MAC
// text (a name is the program's own label; it never reaches the adapter).

#include "link/SerialComm.h"

#include <string>
#include <vector>

class CNetModuleSettings {
public:
    // Reads "tm4comfile.ini" (settings folder, else the program folder): the
    // selected adapter's MAC text when the port was "TCPIP", and the saved
    // adapters, whose names are given to the discovered adapters of the same
    // MAC text. A file of 3 bytes or less, or none, changes nothing.
    bool Load();
    // After a successful connect: merges the discovered adapters into the
    // saved ones (a known MAC takes the discovered name, a new one is
    // appended) and writes the file; port is the connected port's text.
    bool Save(const std::string& port);

    // The file's text for port, from the saved list and the selected MAC.
    std::string Format(const std::string& port) const;
    void Parse(const std::string& content);
    void MergeDiscovered();

    // Index in m_Discovered of the adapter whose MAC text is mac, or -1.
    int FindDiscovered(const std::string& mac) const;
    // "192.168.1.20(name)", the IP button's text for an adapter.
    static std::string ButtonText(const NetDeviceInfo& module);

    std::vector<NetDeviceInfo> m_Discovered;
    std::vector<NetDeviceInfo> m_Saved;
    std::string m_strSelectedMac;
};
