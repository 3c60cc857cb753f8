// Packet class registries.
#include "PacketRegistry.h"

#include <algorithm>
#include <cstring>

#include "PacketTestFromServer.h"
#include "PacketTestToServer.h"

namespace mirvex {

void TPacketRegistry::Unregister(const char* name) {
    std::erase_if(m_classes, [name](const TPacketClass& c) { return std::strcmp(c.Name, name) == 0; });
}

const TPacketClass* TPacketRegistry::Find(std::uint8_t type) const {
    for (const TPacketClass& c : m_classes)
        if (c.Type() == type) return &c;
    return nullptr;
}

TPacketRegistry& PacketsToServer() {
    static TPacketRegistry registry;
    return registry;
}
TPacketRegistry& PacketsFromServer() {
    static TPacketRegistry registry;
    return registry;
}
TPacketRegistry& AdminPacketsToServer() {
    static TPacketRegistry registry;
    return registry;
}
TPacketRegistry& AdminPacketsFromServer() {
    static TPacketRegistry registry;
    return registry;
}

#define MIRVEX_REGISTER(registry, T) registry.Register<T>(#T)

void RegisterPacketClasses() {
    UnregisterPacketClasses();
    TPacketRegistry& to = PacketsToServer();
    MIRVEX_REGISTER(to, TClientHelloInformation);
    MIRVEX_REGISTER(to, TClientEnteredPassword);
    MIRVEX_REGISTER(to, TClientChooseTest);
    MIRVEX_REGISTER(to, TClientLogedIn);
    MIRVEX_REGISTER(to, TClientInterruptedTesting);
    MIRVEX_REGISTER(to, TClientAnsweredQuestion);
    MIRVEX_REGISTER(to, TClientWatchedRightAnswer);
    MIRVEX_REGISTER(to, TClientAnsweredUserText);
    MIRVEX_REGISTER(to, TClientAnsweredMessageBox);
    MIRVEX_REGISTER(to, TClientSelectedCatOrTicket);
    MIRVEX_REGISTER(to, TClientShellExecuted);
    MIRVEX_REGISTER(to, TClientAnsweredIni);

    TPacketRegistry& from = PacketsFromServer();
    MIRVEX_REGISTER(from, TServerPleaseInterPass);
    MIRVEX_REGISTER(from, TServerPleaseSelectTest);
    MIRVEX_REGISTER(from, TServerPleaseLogin);
    MIRVEX_REGISTER(from, TServerPleasePrepareToTest);
    MIRVEX_REGISTER(from, TServerPleaseAnswerQuestion);
    MIRVEX_REGISTER(from, TServerPleaseWatchRightAnswer);
    MIRVEX_REGISTER(from, TServerPleaseWatchTestResult);
    MIRVEX_REGISTER(from, TServerPleaseAnswerUserText);
    MIRVEX_REGISTER(from, TServerPleaseAnswerMessageBox);
    MIRVEX_REGISTER(from, TServerIniPacket);
    MIRVEX_REGISTER(from, TServerPleaseDisconnectPacket);
    MIRVEX_REGISTER(from, TServerDebugPacket);
    MIRVEX_REGISTER(from, TServerPleaseSelectTicketOrCat);
    MIRVEX_REGISTER(from, TServerPleaseShellExecute);
}

void UnregisterPacketClasses() {
    PacketsToServer().Clear();
    PacketsFromServer().Clear();
    AdminPacketsToServer().Clear();
    AdminPacketsFromServer().Clear();
}

}  // namespace mirvex
