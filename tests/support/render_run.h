// What the tests of the renderer's executable share: a folder of their own, command lines run
// in it, its files read back, and a render ended by a signal at a chosen stage.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace vorla::testing {

namespace fs = std::filesystem;

class RenderRun : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("vorla-" + std::to_string(::getpid()) + "-" +
                                           test->test_suite_name() + "-" + test->name());
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // Runs a shell command line, "@" standing for the test's folder and "RENDER" for the
    // renderer; the exit code, and stdout and stderr together in `out`.
    int Shell(const std::string& line) {
        std::string cmd = std::regex_replace(line, std::regex("@"), dir.string());
        cmd = std::regex_replace(cmd, std::regex("RENDER"), VORLA_RENDER) + " 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        out.clear();
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        const int status = pclose(p);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int Render(const std::string& args) { return Shell("RENDER " + args); }
    // `said` with "@" for the test's folder: found in `out`.
    bool Said(const std::string& said) const {
        return out.find(std::regex_replace(said, std::regex("@"), dir.string())) !=
               std::string::npos;
    }
    std::string P(const std::string& name) const { return (dir / name).string(); }
    // The bytes of a file, named within the test's folder or by its whole path.
    std::string Bytes(const fs::path& name) const {
        std::ifstream in(name.is_absolute() ? name : dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The files of a folder, temporary ones included.
    std::vector<std::string> Files(const std::string& sub = "") const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir / sub))
            names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    // A temporary file or folder of the renderer's in the test's folder.
    bool HasTemporary() const {
        const std::vector<std::string> names = Files();
        return std::any_of(names.begin(), names.end(),
                           [](const std::string& f) { return f.starts_with(".vorla-"); });
    }
    // Runs the renderer with `args` in the test's folder, its stderr into the file "err", and
    // sends it `signal` once it catches that signal and `ready` holds: no timing involved.
    // Its exit code, -1 when it did not exit.
    int Interrupted(std::vector<std::string> args, int signal, const std::function<bool()>& ready) {
        args.insert(args.begin(), VORLA_RENDER);
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::vector<char*> argv;
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            if (::chdir(dir.c_str()) != 0 || !std::freopen("err", "w", stderr)) ::_exit(99);
            ::execv(argv[0], argv.data());
            ::_exit(98);
        }
        if (pid < 0) return -1;
        auto catches = [&] {
            std::ifstream status("/proc/" + std::to_string(pid) + "/status");
            std::string key;
            unsigned long long caught = 0;
            while (status >> key)
                if (key == "SigCgt:") status >> std::hex >> caught;
            return ((caught >> (signal - 1)) & 1) != 0;
        };
        for (int i = 0; i < 60000 && !(catches() && ready()); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ::kill(pid, signal);
        int status = 0;
        if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
        return WEXITSTATUS(status);
    }
    fs::path dir;
    std::string out;
};

}  // namespace vorla::testing
