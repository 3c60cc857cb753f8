// Linux implementations of the machine seam.
#include "SystemInfo.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "Cp1251.h"

namespace mirvex {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// Leading decimal number of `text` from `pos`; advances past it and one dot.
int TakeNumber(const std::string& text, std::size_t& pos) {
    int n = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && n < 100000000)
        n = n * 10 + (text[pos++] - '0');
    if (pos < text.size() && text[pos] == '.') ++pos;
    return n;
}

}  // namespace

std::string LocalUserName() {
    struct passwd entry {};
    struct passwd* result = nullptr;
    char buffer[4096];
    if (getpwuid_r(geteuid(), &entry, buffer, sizeof buffer, &result) == 0 && result && result->pw_name)
        return Utf8ToCp1251(result->pw_name);
    return Utf8ToCp1251(Env("USER"));
}

std::string LocalComputerName() {
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) return {};
    std::string name = Utf8ToCp1251(buffer);
    if (name.size() > 15) name.resize(15);
    return name;
}

std::string LocalOsVersionText() {
    struct utsname info {};
    if (uname(&info) != 0) return {};
    const std::string release = info.release;
    std::size_t pos = 0;
    const int major = TakeNumber(release, pos);
    const int minor = TakeNumber(release, pos);
    const int patch = TakeNumber(release, pos);
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch) + "." +
           std::to_string(patch) + "." + Utf8ToCp1251(info.sysname) + " " + Utf8ToCp1251(release);
}

std::string ProgramPath() {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

std::string ProgramFolder() {
    const std::string path = ProgramPath();
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string SystemTempFolder() {
    std::string folder = Env("TMPDIR");
    if (folder.empty()) folder = "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string UserDataFolder() {
    std::string base = Env("XDG_DATA_HOME");
    if (base.empty()) {
        std::string home = Env("HOME");
        if (home.empty()) {
            struct passwd entry {};
            struct passwd* result = nullptr;
            char buffer[4096];
            if (getpwuid_r(geteuid(), &entry, buffer, sizeof buffer, &result) == 0 && result && result->pw_dir)
                home = result->pw_dir;
        }
        base = (home.empty() ? std::string("/tmp") : home) + "/.local/share";
    }
    std::string folder = base + "/Tervan";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

}  // namespace mirvex
