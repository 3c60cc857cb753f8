// Packets from the user interface to the engine. Every body starts with
// the int32 Version (0); the layouts below follow it.
#pragma once

#include <string>

#include "Packet.h"
#include "QuestionResult.h"

namespace mirvex {

// The engine's record of the user's machine; filled locally, never sent.
// Body: string UserName, ComputerName, OsVersionText, Reserved,
// int32 ScreenWidth, ScreenHeight.
class TClientHelloInformation : public TPacketTestToServer {
public:
    MIRVEX_PACKET_TYPE(0)
    std::string UserName;
    std::string ComputerName;
    std::string OsVersionText;
    std::string Reserved;  // left empty
    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;

    // User, computer and system from the machine; the screen from the host.
    void FillFromLocalMachine(std::int32_t screenWidth, std::int32_t screenHeight);

    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body: string Text.
class TClientEnteredPassword : public TPacketTestToServer {
public:
    MIRVEX_PACKET_TYPE(1)
    std::string Text;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body: string TestName.
class TClientChooseTest : public TPacketTestToServer {
public:
    MIRVEX_PACKET_TYPE(2)
    std::string TestName;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// The reply to a login request (without an identifier).
// Body: byte Cancelled, string LoginName, int32 UserId, int32 PasswordHash.
class TClientLogedIn : public TPacketTestToServer {
public:
    MIRVEX_PACKET_TYPE(3)
    TClientLogedIn();
    bool Cancelled = false;
    std::string LoginName;
    std::int32_t UserId = 0;
    // The hash of the password typed; a fresh packet holds the empty text's.
    std::int32_t PasswordHash;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

enum class TInterruptReason : std::uint8_t {
    UserInterrupted = 0,
    BackToTestChoice = 1,
    BackToLogin = 2,
    WindowClosed = 3,
};

// Body: string ReasonText, byte ReasonCode.
class TClientInterruptedTesting : public TPacketTestToServer {
public:
    MIRVEX_PACKET_TYPE(4)
    std::string ReasonText;
    TInterruptReason ReasonCode = TInterruptReason::UserInterrupted;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body after RequestId: int32 ButtonIndex (-1 when closed otherwise).
class TClientAnsweredUserText : public TClientRespond {
public:
    MIRVEX_PACKET_TYPE(5)
    std::int32_t ButtonIndex = 0;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// The reply to the right answer and to the result window. Body: RequestId.
class TClientWatchedRightAnswer : public TClientRespond {
public:
    MIRVEX_PACKET_TYPE(6)
};

// Body after RequestId: byte DialogKind, int32 ButtonIndex, string
// InputText, int32 ItemIndex.
class TClientAnsweredMessageBox : public TClientRespond {
public:
    MIRVEX_PACKET_TYPE(7)
    std::uint8_t DialogKind = 0;
    std::int32_t ButtonIndex = 0;
    std::string InputText;
    std::int32_t ItemIndex = 0;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

enum class TAnswerReason : std::uint8_t {
    OtherQuestionChosen = 0,
    AnswerButton = 1,
    QuestionTimeOut = 2,
    TestTimeOut = 3,
};

// Body: int32 NextQuestion, int32 CurrentQuestion, byte Reason, the
// question result, then int32 SecondsSpent. SecondsSpent was not part of
// the body at first: a body that ends before it reads as 0, and readers
// that do not know it skip it through the block size.
class TClientAnsweredQuestion : public TPacketTestToServer {
public:
    MIRVEX_PACKET_TYPE(8)
    // 1-based; 0 lets the engine choose.
    std::int32_t NextQuestion = 0;
    std::int32_t CurrentQuestion = 0;
    TAnswerReason Reason = TAnswerReason::OtherQuestionChosen;
    TQuestionResult Result;
    std::int32_t SecondsSpent = 0;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body after RequestId: string Value.
class TClientAnsweredIni : public TClientRespond {
public:
    MIRVEX_PACKET_TYPE(10)
    std::string Value;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body after RequestId: int32 ItemPosition (0-based row, -1 for none).
class TClientSelectedCatOrTicket : public TClientRespond {
public:
    MIRVEX_PACKET_TYPE(11)
    std::int32_t ItemPosition = 0;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

// Body after RequestId: int32 ExitCode (0 when not waiting, -1 when the
// program could not be started).
class TClientShellExecuted : public TClientRespond {
public:
    MIRVEX_PACKET_TYPE(12)
    std::int32_t ExitCode = 0;
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

}  // namespace mirvex
