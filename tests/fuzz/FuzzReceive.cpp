// libFuzzer target over Receive at both ends of the connection. The first
// byte picks the end (even: engine, odd: user interface); the rest is the
// packet image. A packet that loads must save and load to the same bytes.
#include <cstdint>
#include <cstdlib>

#include "protocol/Connection.h"

namespace {

void CheckRoundTrip(const mirvex::TPacketRegistry& registry, mirvex::TPacket& packet) {
    using namespace mirvex;
    const TBytes first = SaveToBytes(packet);
    const TPacketClass* packetClass = registry.Find(packet.PacketType());
    if (first.empty() || !packetClass) std::abort();
    auto again = packetClass->Create();
    if (!LoadFromBytes(*again, first) || SaveToBytes(*again) != first) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mirvex;
    static const bool registered = (RegisterPacketClasses(), true);
    (void)registered;
    if (size == 0) return 0;
    TConnectionPair pair;
    TTestClientConnection ui(pair);
    TServerTestConnection engine(pair);
    engine.OnPacket = [](TCustomConnection&, std::unique_ptr<TPacket>& p) { CheckRoundTrip(PacketsToServer(), *p); };
    ui.OnPacket = [](TCustomConnection&, std::unique_ptr<TPacket>& p) { CheckRoundTrip(PacketsFromServer(), *p); };
    TMemoryStream stream(data + 1, size - 1);
    if (data[0] % 2 == 0) (void)engine.Receive(stream);
    else (void)ui.Receive(stream);
    return 0;
}
