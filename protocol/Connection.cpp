// In-process connection.
#include "Connection.h"

#include "util/Coding.h"

namespace mirvex {

TConnectionPair& TConnectionPair::Process() {
    static TConnectionPair pair;
    return pair;
}

TCustomConnection::TCustomConnection(TEndKind kind, TConnectionPair& pair) : m_kind(kind), m_pair(pair) {
    m_pair.m_ends[static_cast<int>(kind)] = this;
}

TCustomConnection::~TCustomConnection() {
    TCustomConnection*& slot = m_pair.m_ends[static_cast<int>(m_kind)];
    if (slot == this) slot = nullptr;
}

bool TCustomConnection::Receive(TStream&) { return false; }

bool TCustomConnection::SendPacket(const TPacket& packet) {
    TMemoryStream stream;
    if (!WriteByte(stream, packet.PacketType()) || !packet.SaveToStream(stream)) return false;
    return Deliver(stream);
}

bool TCustomConnection::Deliver(TStream& stream) {
    stream.SetPosition(0);
    const TEndKind other = m_kind == TEndKind::UserInterface ? TEndKind::Engine : TEndKind::UserInterface;
    TCustomConnection* peer = m_pair.End(other);
    if (!peer) return false;
    peer->Receive(stream);
    return true;
}

bool TCustomConnection::ReceiveWith(TStream& stream, const TPacketRegistry& registry) {
    std::uint8_t type = 0;
    if (!ReadByte(stream, type)) return false;
    const TPacketClass* packetClass = registry.Find(type);
    if (!packetClass) return false;
    std::unique_ptr<TPacket> packet = packetClass->Create();
    if (!packet->LoadFromStream(stream)) return false;
    // A copy: the handler may replace it, or end this connection.
    if (TPacketHandler handler = OnPacket) handler(*this, packet);
    return true;
}

}  // namespace mirvex
