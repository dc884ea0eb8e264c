// Where the update-port and Art-Net messages go: checked on recording endpoints.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/artnetprotocol.h"
#include "net/artnetsocket.h"
#include "net/updateprotocol.h"
#include "net/updatesocket.h"
#include "support/recordingendpoint.h"

using testing::ElementsAre;

namespace {

template <class Endpoint>
std::vector<wxString> Addresses(const RecordingEndpoint<Endpoint>& endpoint)
{
    std::vector<wxString> addresses;
    for (const auto& sent : endpoint.sent)
        addresses.push_back(sent.Address());
    return addresses;
}

wxArrayString TwoAdapters()
{
    wxArrayString list;
    list.Add("10.201.0.255");
    list.Add("192.168.1.255");
    return list;
}

} // namespace

TEST(SendPaths, DiscoveryGoesTwiceToTheLimitedBroadcastThenToEveryAdapter)
{
    RecordingEndpoint<exUpdateSocket> update;
    update.broadcastAddresses = TwoAdapters();
    exUpdateProtocol::SendDiscoveryRequest(update);
    EXPECT_THAT(Addresses(update), ElementsAre("255.255.255.255", "255.255.255.255",
                                               "10.201.0.255", "192.168.1.255"));
    for (const auto& sent : update.sent)
        EXPECT_THAT(sent.bytes, ElementsAre('M', '-', 'R', 0, 0x00, 0x10, 0x00, 0x00));
}

TEST(SendPaths, NetworkSettingsGoOnlyToTheAdapterBroadcasts)
{
    RecordingEndpoint<exUpdateSocket> update;
    update.broadcastAddresses = TwoAdapters();
    exUpdateProtocol::SendNetworkSettings(update, 7, 0x0108, 0xC0A80114, 0xFFFFFF00, false);
    EXPECT_THAT(Addresses(update), ElementsAre("10.201.0.255", "192.168.1.255"));
    ASSERT_EQ(update.sent[0].bytes.size(), 282u);

    RecordingEndpoint<exUpdateSocket> noAdapters;
    exUpdateProtocol::SendNetworkSettings(noAdapters, 7, 0x0108, 0xC0A80114, 0xFFFFFF00, false);
    EXPECT_TRUE(noAdapters.sent.empty());
}

TEST(SendPaths, PollOneDeviceByAddressOrThroughTheBroadcastsWithoutOne)
{
    RecordingEndpoint<bxArtNetSocket> artNet;
    artNet.broadcastAddresses = TwoAdapters();
    exArtNetProtocol::PollDevice(artNet, 0x0AC90042);
    EXPECT_THAT(Addresses(artNet), ElementsAre("10.201.0.66"));

    artNet.sent.clear();
    exArtNetProtocol::PollDevice(artNet, 0);
    EXPECT_THAT(Addresses(artNet), ElementsAre("10.201.0.255", "192.168.1.255"));

    artNet.sent.clear();
    exArtNetProtocol::PollAll(artNet);
    EXPECT_THAT(Addresses(artNet), ElementsAre("10.201.0.255", "192.168.1.255"));
    EXPECT_EQ(artNet.sent[0].bytes, exArtNetProtocol::BuildPoll());
}

TEST(SendPaths, DisabledEndpointRecordsNothing)
{
    RecordingEndpoint<exUpdateSocket> update;
    update.broadcastAddresses = TwoAdapters();
    update.disabled = 1;
    exUpdateProtocol::SendDiscoveryRequest(update);
    EXPECT_TRUE(update.sent.empty());
}
