// The fuzz corpus of the renderer's options, replayed: a verdict for each, never a fault.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "cli/render_cli.h"

namespace {

vorla::Status Check(std::vector<std::string> args) {
    args.insert(args.begin(), "vorla-render");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return vorla::CheckRenderArguments(static_cast<int>(args.size()), argv.data());
}

TEST(OptionsCorpus, ReplaysWithAVerdict) {
    const std::filesystem::path dir =
        std::filesystem::path(VORLA_SOURCE_DIR) / "fuzz/corpus/render_options";
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        std::vector<std::string> args(1);
        for (char c : ss.str()) {
            if (c == 0)
                args.emplace_back();
            else
                args.back() += c;
        }
        (void)Check(args);
        ++files;
    }
    EXPECT_GT(files, 0);
}

}  // namespace
