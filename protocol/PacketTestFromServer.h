// Packets from the engine to the user interface. Every body starts with
// the int32 Version (0); the layouts below follow it.
#pragma once

#include <string>

#include "Packet.h"
#include "model/TestQuestion.h"
#include "model/TextWithAttaches.h"
#include "model/Users.h"
#include "model/VariableValues.h"
#include "package/TestFolder.h"

namespace mirvex {

// Body: string Text.
class TServerDebugPacket : public TPacketTestFromServer {
public:
    MIRVEX_PACKET_TYPE(0)
    std::string Text = "TServerDebugPacket";
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body: byte Flag, string Text.
class TServerPleaseInterPass : public TPacketTestFromServer {
public:
    MIRVEX_PACKET_TYPE(1)
    std::uint8_t Flag = 0;
    std::string Text;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body: string Caption, string Prompt, byte Flag, the Tests block.
class TServerPleaseSelectTest : public TPacketTestFromServer {
public:
    MIRVEX_PACKET_TYPE(2)
    std::string Caption;
    std::string Prompt;
    std::uint8_t Flag = 0;
    TTestFolder Tests;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body: string Message, string MessageCaption, byte LoginMode,
// string LoginPrompt, the Users block.
class TServerPleaseLogin : public TPacketTestFromServer {
public:
    MIRVEX_PACKET_TYPE(3)
    std::string Message;
    std::string MessageCaption;
    std::uint8_t LoginMode = 0;
    std::string LoginPrompt;
    TUsers Users;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body: byte UseAnimation, int32 AnimationSteps, byte AllowReselectUser,
// int32 QuestionCount, byte ShowQuestsPanel, byte ShowInterruptBtn,
// string UserString, int32 TestTimeLimit, int32 BackColor, int32 M and M
// bytes of BackPicture, string BackPictureName, byte BackPictureMode.
class TServerPleasePrepareToTest : public TPacketTestFromServer {
public:
    MIRVEX_PACKET_TYPE(4)
    bool UseAnimation = false;
    std::int32_t AnimationSteps = 0;
    bool AllowReselectUser = false;
    std::int32_t QuestionCount = 0;
    bool ShowQuestsPanel = false;
    bool ShowInterruptBtn = false;
    std::string UserString;
    std::int32_t TestTimeLimit = 0;
    std::int32_t BackColor = 0;
    TBytes BackPicture;
    std::string BackPictureName;
    std::uint8_t BackPictureMode = 0;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body: int32 PrevQuestion, byte PrevOutcome, int32 CurrentQuestion,
// byte FreeNavigation, byte ShowInterruptBtn, byte ShowQuestsPanel (in that
// order), int32 SkipsLeft, string MarkString, int32 MarkColor,
// byte QuestionType, the Text block, the Answers block (without the key),
// int32 QuestionTimeLimit, int32 SecondsAlreadySpent, the Values block.
class TServerPleaseAnswerQuestion : public TPacketTestFromServer {
public:
    MIRVEX_PACKET_TYPE(5)
    std::int32_t PrevQuestion = 0;
    std::uint8_t PrevOutcome = 0;
    std::int32_t CurrentQuestion = 0;
    bool FreeNavigation = false;
    bool ShowInterruptBtn = false;
    bool ShowQuestsPanel = false;
    std::int32_t SkipsLeft = 0;
    std::string MarkString;
    std::int32_t MarkColor = 0;
    TQuestionType QuestionType = TQuestionType::SingleChoice;
    TTextWithAttaches Text;
    TTestAnswers Answers;
    std::int32_t QuestionTimeLimit = 0;
    std::int32_t SecondsAlreadySpent = 0;
    TVariableValues Values;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body after RequestId: int32 DialogWidth, int32 AutoCloseSecs, the Text
// block, string Caption, string ButtonCaptions, the Values block.
class TServerPleaseAnswerUserText : public TServerRequestPacket {
public:
    MIRVEX_PACKET_TYPE(6)
    std::int32_t DialogWidth = 0;
    std::int32_t AutoCloseSecs = 0;
    TTextWithAttaches Text;
    std::string Caption;
    std::string ButtonCaptions;
    TVariableValues Values;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

enum class TMessageDialogKind : std::uint8_t { Buttons = 0, RadioItems = 1, ListItems = 2, LineInput = 3 };

// The colour value that means "no override".
constexpr std::int32_t kNoColourOverride = 0x1FFFFFFF;

// Body after RequestId: int32 DialogWidth, byte UseRichText, the RichText
// block, int32 AutoCloseSecs, byte DialogKind, string Caption, string
// MessageText, string ButtonCaptions, string ItemsOrInitialText,
// int32 InitialItem, int32 FontSize, int32 FontColor, string FontName,
// byte IconKind, the Values block.
class TServerPleaseAnswerMessageBox : public TServerRequestPacket {
public:
    MIRVEX_PACKET_TYPE(7)
    std::int32_t DialogWidth = 0;
    bool UseRichText = false;
    TTextWithAttaches RichText;
    std::int32_t AutoCloseSecs = 0;
    TMessageDialogKind DialogKind = TMessageDialogKind::Buttons;
    std::string Caption;
    std::string MessageText;
    std::string ButtonCaptions;
    std::string ItemsOrInitialText;
    std::int32_t InitialItem = -1;
    std::int32_t FontSize = 0;
    std::int32_t FontColor = kNoColourOverride;
    std::string FontName;
    std::uint8_t IconKind = 1;
    TVariableValues Values;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body after RequestId: int32 DialogWidth, byte QuestionType,
// int32 AutoCloseSecs, int32 Outcome, the Answers block (with the key),
// the Values block.
class TServerPleaseWatchRightAnswer : public TServerRequestPacket {
public:
    MIRVEX_PACKET_TYPE(8)
    std::int32_t DialogWidth = 0;
    TQuestionType QuestionType = TQuestionType::SingleChoice;
    std::int32_t AutoCloseSecs = 0;
    std::int32_t Outcome = 0;
    TTestAnswers Answers;
    TVariableValues Values;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body after RequestId: int32 AskedCount, RightCount, PartlyRightCount,
// WrongCount, SkipCount, string UserString, int32 DurationSecs, string
// TestName, string LogText, extended Mark, int32 MarkColor, string LogText
// again (readers take this second copy), string MarkString.
class TServerPleaseWatchTestResult : public TServerRequestPacket {
public:
    MIRVEX_PACKET_TYPE(9)
    std::int32_t AskedCount = 0;
    std::int32_t RightCount = 0;
    std::int32_t PartlyRightCount = 0;
    std::int32_t WrongCount = 0;
    std::int32_t SkipCount = 0;
    std::string UserString;
    std::int32_t DurationSecs = 0;
    std::string TestName;
    std::string LogText;
    double Mark = 0;
    std::int32_t MarkColor = 0;
    std::string MarkString;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body after RequestId: byte WriteFlag, string Section, string Key,
// string Value (the value to write, or the default of a read).
class TServerIniPacket : public TServerRequestPacket {
public:
    MIRVEX_PACKET_TYPE(10)
    bool WriteFlag = false;
    std::string Section;
    std::string Key;
    std::string Value;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body: string Text.
class TServerPleaseDisconnectPacket : public TPacketTestFromServer {
public:
    MIRVEX_PACKET_TYPE(11)
    std::string Text;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// An item line ending in this byte cannot be chosen.
constexpr char kUnavailableItemMark = '\xA6';

// Body after RequestId: string Prompt, string Items (id=name lines).
class TServerPleaseSelectTicketOrCat : public TServerRequestPacket {
public:
    MIRVEX_PACKET_TYPE(12)
    std::string Prompt;
    std::string Items;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body after RequestId: string CommandLine, byte Hidden, byte Wait.
class TServerPleaseShellExecute : public TServerRequestPacket {
public:
    MIRVEX_PACKET_TYPE(13)
    std::string CommandLine;
    bool Hidden = false;
    bool Wait = false;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

}  // namespace mirvex
