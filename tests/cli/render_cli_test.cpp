// The renderer run as a user runs it: files written, exit codes, messages; its options'
// fuzz corpus replayed: a verdict for each, never a fault.
#include "cli/render_cli.h"

#include <QImage>
#include <csignal>
#include <sstream>

#include "cli/band_file.h"
#include "support/render_run.h"

namespace {

namespace fs = std::filesystem;

class RenderCli : public vorla::testing::RenderRun {
  protected:
    // Runs the renderer's RunRender in this process (quicker, for many runs); the messages
    // go to `out`.
    int RenderHere(std::vector<std::string> args) {
        args.insert(args.begin(), "vorla-render");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::ostringstream o, e;
        const int code = vorla::RunRender(static_cast<int>(args.size()), argv.data(), o, e);
        out = o.str() + e.str();
        return code;
    }
    QImage Image(const char* name) const { return QImage(QString::fromStdString(P(name))); }
};

TEST_F(RenderCli, ExitCodesAndMessages) {
    std::ofstream(P("none.json")) << R"({"format": "vorla-scene", "version": 1, "taskType": -1,
        "controls": {}})";
    std::ofstream(P("abc.json")) << R"({"format": "vorla-scene", "version": 1, "taskType": 2,
        "controls": {"EditKd": "abc"}})";
    // Refused scene files are the scene file tests'; these are the renderer's own verdicts.
    const std::tuple<std::string, int, const char*> runs[] = {
        {"--scene @/none.json @/x.png", 2, "none.json: the scene has no task type"},
        // A scene's edit text that is no number reads as the field's fallback, as in the window.
        {"--size 20x20 --scene @/abc.json @/abc.png", 0,
         "warning: EditKd: 'abc' is not a number there; it reads as 0"},
        {"--size 20x20 --task 2 --scene @/none.json @/none.png", 0, ""},
        {"--set Nonsense=1 @/x.png", 2, "EditKd"},  // lists the valid names
        {"--example 15 @/x.png", 2, ""},
        {"--size 0x10 @/x.png", 2, ""},
        {"--bogus @/x.png", 2, ""},
        {"--size", 2, "--size needs a value"},
        {"--seed -1 @/x.png", 2, "--seed takes a whole number"},
        {"--size ' 20x 20' @/x.png", 2, "--size takes WxH"},
        {"--set SpinLimit=+3 @/x.png", 2, "SpinLimit takes a whole number"},
        {"--set LabelBA=#-12345 @/x.png", 2, "LabelBA takes a colour"},
        {"@/x.jpg", 2, ""},
        {"--size 20x20 --scale-image @/s.gif @/x.png", 2, ""},
        {"--tiles @/t @/x.png", 2, "no OUTPUT file goes with it"},
        {"--tiles @/t --rows 0:9 @/x.band", 2, "--tiles goes with --assemble"},
        {"--grid @/t/g.txt --tiles @/t/", 2, "is inside the tile folder"},
        {"--assemble --grid @/g.txt", 2, "--assemble needs OUT, or --tiles DIR"},
        {"--set EditNekonecno=0 @/x.png", 2, "EditNekonecno takes a number above 0, not '0'"},
        {"--size 20x20 @/missing/x.png", 1, "/missing/x.png: No such file or directory"},
        {"--size 20x20 --set EditKd=abc @/x.png", 2, "EditKd takes a number, not 'abc'"},
        {"--size 20x20 --set EditKd=1/3 --set edtXod=-2,5 --print-scene", 0, "=1/3="},
        // A long value is shortened in the message.
        {"--seed " + std::string(5000, '7') + "x @/x.png", 2,
         "'7777777777777777777777777777777777777777... (5001 bytes)'\n"},
        {"--print-scene --example 13", 0,
         "3=4.0=3.872983346=0.25=1.369306394=0,968245837=2=3=2=3=2=2.5=\n"},
        {"--print-scene --task 4 --set EditKd=1/2", 0, "4=1/2=2.5=0.87=0.75=1.0=2=3=2=3=2=2.5=\n"},
    };
    for (const auto& [args, code, says] : runs) {
        EXPECT_EQ(Render(args), code) << args << "\n" << out;
        EXPECT_TRUE(Said(says)) << args << "\n" << out;
        for (const char* f : {"x.png", "x.band", "t", "g.txt"})
            EXPECT_FALSE(fs::exists(P(f))) << args;
    }
}

// Bands that do not fit together are refused, saying why, and nothing is written. (Bands
// joined are the single run's picture and grid, byte for byte: parallel_bands_test.sh; in any
// order, of the random kind: RenderTiles.BandsJoinIntoTheSingleRunsFolder; each band has the
// whole picture's pixels, overlays included: BandRender.)
TEST_F(RenderCli, BandsThatDoNotFitTogetherAreRefused) {
    const std::string common = "--quiet --example 10 --size 70x41 --picture lyap-d --seed 7 ";
    ASSERT_EQ(Render(common + "@/one.png"), 0) << out;
    for (const char* rows : {"0:9", "10:29", "30:40"})
        ASSERT_EQ(Render(common + "--rows " + rows + " @/b" + rows + ".band"), 0) << out;
    ASSERT_EQ(Render("--quiet --example 3 --size 70x41 --picture lyap-d --seed 8 --rows 10:29 "
                     "@/other.band"),
              0);
    std::ofstream(P("junk.band")) << "VORLA-BAND 3\n70 41 0 9 21\n";
    std::ofstream(P("old.band")) << "VORLA-BAND 1\n70 41 0 40 21\nscene\n";
    std::ofstream(P("old2.band")) << "VORLA-BAND 2\n70 41 0 40 21\nscene\n";
    const std::string one = Bytes("one.png");
    const std::pair<const char*, const char*> misfits[] = {
        {"--assemble @/x.png @/b0:9.band @/b30:40.band", "rows 10 to 29 are in no band"},
        {"--assemble @/x.png @/b0:9.band @/b10:29.band", "rows 30 to 40 are in no band (after "},
        {"--assemble @/x.png @/b0:9.band @/other.band @/b30:40.band", "another picture"},
        {"--assemble @/x.png @/b0:9.band @/b0:9.band @/b10:29.band", "in two bands"},
        {"--assemble @/x.png @/junk.band", "junk.band"},
        {"--assemble @/x.png @/old.band", "old.band: band file: written by an older renderer"},
        {"--assemble @/x.png @/old2.band",
         "old2.band: band file: written by an older renderer, without its page"},
        {"--assemble @/one.png @/one.png", "the output @/one.png is the band @/one.png"},
        {"--grid @/b0:9.band --assemble @/x.png @/b0:9.band @/b10:29.band @/b30:40.band",
         "is the band"},
        {"--assemble @/x.bmp @/b0:9.band", "must be a .png"},
        {"--picture rectangle --rows 0:9 @/x.band", "cannot be drawn in bands"},
        {"--size 70x41 --rows 0:41 @/x.band", "beyond the picture"},
    };
    for (const auto& [args, says] : misfits) {
        EXPECT_EQ(Render(args), 2) << args << "\n" << out;
        EXPECT_TRUE(Said(says)) << args << "\n" << out;
        EXPECT_FALSE(fs::exists(P("x.png")) || fs::exists(P("x.band"))) << args;
    }
    EXPECT_EQ(Bytes("one.png"), one);
    EXPECT_EQ(Bytes("b0:9.band").substr(0, 13), "VORLA-BAND 3\n");
}

// A band is checked whole: a bit flipped in any byte (header, data or checksum), a band cut
// anywhere and one with bytes after its end are refused, naming the band, and nothing is
// written. (The whole picture in one band: no other band to compare its header with.)
TEST_F(RenderCli, ABandDamagedAnywhereCutOrLengthenedIsNeverJoined) {
    ASSERT_EQ(
        Render("--quiet --example 10 --size 6x3 --picture periodicity --rows 0:2 @/good.band"), 0)
        << out;
    const std::string good = Bytes("good.band");
    ASSERT_EQ(RenderHere({"--assemble", P("x.png"), P("good.band")}), 0) << out;
    fs::remove(P("x.png"));
    std::vector<std::pair<std::string, std::string>> damaged;  // what was done, the bytes
    for (size_t i = 0; i < good.size(); ++i) {
        std::string flipped = good;
        flipped[i] = static_cast<char>(flipped[i] ^ (1 << (i % 8)));
        damaged.emplace_back("bit " + std::to_string(i % 8) + " of byte " + std::to_string(i),
                             flipped);
        damaged.emplace_back("cut to " + std::to_string(i) + " bytes", good.substr(0, i));
    }
    damaged.emplace_back("a byte after it", good + '\0');
    damaged.emplace_back("itself after it", good + good);
    for (const auto& [what, bytes] : damaged) {
        std::ofstream(P("bad.band"), std::ios::binary) << bytes;
        EXPECT_EQ(RenderHere({"--assemble", P("x.png"), "--grid", P("x.grid"), P("bad.band")}), 2)
            << what << "\n"
            << out;
        EXPECT_NE(out.find("bad.band"), std::string::npos) << what << "\n" << out;
        EXPECT_EQ(Files(), (std::vector<std::string>{"bad.band", "good.band"})) << what;
    }
}

// The join holds one band open at a time: 2,000 bands join under a limit of 256 open files.
TEST_F(RenderCli, TwoThousandBandsJoinUnderALimitOf256OpenFiles) {
    constexpr int kRows = 2000, kWidth = 3;
    for (int r = 0; r < kRows; ++r) {
        char name[16];
        std::snprintf(name, sizeof name, "b%04d", r);
        std::FILE* f = std::fopen(P(name).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        auto band = vorla::BandWriter::Start(f, {kWidth, kRows, r, r, 1, "test", "", ""});
        ASSERT_TRUE(band) << band.Message();
        const std::uint32_t pixels[kWidth] = {std::uint32_t(r), std::uint32_t(r) << 8, 0xabcdef};
        const std::int32_t values[kWidth] = {r, -r, 7};
        ASSERT_TRUE(band.Value()->Row(pixels, values));
        ASSERT_TRUE(band.Value()->Finish());
        std::fclose(f);
    }
    ASSERT_EQ(Shell("cd @ && ulimit -n 256 && RENDER --quiet --grid j.grid --assemble j.png b*"), 0)
        << out;
    std::ifstream grid(P("j.grid"));
    std::string line;
    std::getline(grid, line);
    EXPECT_EQ(line, "3 2000 1");
    for (int r = 0; std::getline(grid, line); ++r)
        ASSERT_EQ(line, std::to_string(r) + " " + std::to_string(-r) + " 7") << r;
    const QImage joined = Image("j.png");
    ASSERT_EQ(joined.size(), QSize(kWidth, kRows));
    for (int r = 0; r < kRows; ++r) ASSERT_EQ(joined.pixel(0, r), 0xff000000u | (r & 0xffff)) << r;
}

// SIGINT and SIGTERM end a render with 130 and 143, saying so, and leave no output and no
// temporary file or folder: a PNG picture, a band, a bitmap drawn whole (which has no temporary
// file), a video (whose ffmpeg is ended), and a tile folder while its picture is drawn and while
// its tiles are cut. The signal comes once a temporary holds `stage` ("": once there is one).
TEST_F(RenderCli, SignalsEndARenderWithItsCodeAndNoFileLeft) {
    std::ofstream(P("k.json")) << R"({"format": "vorla-scene", "version": 1, "taskType": 3,
        "controls": {}})";
    const std::string still = "--example 10 --picture periodicity --size 1500x1500 ";
    const std::string tiles = "--example 1 --picture nth --size 6000x4000 --tiles poster";
    const std::tuple<int, std::string, const char*, int> cases[] = {
        {SIGTERM, still + "p.png", "", 143},
        {SIGINT, still + "--rows 0:1499 b.band", "", 130},
        {SIGTERM, still + "w.bmp", nullptr, 143},
        {SIGTERM, "--animate k.json k.json --frames 200 --picture periodicity m.mp4", "", 143},
        {SIGTERM, tiles, "picture.png", 143},
        {SIGINT, tiles, "vorla_files", 130},
    };
    for (const auto& [signal, line, stage, code] : cases) {
        std::vector<std::string> args{"--quiet"};
        std::istringstream words(line);
        for (std::string w; words >> w;) args.push_back(w);
        auto begun = [&] {
            if (!stage) return true;
            for (const std::string& name : Files())
                if (name.starts_with(".vorla-") && (!*stage || fs::exists(dir / name / stage)))
                    return true;
            return false;
        };
        EXPECT_EQ(Interrupted(args, signal, begun), code) << line;
        out = Bytes("err");
        EXPECT_TRUE(Said(std::string("interrupted by ") +
                         (signal == SIGINT ? "SIGINT" : "SIGTERM") +
                         "; no file was left half written"))
            << out;
        EXPECT_EQ(Files(), (std::vector<std::string>{"err", "k.json"})) << line;
    }
}

TEST_F(RenderCli, TheReadmeUsageBlockIsTheHelpText) {
    ASSERT_EQ(Render("--help"), 0);
    const std::string readme = Bytes(VORLA_SOURCE_DIR "/README.md");
    const size_t start = readme.find("```\nusage: vorla-render ");
    ASSERT_NE(start, std::string::npos);
    const size_t end = readme.find("```\n", start + 4);
    EXPECT_EQ(readme.substr(start + 4, end - start - 4), out)
        << "scripts/readme-usage puts the help text into the README";
}

// The defaults draw Example 03's convergence; a bitmap by its extension is drawn whole, the
// same picture.
TEST_F(RenderCli, DefaultsRenderExampleThreeAsConvergence) {
    ASSERT_EQ(Render("--quiet --size 60x50 --grid @/g.txt @/a.png"), 0) << out;
    ASSERT_EQ(Render("--quiet --size 60x50 @/a.bmp"), 0);
    std::istringstream g(Bytes("g.txt"));
    std::string head;
    std::getline(g, head);
    EXPECT_EQ(head, "60 50 1");
    int count = 0;
    for (int v; g >> v; ++count) ASSERT_TRUE(v >= 1 && v <= 8) << v;
    EXPECT_EQ(count, 60 * 50);
    EXPECT_EQ(Bytes("a.bmp").substr(0, 2), "BM");
    EXPECT_EQ(Image("a.bmp").convertToFormat(QImage::Format_RGB32),
              Image("a.png").convertToFormat(QImage::Format_RGB32));
}

// Two circles D = 3, R = 2.5 (Example 03's): fixed points (0.625, +-0.7806), which on 100x80
// over -3..7 are the pixels (36, 45) and (36, 61), their marks' outlines from 5 before to 4
// after in the pen of 2. The overlay paints (36, 45), (38, 40) and (31, 62) white; the marks'
// outlines, in the first two circles' colours, lie over it.
TEST_F(RenderCli, FixedPointsAreMarkedAfterThePictureAndTheOverlay) {
    ASSERT_EQ(Render("--quiet --size 100x80 --task 2 --picture rectangle --overlay --fixed-points "
                     "@/both.png"),
              0);
    const QImage both = Image("both.png");
    EXPECT_EQ(both.pixel(36, 45), qRgb(255, 255, 255));
    EXPECT_EQ(both.pixel(38, 40), qRgb(0, 0, 0));
    EXPECT_EQ(both.pixel(31, 62), qRgb(255, 0, 0));
}

TEST_F(RenderCli, ScaleImageRunsFromMinusOneToPlusOne) {
    const std::string common = "--quiet --size 20x20 --picture rectangle ";
    ASSERT_EQ(Render(common + "--scale-image @/s.png @/x.png"), 0);
    const QImage s = Image("s.png");
    ASSERT_EQ(s.size(), QSize(25, 241));
    // At -1 and 1 t = -+194: 255*(255-194)/255 = 61, and (255*61 + 128*194)/255 = 158.39.
    EXPECT_EQ(s.pixel(0, 0), qRgb(61, 61, 158));
    EXPECT_EQ(s.pixel(24, 120), qRgb(255, 255, 255));
    EXPECT_EQ(s.pixel(12, 240), qRgb(255, 61, 61));
    // A new zero colour shows in the middle row.
    ASSERT_EQ(Render(common + "--set LabelLyapZero=Lime --scale-image @/s.bmp @/x.png"), 0);
    EXPECT_EQ(Image("s.bmp").pixel(0, 120), qRgb(0, 255, 0));
}

TEST(OptionsCorpus, ReplaysWithAVerdict) {
    int files = 0;
    for (const auto& e : fs::directory_iterator(VORLA_SOURCE_DIR "/fuzz/corpus/render_options")) {
        std::ifstream in(e.path(), std::ios::binary);
        std::vector<std::string> args{"vorla-render", ""};
        for (char c : std::string{std::istreambuf_iterator<char>(in), {}})
            c ? args.back().push_back(c) : args.push_back({});
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        (void)vorla::CheckRenderArguments(static_cast<int>(args.size()), argv.data());
        ++files;
    }
    EXPECT_GT(files, 0);
}

}  // namespace
