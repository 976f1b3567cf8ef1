// The socket library's sender: one datagram per message, to the configured destination (the
// loopback address by default), from a socket bound to this workstation's address on the board
// network that never lets anything queue up unread.
#include <gtest/gtest.h>

#include <vector>

#include "platform/control/socket_thread.h"
#include "platform/control/tests/fixture.h"
#include "platform/control/tests/loopback.h"

namespace control {
namespace {

using testing::ReceiveWithin;

TEST(SocketThread, SendsEachMessageAsOneDatagramToTheLoopbackPortOfTheCall) {
    const UdpSocket boards = UdpSocket::BindLoopback(0);
    SocketThread sender(boards.LocalPort());
    EXPECT_EQ(sender.RebootPort(), boards.LocalPort());
    // Larger than the largest message the program builds (64 entries, many boards).
    std::vector<std::uint8_t> message(4000);
    for (std::size_t i = 0; i < message.size(); ++i) {
        message[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    EXPECT_EQ(
        sender.Send(boards.LocalPort(), static_cast<std::uint16_t>(message.size()), message.data()),
        1);
    auto datagram = ReceiveWithin(boards);
    ASSERT_TRUE(datagram);
    EXPECT_EQ(datagram->bytes, message);
    EXPECT_EQ(datagram->from.sin_addr.s_addr, LoopbackAddress(0).sin_addr.s_addr);

    // The port of the call counts, not the one the sender was made with; what cannot be sent is
    // refused and sends nothing.
    SocketThread other(1);
    EXPECT_EQ(other.Send(boards.LocalPort(), 0, message.data()), 0);
    EXPECT_EQ(other.Send(boards.LocalPort(), 2, nullptr), 0);
    EXPECT_EQ(other.Send(0, 2, message.data()), 0);
    EXPECT_EQ(other.Send(boards.LocalPort(), 2, message.data()), 1);
    datagram = ReceiveWithin(boards);
    ASSERT_TRUE(datagram);
    EXPECT_EQ(datagram->bytes, std::vector<std::uint8_t>(message.begin(), message.begin() + 2));
}

TEST(SocketThread, NobodyListeningIsNotTheSendersConcern) {
    // A port that was just free: the datagram is lost, as on a network without boards.
    std::uint16_t port = 0;
    {
        const UdpSocket once = UdpSocket::BindLoopback(0);
        port = once.LocalPort();
    }
    SocketThread sender(port);
    const std::uint8_t bytes[3] = {1, 2, 3};
    // The refusal of each datagram comes back to the socket; it is never the next one's failure.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sender.Send(port, 3, bytes), 1) << "send " << i;
    }
}

class ConfiguredSender : public testing::SimulationTest {
  protected:
    void Start(const std::function<void(BoardNetworkConfig&)>& adjust) {
        Config config = DefaultConfig();
        config.dataFolder = DataDir();
        adjust(config.boardNetwork);
        StartSimulation(std::move(config));
    }
};

// Bound to one address, never to every address of the machine (where anyone on the network
// could reach it), on the configured interface.
TEST_F(ConfiguredSender, IsBoundToTheBoardNetworksAddressAndSendsToTheDestination) {
    const struct {
        const char* name;
        std::function<void(BoardNetworkConfig&)> adjust;
        const char* bound;
    } cases[] = {
        {"default", [](BoardNetworkConfig&) {}, "127.0.0.1:"},
        {"interface", [](BoardNetworkConfig& n) { n.interfaceName = "lo"; }, "127.0.0.1:"},
        {"local address",
         [](BoardNetworkConfig& n) {
             n.interfaceName = "lo";
             n.localAddress = 0x7F000003;
         },
         "127.0.0.3:"},
        {"destination",
         [](BoardNetworkConfig& n) {
             n.destination = 0x7F000005;
             n.localAddress = 0x7F000004;
         },
         "127.0.0.4:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.adjust);
        const Ipv4Address destination = CurrentConfig()->boardNetwork.destination;
        const UdpSocket boards = UdpSocket::Bind(BindOptions{destination, 0, {}, false});
        SocketThread sender(boards.LocalPort());
        EXPECT_EQ(sender.LocalEndpoint().rfind(c.bound, 0), 0u) << sender.LocalEndpoint();
        const std::uint8_t bytes[2] = {7, 8};
        ASSERT_EQ(sender.Send(boards.LocalPort(), 2, bytes), 1);
        const auto datagram = testing::ReceiveWithin(boards);
        ASSERT_TRUE(datagram);
        EXPECT_EQ(EndpointText(datagram->from), sender.LocalEndpoint());
        ResetSimulation();
    }
}

TEST_F(ConfiguredSender, AnInterfaceThatIsNotThereIsASocketErrorNamingIt) {
    Start([](BoardNetworkConfig& n) { n.interfaceName = "no-such-if0"; });
    try {
        SocketThread sender(5150);
        ADD_FAILURE() << "made a sender on " << sender.LocalEndpoint();
    } catch (const SocketError& e) {
        EXPECT_NE(std::string(e.what()).find("no-such-if0"), std::string::npos) << e.what();
    }
}

// Datagrams sprayed at the sender from elsewhere never queue up on it, before or after a send.
TEST_F(ConfiguredSender, NothingAnyoneSendsItQueuesUp) {
    Start([](BoardNetworkConfig&) {});
    const UdpSocket boards = UdpSocket::BindLoopback(0);
    SocketThread sender(boards.LocalPort());
    const std::uint8_t bytes[2] = {1, 2};
    ASSERT_EQ(sender.Send(boards.LocalPort(), 2, bytes), 1);
    ASSERT_TRUE(testing::ReceiveWithin(boards));

    const auto colon = sender.LocalEndpoint().rfind(':');
    const auto port =
        static_cast<std::uint16_t>(std::stoi(sender.LocalEndpoint().substr(colon + 1)));
    const UdpSocket sprayer = UdpSocket::BindLoopback(0);
    const UdpSocket echo = UdpSocket::BindLoopback(0);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(sprayer.SendTo(LoopbackAddress(port), std::vector<std::uint8_t>(64, 0x42)));
    }
    // Sent after the spray from the same machine: once it has arrived, so has the spray.
    ASSERT_TRUE(sprayer.SendTo(echo.LocalEndpoint(), {bytes, 2}));
    ASSERT_TRUE(testing::ReceiveWithin(echo));
    EXPECT_FALSE(sender.HasWaiting());
    ASSERT_EQ(sender.Send(boards.LocalPort(), 2, bytes), 1);
    EXPECT_FALSE(sender.HasWaiting());
}

TEST(CorvaneSocket, DefaultsAreZeroAnd65535) {
    EXPECT_EQ(CorvaneSocket().Kind(), 0);
    EXPECT_EQ(CorvaneSocket().Port(), 65535);
}

}  // namespace
}  // namespace control
