// Texts with attachments.
#include "TextWithAttaches.h"

namespace mirvex {

void TTextWithAttaches::Assign(const TTextWithAttaches& source) {
    if (&source == this) return;
    RichText.Assign(source.RichText);
    Attachments.Assign(source.Attachments);
}

bool TTextWithAttaches::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && RichText.LoadFromStream(s) && Attachments.LoadFromStream(s);
}

bool TTextWithAttaches::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && RichText.SaveToStream(s) && Attachments.SaveToStream(s);
}

bool TUserTextWithAttach::LoadBody(TStream& s) {
    if (!TCustomTanker::LoadBody(s) || !ReadBoolean(s, Present)) return false;
    return !Present || Text.LoadFromStream(s);
}

bool TUserTextWithAttach::SaveBody(TStream& s) const {
    if (!TCustomTanker::SaveBody(s) || !WriteBoolean(s, Present)) return false;
    return !Present || Text.SaveToStream(s);
}

}  // namespace mirvex
