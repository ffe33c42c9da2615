#include "cli/render_options.h"

#include <cerrno>
#include <cstdlib>

#include "model/controls.h"
#include "pictures/kinds.h"

namespace vorla {

const char* const kRenderUsage =
    "usage: vorla-render [options] [OUTPUT]\n"
    "  OUTPUT             picture file, .png or .bmp (default vorla.png)\n"
    "  --example N        load example N (1-14); default 3\n"
    "  --scene FILE       load a scene file saved by the window instead (its picture and\n"
    "                     tabula size too, unless --picture, --tag or --size are given)\n"
    "  --task T           task type 2-6 (2-5 circles, 6 squaring on the unit circle)\n"
    "  --set NAME=TEXT    set a control by name, e.g. EditKd=2.5 (repeatable)\n"
    "  --picture NAME     convergence, periodicity, preperiodicity, nth, rectangle,\n"
    "                     end-regions, infinity, closest-order, last-two, lyap-x, lyap-y,\n"
    "                     lyap-sum, lyap-d, closest-dist (default convergence)\n"
    "  --tag N            the picture by its menu tag instead\n"
    "  --clear            clear the tabula and draw the basic circles first\n"
    "  --overlay          draw the basic circles after the picture\n"
    "  --fixed-points     mark the fixed points of the map after the picture (and overlay)\n"
    "  --size WxH         tabula size (default 542x450)\n"
    "  --threads N        worker threads (default: all cores)\n"
    "  --seed N           random seed (default: from the clock)\n"
    "  --grid FILE        write the value grid as text\n"
    "  --scale-image FILE write the Lyapunov colour scale (25x241), .png or .bmp\n"
    "  --print-scene      print the scene text and draw nothing\n"
    "  --rows FIRST:LAST  draw only those rows of the picture into a band file OUTPUT\n"
    "  --assemble OUT BAND...\n"
    "                     join band files into the PNG picture OUT (and --grid FILE)\n"
    "  --quiet            no progress bar, no warnings\n"
    "  --help             this text\n";

namespace {

// The largest side of a picture: its rows of pixels and values must fit in memory a band at
// a time, and its pixel count in the grid's indices.
constexpr long long kMaxSide = 1000000;

// A whole number written as digits alone (no blank, sign or empty part) within [lo, hi].
bool ParseDigits(const std::string& s, unsigned long long lo, unsigned long long hi,
                 unsigned long long& v) {
    if (s.empty() || s.size() > 20 || s.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    v = std::strtoull(s.c_str(), nullptr, 10);
    return errno == 0 && v >= lo && v <= hi;
}

bool ParseLong(const std::string& s, long long lo, long long hi, long long& v) {
    unsigned long long u = 0;
    if (!ParseDigits(s, static_cast<unsigned long long>(lo), static_cast<unsigned long long>(hi),
                     u))
        return false;
    v = static_cast<long long>(u);
    return true;
}

std::string ValidControlNames() {
    std::string names;
    for (const auto& c : ControlTable()) names += std::string(names.empty() ? "" : " ") + c.name;
    return names;
}

// The options followed by a value.
bool TakesValue(const std::string& option) {
    for (const char* o : {"--example", "--scene", "--task", "--set", "--picture", "--tag", "--size",
                          "--threads", "--seed", "--grid", "--scale-image", "--rows", "--assemble"})
        if (option == o) return true;
    return false;
}

}  // namespace

Result<RenderOptions> ParseRenderOptions(int argc, char** argv) {
    RenderOptions o;
    bool haveOutput = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (TakesValue(a) && i + 1 >= argc) return Failure{a + " needs a value"};
        auto value = [&]() -> std::string { return argv[++i]; };
        long long v = 0;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--example") {
            const std::string s = value();
            if (!ParseLong(s, 1, 14, v)) return Failure{"--example takes 1 to 14, not '" + s + "'"};
            o.example = static_cast<int>(v);
        } else if (a == "--scene") {
            o.sceneFile = value();
            if (o.sceneFile.empty()) return Failure{"--scene needs a file name"};
        } else if (a == "--task") {
            const std::string s = value();
            if (!ParseLong(s, 2, 6, v)) return Failure{"--task takes 2 to 6, not '" + s + "'"};
            o.task = static_cast<int>(v);
        } else if (a == "--set") {
            const std::string s = value();
            const size_t eq = s.find('=');
            if (eq == std::string::npos || eq == 0)
                return Failure{"--set takes NAME=TEXT, not '" + s + "'"};
            const std::string name = s.substr(0, eq);
            if (!FindControl(name))
                return Failure{"unknown control '" + name +
                               "'; valid names: " + ValidControlNames()};
            o.sets.emplace_back(name, s.substr(eq + 1));
        } else if (a == "--picture") {
            const std::string s = value();
            const PictureKindInfo* k = FindPictureKind(s);
            if (!k) return Failure{"unknown picture '" + s + "'"};
            o.tag = k->tag;
            o.tagGiven = true;
        } else if (a == "--tag") {
            const std::string s = value();
            if (!ParseLong(s, 0, 1000, v) || !FindPictureKind(static_cast<int>(v)))
                return Failure{"--tag takes the tag of a picture, not '" + s + "'"};
            o.tag = static_cast<int>(v);
            o.tagGiven = true;
        } else if (a == "--clear") {
            o.clear = true;
        } else if (a == "--overlay") {
            o.overlay = true;
        } else if (a == "--fixed-points") {
            o.fixedPoints = true;
        } else if (a == "--size") {
            const std::string s = value();
            const size_t x = s.find('x');
            long long w = 0, h = 0;
            if (x == std::string::npos || !ParseLong(s.substr(0, x), 1, kMaxSide, w) ||
                !ParseLong(s.substr(x + 1), 1, kMaxSide, h) || w * h > (1LL << 40))
                return Failure{"--size takes WxH with each from 1 to 1000000, not '" + s + "'"};
            o.width = static_cast<int>(w);
            o.height = static_cast<int>(h);
            o.sizeGiven = true;
        } else if (a == "--threads") {
            const std::string s = value();
            if (!ParseLong(s, 1, 1024, v))
                return Failure{"--threads takes 1 to 1024, not '" + s + "'"};
            o.threads = static_cast<int>(v);
        } else if (a == "--seed") {
            const std::string s = value();
            if (!ParseDigits(s, 0, ~0ULL, o.seed))
                return Failure{"--seed takes a whole number, not '" + s + "'"};
            o.haveSeed = true;
        } else if (a == "--grid") {
            o.gridFile = value();
            if (o.gridFile.empty()) return Failure{"--grid needs a file name"};
        } else if (a == "--scale-image") {
            o.scaleFile = value();
            if (o.scaleFile.empty()) return Failure{"--scale-image needs a file name"};
        } else if (a == "--rows") {
            const std::string s = value();
            const size_t colon = s.find(':');
            long long f = 0, l = 0;
            if (colon == std::string::npos || !ParseLong(s.substr(0, colon), 0, kMaxSide - 1, f) ||
                !ParseLong(s.substr(colon + 1), 0, kMaxSide - 1, l) || l < f)
                return Failure{"--rows takes FIRST:LAST with FIRST <= LAST, not '" + s + "'"};
            o.rowsGiven = true;
            o.firstRow = static_cast<int>(f);
            o.lastRow = static_cast<int>(l);
        } else if (a == "--assemble") {
            o.assemble = true;
            o.output = value();
            if (o.output.empty()) return Failure{"--assemble needs a file name"};
            haveOutput = true;
        } else if (a == "--print-scene") {
            o.printScene = true;
        } else if (a == "--quiet" || a == "-q") {
            o.quiet = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Failure{"unknown option '" + a + "'"};
        } else if (o.assemble) {
            o.bands.push_back(a);
        } else {
            if (haveOutput) return Failure{"only one output file may be given"};
            o.output = a;
            haveOutput = true;
        }
    }
    if (o.assemble && o.bands.empty()) return Failure{"--assemble needs band files"};
    if (o.rowsGiven && !o.gridFile.empty())
        return Failure{"a band file holds its grid rows; --grid goes with --assemble"};
    return o;
}

}  // namespace vorla
