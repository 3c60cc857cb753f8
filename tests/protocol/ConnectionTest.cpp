// The in-process connection: framing, lookup, ownership of received
// packets, and nested synchronous delivery.
#include "protocol/Connection.h"

#include <gtest/gtest.h>

#include <vector>

#include "protocol/PacketTestFromServer.h"
#include "protocol/PacketTestToServer.h"

namespace mirvex {
namespace {

// A packet class that adds no fields.
class TEmptyToServer : public TPacketTestToServer {
public:
    MIRVEX_PACKET_TYPE(42)
};

// A second class with the login reply's type byte.
class TShadow : public TPacketTestToServer {
public:
    MIRVEX_PACKET_TYPE(3)
};

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterPacketClasses(); }
    void TearDown() override { UnregisterPacketClasses(); }
    TConnectionPair m_pair;
};

TEST_F(ConnectionTest, PacketWithoutFieldsIsNineBytes) {
    PacketsToServer().Register<TEmptyToServer>("TEmptyToServer");
    TTestClientConnection ui(m_pair);
    // A custom end that records the raw image it receives.
    struct TRecordingEnd : TCustomConnection {
        explicit TRecordingEnd(TConnectionPair& pair) : TCustomConnection(TEndKind::Engine, pair) {}
        bool Receive(TStream& s) override {
            bytes.resize(static_cast<std::size_t>(s.Size()));
            return s.ReadBuffer(bytes.data(), s.Size());
        }
        TBytes bytes;
    } engine(m_pair);
    ASSERT_TRUE(ui.Send(TEmptyToServer()));
    EXPECT_EQ(engine.bytes, (TBytes{42, 8, 0, 0, 0, 0, 0, 0, 0}));
    PacketsToServer().Unregister("TEmptyToServer");
}

TEST_F(ConnectionTest, EachEndLooksUpItsOwnDirection) {
    TTestClientConnection ui(m_pair);
    TServerTestConnection engine(m_pair);
    std::vector<std::string> seenByEngine, seenByUi;
    engine.OnPacket = [&](TCustomConnection& c, std::unique_ptr<TPacket>& p) {
        EXPECT_EQ(&c, &engine);
        seenByEngine.push_back(dynamic_cast<TClientLogedIn*>(p.get()) ? "TClientLogedIn" : "other");
    };
    ui.OnPacket = [&](TCustomConnection&, std::unique_ptr<TPacket>& p) {
        seenByUi.push_back(dynamic_cast<TServerPleaseLogin*>(p.get()) ? "TServerPleaseLogin" : "other");
    };
    ASSERT_TRUE(ui.Send(TClientLogedIn()));
    ASSERT_TRUE(engine.Send(TServerPleaseLogin()));
    EXPECT_EQ(seenByEngine, std::vector<std::string>{"TClientLogedIn"});
    EXPECT_EQ(seenByUi, std::vector<std::string>{"TServerPleaseLogin"});
}

TEST_F(ConnectionTest, HandlerMayKeepItsPacket) {
    TTestClientConnection ui(m_pair);
    TServerTestConnection engine(m_pair);
    std::unique_ptr<TPacket> kept;
    engine.OnPacket = [&](TCustomConnection&, std::unique_ptr<TPacket>& p) { kept = std::move(p); };
    TClientInterruptedTesting interrupted;
    interrupted.ReasonText = "closed";
    interrupted.ReasonCode = TInterruptReason::WindowClosed;
    ASSERT_TRUE(ui.Send(interrupted));
    ASSERT_TRUE(kept);
    auto* packet = dynamic_cast<TClientInterruptedTesting*>(kept.get());
    ASSERT_NE(packet, nullptr);
    EXPECT_EQ(packet->ReasonText, "closed");
    EXPECT_EQ(packet->ReasonCode, TInterruptReason::WindowClosed);
}

TEST_F(ConnectionTest, SendWithoutAPeer) {
    TTestClientConnection ui(m_pair);
    EXPECT_FALSE(ui.Send(TClientLogedIn()));
    bool called = false;
    {
        TServerTestConnection engine(m_pair);
        engine.OnPacket = [&](TCustomConnection&, std::unique_ptr<TPacket>&) { called = true; };
    }
    // The engine end is gone: its slot is empty again.
    EXPECT_FALSE(ui.Send(TClientLogedIn()));
    EXPECT_FALSE(called);
}

TEST_F(ConnectionTest, SecondEndOfAKindReplacesTheFirst) {
    TTestClientConnection ui(m_pair);
    TServerTestConnection first(m_pair);
    int firstCount = 0, secondCount = 0;
    first.OnPacket = [&](TCustomConnection&, std::unique_ptr<TPacket>&) { ++firstCount; };
    {
        TServerTestConnection second(m_pair);
        second.OnPacket = [&](TCustomConnection&, std::unique_ptr<TPacket>&) { ++secondCount; };
        ASSERT_TRUE(ui.Send(TClientLogedIn()));
    }
    EXPECT_EQ(firstCount, 0);
    EXPECT_EQ(secondCount, 1);
    EXPECT_EQ(m_pair.End(TEndKind::Engine), nullptr);
}

TEST_F(ConnectionTest, BadImagesAreDropped) {
    TServerTestConnection engine(m_pair);
    int handled = 0;
    engine.OnPacket = [&](TCustomConnection&, std::unique_ptr<TPacket>&) { ++handled; };
    const TBytes cases[] = {
        {},                                    // no type byte
        {9, 8, 0, 0, 0, 0, 0, 0, 0},           // type 9 is not registered to the engine
        {3, 8, 0, 0, 0, 0, 0, 0, 0},           // a login reply too short for its fields
        {3, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0},     // a size beyond the image
    };
    for (const TBytes& image : cases) {
        TMemoryStream s(image);
        EXPECT_FALSE(engine.Receive(s));
    }
    EXPECT_EQ(handled, 0);
    // The sender of an unknown packet still sees its send succeed.
    PacketsToServer().Register<TEmptyToServer>("TEmptyToServer");
    TTestClientConnection ui(m_pair);
    PacketsToServer().Unregister("TEmptyToServer");
    EXPECT_TRUE(ui.Send(TEmptyToServer()));
    EXPECT_EQ(handled, 0);
}

TEST_F(ConnectionTest, FirstRegisteredClassWins) {
    PacketsToServer().Register<TShadow>("TShadow");  // after TClientLogedIn
    TTestClientConnection ui(m_pair);
    TServerTestConnection engine(m_pair);
    bool sawLogin = false;
    engine.OnPacket = [&](TCustomConnection&, std::unique_ptr<TPacket>& p) {
        sawLogin = dynamic_cast<TClientLogedIn*>(p.get()) != nullptr;
    };
    ASSERT_TRUE(ui.Send(TClientLogedIn()));
    EXPECT_TRUE(sawLogin);
}

// The engine sends a request; the window's handler answers from inside it;
// the engine handles the reply before its own send returns.
TEST_F(ConnectionTest, RepliesArriveInsideTheRequestsSend) {
    TTestClientConnection ui(m_pair);
    TServerTestConnection engine(m_pair);
    std::vector<std::string> trace;
    std::int32_t answeredRequest = 0, answeredButton = -5;
    ui.OnPacket = [&](TCustomConnection&, std::unique_ptr<TPacket>& p) {
        auto* request = dynamic_cast<TServerPleaseAnswerUserText*>(p.get());
        ASSERT_NE(request, nullptr);
        trace.push_back("ui got request");
        TClientAnsweredUserText reply;
        reply.RequestId = request->RequestId;
        reply.ButtonIndex = 2;
        EXPECT_TRUE(ui.Send(reply));
        trace.push_back("ui reply sent");
    };
    engine.OnPacket = [&](TCustomConnection&, std::unique_ptr<TPacket>& p) {
        auto* reply = dynamic_cast<TClientAnsweredUserText*>(p.get());
        ASSERT_NE(reply, nullptr);
        trace.push_back("engine got reply");
        answeredRequest = reply->RequestId;
        answeredButton = reply->ButtonIndex;
    };
    TServerPleaseAnswerUserText request;
    request.RequestId = NewRequestId();
    trace.push_back("engine sends");
    ASSERT_TRUE(engine.Send(request));
    trace.push_back("engine send returned");
    EXPECT_EQ(trace, (std::vector<std::string>{"engine sends", "ui got request", "engine got reply", "ui reply sent",
                                               "engine send returned"}));
    EXPECT_EQ(answeredRequest, request.RequestId);
    EXPECT_EQ(answeredButton, 2);
}

}  // namespace
}  // namespace mirvex
