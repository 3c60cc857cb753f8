// Packet bases.
#include "Packet.h"

#include <atomic>

namespace mirvex {

bool TClientRespond::LoadBody(TStream& s) { return TCustomTanker::LoadBody(s) && ReadInt32(s, RequestId); }
bool TClientRespond::SaveBody(TStream& s) const { return TCustomTanker::SaveBody(s) && WriteInt32(s, RequestId); }
bool TServerRequestPacket::LoadBody(TStream& s) { return TCustomTanker::LoadBody(s) && ReadInt32(s, RequestId); }
bool TServerRequestPacket::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteInt32(s, RequestId);
}

std::int32_t NewRequestId() {
    static std::atomic<std::uint32_t> counter{0};
    std::uint32_t id = 0;
    // Positive identifiers: 1 .. INT32_MAX, then round again.
    do {
        id = (counter.fetch_add(1) + 1) & 0x7FFFFFFFu;
    } while (id == 0);
    return static_cast<std::int32_t>(id);
}

}  // namespace mirvex
