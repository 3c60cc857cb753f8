// Realistic records built in code, shared by the model and tool tests.
#pragma once

#include <memory>

#include "model/Attach.h"
#include "model/ScriptValues.h"
#include "model/SelfSettings.h"
#include "model/TestQuestion.h"
#include "model/TestSettings.h"
#include "model/Users.h"
#include "model/VariableValues.h"

namespace mirvex::fixtures {

// A rich text with Cyrillic lines and a small RTF stream.
void FillText(TRTFText& text, const char* utf8Line);
// A picture attachment with a few bytes of data.
void AddPicture(TAttaches& attaches, const char* name);
// A conformity question: two left items, three right items, an attachment,
// an extra text and both scripts.
std::unique_ptr<TTestQuestion> ConformityQuestion();
// A typed-input question whose single answer holds two variants.
std::unique_ptr<TTestQuestion> TypedQuestion();
// Settings with every rule changed, three marks, texts and script values.
std::unique_ptr<TTestSettings> FullSettings();
// Two groups, one nested, and three users.
std::unique_ptr<TUsers> SchoolUsers();
// The 42-byte "INFO" example: modes 0 and 0, "Stat.dat", 0, 3 and an
// 11-character prompt.
std::unique_ptr<TSelfSettings> InfoExample();
std::unique_ptr<TScriptValues> AuthorValues();

}  // namespace mirvex::fixtures
