// The tanker block framing.
#include "CustomTanker.h"

namespace mirvex {
namespace {

thread_local int g_loadDepth = 0;

struct DepthGuard {
    DepthGuard() { ++g_loadDepth; }
    ~DepthGuard() { --g_loadDepth; }
};

}  // namespace

bool TCustomTanker::LoadBody(TStream& s) { return ReadInt32(s, Version); }

bool TCustomTanker::SaveBody(TStream& s) const { return WriteInt32(s, Version); }

bool TCustomTanker::SaveToStream(TStream& s) const {
    const std::int64_t start = s.Position();
    if (!WriteInt32(s, 0)) return false;
    if (!SaveBody(s)) return false;
    const std::int64_t end = s.Position();
    if (end - start > INT32_MAX) return false;
    s.SetPosition(start);
    const bool ok = WriteInt32(s, static_cast<std::int32_t>(end - start));
    s.SetPosition(end);
    return ok;
}

bool TCustomTanker::LoadFromStream(TStream& s) {
    DepthGuard guard;
    const std::int64_t start = s.Position();
    std::int32_t size = 0;
    bool ok = g_loadDepth <= kMaxBlockNesting && ReadInt32(s, size) && size >= 8 && size <= s.Size() - start;
    if (ok) {
        m_loadEnd = start + size;
        ok = LoadBody(s) && s.Position() <= start + size;
    }
    if (ok) {
        s.SetPosition(start + size);
        return true;
    }
    s.Seek(0, TSeekOrigin::End);
    return false;
}

bool TCustomTanker::CopyFrom(const TCustomTanker& source) {
    TMemoryStream image;
    if (!source.SaveToStream(image)) return false;
    image.SetPosition(0);
    return LoadFromStream(image);
}

TBytes SaveToBytes(const TCustomTanker& tanker) {
    TMemoryStream image;
    if (!tanker.SaveToStream(image)) return {};
    return image.TakeBytes();
}

bool LoadFromBytes(TCustomTanker& tanker, const TBytes& bytes) {
    TMemoryStream image(bytes);
    return tanker.LoadFromStream(image);
}

}  // namespace mirvex
