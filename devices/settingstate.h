#pragma once

#include <cstdint>

// Where the values of one setting came from: never read from the device, read from it, or edited
// by the user and not yet sent. A setting here is what one message reads and writes together (a
// DMX port, a switch port, the device settings, the network settings). It decides what may be
// sent (only what was read or edited), what a reply may overwrite (all but an edit still waiting)
// and how the drawing shows the values (not read, as the device has them, or red).
class exSettingState {
public:
    enum Origin : uint8_t { kNotRead, kRead, kEdited };
    // Drawn where a value not read yet would be; a display says more.
    static constexpr const char* kNotReadMark = "?";
    static constexpr const char* kNotReadLine = "Not read yet";

    Origin GetOrigin() const { return origin; }
    bool IsRead() const { return origin == kRead; }
    bool IsEdited() const { return origin == kEdited; }
    // Read from the device or set by the user: nothing else is ever sent.
    bool MaySend() const { return origin != kNotRead; }
    // A reply may write the values unless the user's edit is waiting to be sent.
    bool TakesReplies() const { return origin != kEdited; }

    // The device reported the values; a pending edit stays the user's.
    void Read()
    {
        if (origin == kNotRead)
            origin = kRead;
    }
    void Edit() { origin = kEdited; }
    // The edited values went out: the device holds them from now on.
    void Sent()
    {
        if (origin == kEdited)
            origin = kRead;
    }
    // The device may hold something else now (it was away, a module was changed): its values
    // must be read again before they are shown as its own or sent. A pending edit stays.
    void Forget()
    {
        if (origin == kRead)
            origin = kNotRead;
    }

private:
    Origin origin = kNotRead;
};
