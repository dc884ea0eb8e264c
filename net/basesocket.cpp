#include "net/basesocket.h"

#include <sys/socket.h>

#include <algorithm>

#include <wx/msgdlg.h>

#include "net/basenetevent.h"
#include "net/ipv4.h"

wxBEGIN_EVENT_TABLE(bxBaseSocket, wxEvtHandler)
    EVT_SOCKET(wxID_ANY, bxBaseSocket::OnSocketEvent)
wxEND_EVENT_TABLE()

bxBaseSocket::bxBaseSocket(wxEvtHandler* owner, int eventId)
    : owner(owner), eventId(eventId), lock(new wxMutex)
{
}

bxBaseSocket::~bxBaseSocket()
{
    if (socket) {
        socket->Notify(false);
        socket->Destroy();
    }
    if (netInitialised)
        wxSocketBase::Shutdown();
    delete lock;
}

bool bxBaseSocket::Open(uint16_t portNumber)
{
    port = portNumber;
    remotePort = portNumber;

    wxIPV4address local;
    local.AnyAddress();
    local.Service(port);

    // No address reuse: on Linux it would let a second copy of the program share the ports and
    // silently take half of the replies. Without it that copy fails here and says so.
    socket = new wxDatagramSocket(local, wxSOCKET_NOWAIT);
    if (!socket->IsOk() || socket->Error())
        return false;

    int enable = 1;
    if (!socket->SetOption(SOL_SOCKET, SO_BROADCAST, &enable, sizeof(enable)))
        wxMessageBox("Ip broadcast failed", "Message", wxOK | wxCENTRE);
    // Room for a whole rig's answers at once; the system may grant less, which is still fine.
    int receiveBuffer = kReceiveBufferBytes;
    socket->SetOption(SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof(receiveBuffer));

    socket->SetNotify(wxSOCKET_INPUT_FLAG);
    socket->Notify(true);
    netInitialised = wxSocketBase::Initialize() ? 1 : 0;
    socket->SetEventHandler(*this, eventId);
    return true;
}

bool bxBaseSocket::SendToList(uint8_t* buffer, size_t length, wxArrayString list)
{
    for (const wxString& address : list)
        SendTo(buffer, length, address);
    return true;
}

bool bxBaseSocket::SendTo(uint8_t* buffer, size_t length, const wxString& address)
{
    if (disabled || !socket)
        return false;
    FillHeader(buffer);
    wxMutexLocker locker(*lock);
    if (!locker.IsOk())
        return false;
    wxIPV4address destination;
    if (!destination.Hostname(address))
        return false;
    destination.Service(remotePort);
    socket->SendTo(destination, buffer, length);
    return !socket->Error() && socket->LastCount() == length;
}

bool bxBaseSocket::SendToIp(uint8_t* buffer, size_t length, uint32_t ip)
{
    return SendTo(buffer, length, FormatIpAddress(ip));
}

bool bxBaseSocket::IsOwnAddress(uint32_t ip)
{
    return std::find(ownAddresses.begin(), ownAddresses.end(), ip) != ownAddresses.end();
}

size_t bxBaseSocket::Receive(uint8_t* buffer, uint32_t& ip)
{
    wxMutexLocker locker(*lock);
    if (!locker.IsOk() || !socket)
        return 0;
    // One byte more than the largest accepted datagram: if it fills, the datagram was longer and
    // the kernel cut it; it is consumed and dropped rather than dispatched half.
    wxIPV4address sender;
    socket->RecvFrom(sender, buffer, kMaxDatagramLength + 1);
    if (socket->Error())
        return 0;
    const size_t count = socket->LastCount();
    if (count > kMaxDatagramLength)
        return 0;
    ip = 0;
    if (!ParseIpAddress(sender.IPAddress(), ip))
        return 0;
    return count;
}

void bxBaseSocket::OnSocketEvent(wxSocketEvent& event)
{
    if (!event.GetSocket() || event.GetSocketEvent() != wxSOCKET_INPUT)
        return;
    // Hundreds of devices answer a discovery request within milliseconds. Everything that has
    // arrived is taken now, not one datagram per turn of the event loop, so that the socket's
    // buffer never overflows and drops replies. The bound keeps a flood from starving the window.
    int taken = 0;
    do {
        ReceiveOne();
    } while (++taken < kMaxDatagramsPerEvent && socket->IsData());
}

void bxBaseSocket::ReceiveOne()
{
    uint8_t buffer[kMaxDatagramLength + 1];
    uint32_t ip = 0;
    const size_t length = Receive(buffer, ip);
    if (disabled || length == 0)
        return;
    if (IsOwnAddress(ip) || ip == kLoopbackAddress)
        return;
    DispatchDatagram(buffer, length, ip);
}

void bxBaseSocket::DispatchDatagram(const uint8_t* data, size_t length, uint32_t ip)
{
    bxBaseNetEvent event(bxEVT_NET_DATAGRAM, eventId);
    event.data = data;
    event.length = length;
    event.senderIp = ip;
    if (owner)
        owner->ProcessEvent(event);
}

void bxBaseSocket::FillHeader(uint8_t*) {}
