#pragma once

#include <cstdint>

#include <wx/font.h>

#include "common/controls/canvascontrol.h"
#include "devices/settingstate.h"

class exBaseNode;

// One DMX port of a device: its mode, protocol, universe and port value, drawn as a 5-pin
// connector with its number, direction and universe.
class exDMXPort : public exCanvasControl {
public:
    static constexpr int kDisabled = 0;
    static constexpr int kInput = 1;
    static constexpr int kOutput = 2;

    exDMXPort(exBaseNode* device, int index);

    wxSize Paint(wxGraphicsContext* gc) override;
    // Opens the port's settings dialog over the rack.
    bool OnClick(exCanvasControl* source, int x, int y) override;
    // The settings dialog for this port, made for `root`, not yet open.
    virtual exCanvasControl* CreateDialog(exCanvasControl* root);

    // Protocol and universe from the 16-bit word the devices send.
    void SetUniverseCode(uint16_t code);
    // The word to send: 0 when protocol or universe is not set.
    uint16_t GetUniverseCode() const;
    wxString GetUniverseText() const;
    // The number drawn inside the connector.
    wxString GetNumberLabel() const;
    exBaseNode* GetDevice() const;

    int portNumber;
    int mode = kDisabled;
    int protocol = -1;
    int universe = -1;
    bool optionFlag = false;
    exSettingState state;
    uint32_t portValue = 0;
    wxFont labelFont;
};
