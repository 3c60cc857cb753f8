// Packets from the engine.
#include "PacketTestFromServer.h"

namespace mirvex {

bool TServerDebugPacket::LoadBody(TStream& s) { return TCustomTanker::LoadBody(s) && ReadString(s, Text); }
bool TServerDebugPacket::SaveBody(TStream& s) const { return TCustomTanker::SaveBody(s) && WriteString(s, Text); }

bool TServerPleaseInterPass::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && ReadByte(s, Flag) && ReadString(s, Text);
}
bool TServerPleaseInterPass::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteByte(s, Flag) && WriteString(s, Text);
}

bool TServerPleaseSelectTest::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && ReadString(s, Caption) && ReadString(s, Prompt) && ReadByte(s, Flag) &&
           Tests.LoadFromStream(s);
}
bool TServerPleaseSelectTest::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteString(s, Caption) && WriteString(s, Prompt) && WriteByte(s, Flag) &&
           Tests.SaveToStream(s);
}

bool TServerPleaseLogin::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && ReadString(s, Message) && ReadString(s, MessageCaption) &&
           ReadByte(s, LoginMode) && ReadString(s, LoginPrompt) && Users.LoadFromStream(s);
}
bool TServerPleaseLogin::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteString(s, Message) && WriteString(s, MessageCaption) &&
           WriteByte(s, LoginMode) && WriteString(s, LoginPrompt) && Users.SaveToStream(s);
}

bool TServerPleasePrepareToTest::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && ReadBoolean(s, UseAnimation) && ReadInt32(s, AnimationSteps) &&
           ReadBoolean(s, AllowReselectUser) && ReadInt32(s, QuestionCount) && ReadBoolean(s, ShowQuestsPanel) &&
           ReadBoolean(s, ShowInterruptBtn) && ReadString(s, UserString) && ReadInt32(s, TestTimeLimit) &&
           ReadInt32(s, BackColor) && ReadBytes(s, BackPicture) && ReadString(s, BackPictureName) &&
           ReadByte(s, BackPictureMode);
}
bool TServerPleasePrepareToTest::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteBoolean(s, UseAnimation) && WriteInt32(s, AnimationSteps) &&
           WriteBoolean(s, AllowReselectUser) && WriteInt32(s, QuestionCount) && WriteBoolean(s, ShowQuestsPanel) &&
           WriteBoolean(s, ShowInterruptBtn) && WriteString(s, UserString) && WriteInt32(s, TestTimeLimit) &&
           WriteInt32(s, BackColor) && WriteBytes(s, BackPicture) && WriteString(s, BackPictureName) &&
           WriteByte(s, BackPictureMode);
}

bool TServerPleaseAnswerQuestion::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && ReadInt32(s, PrevQuestion) && ReadByte(s, PrevOutcome) &&
           ReadInt32(s, CurrentQuestion) && ReadBoolean(s, FreeNavigation) && ReadBoolean(s, ShowInterruptBtn) &&
           ReadBoolean(s, ShowQuestsPanel) && ReadInt32(s, SkipsLeft) && ReadString(s, MarkString) &&
           ReadInt32(s, MarkColor) && ReadEnum(s, QuestionType) && Text.LoadFromStream(s) &&
           Answers.LoadFromStream(s) && ReadInt32(s, QuestionTimeLimit) && ReadInt32(s, SecondsAlreadySpent) &&
           Values.LoadFromStream(s);
}
bool TServerPleaseAnswerQuestion::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteInt32(s, PrevQuestion) && WriteByte(s, PrevOutcome) &&
           WriteInt32(s, CurrentQuestion) && WriteBoolean(s, FreeNavigation) && WriteBoolean(s, ShowInterruptBtn) &&
           WriteBoolean(s, ShowQuestsPanel) && WriteInt32(s, SkipsLeft) && WriteString(s, MarkString) &&
           WriteInt32(s, MarkColor) && WriteEnum(s, QuestionType) && Text.SaveToStream(s) &&
           Answers.SaveToStream(s) && WriteInt32(s, QuestionTimeLimit) && WriteInt32(s, SecondsAlreadySpent) &&
           Values.SaveToStream(s);
}

bool TServerPleaseAnswerUserText::LoadBody(TStream& s) {
    return TServerRequestPacket::LoadBody(s) && ReadInt32(s, DialogWidth) && ReadInt32(s, AutoCloseSecs) &&
           Text.LoadFromStream(s) && ReadString(s, Caption) && ReadString(s, ButtonCaptions) &&
           Values.LoadFromStream(s);
}
bool TServerPleaseAnswerUserText::SaveBody(TStream& s) const {
    return TServerRequestPacket::SaveBody(s) && WriteInt32(s, DialogWidth) && WriteInt32(s, AutoCloseSecs) &&
           Text.SaveToStream(s) && WriteString(s, Caption) && WriteString(s, ButtonCaptions) &&
           Values.SaveToStream(s);
}

bool TServerPleaseAnswerMessageBox::LoadBody(TStream& s) {
    return TServerRequestPacket::LoadBody(s) && ReadInt32(s, DialogWidth) && ReadBoolean(s, UseRichText) &&
           RichText.LoadFromStream(s) && ReadInt32(s, AutoCloseSecs) && ReadEnum(s, DialogKind) &&
           ReadString(s, Caption) && ReadString(s, MessageText) && ReadString(s, ButtonCaptions) &&
           ReadString(s, ItemsOrInitialText) && ReadInt32(s, InitialItem) && ReadInt32(s, FontSize) &&
           ReadInt32(s, FontColor) && ReadString(s, FontName) && ReadByte(s, IconKind) && Values.LoadFromStream(s);
}
bool TServerPleaseAnswerMessageBox::SaveBody(TStream& s) const {
    return TServerRequestPacket::SaveBody(s) && WriteInt32(s, DialogWidth) && WriteBoolean(s, UseRichText) &&
           RichText.SaveToStream(s) && WriteInt32(s, AutoCloseSecs) && WriteEnum(s, DialogKind) &&
           WriteString(s, Caption) && WriteString(s, MessageText) && WriteString(s, ButtonCaptions) &&
           WriteString(s, ItemsOrInitialText) && WriteInt32(s, InitialItem) && WriteInt32(s, FontSize) &&
           WriteInt32(s, FontColor) && WriteString(s, FontName) && WriteByte(s, IconKind) && Values.SaveToStream(s);
}

bool TServerPleaseWatchRightAnswer::LoadBody(TStream& s) {
    return TServerRequestPacket::LoadBody(s) && ReadInt32(s, DialogWidth) && ReadEnum(s, QuestionType) &&
           ReadInt32(s, AutoCloseSecs) && ReadInt32(s, Outcome) && Answers.LoadFromStream(s) &&
           Values.LoadFromStream(s);
}
bool TServerPleaseWatchRightAnswer::SaveBody(TStream& s) const {
    return TServerRequestPacket::SaveBody(s) && WriteInt32(s, DialogWidth) && WriteEnum(s, QuestionType) &&
           WriteInt32(s, AutoCloseSecs) && WriteInt32(s, Outcome) && Answers.SaveToStream(s) &&
           Values.SaveToStream(s);
}

bool TServerPleaseWatchTestResult::LoadBody(TStream& s) {
    std::string firstLog;
    return TServerRequestPacket::LoadBody(s) && ReadInt32(s, AskedCount) && ReadInt32(s, RightCount) &&
           ReadInt32(s, PartlyRightCount) && ReadInt32(s, WrongCount) && ReadInt32(s, SkipCount) &&
           ReadString(s, UserString) && ReadInt32(s, DurationSecs) && ReadString(s, TestName) &&
           ReadString(s, firstLog) && ReadExtended(s, Mark) && ReadInt32(s, MarkColor) && ReadString(s, LogText) &&
           ReadString(s, MarkString);
}
bool TServerPleaseWatchTestResult::SaveBody(TStream& s) const {
    return TServerRequestPacket::SaveBody(s) && WriteInt32(s, AskedCount) && WriteInt32(s, RightCount) &&
           WriteInt32(s, PartlyRightCount) && WriteInt32(s, WrongCount) && WriteInt32(s, SkipCount) &&
           WriteString(s, UserString) && WriteInt32(s, DurationSecs) && WriteString(s, TestName) &&
           WriteString(s, LogText) && WriteExtended(s, Mark) && WriteInt32(s, MarkColor) && WriteString(s, LogText) &&
           WriteString(s, MarkString);
}

bool TServerIniPacket::LoadBody(TStream& s) {
    return TServerRequestPacket::LoadBody(s) && ReadBoolean(s, WriteFlag) && ReadString(s, Section) &&
           ReadString(s, Key) && ReadString(s, Value);
}
bool TServerIniPacket::SaveBody(TStream& s) const {
    return TServerRequestPacket::SaveBody(s) && WriteBoolean(s, WriteFlag) && WriteString(s, Section) &&
           WriteString(s, Key) && WriteString(s, Value);
}

bool TServerPleaseDisconnectPacket::LoadBody(TStream& s) { return TCustomTanker::LoadBody(s) && ReadString(s, Text); }
bool TServerPleaseDisconnectPacket::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteString(s, Text);
}

bool TServerPleaseSelectTicketOrCat::LoadBody(TStream& s) {
    return TServerRequestPacket::LoadBody(s) && ReadString(s, Prompt) && ReadString(s, Items);
}
bool TServerPleaseSelectTicketOrCat::SaveBody(TStream& s) const {
    return TServerRequestPacket::SaveBody(s) && WriteString(s, Prompt) && WriteString(s, Items);
}

bool TServerPleaseShellExecute::LoadBody(TStream& s) {
    return TServerRequestPacket::LoadBody(s) && ReadString(s, CommandLine) && ReadBoolean(s, Hidden) &&
           ReadBoolean(s, Wait);
}
bool TServerPleaseShellExecute::SaveBody(TStream& s) const {
    return TServerRequestPacket::SaveBody(s) && WriteString(s, CommandLine) && WriteBoolean(s, Hidden) &&
           WriteBoolean(s, Wait);
}

}  // namespace mirvex
