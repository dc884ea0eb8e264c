#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One simulated Pylon device: its settings, and how it answers and applies the datagrams it
// receives on the update port, Kivnet and Art-Net.
namespace sim {

constexpr uint16_t kUpdatePort = 6464;
constexpr uint16_t kKivnetPort = 6517;
constexpr uint16_t kArtNetPort = 6454;

enum Service { kUpdate = 0, kKivnet = 1, kArtNet = 2, kServiceCount = 3 };
uint16_t PortOf(Service service);

enum class Family { Node, SwitchTheta, SwitchIota, SwitchKappa };

struct ModelInfo {
    uint16_t code;
    const char* title;
    Family family;
    int dmxPorts;    // node models
    int portBase;    // added to a port's index to give its number on the wire
    int switchPorts; // switch models (the SwitchKappa's default; it may have 10 or 18)
};

const std::vector<ModelInfo>& AllModels();
const ModelInfo* FindModel(uint16_t code);

enum PortMode : uint8_t { kDisabled = 0, kInput = 1, kOutput = 2 };

struct DmxPort {
    uint8_t mode = kOutput;
    uint16_t universe = 0; // the universe word as it travels
    uint32_t value = 0;    // the port value the device keeps for itself
};

struct SwitchPort {
    uint8_t mode = 1; // 1 normal, 2 trunk/loop, 3 filter
    uint8_t speed = 0;
    uint16_t value = 1; // VLAN, or the loop partner in mode 2
};

constexpr int kBayCount = 15;

// How a device spoils its next Kivnet answer: Short cuts it one byte into the fields every
// answer of its kind carries; Mode gives a port settings reply mode 3, which no reader takes
// (any other answer is cut short instead).
enum class Spoil { None, Short, Mode };
// "none", "short" or "mode"; false for anything else.
bool ParseSpoil(const std::string& text, Spoil& spoil);

// The requests a device answers, as a device may be told to ignore the first few of a kind.
enum class Request {
    Discovery,
    DeviceSettings,
    PortSettings,
    Identify,
    SwitchSettings,
    ArtPoll,
    None, // not a request the device answers
};
constexpr size_t kRequestKinds = size_t(Request::None);
// "discovery", "deviceSettings", "portSettings", "identify", "switchSettings" or "artPoll".
bool ParseRequest(const std::string& text, Request& request);

// A change made on the device's own front panel: what it sets, the rest is left alone.
struct PanelChange {
    int64_t atMs = 0; // simulator time, for changes given in the device list
    bool rename = false;
    std::string name;
    int dmxPort = -1;   // wire number of the DMX port changed, -1 for none
    int mode = -1;      // -1: the port keeps its mode
    int universe = -1;  // -1: the port keeps its universe code
    int switchPort = 0; // switch port changed, from 1; 0 for none
    int speed = -1;
};

struct Device {
    const ModelInfo* model = nullptr;
    uint16_t modelCode = 0; // a SwitchKappa answers to two codes
    uint16_t unit = 0;
    uint32_t ip = 0; // the address it answers from (host order)
    uint32_t mask = 0;
    bool dhcp = false; // reports address 0 and keeps the address it has
    std::array<uint8_t, 6> mac{};
    std::string name;
    std::string line2 = "Ready";
    std::string longName; // empty: "Pylon <title> ID: <id>"
    bool locked = false;
    uint8_t displayTimeout = 1;
    uint8_t optionA = 0;
    uint8_t optionB = 0;
    int id = 0;
    bool answersArtNet = true;

    std::vector<DmxPort> ports;
    std::vector<SwitchPort> switchPorts;
    uint16_t switchWord = 1;
    uint8_t switchByteA = 0;
    uint8_t switchByteB = 0;
    std::array<std::vector<DmxPort>, kBayCount + 1> bays; // SwitchKappa modules, bays 1..15

    // Behaviour for tests.
    bool stopped = false;
    int64_t stopAtMs = -1;         // stops answering at this simulator time
    int delayMs = -1;              // -1: the simulator's delay
    bool answerTwice = false;      // every Kivnet answer goes out twice
    Spoil spoilNext = Spoil::None; // clears itself once a Kivnet answer has gone out spoiled
    // Slow devices.
    std::array<int, kRequestKinds> ignoreFirst{}; // requests of each kind still to be ignored
    int dropPercent = -1;                         // -1: the simulator's share
    int jitterMs = -1;                            // -1: the simulator's jitter
    int64_t pauseFromMs = -1;                     // answers nothing from this simulator time
    int64_t pauseUntilMs = -1;                    // until this one
    std::vector<PanelChange> panelChanges;        // made at their time, in the list's order

    bool IsSwitch() const { return model->family != Family::Node; }
    bool IsKappa() const { return model->family == Family::SwitchKappa; }
    // The port with this number on the wire, modules included; null when there is none.
    DmxPort* PortByWireNumber(int number);
    std::string ArtNetLongName() const;
};

// A fresh device of a model with its default ports.
Device MakeDevice(const ModelInfo& model, uint16_t modelCode);

// What one received datagram makes a device do.
struct Outcome {
    std::vector<std::vector<uint8_t>> answers; // sent back to the sender from the device
    bool addressChanged = false;               // the device now answers from another address
    Request request = Request::None;           // what the datagram asked, when answered
};

// Handles a datagram addressed to the device (or broadcast). Malformed and foreign datagrams
// change nothing and get no answer. A request the device is to ignore gets no answer and counts
// down its kind's ignoreFirst; a Kivnet answer is spoiled here when the device is due to (an
// ignored request leaves the spoil for the next answer).
Outcome HandleDatagram(Device& device, Service service, const uint8_t* data, size_t length);

// Answers, built from the device's settings.
std::vector<uint8_t> BuildDiscoveryReply(const Device& device);
std::vector<uint8_t> BuildDeviceSettingsReply(const Device& device);
std::vector<uint8_t> BuildPortSettingsReply(const Device& device, int wireNumber,
                                            const DmxPort& port);
std::vector<uint8_t> BuildIdentifyReply(const Device& device);
std::vector<uint8_t> BuildSwitchSettingsReply(const Device& device);
std::vector<uint8_t> BuildArtPollReply(const Device& device);
// Spoils one Kivnet answer in place.
void SpoilAnswer(std::vector<uint8_t>& answer, Spoil how);

// Makes a front-panel change; false with the reason in `error` when the device has no such
// port or the value cannot be set, and then nothing is changed.
bool ApplyPanelChange(Device& device, const PanelChange& change, std::string& error);
// "disabled", "input", "output" or 0..2.
bool ParsePortMode(const std::string& text, int& mode);

std::string AddressText(uint32_t address);
bool ParseAddress(const std::string& text, uint32_t& address);

} // namespace sim
