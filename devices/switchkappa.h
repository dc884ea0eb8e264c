#pragma once

#include <array>

#include "devices/basenode19inch.h"

class exNodeZeta;

// The large managed switch: 10 or 18 ports, as the switch reports, and fifteen bays for plug-in
// node modules. Each module is a NodeZeta of its own in the rack, right below the switch, whose
// DMX ports the switch reads and programs under wire port numbers 16 x bay + port.
class exSwitchKappa : public exBaseNode19Inch {
public:
    static constexpr uint16_t kModelCode = 0x0319;
    static constexpr uint16_t kLaterModelCode = 0x2024;
    static constexpr int kBays = 15;
    static constexpr int kPortsPerBay = 16;
    static constexpr int kIdentifyIntervalMs = 1000;

    explicit exSwitchKappa(exCanvasControl* parent);

    void RequestDeviceSettings() override;
    void ProgramAll() override;
    void SendDeviceSettings() override;
    void SendSwitchSettings() override;
    void HandleReply(const uint8_t* reply, size_t length) override;
    void Tick(int elapsedMs) override;
    exDMXPort* GetDMXPort(int wirePort) override;
    void PaintTitle(wxGraphicsContext* gc) override;
    void OnAlive() override;
    // The switch and the modules in its bays.
    void ReadAgain() override;

    // Rebuilds the switch port elements for a switch with `count` ports.
    void SetSwitchPortCount(int count);

    // Kept from the device and sent back as they came.
    uint16_t switchWord = 0;
    uint8_t switchByteA = 0;
    uint8_t switchByteB = 0;
    // Per bay 1..15: the module's DMX port count as the switch reports it, and its module.
    std::array<int, kBays + 1> bayPorts{};
    std::array<exNodeZeta*, kBays + 1> modules{};
    bool moduleCreationFailed = false;
    int portRepliesRead = 0;
    int identifyElapsed = 0;

private:
    void TakeBays(const std::array<uint8_t, 16>& counts);
    bool CreateModule(int bay);
    void HandleIdentify(const uint8_t* reply, size_t length);
    void HandleSettings(const uint8_t* reply, size_t length, bool isReply);
    void HandleModulePort(const uint8_t* reply, size_t length);
    // Wire number of the first port of the first bay holding a module; -1 when none does.
    int FirstModulePort() const;
    // The wire port read after `wirePort`: the next port of its bay, else port 0 of the next
    // bay that holds a module; -1 when the read-back is complete.
    int NextModulePort(int wirePort) const;
};
