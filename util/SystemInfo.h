// The platform seam for what the system asks of the machine: the user, the
// computer, the operating system, and the folders the program uses. A
// Windows build puts the native calls back here and nowhere else.
#pragma once

#include <string>

namespace mirvex {

// The login name of the effective user (code page 1251; UTF-8 names are
// converted), empty when the system reports none.
std::string LocalUserName();
// The host name cut to 15 characters.
std::string LocalComputerName();
// "major.minor.patch.patch." followed by the system name and release, for
// example "6.1.0.0.Linux 6.1.0-18-amd64".
std::string LocalOsVersionText();
// The folder of the running executable, without a trailing separator.
std::string ProgramFolder();
// The full path of the running executable.
std::string ProgramPath();
// $TMPDIR, else /tmp, with a trailing separator.
std::string SystemTempFolder();
// The user's data folder $XDG_DATA_HOME/Tervan (default ~/.local/share/Tervan),
// created when missing; no trailing separator.
std::string UserDataFolder();

}  // namespace mirvex
