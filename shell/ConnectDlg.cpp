#include "shell/ConnectDlg.h"

#include "platform/DialogTextFit.h"
#include "platform/DialogUnits.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "session/CommSettings.h"
#include "session/LinkSetup.h"
#include "session/DriveSession.h"
#include "shell/AssignIpDlg.h"
#include "shell/SetIpDlg.h"

#include <arpa/inet.h>

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <chrono>
#include <thread>

int CConnectDlg::s_nAssignSettleMs = 5000;

namespace {

constexpr const char* kSetIpFailedText = "set IP address failed!";

wxString U8(const std::string& text)
{
    return wxString::FromUTF8(text);
}

wxString ResText(unsigned id)
{
    return wxString::FromUTF8(LoadResString(id));
}

wxString CaptionOf(const char* text)
{
    return wxString::FromUTF8(text);
}

wxString CaptionOf(unsigned id)
{
    return ResText(id);
}

template <typename Caption, std::size_t N>
void AddRadioGroup(wxDialog* dialog, wxRadioButton* (&buttons)[N], int firstId, const Caption (&captions)[N],
                   int x, int y, int width)
{
    for (std::size_t i = 0; i < N; ++i)
        buttons[i] = new wxRadioButton(dialog, firstId + static_cast<int>(i), CaptionOf(captions[i]),
                                       DlgPoint(dialog, x + static_cast<int>(i) * width, y), DlgSize(dialog, width, 10),
                                       i == 0 ? wxRB_GROUP : 0);
}

template <std::size_t N>
int CheckedIndex(wxRadioButton* const (&buttons)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        if (buttons[i]->GetValue())
            return static_cast<int>(i);
    return 0;
}

template <std::size_t N>
void CheckIndex(wxRadioButton* const (&buttons)[N], int index)
{
    if (index >= 0 && index < static_cast<int>(N))
        buttons[index]->SetValue(true);
}

} // namespace

CConnectDlg::CConnectDlg(wxWindow* parent, CDriveSession& session, int projectModelCode)
    : wxDialog(parent, IDD, ResText(IDS_CONNECT_CAPTION)), m_session(session), m_nProjectModelCode(projectModelCode)
{
    SetClientSize(DlgSize(this, 250, 196));

    new wxStaticText(this, wxID_ANY, ResText(IDS_PORT_LABEL), DlgPoint(this, 10, 10), DlgSize(this, 40, 10));
    // Editable: a port the system does not list (a pseudo-terminal) can be typed in.
    m_pPort = new wxComboBox(this, IDC_PORT, wxEmptyString, DlgPoint(this, 54, 8), wxSize(DlgSize(this, 110, 12).x, -1));

    static const char* const kBauds[] = {"4800", "9600", "19200", "38400"};
    const unsigned kDataBits[] = {IDS_DATA_7, IDS_DATA_8};
    const unsigned kParities[] = {IDS_PARITY_EVEN, IDS_PARITY_ODD, IDS_PARITY_NONE};
    const unsigned kStopBits[] = {IDS_STOP_1, IDS_STOP_2};
    new wxStaticBox(this, wxID_ANY, ResText(IDS_BAUD_BOX), DlgPoint(this, 6, 26), DlgSize(this, 238, 22));
    AddRadioGroup(this, m_pBaud, IDC_BAUD_4800, kBauds, 14, 35, 50);
    new wxStaticBox(this, wxID_ANY, ResText(IDS_DATA_BOX), DlgPoint(this, 6, 50), DlgSize(this, 76, 22));
    AddRadioGroup(this, m_pDataBits, IDC_DATA_7, kDataBits, 14, 59, 32);
    new wxStaticBox(this, wxID_ANY, ResText(IDS_PARITY_BOX), DlgPoint(this, 86, 50), DlgSize(this, 86, 22));
    AddRadioGroup(this, m_pParity, IDC_PARITY_EVEN, kParities, 92, 59, 26);
    new wxStaticBox(this, wxID_ANY, ResText(IDS_STOP_BOX), DlgPoint(this, 176, 50), DlgSize(this, 68, 22));
    AddRadioGroup(this, m_pStopBits, IDC_STOP_1, kStopBits, 182, 59, 30);

    new wxStaticText(this, wxID_ANY, ResText(IDS_STATION_LABEL), DlgPoint(this, 10, 82), DlgSize(this, 40, 10));
    m_pStations = new wxTextCtrl(this, IDC_STATIONS, wxEmptyString, DlgPoint(this, 54, 80), DlgSize(this, 110, 12));
    new wxStaticText(this, wxID_ANY, ResText(IDS_STATION_HINT), DlgPoint(this, 54, 95),
                     DlgSize(this, 190, 10));

    new wxStaticText(this, wxID_ANY, "TCPIP:", DlgPoint(this, 10, 114), DlgSize(this, 40, 10));
    m_pModule = new wxChoice(this, IDC_MODULE, DlgPoint(this, 54, 112), wxSize(DlgSize(this, 110, 12).x, -1));
    m_pSetIp = new wxButton(this, IDC_SET_IP, ResText(IDS_IP_SETTINGS), DlgPoint(this, 54, 130), DlgSize(this, 110, 14));
    m_pOtherQw47 = new wxButton(this, IDC_OTHER_QW47, ResText(IDS_OTHER_QW47), DlgPoint(this, 170, 130),
                                DlgSize(this, 70, 14));

    m_pConnect = new wxButton(this, wxID_OK, ResText(IDS_CONNECT_BUTTON), DlgPoint(this, 20, 172), DlgSize(this, 60, 16));
    m_pDisconnect = new wxButton(this, IDC_DISCONNECT, ResText(IDS_DISCONNECT_BUTTON), DlgPoint(this, 95, 172),
                                 DlgSize(this, 60, 16));
    new wxButton(this, wxID_CANCEL, ResText(IDS_CLOSE_BUTTON), DlgPoint(this, 170, 172), DlgSize(this, 60, 16));
    m_pConnect->SetDefault();

    Bind(wxEVT_BUTTON, &CConnectDlg::OnOK, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CConnectDlg::OnDisconnect, this, IDC_DISCONNECT);
    Bind(wxEVT_COMBOBOX, &CConnectDlg::OnSelChangePort, this, IDC_PORT);
    Bind(wxEVT_CHOICE, &CConnectDlg::OnSelChangeModule, this, IDC_MODULE);
    Bind(wxEVT_BUTTON, &CConnectDlg::OnSetIp, this, IDC_SET_IP);
    Bind(wxEVT_BUTTON, &CConnectDlg::OnOtherQw47, this, IDC_OTHER_QW47);

    InitControls();
}

void CConnectDlg::InitControls()
{
    CDriveSession& session = m_session;
    m_nBaudIndex = g_nBaudIndex;
    m_nDataBitsIndex = g_nDataBitsIndex;
    m_nParityIndex = g_nParityIndex;
    m_nStopBitsIndex = g_nStopBitsIndex;
    m_strStationText = g_strStationText;

    if (session.m_bConnected)
        m_pConnect->Disable();
    else
        m_pDisconnect->Disable();

    std::vector<std::string> ports = BuildPortList(ListSystemSerialPorts(), g_strCommPort, &m_nPortIndex);
    for (const std::string& port : ports)
        m_pPort->Append(U8(port));
    m_pPort->SetSelection(m_nPortIndex);

    if (session.m_bNetLink)
        m_nNetMode = 1;

    const bool netPort = PortText() == kNetPortName;
    if (session.m_bConnected) {
        m_modules.Load();
        if (session.m_bNetLink && session.m_pComm) {
            m_pModule->Append(U8(m_modules.m_strSelectedMac));
            m_pModule->SetSelection(0);
            char address[INET_ADDRSTRLEN] = {};
            ::inet_ntop(AF_INET, &session.m_pComm->m_netAddr.sin_addr, address, sizeof address);
            SetIpButtonText(address);
        } else {
            SetIpButtonText(LoadResString(IDS_SEARCH_IP));
        }
        m_pModule->Disable();
        m_pSetIp->Disable();
        m_pOtherQw47->Disable();
        m_pPort->Disable();
    } else if (!netPort) {
        SetIpButtonText(LoadResString(IDS_SEARCH_IP));
        m_pModule->Disable();
        m_pSetIp->Disable();
    } else if (SearchDevices() < 0) {
        SetIpButtonText(LoadResString(IDS_SEARCH_IP));
        m_pModule->Disable();
        m_pSetIp->Disable();
    } else {
        ShowModule(m_modules.m_strSelectedMac);
    }

    if (netPort) {
        m_nNetMode = 1;
    } else {
        m_nNetMode = 0;
        m_pModule->Disable();
    }
    TransferDataToWindow();
}

bool CConnectDlg::TransferDataToWindow()
{
    CheckIndex(m_pBaud, m_nBaudIndex);
    CheckIndex(m_pDataBits, m_nDataBitsIndex);
    CheckIndex(m_pParity, m_nParityIndex);
    CheckIndex(m_pStopBits, m_nStopBitsIndex);
    m_pStations->ChangeValue(U8(m_strStationText));
    return true;
}

bool CConnectDlg::TransferDataFromWindow()
{
    m_nBaudIndex = CheckedIndex(m_pBaud);
    m_nDataBitsIndex = CheckedIndex(m_pDataBits);
    m_nParityIndex = CheckedIndex(m_pParity);
    m_nStopBitsIndex = CheckedIndex(m_pStopBits);
    m_strStationText = m_pStations->GetValue().utf8_string();
    m_nPortIndex = m_pPort->GetSelection();
    return true;
}

std::string CConnectDlg::PortText() const
{
    return m_pPort->GetValue().Trim(true).Trim(false).utf8_string();
}

void CConnectDlg::SetIpButtonText(const std::string& text)
{
    m_pSetIp->SetLabel(U8(text));
    m_pSetIp->SetToolTip(U8(text));
    // An adapter's address and name can need more room than the button had;
    // before the dialog shows, showing it makes the room.
    if (IsShown())
        CDialogTextFit::Fit(this);
}

void CConnectDlg::ShowModule(const std::string& mac, const std::string& name, bool useName)
{
    int index = m_modules.FindDiscovered(mac);
    if (index < 0)
        index = 0;
    m_pModule->SetSelection(index);
    NetDeviceInfo& module = m_modules.m_Discovered[static_cast<std::size_t>(index)];
    if (useName)
        module.m_strName = name;
    SetIpButtonText(CNetModuleSettings::ButtonText(module));
    m_pModule->Enable();
    m_pSetIp->Enable();
    m_pOtherQw47->Enable();
}

int CConnectDlg::SearchDevices()
{
    CSerialComm* comm = EnsureLinkObject(m_session);
    comm->DiscoverModules(&m_modules.m_Discovered);
    m_pModule->Clear();
    if (m_modules.m_Discovered.empty()) {
        comm->Close();
        return -1;
    }
    for (const NetDeviceInfo& module : m_modules.m_Discovered)
        m_pModule->Append(U8(module.m_strMac));
    m_modules.Load();
    comm->Close();
    return static_cast<int>(m_modules.m_Discovered.size());
}

void CConnectDlg::OnOK(wxCommandEvent&)
{
    TransferDataFromWindow();
    ConnectRequest request;
    request.stationText = m_strStationText;
    request.port = PortText();
    request.baudIndex = m_nBaudIndex;
    request.dataBitsIndex = m_nDataBitsIndex;
    request.parityIndex = m_nParityIndex;
    request.stopBitsIndex = m_nStopBitsIndex;
    // The port field's text decides, whatever was chosen before: a typed
    // device path is a serial port, "TCPIP" the network adapter.
    m_nNetMode = request.port == kNetPortName ? 1 : 0;
    int module = m_pModule->GetSelection();
    if (request.port == kNetPortName && module >= 0 && module < static_cast<int>(m_modules.m_Discovered.size()))
        request.module = &m_modules.m_Discovered[static_cast<std::size_t>(module)];

    CDriveSession& session = m_session;
    bool connected = false;
    {
        wxBusyCursor wait;
        connected = ConnectStations(session, request, m_nProjectModelCode);
    }
    if (!connected)
        return;
    m_modules.m_strSelectedMac = m_pModule->GetStringSelection().utf8_string();
    if (m_onConnected)
        m_onConnected();
    FinishConnect(session, request, m_modules);
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

void CConnectDlg::OnDisconnect(wxCommandEvent&)
{
    CDriveSession& session = m_session;
    DisconnectLink(session);
    m_pConnect->Enable(!session.m_bConnected);
    m_pDisconnect->Enable(session.m_bConnected != 0);
    m_pPort->Enable();
    if (PortText() == kNetPortName) {
        m_pModule->Enable();
        m_pSetIp->Enable();
    } else {
        m_pOtherQw47->Enable();
    }
}

void CConnectDlg::OnSelChangePort(wxCommandEvent&)
{
    if (m_session.m_bConnected)
        return;
    TransferDataFromWindow();
    if (PortText() == kNetPortName) {
        m_nNetMode = 1;
        m_pSetIp->Enable();
        wxBusyCursor wait;
        if (SearchDevices() < 0)
            SetIpButtonText(LoadResString(IDS_SEARCH_IP));
        else
            ShowModule(m_modules.m_strSelectedMac);
        bool any = m_pModule->GetCount() > 0;
        m_pModule->Enable(any);
        m_pSetIp->Enable(any);
    } else {
        m_nNetMode = 0;
        m_pModule->Disable();
    }
    TransferDataToWindow();
}

void CConnectDlg::OnSelChangeModule(wxCommandEvent&)
{
    TransferDataFromWindow();
    int index = m_pModule->GetSelection();
    if (index >= 0 && index < static_cast<int>(m_modules.m_Discovered.size()))
        SetIpButtonText(CNetModuleSettings::ButtonText(m_modules.m_Discovered[static_cast<std::size_t>(index)]));
}

void CConnectDlg::OnSetIp(wxCommandEvent&)
{
    CSerialComm* comm = EnsureLinkObject(m_session);
    TransferDataFromWindow();
    if (m_modules.m_Discovered.empty()) {
        // Opened while connected, this dialog never searched: the adapter's
        // address on the button is not a listed module yet.
        wxBusyCursor wait;
        if (SearchDevices() < 0) {
            SetIpButtonText(LoadResString(IDS_SEARCH_IP));
            AfxMessageBox(IDS_NO_MODULE_FOUND, MB_OK);
            return;
        }
        ShowModule(m_modules.m_strSelectedMac);
    }
    int index = m_modules.FindDiscovered(m_pModule->GetStringSelection().utf8_string());
    if (index < 0)
        return;
    const NetDeviceInfo module = m_modules.m_Discovered[static_cast<std::size_t>(index)];

    CSetIpDlg dialog(this);
    dialog.m_strIp = module.m_strIp;
    dialog.m_strName = module.m_strName;
    if (dialog.ShowModal() != wxID_OK)
        return;

    if (dialog.m_strIp != module.m_strIp) {
        wxBusyCursor wait;
        if (!comm->setIPAddress(dialog.m_strIp, module.m_strMac)) {
            AfxMessageBox(kSetIpFailedText, MB_OK);
            comm->Close();
            return;
        }
        int found = SearchDevices();
        comm->Close();
        if (found < 0) {
            SetIpButtonText(LoadResString(IDS_SEARCH_IP));
            m_pModule->Disable();
            m_pSetIp->Disable();
            return;
        }
    }
    // The adapter takes the typed name (found again by its MAC after a new search).
    ShowModule(module.m_strMac, dialog.m_strName, true);
}

void CConnectDlg::OnOtherQw47(wxCommandEvent&)
{
    CSerialComm* comm = EnsureLinkObject(m_session);
    CAssignIpDlg dialog(this);
    if (dialog.ShowModal() != wxID_OK)
        return;
    wxBusyCursor wait;
    if (!comm->setIPAddress(dialog.m_strIp, dialog.m_strMac)) {
        AfxMessageBox(kSetIpFailedText, MB_OK);
        comm->Close();
        return;
    }
    // The adapter restarts its network side before it answers again.
    std::this_thread::sleep_for(std::chrono::milliseconds(s_nAssignSettleMs));
    if (SearchDevices() < 0) {
        SetIpButtonText(LoadResString(IDS_SEARCH_IP));
        m_pModule->Disable();
        m_pSetIp->Disable();
    } else {
        ShowModule(dialog.m_strMac);
    }
    TransferDataToWindow();
    comm->Close();
}
