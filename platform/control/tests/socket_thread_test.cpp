// The socket library's sender: one datagram per message, to the loopback address.
#include <gtest/gtest.h>

#include <vector>

#include "platform/control/socket_thread.h"
#include "platform/control/tests/loopback.h"

namespace control {
namespace {

using testing::ReceiveWithin;

TEST(SocketThread, SendsTheMessageAsOneDatagramToTheLoopbackPort) {
    const UdpSocket boards = UdpSocket::BindLoopback(0);
    SocketThread sender(boards.LocalPort());
    EXPECT_EQ(sender.RebootPort(), boards.LocalPort());
    // Larger than the largest message the program builds (64 entries, many boards).
    std::vector<std::uint8_t> message(4000);
    for (std::size_t i = 0; i < message.size(); ++i) {
        message[i] = static_cast<std::uint8_t>(i * 7);
    }
    EXPECT_EQ(
        sender.Send(boards.LocalPort(), static_cast<std::uint16_t>(message.size()), message.data()),
        1);
    const auto datagram = ReceiveWithin(boards);
    ASSERT_TRUE(datagram);
    EXPECT_EQ(datagram->bytes, message);
    EXPECT_EQ(datagram->from.sin_addr.s_addr, LoopbackAddress(0).sin_addr.s_addr);
}

TEST(SocketThread, SendsToThePortOfTheCallNotTheOneItWasMadeWith) {
    const UdpSocket boards = UdpSocket::BindLoopback(0);
    SocketThread sender(1);
    const std::uint8_t byte = 0x42;
    EXPECT_EQ(sender.Send(boards.LocalPort(), 1, &byte), 1);
    const auto datagram = ReceiveWithin(boards);
    ASSERT_TRUE(datagram);
    EXPECT_EQ(datagram->bytes, std::vector<std::uint8_t>{0x42});
}

TEST(SocketThread, RefusesWhatCannotBeSent) {
    const UdpSocket boards = UdpSocket::BindLoopback(0);
    SocketThread sender(boards.LocalPort());
    const std::uint8_t bytes[2] = {1, 2};
    EXPECT_EQ(sender.Send(boards.LocalPort(), 0, bytes), 0);
    EXPECT_EQ(sender.Send(boards.LocalPort(), 2, nullptr), 0);
    EXPECT_EQ(sender.Send(0, 2, bytes), 0);
    EXPECT_EQ(sender.Send(boards.LocalPort(), 2, bytes), 1);
    const auto datagram = ReceiveWithin(boards);
    ASSERT_TRUE(datagram);
    EXPECT_EQ(datagram->bytes.size(), 2u) << "the refused sends sent nothing";
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
    const CorvaneSocket socket;
    EXPECT_EQ(socket.Kind(), 0);
    EXPECT_EQ(socket.Port(), 65535);
    const CorvaneSocket other(2, 5150);
    EXPECT_EQ(other.Kind(), 2);
    EXPECT_EQ(other.Port(), 5150);
}

TEST(UdpSocket, ABusyPortIsRefusedNamingIt) {
    const UdpSocket first = UdpSocket::BindLoopback(0);
    try {
        UdpSocket::BindLoopback(first.LocalPort());
        FAIL() << "bound a port already in use";
    } catch (const SocketError& e) {
        EXPECT_NE(std::string(e.what()).find(std::to_string(first.LocalPort())), std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace control
