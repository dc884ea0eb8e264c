#pragma once

#include <cstddef>
#include <cstdint>

#include <wx/event.h>

// One received datagram, handed synchronously to the main window. `data` points into the
// endpoint's receive buffer and is valid only while the event is being processed.
class bxBaseNetEvent : public wxEvent {
public:
    bxBaseNetEvent(wxEventType type = wxEVT_NULL, int id = 0);

    wxEvent* Clone() const override { return new bxBaseNetEvent(*this); }

    const uint8_t* data = nullptr;
    uint32_t senderIp = 0;
    size_t length = 0;
};

wxDECLARE_EVENT(bxEVT_NET_DATAGRAM, bxBaseNetEvent);

typedef void (wxEvtHandler::*bxNetEventFunction)(bxBaseNetEvent&);
#define bxNetEventHandler(func) wxEVENT_HANDLER_CAST(bxNetEventFunction, func)
#define EVT_NET_DATAGRAM(id, func) wx__DECLARE_EVT1(bxEVT_NET_DATAGRAM, id, bxNetEventHandler(func))
