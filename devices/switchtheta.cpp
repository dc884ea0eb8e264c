#include "devices/switchtheta.h"

#include "devices/canvasuicontrol.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"
#include "devices/switchport.h"
#include "devices/switchrecords.h"
#include "net/kivnetprotocol.h"

using exPanelDrawing::Place;

exSwitchTheta::exSwitchTheta(exCanvasControl* parent) : exBaseNode19Inch(parent, 0)
{
    title = "Pylon SwitchTheta";
    for (int i = 0; i < kPortCount; ++i)
        exSwitchRecords::AddPort(this, i, 565 - 45 * i, 75);
    // Ports 7 and 8 are combo ports: jack or SFP cage.
    switchPorts[6]->hasSfp = true;
    switchPorts[6]->sfpOffsetX = -150;
    switchPorts[7]->hasSfp = true;
    switchPorts[7]->sfpOffsetX = -60;
    ethernetPort2->socketCount = exEthernetPort::kInfoKey;
    Place(ethernetPort2, 700, 100);
    panelStyle = exCanvasUIControl::kLargeDisplay;
    Place(frontPanel, 520, 15);
}

void exSwitchTheta::RequestDeviceSettings()
{
    std::vector<uint8_t> settings =
        exKivnetProtocol::BuildHeaderOnly(exKivnetProtocol::kSwitchSettingsRequest);
    SendKivnet(settings, network.currentIp);
    std::vector<uint8_t> identify = exKivnetProtocol::BuildHeaderOnly(exKivnetProtocol::kIdentify);
    SendKivnet(identify, network.currentIp);
}

void exSwitchTheta::ProgramAll()
{
    if (host)
        return;
    SendSwitchSettings();
    SendNetworkSettings();
}

void exSwitchTheta::SendDeviceSettings()
{
    SendSwitchSettings();
}

void exSwitchTheta::SendSwitchSettings()
{
    // Every port goes out in the one message: a switch not read back would get defaults.
    if (!IsReadBack())
        return;
    exSwitchSettings settings = exSwitchRecords::CollectForSending(this);
    settings.switchWord = switchWord;
    std::vector<uint8_t> message =
        exKivnetProtocol::BuildSwitchSettings(exSwitchForm::Small, settings);
    SendKivnet(message, network.currentIp);
    SetDirty();
}

void exSwitchTheta::HandleReply(const uint8_t* reply, size_t length)
{
    exKivnetHeader header;
    if (!exKivnetProtocol::ReadHeader(reply, length, header))
        return;
    switch (header.command) {
    case exKivnetProtocol::kIdentifyReply: {
        exIdentifyReply identify;
        if (!exKivnetProtocol::ParseIdentifyReply(reply, length, identify))
            return;
        deviceId = identify.id;
        if (frontPanel->state.TakesReplies()) // an edited name not yet sent is the user's
            deviceName = identify.name;
        std::vector<uint8_t> request =
            exKivnetProtocol::BuildHeaderOnly(exKivnetProtocol::kSwitchSettingsRequest);
        SendKivnet(request, network.currentIp);
        RepaintIfShown();
        break;
    }
    case exKivnetProtocol::kSwitchSettingsRequest: {
        exSwitchSettings settings;
        if (!exKivnetProtocol::ParseSwitchSettingsReply(exSwitchForm::Small, reply, length,
                                                        settings))
            return;
        exSwitchRecords::TakeSettings(this, settings);
        switchWord = settings.switchWord;
        // A reply that left ports unread leaves the read-back asking.
        if (header.isReply && readBackStage == kDeviceStage && IsReadBack())
            EnterStage(kIdle);
        RepaintIfShown();
        break;
    }
    default:
        break;
    }
}
