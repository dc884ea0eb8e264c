#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <wx/arrstr.h>
#include <wx/event.h>
#include <wx/evtloopsrc.h>
#include <wx/thread.h>
#include <wx/timer.h>

// One UDP endpoint: bound on all local addresses at its port, broadcast enabled, sending to the
// same port number on the devices. Every received datagram from another computer is handed to
// `owner` at once as a bxBaseNetEvent carrying `eventId`.
//
// The socket is a plain non-blocking one watched by the event loop: when it becomes readable,
// what has arrived is taken in batches without ever waiting on the socket, so no handler runs
// inside another and a flood cannot hold the window up for longer than one batch.
class bxBaseSocket : public wxEvtHandler, private wxEventLoopSourceHandler {
public:
    // Largest datagram the endpoints accept; anything longer is dropped, never cut.
    static constexpr size_t kMaxDatagramLength = 1536;
    // Datagrams taken from the system per call.
    static constexpr int kReceiveBatch = 32;
    // Datagrams taken per wake-up of the event loop; the rest waits for the next turn, after
    // paints, clicks and timers.
    static constexpr int kMaxDatagramsPerWake = 256;
    static constexpr int kReceiveBufferBytes = 2 * 1024 * 1024;
    // The loop serves the socket only when nothing more urgent is ready. Should paints and
    // timers be ready at every turn (a machine too busy to paint within a tick), a clock of
    // the endpoint's own, as urgent as any timer, takes what waits once the socket has gone
    // this long unserved.
    static constexpr int kUnservedLimitMs = 200;
    static constexpr int kMaxDatagramsWhenUnserved = 4 * kMaxDatagramsPerWake;

    bxBaseSocket(wxEvtHandler* owner, int eventId);
    ~bxBaseSocket() override;

    // False when the port cannot be had; `openError` then says why (an errno value).
    bool Open(uint16_t port);

    virtual bool SendToList(uint8_t* buffer, size_t length, const wxArrayString& list);
    // `address` in dotted form; anything else is refused, never looked up.
    virtual bool SendTo(uint8_t* buffer, size_t length, const wxString& address);
    virtual bool SendToIp(uint8_t* buffer, size_t length, uint32_t ip);
    virtual bool IsOwnAddress(uint32_t ip);
    virtual void DispatchDatagram(const uint8_t* data, size_t length, uint32_t ip);
    virtual void FillHeader(uint8_t* buffer);

    // Takes up to `limit` waiting datagrams and hands on those not to be dropped; returns how
    // many were taken from the socket. Never waits.
    int Drain(int limit);

    // How many endpoints are taking datagrams right now, one inside the other: 1 while a
    // datagram is being handled, never more, and 0 whenever a timer or a paint runs.
    static int DispatchDepth() { return dispatchDepth; }

    uint16_t port = 0;
    uint16_t remotePort = 0;
    wxEvtHandler* owner;
    int eventId;
    int socketFd = -1;
    int openError = 0;
    wxMutex* lock;
    uint8_t disabled = 0;
    std::vector<uint32_t> ownAddresses;
    wxArrayString broadcastAddresses;

private:
    struct ReceiveSlots;

    void OnReadWaiting() override;
    void OnWriteWaiting() override {}
    void OnExceptionWaiting() override;

    bool Watch();
    void OnUnservedCheck(wxTimerEvent& event);
    // Fills up to `count` slots from the socket; the number filled, 0 when nothing waits.
    int ReceiveBatch(int count);
    void HandOn(int slot);
    void CloseSocket();

    wxEventLoopSource* watch = nullptr;
    wxTimer unservedCheck;
    std::chrono::steady_clock::time_point lastServed;
    std::unique_ptr<ReceiveSlots> slots;
    bool draining = false;

    static inline int dispatchDepth = 0;
};
