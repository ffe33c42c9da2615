#include "cli/render_options.h"

#include <cerrno>
#include <cstdlib>

#include "app/scene_file.h"
#include "model/controls.h"
#include "pictures/kinds.h"

namespace vorla {
namespace {

// One option: how the usage shows it and how its value is read into the options.
struct OptionSpec {
    std::string name;   // "--size", or "OUTPUT" for the file named without an option
    std::string alias;  // a short name ("-q"), or empty
    std::string value;  // the value's name in the usage ("WxH"); empty: the option is a flag
    std::string help;   // the usage text; "\n" starts a line of its own
    // Reads the value into `o`; a failure says what the option takes. Null for a flag.
    Status (*read)(const std::string& value, RenderOptions& o) = nullptr;
    bool RenderOptions::*flag = nullptr;  // what a flag turns on
    // The value may be left out when an option follows (read as empty): "--assemble --tiles".
    bool valueMayBeLeftOut = false;
};

// A whole number written as digits alone (no blank, sign or empty part) within [lo, hi].
bool ParseDigits(const std::string& s, unsigned long long lo, unsigned long long hi,
                 unsigned long long& v) {
    if (s.empty() || s.size() > 20 || s.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    v = std::strtoull(s.c_str(), nullptr, 10);
    return errno == 0 && v >= lo && v <= hi;
}

bool ParseInt(const std::string& s, int lo, int hi, int& v) {
    unsigned long long u = 0;
    if (!ParseDigits(s, static_cast<unsigned long long>(lo), static_cast<unsigned long long>(hi),
                     u))
        return false;
    v = static_cast<int>(u);
    return true;
}

// "OPTION takes WHAT, not 'VALUE'", the value shortened.
Failure Takes(const std::string& option, const std::string& what, const std::string& value) {
    return Failure{option + " takes " + what + ", not '" + ShortText(value) + "'"};
}

// Two whole numbers of [lo, hi] around `separator` ("WxH", "FIRST:LAST").
bool ParsePair(const std::string& s, char separator, int lo, int hi, int& a, int& b) {
    const size_t at = s.find(separator);
    return at != std::string::npos && ParseInt(s.substr(0, at), lo, hi, a) &&
           ParseInt(s.substr(at + 1), lo, hi, b);
}

std::string ValidControlNames() {
    std::string names;
    for (const auto& c : ControlTable()) names += std::string(names.empty() ? "" : " ") + c.name;
    return names;
}

// What a control takes, for a refusal.
// --set NAME=TEXT: the control must take the text, an edit's number included, so that what
// is drawn is what was asked for.
Status ReadSet(const std::string& s, RenderOptions& o) {
    const size_t eq = s.find('=');
    if (eq == std::string::npos || eq == 0) return Takes("--set", "NAME=TEXT", s);
    const std::string name = s.substr(0, eq), text = s.substr(eq + 1);
    const std::optional<Ctl> c = FindControl(name);
    if (!c)
        return Failure{"unknown control '" + ShortText(name) +
                       "'; valid names: " + ValidControlNames()};
    if (Status taken = CheckControlText(Spec(*c), text); !taken) return taken;
    o.sets.emplace_back(name, text);
    return {};
}

// A file name, which may not be empty.
Status ReadFile(const std::string& option, const std::string& value, std::string& into) {
    if (value.empty()) return Failure{option + " needs a file name"};
    into = value;
    return {};
}

// The table of every option, in the order of the usage text.
const std::vector<OptionSpec>& Options() {
    static const std::vector<OptionSpec> table = [] {
        const RenderOptions d;  // the defaults, as the help states them
        return std::vector<OptionSpec>{
            {"OUTPUT", "", "",
             "picture file, .png or .bmp (default " + d.output +
                 "); a movie's folder,\n"
                 ".mp4, .webm or .gif file",
             [](const std::string& v, RenderOptions& o) {
                 if (!o.output.empty()) return Status(Failure{"only one output file may be given"});
                 o.output = v;
                 return Status();
             }},
            {"--example", "", "N", "load example N (1-14); default " + std::to_string(d.example),
             [](const std::string& v, RenderOptions& o) {
                 return ParseInt(v, 1, 14, o.example) ? Status() : Takes("--example", "1 to 14", v);
             }},
            {"--scene", "", "FILE",
             "load a scene file saved by the window instead (its picture and\n"
             "tabula size too, unless --picture, --tag or --size are given)",
             [](const std::string& v, RenderOptions& o) {
                 return ReadFile("--scene", v, o.sceneFile);
             }},
            {"--task", "", "T", "task type 2-6 (2-5 circles, 6 squaring on the unit circle)",
             [](const std::string& v, RenderOptions& o) {
                 return ParseInt(v, 2, 6, o.task) ? Status() : Takes("--task", "2 to 6", v);
             }},
            {"--set", "", "NAME=TEXT",
             "set a control by name, e.g. EditKd=2.5 (repeatable); a text\n"
             "the control does not take is refused",
             ReadSet},
            {"--picture", "", "NAME",
             "convergence, periodicity, preperiodicity, nth, rectangle,\n"
             "end-regions, infinity, closest-order, last-two, lyap-x, lyap-y,\n"
             "lyap-sum, lyap-d, closest-dist (default convergence)",
             [](const std::string& v, RenderOptions& o) {
                 const PictureKindInfo* k = FindPictureKind(v);
                 if (!k) return Status(Failure{"unknown picture '" + ShortText(v) + "'"});
                 o.tag = k->tag;
                 o.tagGiven = true;
                 return Status();
             }},
            {"--tag", "", "N", "the picture by its menu tag instead",
             [](const std::string& v, RenderOptions& o) {
                 if (!ParseInt(v, 0, 1000, o.tag) || !FindPictureKind(o.tag))
                     return Status(Takes("--tag", "the tag of a picture", v));
                 o.tagGiven = true;
                 return Status();
             }},
            {"--clear", "", "", "clear the tabula and draw the basic circles first", nullptr,
             &RenderOptions::clear},
            {"--overlay", "", "", "draw the basic circles after the picture", nullptr,
             &RenderOptions::overlay},
            {"--fixed-points", "", "",
             "mark the fixed points of the map after the picture (and overlay)", nullptr,
             &RenderOptions::fixedPoints},
            {"--size", "", "WxH",
             "tabula size (default " + std::to_string(d.width) + "x" + std::to_string(d.height) +
                 "; each side up to " + std::to_string(kMaxPictureSide) + ")",
             [](const std::string& v, RenderOptions& o) {
                 if (!ParsePair(v, 'x', 1, kMaxPictureSide, o.width, o.height))
                     return Status(
                         Takes("--size",
                               "WxH with each from 1 to " + std::to_string(kMaxPictureSide), v));
                 o.sizeGiven = true;
                 return Status();
             }},
            {"--threads", "", "N", "worker threads (default: all cores)",
             [](const std::string& v, RenderOptions& o) {
                 return ParseInt(v, 1, 1024, o.threads) ? Status()
                                                        : Takes("--threads", "1 to 1024", v);
             }},
            {"--seed", "", "N", "random seed (default: from the clock)",
             [](const std::string& v, RenderOptions& o) {
                 if (!ParseDigits(v, 0, ~0ULL, o.seed))
                     return Status(Takes("--seed", "a whole number", v));
                 o.haveSeed = true;
                 return Status();
             }},
            {"--grid", "", "FILE", "write the value grid as text",
             [](const std::string& v, RenderOptions& o) {
                 return ReadFile("--grid", v, o.gridFile);
             }},
            {"--scale-image", "", "FILE", "write the Lyapunov colour scale (25x241), .png or .bmp",
             [](const std::string& v, RenderOptions& o) {
                 return ReadFile("--scale-image", v, o.scaleFile);
             }},
            {"--print-scene", "", "", "print the scene text and draw nothing", nullptr,
             &RenderOptions::printScene},
            {"--rows", "", "FIRST:LAST",
             "draw only those rows of the picture into a band file OUTPUT",
             [](const std::string& v, RenderOptions& o) {
                 if (!ParsePair(v, ':', 0, kMaxPictureSide - 1, o.firstRow, o.lastRow) ||
                     o.lastRow < o.firstRow)
                     return Status(Takes("--rows", "FIRST:LAST with FIRST <= LAST", v));
                 o.rowsGiven = true;
                 return Status();
             }},
            {"--tiles", "", "DIR",
             "write a deep-zoom folder DIR instead of OUTPUT: PNG tiles and a\n"
             "page, DIR/index.html, that shows them from disk or a web server",
             [](const std::string& v, RenderOptions& o) {
                 return ReadFile("--tiles", v, o.tiles);
             }},
            {"--assemble", "", "OUT BAND...",
             "join band files into the PNG picture OUT (and --grid FILE);\n"
             "--assemble --tiles DIR BAND... joins them into a deep-zoom folder",
             [](const std::string& v, RenderOptions& o) {
                 o.assemble = true;
                 return v.empty() ? Status() : ReadFile("--assemble", v, o.output);
             },
             nullptr, true},
            {"--animate", "", "A.json B.json...",
             "a movie through the scene files in turn, in --frames N frames:\n"
             "numbers move linearly, the view zooms at constant speed;\n"
             "OUTPUT a folder of frames (frame-00001.png and its scene\n"
             "frame-00001.json...) or a video made by ffmpeg",
             [](const std::string& v, RenderOptions& o) {
                 if (!o.keyframes.empty()) return Status(Failure{"--animate may be given once"});
                 return ReadFile("--animate", v, o.keyframes.emplace_back());
             }},
            {"--frames", "", "N",
             "the frames of the movie (2-" + std::to_string(kMaxMovieFrames) + ")",
             [](const std::string& v, RenderOptions& o) {
                 return ParseInt(v, 2, kMaxMovieFrames, o.frames)
                            ? Status()
                            : Takes("--frames", "2 to " + std::to_string(kMaxMovieFrames), v);
             }},
            {"--frames-range", "", "FIRST:LAST",
             "draw only those frames (from 1) into the movie's folder",
             [](const std::string& v, RenderOptions& o) {
                 if (!ParsePair(v, ':', 1, kMaxMovieFrames, o.firstFrame, o.lastFrame) ||
                     o.lastFrame < o.firstFrame)
                     return Status(
                         Takes("--frames-range", "FIRST:LAST with 1 <= FIRST <= LAST", v));
                 return Status();
             }},
            {"--ease", "", "E",
             "linear (default), or smooth: easing in and out of each\n"
             "keyframe",
             [](const std::string& v, RenderOptions& o) {
                 if (v != "linear" && v != "smooth")
                     return Status(Takes("--ease", "linear or smooth", v));
                 o.ease = v == "smooth" ? Ease::Smooth : Ease::Linear;
                 o.easeGiven = true;
                 return Status();
             }},
            {"--fps", "", "N",
             "frames a second of the video (default " + std::to_string(d.fps) + ")",
             [](const std::string& v, RenderOptions& o) {
                 if (!ParseInt(v, 1, 1000, o.fps)) return Status(Takes("--fps", "1 to 1000", v));
                 o.fpsGiven = true;
                 return Status();
             }},
            {"--encode", "", "FOLDER",
             "make the video OUTPUT of the frames of FOLDER drawn apart\n"
             "(--frames-range), as --animate makes it",
             [](const std::string& v, RenderOptions& o) {
                 return ReadFile("--encode", v, o.encodeFolder);
             }},
            {"--quiet", "-q", "", "no progress bar, no warnings", nullptr, &RenderOptions::quiet},
            {"--help", "-h", "", "this text", nullptr, &RenderOptions::help},
        };
    }();
    return table;
}

// The options of a movie, which the others must fit; OUTPUT taken from after the keyframes.
Status CheckMovieOptions(RenderOptions& o) {
    const bool animate = !o.keyframes.empty(), encode = !o.encodeFolder.empty();
    // --print-scene writes no movie: every file after --animate is a keyframe.
    if (animate && o.output.empty() && o.keyframes.size() > 2 && !o.printScene) {
        o.output = o.keyframes.back();
        o.keyframes.pop_back();
    }
    if (animate && (o.keyframes.size() < 2 || (o.output.empty() && !o.printScene)))
        return Failure{
            "--animate needs two scene files or more, then OUTPUT (a folder, or a .mp4, .webm "
            "or .gif file)"};
    if (animate && !o.frames) return Failure{"--animate needs --frames N"};
    if (!animate && (o.firstFrame || o.easeGiven))
        return Failure{std::string(o.firstFrame ? "--frames-range" : "--ease") +
                       " goes with --animate"};
    if (!animate && !encode && (o.frames || o.fpsGiven))
        return Failure{std::string(o.frames ? "--frames" : "--fps") +
                       " goes with --animate or --encode"};
    if (o.lastFrame > o.frames)
        return Failure{"--frames-range goes beyond the movie's " + std::to_string(o.frames) +
                       " frames"};
    if (!animate && !encode) return {};
    if (animate && encode) return Failure{"--animate and --encode make one movie each: give one"};
    if (!o.gridFile.empty())
        return Failure{
            "--grid writes one picture's grid: draw a frame again alone with --scene "
            "frame-N.json and --grid"};
    const char* other = !o.sceneFile.empty() ? "--scene"
                        : o.assemble         ? "--assemble"
                        : o.rowsGiven        ? "--rows"
                        : !o.tiles.empty()   ? "--tiles"
                                             : nullptr;
    if (other)
        return Failure{std::string(other) + " does not go with " +
                       (animate ? "--animate" : "--encode")};
    return {};
}

const OptionSpec* FindOption(const std::string& arg) {
    for (const OptionSpec& spec : Options())
        if (arg.starts_with('-') && (arg == spec.name || arg == spec.alias)) return &spec;
    return nullptr;
}

}  // namespace

const std::string& RenderUsage() {
    static const std::string usage = [] {
        constexpr size_t kHelpColumn = 21;
        const std::string indent(kHelpColumn, ' ');
        std::string text = "usage: vorla-render [options] [OUTPUT]\n";
        for (const OptionSpec& spec : Options()) {
            std::string left = "  " + spec.name + (spec.value.empty() ? "" : " " + spec.value);
            // A long name and value take a line of their own.
            text += left.size() < kHelpColumn ? left + std::string(kHelpColumn - left.size(), ' ')
                                              : left + "\n" + indent;
            for (const char c : spec.help) text += c == '\n' ? "\n" + indent : std::string(1, c);
            text += "\n";
        }
        return text;
    }();
    return usage;
}

Result<RenderOptions> ParseRenderOptions(int argc, char** argv) {
    RenderOptions o;
    o.output.clear();  // empty until a name is given, so that a second name is refused
    const OptionSpec& outputSpec = Options().front();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const OptionSpec* spec = FindOption(a);
        Status read;
        if (spec && spec->flag) {
            o.*spec->flag = true;
        } else if (spec && spec->valueMayBeLeftOut && (i + 1 >= argc || FindOption(argv[i + 1]))) {
            read = spec->read("", o);
        } else if (spec) {
            if (i + 1 >= argc) return Failure{a + " needs a value"};
            read = spec->read(argv[++i], o);
        } else if (a.size() > 1 && a[0] == '-') {
            return Failure{"unknown option '" + ShortText(a) + "'"};
        } else if (o.assemble) {
            o.bands.push_back(a);
        } else if (!o.keyframes.empty()) {
            o.keyframes.push_back(a);  // the last is OUTPUT unless it came before
        } else {
            read = outputSpec.read(a, o);
        }
        if (!read) return Failure{read.Message()};
    }
    if (Status movie = CheckMovieOptions(o); !movie) return Failure{movie.Message()};
    if (!o.tiles.empty() && o.assemble && !o.output.empty()) {
        // "--tiles DIR --assemble BAND...": the first band was read as OUT.
        o.bands.insert(o.bands.begin(), o.output);
        o.output.clear();
    }
    if (!o.tiles.empty() && o.rowsGiven)
        return Failure{"--rows draws a band file; --tiles goes with --assemble"};
    if (!o.tiles.empty() && !o.output.empty())
        return Failure{"--tiles DIR is the output: no OUTPUT file goes with it"};
    if (o.assemble && o.tiles.empty() && o.output.empty())
        return Failure{"--assemble needs OUT, or --tiles DIR"};
    if (o.output.empty() && o.tiles.empty()) o.output = RenderOptions().output;
    if (o.assemble && o.bands.empty()) return Failure{"--assemble needs band files"};
    if (o.rowsGiven && !o.gridFile.empty())
        return Failure{"a band file holds its grid rows; --grid goes with --assemble"};
    return o;
}

}  // namespace vorla
