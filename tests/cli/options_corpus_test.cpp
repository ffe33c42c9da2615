// The fuzz corpus of the renderer's options, replayed: a verdict for each, never a fault.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "cli/render_cli.h"

namespace {

bool Check(std::vector<std::string> args, std::string& error) {
    args.insert(args.begin(), "vorla-render");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return vorla::CheckRenderArguments(static_cast<int>(args.size()), argv.data(), error);
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
        std::string error;
        Check(args, error);
        ++files;
    }
    EXPECT_GT(files, 0);
}

TEST(OptionsCorpus, KnownVerdicts) {
    std::string error;
    EXPECT_TRUE(Check({"--example", "3", "--set", "EditKd=1/3", "out.png"}, error)) << error;
    EXPECT_FALSE(Check({"--set", "=", "x.png"}, error));
    EXPECT_FALSE(Check({"--seed", "-1"}, error));
    EXPECT_FALSE(Check({"--set", "LabelBA=#GG0000"}, error));
    EXPECT_NE(error.find("LabelBA"), std::string::npos);
    EXPECT_FALSE(Check({"--size"}, error));
}

}  // namespace
