// The four registries of packet classes: packets to the engine, packets
// from the engine, and the two lists of the administration protocol, which
// this program keeps empty. A type byte is looked up by the first class of
// a list, in registration order, whose type matches.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Packet.h"

namespace mirvex {

struct TPacketClass {
    const char* Name;
    std::uint8_t (*Type)();
    std::unique_ptr<TPacket> (*Create)();
};

class TPacketRegistry {
public:
    template <typename T>
    void Register(const char* name) {
        m_classes.push_back({name, [] { return T::kPacketType; },
                             []() -> std::unique_ptr<TPacket> { return std::make_unique<T>(); }});
    }
    // Removes the classes of that name (for tests that register their own).
    void Unregister(const char* name);
    void Clear() { m_classes.clear(); }
    int Count() const { return static_cast<int>(m_classes.size()); }
    const TPacketClass& Item(int index) const { return m_classes[static_cast<std::size_t>(index)]; }
    // The first class of that type, or null.
    const TPacketClass* Find(std::uint8_t type) const;

private:
    std::vector<TPacketClass> m_classes;
};

TPacketRegistry& PacketsToServer();
TPacketRegistry& PacketsFromServer();
TPacketRegistry& AdminPacketsToServer();
TPacketRegistry& AdminPacketsFromServer();

// Fills the four lists at program start (clearing them first); the
// administration lists stay empty since that protocol has no classes here.
void RegisterPacketClasses();
// Empties them at program end.
void UnregisterPacketClasses();

}  // namespace mirvex
