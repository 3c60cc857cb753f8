// The catalogue of system variables: the named values through which the
// engine publishes a session's state to scripts and takes back the rules
// scripts may change.
#pragma once

#include "model/ScriptValues.h"

namespace mirvex {

class TSystemScriptValues : public TScriptValues {
public:
    // Appends the 67 entries in their fixed order with their kinds, access,
    // values before the first session and descriptions.
    TSystemScriptValues();
};

// The number of entries of the catalogue.
constexpr int kSystemValueCount = 67;

}  // namespace mirvex
