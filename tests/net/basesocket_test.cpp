// Endpoints with real sockets, inside the test's private network namespace. Other computers are
// played by sockets bound to further loopback addresses (127.0.0.2, 127.0.0.3).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/artnetsocket.h"
#include "net/basenetevent.h"
#include "net/kivnetsocket.h"
#include "net/updatesocket.h"
#include "support/testudp.h"

using testing::ElementsAre;

namespace {

constexpr uint16_t kEndpointPort = 46517;
constexpr uint16_t kListenerPort = 46518;
constexpr int kWaitMs = 2000;
constexpr int kQuietMs = 300;

// Stands in for the main window: records every datagram event it is handed.
class RecordingOwner : public wxEvtHandler {
public:
    struct Received {
        int id;
        uint32_t senderIp;
        std::vector<uint8_t> bytes;
    };

    RecordingOwner() { Bind(bxEVT_NET_DATAGRAM, &RecordingOwner::OnDatagram, this); }

    std::vector<Received> received;

private:
    void OnDatagram(bxBaseNetEvent& event)
    {
        received.push_back({event.GetId(), event.senderIp,
                            std::vector<uint8_t>(event.data, event.data + event.length)});
    }
};

class EndpointTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(endpoint.Open(kEndpointPort)); }

    bool WaitForEvents(size_t count)
    {
        return PumpEventsUntil([&] { return owner.received.size() >= count; }, kWaitMs);
    }

    RecordingOwner owner;
    bxKivnetSocket endpoint{&owner, 6001};
};

std::vector<uint8_t> Bytes(size_t length, uint8_t fill)
{
    return std::vector<uint8_t>(length, fill);
}

} // namespace

TEST_F(EndpointTest, OpenUsesTheSamePortLocallyAndRemotely)
{
    EXPECT_EQ(endpoint.port, kEndpointPort);
    EXPECT_EQ(endpoint.remotePort, kEndpointPort);
}

TEST_F(EndpointTest, DatagramFromAnotherComputerIsDispatchedWithSenderAndId)
{
    TestUdpSocket device("127.0.0.2", 0);
    ASSERT_TRUE(device.SendTo("127.0.0.1", kEndpointPort, {1, 2, 3}));
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_EQ(owner.received[0].id, 6001);
    EXPECT_EQ(owner.received[0].senderIp, 0x7F000002u);
    EXPECT_THAT(owner.received[0].bytes, ElementsAre(1, 2, 3));
}

TEST_F(EndpointTest, OwnAddressesAndLoopbackProduceNoEvent)
{
    endpoint.ownAddresses = {0x7F000003};
    TestUdpSocket loopback("127.0.0.1", 0);
    TestUdpSocket ownAdapter("127.0.0.3", 0);
    TestUdpSocket device("127.0.0.2", 0);
    loopback.SendTo("127.0.0.1", kEndpointPort, {0xAA});
    ownAdapter.SendTo("127.0.0.1", kEndpointPort, {0xBB});
    device.SendTo("127.0.0.1", kEndpointPort, {0xCC});
    ASSERT_TRUE(WaitForEvents(1));
    PumpEventsFor(kQuietMs);
    ASSERT_EQ(owner.received.size(), 1u);
    EXPECT_THAT(owner.received[0].bytes, ElementsAre(0xCC));
}

TEST_F(EndpointTest, DatagramLongerThanTheBufferIsDroppedNotCut)
{
    TestUdpSocket device("127.0.0.2", 0);
    device.SendTo("127.0.0.1", kEndpointPort, Bytes(1537, 0x11));
    device.SendTo("127.0.0.1", kEndpointPort, Bytes(1536, 0x22));
    ASSERT_TRUE(WaitForEvents(1));
    PumpEventsFor(kQuietMs);
    ASSERT_EQ(owner.received.size(), 1u);
    EXPECT_EQ(owner.received[0].bytes, Bytes(1536, 0x22));
}

TEST_F(EndpointTest, DisabledEndpointSendsNothingAndDrainsWithoutDispatching)
{
    TestUdpSocket listener("127.0.0.2", kListenerPort);
    endpoint.remotePort = kListenerPort;
    endpoint.disabled = 1;
    std::vector<uint8_t> message = Bytes(8, 0);
    EXPECT_FALSE(endpoint.SendTo(message.data(), message.size(), "127.0.0.2"));
    std::vector<uint8_t> received;
    EXPECT_FALSE(listener.Receive(received, kQuietMs));

    TestUdpSocket device("127.0.0.2", 0);
    device.SendTo("127.0.0.1", kEndpointPort, {0x01});
    PumpEventsFor(kQuietMs);
    EXPECT_TRUE(owner.received.empty());

    // The datagram that arrived while disabled was consumed: only the next one comes through.
    endpoint.disabled = 0;
    device.SendTo("127.0.0.1", kEndpointPort, {0x02});
    ASSERT_TRUE(WaitForEvents(1));
    PumpEventsFor(kQuietMs);
    ASSERT_EQ(owner.received.size(), 1u);
    EXPECT_THAT(owner.received[0].bytes, ElementsAre(0x02));
}

TEST_F(EndpointTest, HeaderIsWrittenIntoEveryCopyOverWhatTheCallerLeftThere)
{
    TestUdpSocket first("127.0.0.2", kListenerPort);
    TestUdpSocket second("127.0.0.3", kListenerPort);
    endpoint.remotePort = kListenerPort;
    std::vector<uint8_t> message = Bytes(10, 0xEE);
    wxArrayString list;
    list.Add("127.0.0.2");
    list.Add("127.0.0.3");
    EXPECT_TRUE(endpoint.SendToList(message.data(), message.size(), list));
    for (TestUdpSocket* listener : {&first, &second}) {
        std::vector<uint8_t> received;
        ASSERT_TRUE(listener->Receive(received, kWaitMs));
        EXPECT_THAT(received, ElementsAre(0x00, 0x36, 0x93, 0x16, 0x00, 0x01, // magic, version
                                          0xEE, 0xEE, 0xEE, 0xEE));           // caller's bytes
    }
}

TEST_F(EndpointTest, EmptyListSendsNothingAndStillSucceeds)
{
    TestUdpSocket listener("127.0.0.2", kListenerPort);
    endpoint.remotePort = kListenerPort;
    std::vector<uint8_t> message = Bytes(8, 0);
    EXPECT_TRUE(endpoint.SendToList(message.data(), message.size(), wxArrayString()));
    std::vector<uint8_t> received;
    EXPECT_FALSE(listener.Receive(received, kQuietMs));
}

TEST_F(EndpointTest, AllOnesAddressGoesToTheLimitedBroadcast)
{
    TestUdpSocket listener("0.0.0.0", kListenerPort);
    endpoint.remotePort = kListenerPort;
    std::vector<uint8_t> message = Bytes(8, 0);
    EXPECT_TRUE(endpoint.SendToIp(message.data(), message.size(), 0xFFFFFFFF));
    std::vector<uint8_t> received;
    ASSERT_TRUE(listener.Receive(received, kWaitMs));
    EXPECT_EQ(received.size(), 8u);
}

TEST_F(EndpointTest, SecondEndpointOnAHeldPortFailsToOpen)
{
    RecordingOwner otherOwner;
    bxKivnetSocket second(&otherOwner, 6001);
    EXPECT_FALSE(second.Open(kEndpointPort));
}

TEST(EndpointHeaders, EachProtocolStampsItsOwnHeader)
{
    std::vector<uint8_t> buffer = Bytes(12, 0xEE);
    bxArtNetSocket artNet(nullptr, 6002);
    artNet.FillHeader(buffer.data());
    EXPECT_THAT(buffer, ElementsAre('A', 'r', 't', '-', 'N', 'e', 't', 0, 0xEE, 0xEE, 0x00, 0x0E));

    buffer = Bytes(12, 0xEE);
    exUpdateSocket update(nullptr, 6003);
    update.FillHeader(buffer.data());
    EXPECT_THAT(buffer,
                ElementsAre('M', '-', 'R', 0, 0xEE, 0xEE, 0x00, 0x00, 0xEE, 0xEE, 0xEE, 0xEE));
}
