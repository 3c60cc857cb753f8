// Shared helpers.
#include "UtilsUnit.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/random.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "Cp1251.h"
#include "FormatSettings.h"
#include "SystemInfo.h"

extern char** environ;

namespace mirvex {

TGuid NewGuid() {
    std::uint8_t bytes[16] = {};
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
        if (n > 0) got += static_cast<std::size_t>(n);
        else if (errno != EINTR) break;
    }
    if (got < sizeof bytes) {
        // No kernel randomness: fall back on the standard generator.
        std::random_device rd;
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rd());
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    TGuid g;
    g.D1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
    g.D2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    g.D3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) g.D4[i] = bytes[8 + i];
    return g;
}

std::string GuidToText(const TGuid& g) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.D1, g.D2, g.D3,
                  g.D4[0], g.D4[1], g.D4[2], g.D4[3], g.D4[4], g.D4[5], g.D4[6], g.D4[7]);
    return buffer;
}

std::string NewGuidText() { return GuidToText(NewGuid()); }

std::string TrimTrailingCrLf(std::string_view text) {
    if (text.size() > 1 && text.ends_with("\r\n")) text.remove_suffix(2);
    return std::string(text);
}

std::string SecondsToText(std::int32_t seconds, bool forceMinutes) {
    static const std::string kLong = Cp1251("%d мин %d сек");
    static const std::string kShort = Cp1251("%d сек");
    if (forceMinutes || seconds > 60) return Format(kLong, {seconds / 60, seconds % 60});
    return Format(kShort, {seconds});
}

std::string IncludeTrailingBackslash(std::string_view path) {
    std::string out(path);
    if (!out.empty() && out.back() != '/') out += '/';
    return out;
}

std::string SplitAtSeparator(std::string_view text, std::string_view separator, bool takeBefore, bool upToLast) {
    std::string before;
    std::string_view after = text;
    if (!separator.empty()) {
        std::size_t found = after.find(separator);
        while (found != std::string_view::npos) {
            before.append(after.substr(0, found));
            after = after.substr(found + separator.size());
            if (!upToLast) break;
            found = after.find(separator);
            if (found != std::string_view::npos) before.append(separator);
        }
    }
    return takeBefore ? before : std::string(after);
}

std::string TempFolder() { return SystemTempFolder(); }

std::string WindowsFolder() { return UserDataFolder(); }

std::string UniqueFileName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1));
    const std::string_view fileName = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t lastDot = fileName.rfind('.');
    const std::string ext(lastDot == std::string_view::npos ? std::string_view() : fileName.substr(lastDot));
    // Without any dot the part before the first dot would be empty and the
    // candidate would be the folder itself: keep the whole name instead.
    const std::string name = lastDot == std::string_view::npos ? std::string(fileName)
                                                              : SplitAtSeparator(fileName, ".", true, false);
    const auto exists = [](const std::string& candidate) {
        std::error_code ec;
        return std::filesystem::exists(std::filesystem::symlink_status(candidate, ec));
    };
    std::string candidate = folder + name + ext;
    for (unsigned n = 1; exists(candidate); ++n) candidate = folder + name + std::to_string(n) + ext;
    return candidate;
}

std::int32_t PasswordHash(std::string_view text) {
    std::uint32_t h = 0x3A5C91E4u;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<std::uint32_t>(static_cast<std::uint8_t>(text[i]));
        h += b << ((i + 1) % 31);
    }
    return static_cast<std::int32_t>(h);
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> tokens;
    std::string current;
    bool inToken = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && i + 1 < line.size() && line[i + 1] == '"') {
            current += '"';
            inToken = true;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            inToken = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inToken) tokens.push_back(std::move(current));
            current.clear();
            inToken = false;
        } else {
            current += c;
            inToken = true;
        }
    }
    if (inToken) tokens.push_back(std::move(current));
    return tokens;
}

namespace {

int ExitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 0;
}

// Waits for one process on a thread of its own and signals the end through
// a pipe that the caller polls between rounds of its event processing.
class TWaitProcessThread {
public:
    explicit TWaitProcessThread(pid_t pid) : m_pid(pid) {}
    ~TWaitProcessThread() {
        if (m_thread.joinable()) m_thread.join();
        for (int fd : m_pipe)
            if (fd >= 0) ::close(fd);
    }
    // False when the pipe cannot be made; nothing is started then.
    bool Start() {
        if (::pipe2(m_pipe, O_CLOEXEC) != 0) return false;
        m_thread = std::thread([this] {
            int status = 0;
            int r = 0;
            while ((r = ::waitpid(m_pid, &status, 0)) < 0 && errno == EINTR) {
            }
            m_exitCode = r < 0 ? 0 : ExitCodeOf(status);
            const char done = 1;
            while (::write(m_pipe[1], &done, 1) < 0 && errno == EINTR) {
            }
        });
        return true;
    }
    // Returns the exit code once the process has ended; calls
    // `processEvents` about every 10 ms meanwhile.
    int Wait(const std::function<void()>& processEvents) {
        for (;;) {
            struct pollfd fd {m_pipe[0], POLLIN, 0};
            if (::poll(&fd, 1, processEvents ? 10 : -1) > 0) break;
            if (processEvents) processEvents();
        }
        m_thread.join();
        return m_exitCode;
    }

private:
    pid_t m_pid;
    int m_pipe[2] = {-1, -1};
    int m_exitCode = 0;
    std::thread m_thread;
};

void ReapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

std::int32_t RunProgram(std::string_view commandLine, bool hidden, bool wait,
                        const std::function<void()>& processEvents) {
    (void)hidden;
    const std::vector<std::string> tokens = SplitCommandLine(commandLine);
    if (tokens.empty() || tokens[0].empty()) return -1;
    std::vector<char*> argv;
    for (const auto& t : tokens) argv.push_back(const_cast<char*>(t.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;

    if (!wait) {
        // Nobody waits for the program: reap it so that it does not stay
        // behind as a zombie.
        ReapInBackground(pid);
        return 0;
    }
    TWaitProcessThread waiter(pid);
    if (!waiter.Start()) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return ExitCodeOf(status);
    }
    return waiter.Wait(processEvents);
}

}  // namespace mirvex
