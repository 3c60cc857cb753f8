// JSON images of the records for `mirvex-build dump`: keys are the records'
// field names, nested records are objects, lists are arrays, texts are
// converted to UTF-8 and byte fields print as {"size": N, "crc32": "..."}.
#pragma once

#include <string_view>

#include "model/Attach.h"
#include "model/RTFText.h"
#include "model/ScriptValues.h"
#include "model/SelfSettings.h"
#include "model/TestQuestion.h"
#include "model/TestSettings.h"
#include "model/TextWithAttaches.h"
#include "model/Users.h"
#include "model/VariableValues.h"
#include "util/JsonWriter.h"

namespace mirvex::json {

void WriteText(TJsonWriter& w, std::string_view cp1251);
void WriteBytes(TJsonWriter& w, const TBytes& bytes);
void WriteVariant(TJsonWriter& w, const TVariant& value);

void Write(TJsonWriter& w, const TRTFText& r);
void Write(TJsonWriter& w, const TAttach& r);
void Write(TJsonWriter& w, const TTextWithAttaches& r);
void Write(TJsonWriter& w, const TUserTextWithAttach& r);
void Write(TJsonWriter& w, const TTextWithAttachesList& r);
void Write(TJsonWriter& w, const TTestAnswer& r);
void Write(TJsonWriter& w, const TTestQuestion& r);
void Write(TJsonWriter& w, const TScriptValues& r);
void Write(TJsonWriter& w, const TTestSettings& r);
void Write(TJsonWriter& w, const TCustomUserUnit& r);
void Write(TJsonWriter& w, const TUsers& r);
void Write(TJsonWriter& w, const TSelfSettings& r);
void Write(TJsonWriter& w, const TVariableValues& r);

}  // namespace mirvex::json
