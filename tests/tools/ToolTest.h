// Runs mirvex-build as a child process in a scratch folder of its own.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ScratchFolder.h"
#include "util/Stream.h"

namespace mirvex {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class TToolTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const TBytes& bytes) {
        const std::filesystem::path path = m_dir / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }
    std::string WriteText(const std::string& name, const std::string& text) {
        return Write(name, TBytes(text.begin(), text.end()));
    }

    RunResult Run(const std::string& args) {
        const std::filesystem::path out = m_dir / "stdout", err = m_dir / "stderr";
        const std::string command = std::string("'") + MIRVEX_BUILD_TOOL + "' " + args + " >'" + out.string() +
                                    "' 2>'" + err.string() + "'";
        RunResult r;
        const int raw = std::system(command.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = ReadAll(out);
        r.err = ReadAll(err);
        return r;
    }

    TScratchFolder m_dir{"tool"};
};

}  // namespace mirvex
