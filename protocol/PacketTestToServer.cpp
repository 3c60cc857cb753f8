// Packets to the engine.
#include "PacketTestToServer.h"

#include "util/SystemInfo.h"
#include "util/UtilsUnit.h"

namespace mirvex {

void TClientHelloInformation::FillFromLocalMachine(std::int32_t screenWidth, std::int32_t screenHeight) {
    UserName = LocalUserName();
    ComputerName = LocalComputerName();
    OsVersionText = LocalOsVersionText();
    Reserved.clear();
    ScreenWidth = screenWidth;
    ScreenHeight = screenHeight;
}

bool TClientHelloInformation::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && ReadString(s, UserName) && ReadString(s, ComputerName) &&
           ReadString(s, OsVersionText) && ReadString(s, Reserved) && ReadInt32(s, ScreenWidth) &&
           ReadInt32(s, ScreenHeight);
}
bool TClientHelloInformation::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteString(s, UserName) && WriteString(s, ComputerName) &&
           WriteString(s, OsVersionText) && WriteString(s, Reserved) && WriteInt32(s, ScreenWidth) &&
           WriteInt32(s, ScreenHeight);
}

bool TClientEnteredPassword::LoadBody(TStream& s) { return TCustomTanker::LoadBody(s) && ReadString(s, Text); }
bool TClientEnteredPassword::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteString(s, Text);
}

bool TClientChooseTest::LoadBody(TStream& s) { return TCustomTanker::LoadBody(s) && ReadString(s, TestName); }
bool TClientChooseTest::SaveBody(TStream& s) const { return TCustomTanker::SaveBody(s) && WriteString(s, TestName); }

TClientLogedIn::TClientLogedIn() : PasswordHash(mirvex::PasswordHash("")) {}

bool TClientLogedIn::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && ReadBoolean(s, Cancelled) && ReadString(s, LoginName) &&
           ReadInt32(s, UserId) && ReadInt32(s, PasswordHash);
}
bool TClientLogedIn::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteBoolean(s, Cancelled) && WriteString(s, LoginName) &&
           WriteInt32(s, UserId) && WriteInt32(s, PasswordHash);
}

bool TClientInterruptedTesting::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && ReadString(s, ReasonText) && ReadEnum(s, ReasonCode);
}
bool TClientInterruptedTesting::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteString(s, ReasonText) && WriteEnum(s, ReasonCode);
}

bool TClientAnsweredUserText::LoadBody(TStream& s) { return TClientRespond::LoadBody(s) && ReadInt32(s, ButtonIndex); }
bool TClientAnsweredUserText::SaveBody(TStream& s) const {
    return TClientRespond::SaveBody(s) && WriteInt32(s, ButtonIndex);
}

bool TClientAnsweredMessageBox::LoadBody(TStream& s) {
    return TClientRespond::LoadBody(s) && ReadByte(s, DialogKind) && ReadInt32(s, ButtonIndex) &&
           ReadString(s, InputText) && ReadInt32(s, ItemIndex);
}
bool TClientAnsweredMessageBox::SaveBody(TStream& s) const {
    return TClientRespond::SaveBody(s) && WriteByte(s, DialogKind) && WriteInt32(s, ButtonIndex) &&
           WriteString(s, InputText) && WriteInt32(s, ItemIndex);
}

bool TClientAnsweredQuestion::LoadBody(TStream& s) {
    SecondsSpent = 0;
    if (!(TCustomTanker::LoadBody(s) && ReadInt32(s, NextQuestion) && ReadInt32(s, CurrentQuestion) &&
          ReadEnum(s, Reason) && ReadQuestionResult(s, Result)))
        return false;
    return BytesLeftInBlock(s) < 4 || ReadInt32(s, SecondsSpent);
}
bool TClientAnsweredQuestion::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteInt32(s, NextQuestion) && WriteInt32(s, CurrentQuestion) &&
           WriteEnum(s, Reason) && WriteQuestionResult(s, Result) && WriteInt32(s, SecondsSpent);
}

bool TClientAnsweredIni::LoadBody(TStream& s) { return TClientRespond::LoadBody(s) && ReadString(s, Value); }
bool TClientAnsweredIni::SaveBody(TStream& s) const { return TClientRespond::SaveBody(s) && WriteString(s, Value); }

bool TClientSelectedCatOrTicket::LoadBody(TStream& s) {
    return TClientRespond::LoadBody(s) && ReadInt32(s, ItemPosition);
}
bool TClientSelectedCatOrTicket::SaveBody(TStream& s) const {
    return TClientRespond::SaveBody(s) && WriteInt32(s, ItemPosition);
}

bool TClientShellExecuted::LoadBody(TStream& s) { return TClientRespond::LoadBody(s) && ReadInt32(s, ExitCode); }
bool TClientShellExecuted::SaveBody(TStream& s) const { return TClientRespond::SaveBody(s) && WriteInt32(s, ExitCode); }

}  // namespace mirvex
