// The stand-alone program's own settings: login mode, where the statistics
// file lives, the login prompt and the number of login attempts.
#pragma once

#include <string>

#include "CustomTanker.h"

namespace mirvex {

enum class TLoginMode : std::uint8_t {
    NoLogin = 0,     // testing starts without a user
    AnyName = 1,     // the user types any name
    ListedName = 2,  // a name from the user list, and its password
    PickUser = 3,    // a user picked from the user tree, and its password
};

enum class TStatMode : std::uint8_t {
    None = 0,           // no statistics are written
    SystemFolder = 1,   // the system's data folder
    ProgramFolder = 2,  // beside the program file
    Registry = 3,       // the path kept in the settings under the test identity
};

class TSelfSettings : public TCustomTanker {
public:
    TLoginMode LoginMode = TLoginMode::NoLogin;
    TStatMode StatMode = TStatMode::None;
    // Blank means "stat.dat".
    std::string StatFileName;
    bool ShowResultsChoice = false;
    std::int32_t MaxLoginAttempts = 0;
    std::string LoginPrompt;

    // StatFileName trimmed, or "stat.dat" when that is empty.
    std::string EffectiveStatFileName() const;

    // Body after Version: byte LoginMode, byte StatMode, string StatFileName,
    // byte ShowResultsChoice, int32 MaxLoginAttempts, string LoginPrompt.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

}  // namespace mirvex
