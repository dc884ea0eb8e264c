#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <wx/bitmap.h>
#include <wx/font.h>
#include <wx/geometry.h>

#include "common/controls/canvascontrol.h"
#include "devices/networksettings.h"
#include "devices/readbackretry.h"

class exCanvasUIControl;
class exDMXPort;
class exEthernetPort;
class exSwitchPort;
struct exPortSettings;

// One detected device: its settings record and, as a canvas control, its drawing in the rack.
// It reads its settings back from the device, counts down its presence and sends what the
// dialogs changed.
class exBaseNode : public exCanvasControl {
public:
    enum ConnectionState { kOnline = 0, kLost = 1, kHosted = 3 };
    enum ReadBackStage { kIdle = 0, kDeviceStage = 1, kPortStage = 2, kPollStage = 3 };
    static constexpr int kReadBackTries = 6;
    static constexpr int kAliveMs = 5000;
    // A device not read back this long after it was found (or came back) needs attention.
    static constexpr int kReadBackOverdueMs = 5000;
    static constexpr int kDesignWidth = 770;
    static constexpr int kDesignHeight = 145;

    exBaseNode(exCanvasControl* parent, int dmxPortCount);

    wxSize Paint(wxGraphicsContext* gc) override;
    wxSize DrawChildren(wxGraphicsContext* gc) override;

    virtual wxSize PaintFront(wxGraphicsContext* gc);
    virtual wxSize PaintBack(wxGraphicsContext* gc);
    virtual void StartRefresh();
    virtual void RequestDeviceSettings();
    virtual void RequestPortSettings(int port);
    // Each stores what a reply carries and returns true; a refused reply (too short, or a port
    // mode other than 0, 1 and 2) stores nothing and returns false.
    virtual bool ParseDeviceSettings(const uint8_t* reply, size_t length);
    // `port` receives what the reply says, for the caller to act on.
    virtual bool ParsePortSettings(const uint8_t* reply, size_t length, exPortSettings& port);
    virtual void ParseInputPort(const exPortSettings& port);
    virtual void ParseOutputPort(const exPortSettings& port);
    virtual void ProgramAll();
    virtual void SendDeviceSettings();
    virtual void ProgramPort(exDMXPort* port);
    virtual void SendSwitchSettings();
    virtual void HandleReply(const uint8_t* reply, size_t length);
    virtual void Tick(int elapsedMs);
    virtual exDMXPort* GetDMXPort(int wirePort);
    virtual void SetFirstPortNumber(int first);
    virtual void PaintTitle(wxGraphicsContext* gc);
    virtual void OnAlive();
    // The device was away and may have been changed at its own panel meanwhile: everything it
    // reported is read again; the user's edits not yet sent stay.
    virtual void ReadAgain();
    // Every setting read from the device counts as not read; edits not yet sent stay.
    void ForgetReadValues();
    // Every setting this device's read-back fills has come from the device (or from the
    // user): its ID may still be coming.
    virtual bool IsReadBack() const;
    // Whether the settings that one message sends for `element` (this device's settings, a
    // port, a switch port) may be sent and edited: read from the device or set by the user.
    virtual bool MayEdit(const exCanvasControl* element) const;

    void SendNetworkSettings();
    // Asks for a repaint after a change of what the device shows, unless the device is out of
    // the rack's view.
    void RepaintIfShown();
    void PaintShade(wxGraphicsContext* gc);
    void PaintUnreachable(wxGraphicsContext* gc);
    void PaintLost(wxGraphicsContext* gc);
    // The warning drawn over a device whose address lies outside every local subnet.
    wxString UnreachableText() const;
    // The address Kivnet messages for this device go to: its own, or its host's for a module.
    uint32_t GetTargetIp() const;
    // The read-back moves to `stage` (asking from `port` on), with a full round of tries.
    void EnterStage(int stage, int port = 0);
    // Found (or back) for a while and still not read back.
    bool ReadBackOverdue() const { return !IsReadBack() && unreadMs >= kReadBackOverdueMs; }
    // What a click on an element whose settings have not been read yet opens instead of its
    // dialog: a message saying so.
    exCanvasControl* NotReadMessage(exCanvasControl* root, const wxString& element) const;

    wxString title;
    // The room the front panel gives the title, in design units; the title is set smaller
    // rather than run out of it.
    wxRect2DDouble titleBox;
    wxString deviceName;
    wxString displayLine2 = "-";
    bool locked = false;
    int displayTimeout = 0;
    int optionA = 0;
    int optionB = 0;
    int deviceId = 0;
    bool modified = false;
    wxBitmap warningImage;
    wxFont labelFont;
    exBaseNode* host = nullptr;
    int dmxPortCount;
    int switchPortCount = 0;
    int connectionState = kLost;
    int panelStyle = 2;
    std::vector<exDMXPort*> dmxPorts;
    std::vector<exSwitchPort*> switchPorts;
    exNetworkSettings network;
    exEthernetPort* ethernetPort1;
    exEthernetPort* ethernetPort2;
    exCanvasUIControl* frontPanel;
    int readBackStage = kIdle;
    int readBackPort = 0;
    int readBackRetries = 0;
    int aliveCountdown = 0;
    int portBase = 0;
    exReadBackRetry readBackRetry;
    // How long the device has been found and not read back.
    int unreadMs = 0;

protected:
    void SendKivnet(std::vector<uint8_t>& message, uint32_t ip);
    // Moves the read-back on after the reply for `wirePort` in the port stage.
    void AdvancePortStage(int wirePort);
    // On a discovery reply: a read-back whose tries ran out and whose wait is over asks again.
    void ResumeReadBackIfDue();
    void RelayoutRack();
    // Mode, universe and port value of the port a port settings reply names, if it has one.
    void StorePortSettings(const exPortSettings& port, int mode);
    void PaintOverlayText(wxGraphicsContext* gc, const wxString& text);

private:
    wxDECLARE_ABSTRACT_CLASS(exBaseNode);
};
