// The adapter search and the adapter's own exchanges, with simulated adapters
// on loopback addresses.

#include "link/Crc16.h"
#include "link/SerialComm.h"
#include "link/UdpSocket.h"
#include "tools/SimulatedDrive.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// A UDP port free on loopback now.
uint16_t FreeUdpPort()
{
    sockaddr_in any{};
    MakeSocketAddress("127.0.0.1", 0, any);
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0)
        bound.sin_port = 0;
    if (fd >= 0)
        ::close(fd);
    return ntohs(bound.sin_port);
}

class DiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_port = FreeUdpPort();
        ASSERT_NE(m_port, 0);
        m_settings.localAddress = "127.0.0.1";
        m_settings.localPort = 0;
        m_settings.destAddress = "127.255.255.255";
        m_settings.destPort = m_port;
        // The simulated adapters answer at once; the limits are wide for a
        // loaded machine and keep the tests short when nothing answers.
        m_settings.quietMs = 3000;
        m_settings.searchLimitMs = 10000;
        m_settings.replyMs = 3000;
        m_settings.identifyMs = 3000;
        m_comm.SetNetAdapterSettings(m_settings);
    }

    void TearDown() override
    {
        for (auto& module : m_modules)
            module->Stop();
    }

    CSimulatedDrive& AddModule(const std::string& ip, uint8_t lastMacByte)
    {
        SimDriveConfig config;
        config.servePty = false;
        config.tcpPort = 0;
        config.udpPort = m_port;
        config.moduleIp = ip;
        config.discoveryAddress = "127.255.255.255";
        config.mac = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, lastMacByte};
        m_modules.push_back(std::make_unique<CSimulatedDrive>(config));
        std::string error;
        EXPECT_TRUE(m_modules.back()->Start(&error)) << error;
        return *m_modules.back();
    }

    uint16_t m_port = 0;
    NetAdapterSettings m_settings;
    CSerialComm m_comm;
    std::vector<std::unique_ptr<CSimulatedDrive>> m_modules;
};

TEST_F(DiscoveryTest, TwoModulesAnswer)
{
    AddModule("127.0.0.2", 0x5F);
    AddModule("127.0.0.3", 0x60);
    std::vector<NetDeviceInfo> found(3); // what an earlier search left
    EXPECT_EQ(m_comm.DiscoverModules(&found), 2);
    ASSERT_EQ(found.size(), 2u);
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.m_strIp < b.m_strIp; });
    EXPECT_EQ(found[0].m_strMac, "0a-1b-2c-3d-4e-5f");
    EXPECT_EQ(found[0].m_strIp, "127.0.0.2");
    EXPECT_EQ(found[1].m_strMac, "0a-1b-2c-3d-4e-60");
    EXPECT_EQ(found[1].m_strIp, "127.0.0.3");
    for (const auto& info : found) {
        EXPECT_TRUE(info.m_strName.empty());
        EXPECT_EQ(info.m_addr.sin_family, AF_INET);
        EXPECT_EQ(ntohs(info.m_addr.sin_port), m_port) << "the sender's address as received";
    }
}

TEST_F(DiscoveryTest, ShortRepliesNameNoModule)
{
    AddModule("127.0.0.2", 0x5F);
    AddModule("127.0.0.3", 0x60).SetSearchReplyLength(29);
    std::vector<NetDeviceInfo> found;
    EXPECT_EQ(m_comm.DiscoverModules(&found), 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].m_strMac, "0a-1b-2c-3d-4e-5f");
}

TEST_F(DiscoveryTest, OwnRequestEchoedIsNoModule)
{
    // The search sends to its own port and so hears its own request.
    uint16_t own = FreeUdpPort();
    m_settings.localPort = own;
    m_settings.destAddress = "127.0.0.1";
    m_settings.destPort = own;
    m_settings.quietMs = 1000;
    m_comm.SetNetAdapterSettings(m_settings);
    std::vector<NetDeviceInfo> found(1);
    EXPECT_EQ(m_comm.DiscoverModules(&found), 0);
    EXPECT_TRUE(found.empty());
}

TEST_F(DiscoveryTest, PortAlreadyBoundEndsTheSearchAtOnce)
{
    AddModule("127.0.0.2", 0x5F);
    UdpSocket holder;
    sockaddr_in address{};
    uint16_t taken = FreeUdpPort();
    MakeSocketAddress("127.0.0.1", taken, address);
    ASSERT_TRUE(holder.Bind(address));
    m_settings.localPort = taken;
    m_settings.quietMs = 60000;
    m_settings.searchLimitMs = 120000;
    m_comm.SetNetAdapterSettings(m_settings);
    std::vector<NetDeviceInfo> found(2);
    auto start = Clock::now();
    EXPECT_EQ(m_comm.DiscoverModules(&found), 0);
    EXPECT_TRUE(found.empty());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30)) << "no waiting for replies";
}

TEST_F(DiscoveryTest, ChattyNetworkCannotProlongTheSearch)
{
    uint16_t own = FreeUdpPort();
    m_settings.localPort = own;
    m_settings.destAddress = "127.0.0.1";
    m_settings.destPort = FreeUdpPort(); // nobody there
    m_settings.quietMs = 60000;
    m_settings.searchLimitMs = 1500;
    m_comm.SetNetAdapterSettings(m_settings);

    std::atomic<bool> stop{false};
    std::thread chatter([&] {
        UdpSocket socket;
        sockaddr_in to{};
        MakeSocketAddress("127.0.0.1", own, to);
        const uint8_t noise[40] = {0, 0, 0, 0x42};
        while (!stop) {
            socket.SendTo(noise, sizeof noise, to);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    std::vector<NetDeviceInfo> found;
    auto start = Clock::now();
    EXPECT_EQ(m_comm.DiscoverModules(&found), 0);
    auto took = Clock::now() - start;
    stop = true;
    chatter.join();
    EXPECT_LT(took, std::chrono::seconds(30)) << "the search ended on its limit, not on silence";
}

TEST_F(DiscoveryTest, NewAddressForAModule)
{
    CSimulatedDrive& module = AddModule("127.0.0.2", 0x5F);
    EXPECT_EQ(m_comm.setIPAddress("127.0.0.9", "0a-1b-2c-3d-4e-5f"), 1);
    EXPECT_EQ(module.GetModuleIp(), "127.0.0.9");
    std::vector<NetDeviceInfo> found;
    ASSERT_EQ(m_comm.DiscoverModules(&found), 1);
    EXPECT_EQ(found[0].m_strIp, "127.0.0.9");

    module.SetRefuseAddressChange(true);
    EXPECT_EQ(m_comm.setIPAddress("127.0.0.10", "0a-1b-2c-3d-4e-5f"), 0) << "refused";
    module.SetRefuseAddressChange(false);

    m_settings.replyMs = 500;
    m_comm.SetNetAdapterSettings(m_settings);
    EXPECT_EQ(m_comm.setIPAddress("127.0.0.10", "0a-1b-2c-3d-4e-77"), 0) << "no module has that MAC";
    EXPECT_EQ(m_comm.setIPAddress("127.0.0.256", "0a-1b-2c-3d-4e-5f"), 0) << "no address";
    EXPECT_EQ(m_comm.setIPAddress("127.0.0.10", "0a-1b-2c"), 0) << "no MAC";
    EXPECT_EQ(module.GetModuleIp(), "127.0.0.9");
}

TEST_F(DiscoveryTest, ConnectThroughTheAdapter)
{
    CSimulatedDrive& module = AddModule("127.0.0.2", 0x5F);
    module.AddRegister(1, 0x0105, 0x4321);
    std::vector<NetDeviceInfo> found;
    ASSERT_EQ(m_comm.DiscoverModules(&found), 1);

    // As the Connect dialog does: the module's address, its MAC, then open.
    m_comm.m_netAddr = found[0].m_addr;
    m_comm.GetStrMac(found[0].m_strMac);
    ASSERT_NE(m_comm.InitComm("TCPIP", 9600, 8, 0, 1.0f), 0) << m_comm.GetSettingsReport();
    EXPECT_TRUE(m_comm.IsNetLink());

    uint8_t request[8] = {0x01, 0x03, 0x01, 0x05, 0x00, 0x01};
    AppendCrc16(request, 6);
    uint8_t reply[7] = {};
    ASSERT_EQ(m_comm.CommandSend(request, 8, reply, 7), kErrNone);
    uint8_t expected[7] = {0x01, 0x03, 0x02, 0x43, 0x21};
    AppendCrc16(expected, 5);
    EXPECT_EQ(0, std::memcmp(reply, expected, 7));
    auto frames = module.GetFrameLog();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().transport, SimTransport::Tcp);
    EXPECT_EQ(frames.back().request, std::vector<uint8_t>(request, request + 8));

    m_comm.SetTimeouts(LinkTimeouts{.firstByteMs = 500, .interByteMs = 250, .frameMs = 1500, .writeMs = 1000});
    module.SetSilent(1, true);
    EXPECT_EQ(m_comm.CommandSend(request, 8, reply, 7), kErrTimeout);
    module.Stop();
    EXPECT_EQ(m_comm.CommandSend(request, 8, reply, 7), kErrComm) << "the adapter has gone";
}

} // namespace
