#pragma once
// Connect (dialog 138): the serial line settings or a network adapter, the
// station list, Connect and Disconnect; the adapter search and the two
// address dialogs. The work itself is in session/LinkSetup.h; this window shows
// the settings and hands them over.
//

#include "session/NetModuleSettings.h"

#include <wx/dialog.h>

#include <functional>
#include <string>
#include <vector>

class CDriveSession;
class wxButton;
class wxChoice;
class wxComboBox;
class wxRadioButton;
class wxTextCtrl;

class CConnectDlg : public wxDialog {
public:
    enum {
        IDD = 138,
        IDC_PORT = 1057,
        IDC_BAUD_4800 = 1058, // to 1061
        IDC_DATA_7 = 1062,    // and 1063
        IDC_PARITY_EVEN = 1064, // to 1066
        IDC_STOP_1 = 1067,    // and 1068
        IDC_DISCONNECT = 1069,
        IDC_STATIONS = 1070,
        IDC_MODULE = 1093,
        IDC_SET_IP = 1094,
        IDC_OTHER_QW47 = 1095,
    };

    // projectModelCode: the open project's model, which Connect checks the
    // drives against.
    CConnectDlg(wxWindow* parent, CDriveSession& session, int projectModelCode);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    // The adapter search: fills the module list, gives known adapters their
    // saved names; the number found, or -1.
    int SearchDevices();

    // How long an adapter given a new address by MAC needs before it answers
    // a search again.
    static int s_nAssignSettleMs;

    // Runs once the frame is connected, before "Link successful!": the caller
    // refreshes the project list's default column there.
    std::function<void()> m_onConnected;

    CNetModuleSettings m_modules;
    int m_nNetMode = 0;
    int m_nBaudIndex = 2;
    int m_nDataBitsIndex = 1;
    int m_nParityIndex = 2;
    int m_nStopBitsIndex = 0;
    std::string m_strStationText = "1";
    int m_nPortIndex = 0;

private:
    CDriveSession& m_session;
    int m_nProjectModelCode;
    void OnOK(wxCommandEvent& event);
    void OnDisconnect(wxCommandEvent& event);
    void OnSelChangePort(wxCommandEvent& event);
    void OnSelChangeModule(wxCommandEvent& event);
    void OnSetIp(wxCommandEvent& event);
    void OnOtherQw47(wxCommandEvent& event);

    void InitControls();
    std::string PortText() const;
    void SetIpButtonText(const std::string& text);
    // Selects the adapter with this MAC text, or the first, and shows it on the IP button.
    void ShowModule(const std::string& mac, const std::string& name = {}, bool useName = false);

    wxComboBox* m_pPort = nullptr;
    wxRadioButton* m_pBaud[4] = {};
    wxRadioButton* m_pDataBits[2] = {};
    wxRadioButton* m_pParity[3] = {};
    wxRadioButton* m_pStopBits[2] = {};
    wxTextCtrl* m_pStations = nullptr;
    wxChoice* m_pModule = nullptr;
    wxButton* m_pSetIp = nullptr;
    wxButton* m_pOtherQw47 = nullptr;
    wxButton* m_pConnect = nullptr;
    wxButton* m_pDisconnect = nullptr;
};
