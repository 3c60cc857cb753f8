// libFuzzer target over the loader of one record kind, chosen at compile
// time by MIRVEX_FUZZ_RECORD. Whatever loads must save, load again and save
// to the same bytes; whatever fails must leave the stream at its end.
#include <cstdint>
#include <cstdlib>

#include "model/Attach.h"
#include "model/RTFText.h"
#include "model/ScriptValues.h"
#include "model/SelfSettings.h"
#include "model/TestQuestion.h"
#include "model/TestSettings.h"
#include "model/TextWithAttaches.h"
#include "model/Users.h"
#include "model/VariableValues.h"

#ifndef MIRVEX_FUZZ_RECORD
#error "MIRVEX_FUZZ_RECORD names the record class"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mirvex;
    using Record = MIRVEX_FUZZ_RECORD;
    TMemoryStream stream(data, size);
    Record record;
    if (!record.LoadFromStream(stream)) {
        if (stream.Position() != stream.Size()) std::abort();
        return 0;
    }
    const TBytes first = SaveToBytes(record);
    if (first.empty()) std::abort();
    Record again;
    if (!LoadFromBytes(again, first)) std::abort();
    if (SaveToBytes(again) != first) std::abort();
    return 0;
}
