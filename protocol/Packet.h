// The packets between the testing engine and the user interface. On the
// connection a packet is its type byte followed by its tanker block; type
// bytes are unique only within one direction.
#pragma once

#include <cstdint>

#include "model/CustomTanker.h"

namespace mirvex {

enum class TPacketDirection { ToServer, FromServer };

class TPacket : public TCustomTanker {
public:
    virtual std::uint8_t PacketType() const = 0;
    virtual TPacketDirection Direction() const = 0;
};

// User interface to engine.
class TPacketTestToServer : public TPacket {
public:
    TPacketDirection Direction() const final { return TPacketDirection::ToServer; }
};

// Engine to user interface.
class TPacketTestFromServer : public TPacket {
public:
    TPacketDirection Direction() const final { return TPacketDirection::FromServer; }
};

// A reply to a request of the engine: carries the request's identifier.
class TClientRespond : public TPacketTestToServer {
public:
    std::int32_t RequestId = 0;
    // Body after Version: int32 RequestId.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// A request of the engine that the user interface answers.
class TServerRequestPacket : public TPacketTestFromServer {
public:
    std::int32_t RequestId = 0;
    // Body after Version: int32 RequestId.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// A fresh request identifier from a process-wide counter: never 0, and
// unique among the requests open at one time.
std::int32_t NewRequestId();

// Declares the class-level type byte and the virtual that returns it.
#define MIRVEX_PACKET_TYPE(value)                                           \
    static constexpr std::uint8_t kPacketType = value;                      \
    std::uint8_t PacketType() const override { return kPacketType; }

}  // namespace mirvex
