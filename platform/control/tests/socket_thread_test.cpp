// The socket library's sender: one datagram per message, to the loopback address.
#include <gtest/gtest.h>

#include <vector>

#include "platform/control/socket_thread.h"
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
    EXPECT_EQ(sender.Send(port, 3, bytes), 1);
}

TEST(CorvaneSocket, DefaultsAreZeroAnd65535) {
    EXPECT_EQ(CorvaneSocket().Kind(), 0);
    EXPECT_EQ(CorvaneSocket().Port(), 65535);
}

}  // namespace
}  // namespace control
