#include "net/basesocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include <wx/evtloop.h>
#include <wx/msgdlg.h>

#ifdef __WXGTK__
#include <glib.h>
#endif

#include "net/basenetevent.h"
#include "net/ipv4.h"

// Receive buffers for one batch, allocated once per endpoint. Each slot holds one byte more than
// the largest accepted datagram, so that a longer one shows as filling its slot.
struct bxBaseSocket::ReceiveSlots {
    static constexpr size_t kSlotBytes = kMaxDatagramLength + 1;

    ReceiveSlots() : bytes(size_t(kReceiveBatch) * kSlotBytes)
    {
        for (int i = 0; i < kReceiveBatch; ++i) {
            vectors[i].iov_base = &bytes[size_t(i) * kSlotBytes];
            vectors[i].iov_len = kSlotBytes;
        }
    }

    // Ready for the next call: the system writes lengths, flags and sender sizes back.
    void Reset(int count)
    {
        for (int i = 0; i < count; ++i) {
            messages[i] = mmsghdr{};
            messages[i].msg_hdr.msg_name = &senders[i];
            messages[i].msg_hdr.msg_namelen = sizeof(sockaddr_in);
            messages[i].msg_hdr.msg_iov = &vectors[i];
            messages[i].msg_hdr.msg_iovlen = 1;
        }
    }

    const uint8_t* Data(int slot) const { return &bytes[size_t(slot) * kSlotBytes]; }

    std::vector<uint8_t> bytes;
    iovec vectors[kReceiveBatch];
    sockaddr_in senders[kReceiveBatch];
    mmsghdr messages[kReceiveBatch];
};

namespace {

sockaddr_in SocketAddress(uint32_t ip, uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(ip);
    address.sin_port = htons(port);
    return address;
}

// GTK watches a socket at the default priority, above its own redraws. Under a flood the socket
// is readable at every turn of the loop and the window would never repaint; below the redraws,
// beside the toolkit's idle work, paints, clicks and timers all get their turn between batches.
void LowerWatchPriority(wxEventLoopSourceHandler* handler)
{
#ifdef __WXGTK__
    if (GSource* source = g_main_context_find_source_by_user_data(nullptr, handler))
        g_source_set_priority(source, G_PRIORITY_LOW);
#else
    (void)handler;
#endif
}

} // namespace

bxBaseSocket::bxBaseSocket(wxEvtHandler* owner, int eventId)
    : owner(owner), eventId(eventId), lock(new wxMutex), unservedCheck(this)
{
    Bind(wxEVT_TIMER, &bxBaseSocket::OnUnservedCheck, this);
}

bxBaseSocket::~bxBaseSocket()
{
    CloseSocket();
    delete lock;
}

void bxBaseSocket::CloseSocket()
{
    unservedCheck.Stop();
    delete watch;
    watch = nullptr;
    if (socketFd >= 0)
        close(socketFd);
    socketFd = -1;
}

bool bxBaseSocket::Open(uint16_t portNumber)
{
    port = portNumber;
    remotePort = portNumber;

    socketFd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socketFd < 0) {
        openError = errno;
        return false;
    }
    // No address reuse: on Linux it would let a second copy of the program share the ports and
    // silently take half of the replies. Without it that copy fails here and says so.
    const sockaddr_in local = SocketAddress(INADDR_ANY, port);
    if (bind(socketFd, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0) {
        openError = errno;
        CloseSocket();
        return false;
    }

    int enable = 1;
    if (setsockopt(socketFd, SOL_SOCKET, SO_BROADCAST, &enable, sizeof(enable)) != 0)
        wxMessageBox("Ip broadcast failed", "Message", wxOK | wxCENTRE);
    // Room for a whole rig's answers at once; the system may grant less, which is still fine.
    int receiveBuffer = kReceiveBufferBytes;
    setsockopt(socketFd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof(receiveBuffer));

    slots = std::make_unique<ReceiveSlots>();
    if (!Watch()) {
        CloseSocket();
        return false;
    }
    return true;
}

bool bxBaseSocket::Watch()
{
    watch = wxEventLoopBase::AddSourceForFD(socketFd, this, wxEVENT_SOURCE_INPUT);
    if (!watch)
        return false;
    LowerWatchPriority(this);
    lastServed = std::chrono::steady_clock::now();
    unservedCheck.Start(kUnservedLimitMs);
    return true;
}

bool bxBaseSocket::SendToList(uint8_t* buffer, size_t length, const wxArrayString& list)
{
    for (const wxString& address : list)
        SendTo(buffer, length, address);
    return true;
}

bool bxBaseSocket::SendTo(uint8_t* buffer, size_t length, const wxString& address)
{
    uint32_t ip = 0;
    if (!ParseIpAddress(address, ip))
        return false;
    return SendToIp(buffer, length, ip);
}

bool bxBaseSocket::SendToIp(uint8_t* buffer, size_t length, uint32_t ip)
{
    if (disabled || socketFd < 0)
        return false;
    FillHeader(buffer);
    wxMutexLocker locker(*lock);
    if (!locker.IsOk())
        return false;
    const sockaddr_in destination = SocketAddress(ip, remotePort);
    const ssize_t sent = sendto(socketFd, buffer, length, 0,
                                reinterpret_cast<const sockaddr*>(&destination),
                                sizeof(destination));
    return sent == ssize_t(length);
}

bool bxBaseSocket::IsOwnAddress(uint32_t ip)
{
    return std::find(ownAddresses.begin(), ownAddresses.end(), ip) != ownAddresses.end();
}

void bxBaseSocket::OnReadWaiting()
{
    Drain(kMaxDatagramsPerWake);
}

void bxBaseSocket::OnUnservedCheck(wxTimerEvent&)
{
    if (std::chrono::steady_clock::now() - lastServed >=
        std::chrono::milliseconds(kUnservedLimitMs))
        Drain(kMaxDatagramsWhenUnserved);
}

void bxBaseSocket::OnExceptionWaiting()
{
    // A pending socket error would keep the loop waking us; reading it clears it.
    int error = 0;
    socklen_t size = sizeof(error);
    getsockopt(socketFd, SOL_SOCKET, SO_ERROR, &error, &size);
}

int bxBaseSocket::Drain(int limit)
{
    // Handlers never wait on a socket, so this cannot recur from the loop; the guard keeps a
    // batch's buffers intact should a handler ever run a loop of its own.
    if (draining || socketFd < 0)
        return 0;
    draining = true;
    ++dispatchDepth;
    lastServed = std::chrono::steady_clock::now();
    int taken = 0;
    while (taken < limit) {
        const int wanted = std::min(kReceiveBatch, limit - taken);
        const int count = ReceiveBatch(wanted);
        for (int slot = 0; slot < count; ++slot)
            HandOn(slot);
        taken += count;
        if (count < wanted)
            break; // the socket is empty
    }
    --dispatchDepth;
    draining = false;
    return taken;
}

int bxBaseSocket::ReceiveBatch(int count)
{
    wxMutexLocker locker(*lock);
    if (!locker.IsOk())
        return 0;
    slots->Reset(count);
    int received;
    do {
        received = recvmmsg(socketFd, slots->messages, unsigned(count), MSG_DONTWAIT, nullptr);
    } while (received < 0 && errno == EINTR);
    return std::max(received, 0);
}

void bxBaseSocket::HandOn(int slot)
{
    const mmsghdr& message = slots->messages[slot];
    const size_t length = message.msg_len;
    // Empty, cut by the system or longer than any message of ours: consumed and dropped.
    if (disabled || length == 0 || length > kMaxDatagramLength ||
        (message.msg_hdr.msg_flags & MSG_TRUNC) ||
        message.msg_hdr.msg_namelen < sizeof(sockaddr_in))
        return;
    const uint32_t ip = ntohl(slots->senders[slot].sin_addr.s_addr);
    if (IsOwnAddress(ip) || ip == kLoopbackAddress)
        return;
    DispatchDatagram(slots->Data(slot), length, ip);
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
