// The subcommands of mirvex-build. Each takes the arguments after its name
// and returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace mirvex::tools {

using TArgs = std::vector<std::string>;

int DumpCommand(const TArgs& args);
int ScriptCommand(const TArgs& args);

}  // namespace mirvex::tools
