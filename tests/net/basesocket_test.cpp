// Endpoints with real sockets, inside the test's private network namespace. Other computers are
// played by sockets bound to further loopback addresses (127.0.0.2, 127.0.0.3).
#include <sys/socket.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include <glib.h>
#include <wx/timer.h>

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
    // The deepest the datagram handlers were nested when one of ours ran.
    int deepestDispatch = 0;

private:
    void OnDatagram(bxBaseNetEvent& event)
    {
        deepestDispatch = std::max(deepestDispatch, bxBaseSocket::DispatchDepth());
        received.push_back({event.GetId(), event.senderIp,
                            std::vector<uint8_t>(event.data, event.data + event.length)});
    }
};

// Room for a whole burst whatever the system's default limit is (the tests run as root in
// their own namespace, where forcing the size is allowed).
void EnlargeReceiveBuffer(const bxBaseSocket& endpoint)
{
    int bytes = 32 * 1024 * 1024;
    setsockopt(endpoint.socketFd, SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof(bytes));
}

// Datagram i of a burst: its number in the first four bytes, then a length and filling of its
// own, so that a datagram cut, merged or taken out of order shows.
std::vector<uint8_t> BurstDatagram(uint32_t i)
{
    const size_t length = (i % 500 == 499) ? 1536 : 4 + (i * 37) % 300;
    std::vector<uint8_t> bytes(length, uint8_t(i * 7 + 1));
    bytes[0] = uint8_t(i >> 24);
    bytes[1] = uint8_t(i >> 16);
    bytes[2] = uint8_t(i >> 8);
    bytes[3] = uint8_t(i);
    return bytes;
}

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

TEST_F(EndpointTest, DatagramLongerThanTheBufferOrEmptyIsDroppedNotCut)
{
    TestUdpSocket device("127.0.0.2", 0);
    device.SendTo("127.0.0.1", kEndpointPort, Bytes(1537, 0x11));
    device.SendTo("127.0.0.1", kEndpointPort, Bytes(1536, 0x22));
    device.SendTo("127.0.0.1", kEndpointPort, Bytes(9000, 0x33));
    device.SendTo("127.0.0.1", kEndpointPort, {});
    device.SendTo("127.0.0.1", kEndpointPort, Bytes(1, 0x44));
    ASSERT_TRUE(WaitForEvents(2));
    PumpEventsFor(kQuietMs);
    ASSERT_EQ(owner.received.size(), 2u);
    EXPECT_EQ(owner.received[0].bytes, Bytes(1536, 0x22));
    EXPECT_EQ(owner.received[1].bytes, Bytes(1, 0x44));
}

TEST_F(EndpointTest, BurstWaitingBeforeTheWakeUpIsTakenWholeInOrderInBoundedBatches)
{
    constexpr uint32_t kBurst = 5000;
    EnlargeReceiveBuffer(endpoint);
    TestUdpSocket device("127.0.0.2", 0);
    for (uint32_t i = 0; i < kBurst; ++i)
        ASSERT_TRUE(device.SendTo("127.0.0.1", kEndpointPort, BurstDatagram(i)));

    // One wake-up takes a bounded share and leaves the rest for later turns of the loop.
    EXPECT_EQ(endpoint.Drain(bxBaseSocket::kMaxDatagramsPerWake),
              bxBaseSocket::kMaxDatagramsPerWake);
    EXPECT_EQ(owner.received.size(), size_t(bxBaseSocket::kMaxDatagramsPerWake));

    ASSERT_TRUE(WaitForEvents(kBurst)) << owner.received.size() << " of " << kBurst;
    PumpEventsFor(kQuietMs);
    ASSERT_EQ(owner.received.size(), kBurst);
    for (uint32_t i = 0; i < kBurst; ++i)
        ASSERT_EQ(owner.received[i].bytes, BurstDatagram(i)) << "datagram " << i;
    EXPECT_EQ(owner.deepestDispatch, 1);
}

TEST_F(EndpointTest, NoDatagramHandlerRunsInsideAnotherWhileTimersAndEndpointsAreBusy)
{
    constexpr uint16_t kSecondPort = 46519;
    RecordingOwner secondOwner;
    bxArtNetSocket second(&secondOwner, 6002);
    ASSERT_TRUE(second.Open(kSecondPort));

    // A clock of its own that notes whether it ever fires inside a datagram handler.
    int ticks = 0;
    int deepestAtTick = 0;
    wxEvtHandler clockOwner;
    wxTimer clock(&clockOwner);
    clockOwner.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        ++ticks;
        deepestAtTick = std::max(deepestAtTick, bxBaseSocket::DispatchDepth());
    });
    clock.Start(5);

    std::atomic<bool> sending{true};
    std::thread sender([&] {
        TestUdpSocket device("127.0.0.2", 0);
        for (uint32_t i = 0; sending; ++i) {
            device.SendTo("127.0.0.1", kEndpointPort, BurstDatagram(i));
            device.SendTo("127.0.0.1", kSecondPort, BurstDatagram(i));
            if (i % 64 == 63)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    PumpEventsFor(600);
    sending = false;
    sender.join();
    clock.Stop();
    PumpEventsFor(kQuietMs);

    EXPECT_GT(owner.received.size(), 1000u);
    EXPECT_GT(secondOwner.received.size(), 1000u);
    EXPECT_GT(ticks, 3);
    EXPECT_EQ(owner.deepestDispatch, 1);
    EXPECT_EQ(secondOwner.deepestDispatch, 1);
    EXPECT_EQ(deepestAtTick, 0);
}

TEST_F(EndpointTest, DatagramsArriveEvenWhenMoreUrgentWorkIsReadyAtEveryTurn)
{
    // Ready at every turn of the loop and more urgent than the socket, as paints and timers
    // are on a machine too busy to paint within a tick.
    const guint busy = g_idle_add_full(
        G_PRIORITY_DEFAULT, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr,
        nullptr);
    TestUdpSocket device("127.0.0.2", 0);
    for (uint8_t i = 0; i < 10; ++i)
        device.SendTo("127.0.0.1", kEndpointPort, {i});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (owner.received.size() < 10 && std::chrono::steady_clock::now() < deadline)
        g_main_context_iteration(nullptr, FALSE);
    g_source_remove(busy);
    ASSERT_EQ(owner.received.size(), 10u);
    EXPECT_THAT(owner.received[9].bytes, ElementsAre(9));
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

TEST_F(EndpointTest, AddressTextThatIsNoDottedQuadIsRefusedNeverLookedUp)
{
    TestUdpSocket listener("127.0.0.2", kListenerPort);
    endpoint.remotePort = kListenerPort;
    std::vector<uint8_t> message = Bytes(8, 0);
    for (const char* address : {"localhost", "127.0.0", "127.0.0.2.1", "", "127.0.0.256"})
        EXPECT_FALSE(endpoint.SendTo(message.data(), message.size(), address)) << address;
    std::vector<uint8_t> received;
    EXPECT_FALSE(listener.Receive(received, kQuietMs));
    EXPECT_TRUE(endpoint.SendTo(message.data(), message.size(), "127.0.0.2"));
    EXPECT_TRUE(listener.Receive(received, kWaitMs));
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
