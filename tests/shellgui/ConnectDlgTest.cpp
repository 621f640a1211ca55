// The Connect dialog, the adapter address dialogs and the password dialogs as
// windows, against the simulated drive on a pseudo-terminal and on loopback
// TCP as a network adapter.

#include "tests/session/ConnectTestSupport.h"

#include "document/D390DocData.h"
#include "platform/ResourceModule.h"
#include "session/LinkSetup.h"
#include "shell/AssignIpDlg.h"
#include "shell/ChangePasswordDlg.h"
#include "shell/ConnectDlg.h"
#include "shell/MotorParamListDlg.h"
#include "shell/PasswordInputDlg.h"
#include "shell/PasswordSetDlg.h"
#include "shell/SetIpDlg.h"
#include "tests/common/GuiTestSupport.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/dataview.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

namespace {

template <typename T>
T* Find(wxWindow* dialog, int id)
{
    T* control = dynamic_cast<T*>(dialog->FindWindow(id));
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
}

void Click(wxWindow* dialog, int id)
{
    wxWindow* control = dialog->FindWindow(id);
    ASSERT_NE(control, nullptr);
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(control);
    control->GetEventHandler()->ProcessEvent(click);
}

void ChoosePort(CConnectDlg& dialog, const std::string& port)
{
    wxComboBox* combo = Find<wxComboBox>(&dialog, CConnectDlg::IDC_PORT);
    int index = combo->FindString(wxString::FromUTF8(port));
    if (index >= 0)
        combo->SetSelection(index);
    else
        combo->SetValue(wxString::FromUTF8(port));
    wxCommandEvent change(wxEVT_COMBOBOX, CConnectDlg::IDC_PORT);
    change.SetEventObject(combo);
    combo->GetEventHandler()->ProcessEvent(change);
}

void SetText(wxWindow* dialog, int id, const std::string& text)
{
    Find<wxTextCtrl>(dialog, id)->ChangeValue(wxString::FromUTF8(text));
}

// The next modal dialog gets its texts and OK.
void AnswerNextDialog(std::vector<std::pair<int, std::string>> texts)
{
    SetModalAnswer([texts](wxDialog* shown) {
        for (const auto& [id, text] : texts)
            SetText(shown, id, text);
        shown->TransferDataFromWindow();
        shown->SetReturnCode(wxID_OK);
        return wxID_OK;
    });
}

class ConnectDlgTest : public ::testing::Test {
protected:
    void TearDown() override { SetModalAnswer(nullptr); }

    SettingsFolder m_settings;
    TestSession m_session;
    MessageRecorder m_messages;
};

std::string IpButton(wxWindow* dialog)
{
    return Find<wxButton>(dialog, CConnectDlg::IDC_SET_IP)->GetLabel().utf8_string();
}

} // namespace

TEST_F(ConnectDlgTest, ShowsTheLastSettingsAndConnectsOnThePseudoTerminal)
{
    auto drive = StartDrive(DriveConfig({1, 3}, 1205, 1093));
    g_strCommPort = drive->GetPtyPath();
    g_nBaudIndex = 3;
    g_nDataBitsIndex = 1;
    g_nParityIndex = 0;
    g_nStopBitsIndex = 0;
    g_strStationText = "1,3";

    CConnectDlg dialog(nullptr, m_session, 1205);
    wxComboBox* port = Find<wxComboBox>(&dialog, CConnectDlg::IDC_PORT);
    EXPECT_EQ(port->GetValue().utf8_string(), drive->GetPtyPath()) << "a typed-in path is listed and chosen";
    EXPECT_EQ(port->GetString(port->GetCount() - 1), "TCPIP");
    EXPECT_TRUE(Find<wxRadioButton>(&dialog, CConnectDlg::IDC_BAUD_4800 + 3)->GetValue());
    EXPECT_TRUE(Find<wxRadioButton>(&dialog, CConnectDlg::IDC_PARITY_EVEN)->GetValue());
    EXPECT_TRUE(Find<wxRadioButton>(&dialog, CConnectDlg::IDC_STOP_1)->GetValue());
    EXPECT_EQ(Find<wxTextCtrl>(&dialog, CConnectDlg::IDC_STATIONS)->GetValue(), "1,3");
    EXPECT_FALSE(dialog.FindWindow(CConnectDlg::IDC_DISCONNECT)->IsEnabled());
    EXPECT_FALSE(dialog.FindWindow(CConnectDlg::IDC_MODULE)->IsEnabled());
    EXPECT_EQ(IpButton(&dialog), LoadResString(61573));

    // Even parity and 38400 baud: a pseudo-terminal takes what it can.
    Find<wxRadioButton>(&dialog, CConnectDlg::IDC_PARITY_EVEN + 2)->SetValue(true);
    std::size_t messagesWhenConnected = 99;
    dialog.m_onConnected = [&] { messagesWhenConnected = m_messages.Texts().size(); };
    Click(&dialog, wxID_OK);
    EXPECT_EQ(messagesWhenConnected, 0u) << "the list is refreshed before \"Link successful!\"";
    EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61470)});
    EXPECT_EQ(m_session.m_bConnected, 1);
    EXPECT_EQ(m_session.m_Stations, (std::vector<int>{1, 3}));
    EXPECT_EQ(m_session.m_recorded.m_watchdogStarts, 1);
    EXPECT_EQ(m_session.m_recorded.GetStatusPaneText(kPaneVersion), LoadResString(61452) + "1.093");
    EXPECT_EQ(m_session.m_recorded.GetStatusPaneText(kPaneLink), LoadResString(61540));

    // Opened again while connected: Connect and the port list are off.
    CConnectDlg again(nullptr, m_session, 1205);
    EXPECT_FALSE(again.FindWindow(wxID_OK)->IsEnabled());
    EXPECT_TRUE(again.FindWindow(CConnectDlg::IDC_DISCONNECT)->IsEnabled());
    EXPECT_FALSE(again.FindWindow(CConnectDlg::IDC_PORT)->IsEnabled());
    EXPECT_EQ(Find<wxRadioButton>(&again, CConnectDlg::IDC_PARITY_EVEN + 2)->GetValue(), true);
    Click(&again, CConnectDlg::IDC_DISCONNECT);
    EXPECT_EQ(m_session.m_bConnected, 0);
    EXPECT_EQ(m_session.m_pComm, nullptr);
    EXPECT_TRUE(again.FindWindow(wxID_OK)->IsEnabled());
    EXPECT_FALSE(again.FindWindow(CConnectDlg::IDC_DISCONNECT)->IsEnabled());
    EXPECT_TRUE(again.FindWindow(CConnectDlg::IDC_PORT)->IsEnabled());
    EXPECT_EQ(m_session.m_recorded.GetStatusPaneText(kPaneLink), LoadResString(61455));
}

TEST_F(ConnectDlgTest, AFailedConnectKeepsTheDialogOpen)
{
    auto drive = StartDrive(DriveConfig({1}, 1205));
    drive->SetSilent(1, true);
    g_strCommPort = drive->GetPtyPath();
    CConnectDlg dialog(nullptr, m_session, kDefaultModelCode);
    SetText(&dialog, CConnectDlg::IDC_STATIONS, "1");
    dialog.SetReturnCode(0);
    Click(&dialog, wxID_OK);
    EXPECT_EQ(dialog.GetReturnCode(), 0);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61479)});
    EXPECT_EQ(m_session.m_bConnected, 0);
    EXPECT_TRUE(m_session.m_Stations.empty());

    m_messages.Clear();
    SetText(&dialog, CConnectDlg::IDC_STATIONS, "");
    Click(&dialog, wxID_OK);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61464)});
}

TEST_F(ConnectDlgTest, NetworkAdapterSearchSetIpAssignIpAndConnect)
{
    SimDriveConfig config = DriveConfig({1}, 1205);
    config.servePty = false;
    config.tcpPort = 0;
    config.udpPort = 0;
    auto drive = StartDrive(config);
    LoopbackAdapterSettings adapter(drive->GetUdpPort());

    // No adapter answers: the IP button asks for a search, the list is off.
    drive->SetDiscoverySilent(true);
    g_strCommPort = "TCPIP";
    {
        CConnectDlg silent(nullptr, m_session, 1205);
        EXPECT_EQ(IpButton(&silent), LoadResString(61573));
        EXPECT_FALSE(silent.FindWindow(CConnectDlg::IDC_MODULE)->IsEnabled());
        EXPECT_FALSE(silent.FindWindow(CConnectDlg::IDC_SET_IP)->IsEnabled());
    }
    drive->SetDiscoverySilent(false);

    g_strCommPort = "/dev/ttyS0";
    CConnectDlg dialog(nullptr, m_session, 1205);
    ChoosePort(dialog, "TCPIP");
    EXPECT_EQ(dialog.m_nNetMode, 1);
    wxChoice* modules = Find<wxChoice>(&dialog, CConnectDlg::IDC_MODULE);
    ASSERT_EQ(modules->GetCount(), 1u);
    EXPECT_EQ(modules->GetString(0), "00-20-4a-00-00-01");
    EXPECT_TRUE(modules->IsEnabled());
    EXPECT_EQ(IpButton(&dialog), "127.0.0.1()");

    // The same address, a new name: nothing goes to the adapter.
    drive->ClearFrameLog();
    AnswerNextDialog({{CSetIpDlg::IDC_IP, "127.0.0.1"}, {CSetIpDlg::IDC_NAME, "pump room"}});
    Click(&dialog, CConnectDlg::IDC_SET_IP);
    EXPECT_EQ(IpButton(&dialog), "127.0.0.1(pump room)");
    EXPECT_EQ(drive->GetModuleIp(), "127.0.0.1");

    // A new address: the adapter moves, a new search finds it there.
    AnswerNextDialog({{CSetIpDlg::IDC_IP, "127.0.0.5"}, {CSetIpDlg::IDC_NAME, "pump room"}});
    Click(&dialog, CConnectDlg::IDC_SET_IP);
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(drive->GetModuleIp(), "127.0.0.5");
    EXPECT_EQ(IpButton(&dialog), "127.0.0.5(pump room)");

    // Another adapter by MAC.
    CConnectDlg::s_nAssignSettleMs = 0;
    AnswerNextDialog({{CAssignIpDlg::IDC_MAC, "00-20-4a-00-00-01"}, {CAssignIpDlg::IDC_IP, "127.0.0.6"}});
    Click(&dialog, CConnectDlg::IDC_OTHER_QW47);
    CConnectDlg::s_nAssignSettleMs = 5000;
    EXPECT_EQ(drive->GetModuleIp(), "127.0.0.6");
    EXPECT_EQ(IpButton(&dialog).substr(0, 10), "127.0.0.6(");

    // A refused change.
    drive->SetRefuseAddressChange(true);
    AnswerNextDialog({{CSetIpDlg::IDC_IP, "127.0.0.7"}, {CSetIpDlg::IDC_NAME, "x"}});
    Click(&dialog, CConnectDlg::IDC_SET_IP);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"set IP address failed!"});
    EXPECT_EQ(drive->GetModuleIp(), "127.0.0.6");
    drive->SetRefuseAddressChange(false);
    SetModalAnswer(nullptr);

    // Connect through "TCPIP" to the adapter.
    m_messages.Clear();
    SetText(&dialog, CConnectDlg::IDC_STATIONS, "1");
    Click(&dialog, wxID_OK);
    EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61470)});
    EXPECT_EQ(m_session.m_bNetLink, 1);
    ASSERT_NE(m_session.m_pComm, nullptr);
    EXPECT_TRUE(m_session.m_pComm->IsNetLink());
    EXPECT_EQ(drive->GetFrameLog().back().transport, SimTransport::Tcp);

    // The dialog of a connected network link shows the adapter's address.
    CConnectDlg connected(nullptr, m_session, 1205);
    EXPECT_EQ(Find<wxChoice>(&connected, CConnectDlg::IDC_MODULE)->GetString(0), "00-20-4a-00-00-01");
    EXPECT_EQ(IpButton(&connected), "127.0.0.6");
    // After Disconnect there, the IP button searches first: with no adapter
    // answering it says so; once one answers, it offers that adapter.
    Click(&connected, CConnectDlg::IDC_DISCONNECT);
    EXPECT_EQ(m_session.m_pComm, nullptr);
    drive->SetDiscoverySilent(true);
    m_messages.Clear();
    Click(&connected, CConnectDlg::IDC_SET_IP);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61927)});
    drive->SetDiscoverySilent(false);
    int setIpShown = 0;
    SetModalAnswer([&](wxDialog* shown) {
        ++setIpShown;
        EXPECT_EQ(dynamic_cast<CSetIpDlg*>(shown)->m_strIp, "127.0.0.6");
        return int(wxID_CANCEL);
    });
    Click(&connected, CConnectDlg::IDC_SET_IP);
    EXPECT_EQ(setIpShown, 1);
    EXPECT_EQ(Find<wxChoice>(&connected, CConnectDlg::IDC_MODULE)->GetCount(), 1u);
    SetModalAnswer(nullptr);
    DisconnectLink(m_session);

    // Back to a serial port: network mode off.
    CConnectDlg serial(nullptr, m_session, 1205);
    ChoosePort(serial, "/dev/ttyS0");
    EXPECT_EQ(serial.m_nNetMode, 0);
    EXPECT_FALSE(serial.FindWindow(CConnectDlg::IDC_MODULE)->IsEnabled());
}

TEST_F(ConnectDlgTest, TheTypedPortDecidesSerialOrNetworkAfterTcpipWasUsed)
{
    SimDriveConfig config = DriveConfig({1}, 1205);
    config.tcpPort = 0;
    config.udpPort = 0;
    auto drive = StartDrive(config);
    LoopbackAdapterSettings adapter(drive->GetUdpPort());
    g_strCommPort = "TCPIP";
    g_strStationText = "1";

    CConnectDlg dialog(nullptr, m_session, 1205);
    ASSERT_EQ(dialog.m_nNetMode, 1) << "opens on the adapter it found";
    // Typed, as the README says, with no choice made in the list.
    Find<wxComboBox>(&dialog, CConnectDlg::IDC_PORT)->ChangeValue(wxString::FromUTF8(drive->GetPtyPath()));
    drive->ClearFrameLog();
    Click(&dialog, wxID_OK);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61470)});
    ASSERT_NE(m_session.m_pComm, nullptr);
    EXPECT_FALSE(m_session.m_pComm->IsNetLink());
    EXPECT_EQ(m_session.m_bNetLink, 0);
    ASSERT_FALSE(drive->GetFrameLog().empty());
    for (const SimFrame& frame : drive->GetFrameLog())
        EXPECT_EQ(frame.transport, SimTransport::Pty);
    EXPECT_EQ(g_strCommPort, drive->GetPtyPath());
    DisconnectLink(m_session);
}

TEST_F(ConnectDlgTest, DialogTextsFollowTheResourceLanguage)
{
    // Every caption and label of the link dialogs: English where the program
    // is English, Chinese where it is Chinese.
    auto texts = [](wxWindow* dialog) {
        std::vector<wxString> all{dialog->GetLabel()};
        for (wxWindow* child : dialog->GetChildren())
            if (!dynamic_cast<wxTextCtrl*>(child) && !dynamic_cast<wxComboBox*>(child))
                all.push_back(child->GetLabel());
        return all;
    };
    auto hasCjk = [](const wxString& text) {
        for (wxUniChar c : text)
            if (c.GetValue() >= 0x4E00 && c.GetValue() <= 0x9FFF)
                return true;
        return false;
    };
    g_strCommPort = "/dev/ttyS0";
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Chinese}) {
        SetResLanguage(language);
        CConnectDlg connect(nullptr, m_session, kDefaultModelCode);
        CSetIpDlg setIp;
        CAssignIpDlg assignIp;
        CMotorParamListDlg motors(nullptr, {});
        for (wxWindow* dialog : std::initializer_list<wxWindow*>{&connect, &setIp, &assignIp, &motors}) {
            bool cjk = false;
            for (const wxString& text : texts(dialog)) {
                if (language == ResLanguage::English) {
                    EXPECT_FALSE(hasCjk(text)) << text.utf8_string();
                }
                cjk = cjk || hasCjk(text);
            }
            EXPECT_EQ(cjk, language == ResLanguage::Chinese) << dialog->GetLabel().utf8_string();
        }
        if (language == ResLanguage::English) {
            EXPECT_EQ(connect.GetLabel(), "Connect");
            EXPECT_EQ(connect.FindWindow(wxID_CANCEL)->GetLabel(), "Close");
            EXPECT_EQ(connect.FindWindow(CConnectDlg::IDC_DISCONNECT)->GetLabel(), "Disconnect");
        } else {
            EXPECT_EQ(connect.GetLabel().utf8_string(), "连接");
            EXPECT_EQ(connect.FindWindow(wxID_CANCEL)->GetLabel().utf8_string(), "关闭");
        }
    }
    SetResLanguage(ResLanguage::English);
}

TEST_F(ConnectDlgTest, PasswordDialogsCheckTheirTexts)
{
    CPasswordSetDlg set;
    SetText(&set, CPasswordSetDlg::IDC_PASSWORD, "123");
    SetText(&set, CPasswordSetDlg::IDC_REPEAT, "124");
    set.SetReturnCode(0);
    Click(&set, wxID_OK);
    EXPECT_EQ(set.GetReturnCode(), 0) << "the dialog stays open";
    SetText(&set, CPasswordSetDlg::IDC_REPEAT, "123");
    Click(&set, wxID_OK);
    EXPECT_EQ(set.GetReturnCode(), wxID_OK);
    EXPECT_EQ(set.m_strPassword, "123");

    CChangePasswordDlg change;
    SetText(&change, CChangePasswordDlg::IDC_OLD, "1a");
    change.SetReturnCode(0);
    Click(&change, wxID_OK);
    EXPECT_EQ(change.GetReturnCode(), 0);
    SetText(&change, CChangePasswordDlg::IDC_OLD, "11");
    SetText(&change, CChangePasswordDlg::IDC_NEW, "65536");
    SetText(&change, CChangePasswordDlg::IDC_REPEAT, "65536");
    Click(&change, wxID_OK);
    EXPECT_EQ(change.GetReturnCode(), 0);
    SetText(&change, CChangePasswordDlg::IDC_NEW, "65535");
    SetText(&change, CChangePasswordDlg::IDC_REPEAT, "65535");
    Click(&change, wxID_OK);
    EXPECT_EQ(change.GetReturnCode(), wxID_OK);
    EXPECT_EQ(change.m_strOld, "11");
    EXPECT_EQ(change.m_strNew, "65535");

    CPasswordInputDlg input;
    SetText(&input, CPasswordInputDlg::IDC_PASSWORD, "9 9");
    input.SetReturnCode(0);
    Click(&input, wxID_OK);
    EXPECT_EQ(input.GetReturnCode(), 0);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{LoadResString(61550), LoadResString(61552),
                                                            LoadResString(61460), LoadResString(61552)}));
}

TEST_F(ConnectDlgTest, MotorParameterList)
{
    CMotorParamListDlg dialog(nullptr, {{"02-00", "Motor rated current"}, {"02-03", "Motor rated speed"}});
    wxDataViewListCtrl* list = dialog.GetList();
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetColumnCount(), 2u);
    EXPECT_EQ(list->GetColumn(0)->GetTitle().utf8_string(), LoadResString(61556));
    EXPECT_EQ(list->GetColumn(1)->GetTitle().utf8_string(), LoadResString(61542));
    EXPECT_EQ(list->GetTextValue(1, 0), "02-03");
    EXPECT_EQ(list->GetTextValue(1, 1), "Motor rated speed");
}
