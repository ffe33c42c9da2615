// The renderer's option parser takes any arguments: a verdict, never a fault.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/render_cli.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Arguments are separated by NUL bytes, as in a real argv.
    std::vector<std::string> args{"vorla-render"};
    std::string current;
    for (std::size_t i = 0; i < size && args.size() < 64; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    args.push_back(current);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    (void)vorla::CheckRenderArguments(static_cast<int>(args.size()), argv.data());
    return 0;
}
