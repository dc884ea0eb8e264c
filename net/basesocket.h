#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <wx/arrstr.h>
#include <wx/event.h>
#include <wx/socket.h>
#include <wx/thread.h>

// One UDP endpoint: bound on all local addresses at its port, broadcast enabled, sending to the
// same port number on the devices. Every received datagram from another computer is handed to
// `owner` at once as a bxBaseNetEvent carrying `eventId`.
class bxBaseSocket : public wxEvtHandler {
public:
    // Largest datagram the endpoints accept; anything longer is dropped, never cut.
    static constexpr size_t kMaxDatagramLength = 1536;
    static constexpr int kMaxDatagramsPerEvent = 256;
    static constexpr int kReceiveBufferBytes = 2 * 1024 * 1024;

    bxBaseSocket(wxEvtHandler* owner, int eventId);
    ~bxBaseSocket() override;

    bool Open(uint16_t port);

    virtual bool SendToList(uint8_t* buffer, size_t length, wxArrayString list);
    virtual bool SendTo(uint8_t* buffer, size_t length, const wxString& address);
    virtual bool SendToIp(uint8_t* buffer, size_t length, uint32_t ip);
    virtual bool IsOwnAddress(uint32_t ip);
    virtual void DispatchDatagram(const uint8_t* data, size_t length, uint32_t ip);
    virtual void OnSocketEvent(wxSocketEvent& event);
    virtual void FillHeader(uint8_t* buffer);

    // Reads one datagram; 0 on error, on nothing to read and on a datagram too long to fit.
    size_t Receive(uint8_t* buffer, uint32_t& ip);

    uint16_t port = 0;
    uint16_t remotePort = 0;
    wxEvtHandler* owner;
    int eventId;
    wxDatagramSocket* socket = nullptr;
    wxMutex* lock;
    uint8_t disabled = 0;
    uint8_t netInitialised = 0;
    std::vector<uint32_t> ownAddresses;
    wxArrayString broadcastAddresses;

private:
    // Reads one datagram and hands it on unless it is to be dropped.
    void ReceiveOne();

    wxDECLARE_EVENT_TABLE();
};
