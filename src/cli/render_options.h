// The renderer's command line: its options, read and checked. Each option is declared once, in
// a table of its name, its value, its help and its reader; the usage text and the parsing both
// come from that table (and the README's usage block is the usage text).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/keyframes.h"
#include "base/status.h"
#include "plane/tabula.h"

namespace vorla {

// The options of one run, with their defaults.
struct RenderOptions {
    std::string output = "vorla.png";
    int example = 3;
    int task = 0;
    std::vector<std::pair<std::string, std::string>> sets;
    int tag = 1;
    bool clear = false, overlay = false, printScene = false, quiet = false, help = false;
    bool fixedPoints = false;
    int width = kDefaultTabulaWidth, height = kDefaultTabulaHeight, threads = 0;
    bool haveSeed = false;
    unsigned long long seed = 0;
    std::string gridFile;
    std::string scaleFile;
    std::string sceneFile;
    bool tagGiven = false, sizeGiven = false;
    bool rowsGiven = false;
    int firstRow = 0, lastRow = -1;  // --rows
    bool assemble = false;           // --assemble: `output` is made of `bands`
    std::vector<std::string> bands;
    // A movie: --animate's keyframes, or --encode's folder of frames drawn apart.
    std::vector<std::string> keyframes;
    std::string encodeFolder;
    int frames = 0;                     // --frames; 0: not given
    int firstFrame = 0, lastFrame = 0;  // --frames-range; 0: every frame
    int fps = 30;
    Ease ease = Ease::Linear;
    bool fpsGiven = false, easeGiven = false;
    std::string tiles;  // --tiles: the deep-zoom folder written instead of `output`
};

// The usage text, printed by --help and after a bad option: one line or more per option of
// the table, in its order.
const std::string& RenderUsage();

// The options, or the message of the first bad one.
Result<RenderOptions> ParseRenderOptions(int argc, char** argv);

}  // namespace vorla
