#include "net/basenetevent.h"

wxDEFINE_EVENT(bxEVT_NET_DATAGRAM, bxBaseNetEvent);

bxBaseNetEvent::bxBaseNetEvent(wxEventType type, int id) : wxEvent(id, type) {}
