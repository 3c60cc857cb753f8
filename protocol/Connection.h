// The in-process connection between the user interface and the engine.
// Delivery is a direct, nested call: a packet sent from inside a handler is
// handled at the other end before that send returns, to any depth.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "Packet.h"
#include "PacketRegistry.h"

namespace mirvex {

enum class TEndKind : std::uint8_t { UserInterface = 0, Engine = 1 };

class TCustomConnection;

// The two end slots. Creating a connection fills the slot of its kind (a
// second connection of a kind replaces the first); a connection that goes
// away empties its slot if it still holds it.
class TConnectionPair {
public:
    // The pair of the whole process, which the program's ends use.
    static TConnectionPair& Process();
    TCustomConnection* End(TEndKind kind) const { return m_ends[static_cast<int>(kind)]; }

private:
    friend class TCustomConnection;
    TCustomConnection* m_ends[2] = {nullptr, nullptr};
};

class TCustomConnection {
public:
    // Called for every packet received and loaded. The handler owns the
    // packet only if it moves it out of `packet` (the design's free-packet
    // flag cleared); whatever is left there is freed after it returns.
    using TPacketHandler = std::function<void(TCustomConnection& connection, std::unique_ptr<TPacket>& packet)>;

    TCustomConnection(TEndKind kind, TConnectionPair& pair);
    virtual ~TCustomConnection();
    TCustomConnection(const TCustomConnection&) = delete;
    TCustomConnection& operator=(const TCustomConnection&) = delete;

    TEndKind EndKind() const { return m_kind; }
    TConnectionPair& Pair() const { return m_pair; }
    TPacketHandler OnPacket;

    // Reads one packet image (type byte, tanker block), loads it and hands
    // it to the handler; false for a short read, an unknown type or a block
    // that does not load. The base receives nothing.
    virtual bool Receive(TStream& stream);

protected:
    // Type byte and block into a stream, delivered to the other end.
    bool SendPacket(const TPacket& packet);
    // False only when the other end does not exist.
    bool Deliver(TStream& stream);
    bool ReceiveWith(TStream& stream, const TPacketRegistry& registry);

private:
    TEndKind m_kind;
    TConnectionPair& m_pair;
};

// The user interface end: sends packets to the engine, receives those from it.
class TTestClientConnection : public TCustomConnection {
public:
    explicit TTestClientConnection(TConnectionPair& pair = TConnectionPair::Process())
        : TCustomConnection(TEndKind::UserInterface, pair) {}
    bool Send(const TPacketTestToServer& packet) { return SendPacket(packet); }
    bool Receive(TStream& stream) override { return ReceiveWith(stream, PacketsFromServer()); }
};

// The engine end: sends packets to the user interface, receives those from it.
class TServerTestConnection : public TCustomConnection {
public:
    explicit TServerTestConnection(TConnectionPair& pair = TConnectionPair::Process())
        : TCustomConnection(TEndKind::Engine, pair) {}
    bool Send(const TPacketTestFromServer& packet) { return SendPacket(packet); }
    bool Receive(TStream& stream) override { return ReceiveWith(stream, PacketsToServer()); }
};

}  // namespace mirvex
