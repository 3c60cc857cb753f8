// A fresh folder under the temporary folder for one test, removed with it.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace mirvex {

class TScratchFolder : public std::filesystem::path {
public:
    explicit TScratchFolder(const std::string& tag)
        : std::filesystem::path(std::filesystem::temp_directory_path() /
                                ("mirvex-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(Next()))) {
        std::filesystem::remove_all(*this);
        std::filesystem::create_directories(*this);
    }
    ~TScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(*this, ec);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    std::string Path(const std::string& name) const { return (*this / name).string(); }

private:
    static int Next() {
        static std::atomic<int> counter{0};
        return ++counter;
    }
};

}  // namespace mirvex
