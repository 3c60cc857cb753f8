// Stand-alone settings.
#include "SelfSettings.h"

#include "util/Strings.h"

namespace mirvex {

std::string TSelfSettings::EffectiveStatFileName() const {
    std::string name = Trim(StatFileName);
    return name.empty() ? std::string("stat.dat") : name;
}

bool TSelfSettings::LoadBody(TStream& s) {
    return TCustomTanker::LoadBody(s) && ReadEnum(s, LoginMode) && ReadEnum(s, StatMode) &&
           ReadString(s, StatFileName) && ReadBoolean(s, ShowResultsChoice) && ReadInt32(s, MaxLoginAttempts) &&
           ReadString(s, LoginPrompt);
}

bool TSelfSettings::SaveBody(TStream& s) const {
    return TCustomTanker::SaveBody(s) && WriteEnum(s, LoginMode) && WriteEnum(s, StatMode) &&
           WriteString(s, StatFileName) && WriteBoolean(s, ShowResultsChoice) && WriteInt32(s, MaxLoginAttempts) &&
           WriteString(s, LoginPrompt);
}

}  // namespace mirvex
