// The renderer run as a user runs it: files written, exit codes, messages; its options'
// fuzz corpus replayed: a verdict for each, never a fault.
#include "cli/render_cli.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "app/scene_render.h"

namespace {

namespace fs = std::filesystem;

class RenderCli : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vorla-cli-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // Runs the renderer with `args`, "@" standing for the test's folder; the exit code,
    // and stdout and stderr together in `out`.
    int Render(const std::string& args) {
        const std::string cmd = std::string(VORLA_RENDER) + " " +
                                std::regex_replace(args, std::regex("@"), dir.string()) + " 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        out.clear();
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        const int status = pclose(p);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    QImage Image(const char* name) const { return QImage(QString::fromStdString(P(name))); }
    std::string P(const char* name) const { return (dir / name).string(); }
    fs::path dir;
    std::string out;
};

TEST_F(RenderCli, ExitCodesAndMessages) {
    const struct {
        const char* args;
        int code;
        const char* says;
    } runs[] = {
        {"--set Nonsense=1 @/x.png", 2, "EditKd"},  // lists the valid names
        {"--example 15 @/x.png", 2, ""},
        {"--size 0x10 @/x.png", 2, ""},
        {"--bogus @/x.png", 2, ""},
        {"--size", 2, "--size needs a value"},
        {"--seed -1 @/x.png", 2, "--seed takes a whole number"},
        {"--seed ' -5' @/x.png", 2, "--seed takes a whole number"},
        {"--size ' 20x 20' @/x.png", 2, "--size takes WxH"},
        {"--size +20x+20 @/x.png", 2, "--size takes WxH"},
        {"--set SpinLimit=+3 @/x.png", 2, "SpinLimit takes a whole number"},
        {"--set LabelBA=#-12345 @/x.png", 2, "LabelBA takes a colour"},
        {"--size 20x20 --grid @/x.png @/x.png", 2, "are the same file"},
        {"--set LabelBA=#GG0000 @/x.png", 2, "LabelBA takes a colour"},
        {"@/x.jpg", 2, ""},
        {"--set SpinKonvergIter=many @/x.png", 2, ""},
        {"--size 20x20 --scale-image @/s.gif @/x.png", 2, ""},
        {"--size 20x20 --set EditNekonecno=0 @/x.png", 2, "Chybné zadání čísla! (EditNekonecno"},
        {"--size 20x20 @/missing/x.png", 1, "/missing/x.png"},
        {"--size 20x20 --set EditKr=abc @/warned.png", 0, "warning: EditKr"},
        {"--print-scene --example 13", 0,
         "3=4.0=3.872983346=0.25=1.369306394=0,968245837=2=3=2=3=2=2.5=\n"},
        {"--print-scene --task 4 --set EditKd=1/2", 0, "4=1/2=2.5=0.87=0.75=1.0=2=3=2=3=2=2.5=\n"},
        {"--help", 0, "--fixed-points"},
        {"--help", 0, "--scale-image"},
    };
    for (const auto& r : runs) {
        EXPECT_EQ(Render(r.args), r.code) << r.args << "\n" << out;
        EXPECT_NE(out.find(r.says), std::string::npos) << r.args << "\n" << out;
        EXPECT_FALSE(fs::exists(P("x.png"))) << r.args;
    }
}

// Bands drawn apart join into the single run's picture and grid, byte for byte, the random
// kind too; bands that do not fit together are refused, saying why.
TEST_F(RenderCli, BandsJoinIntoTheSingleRunAndMisfitsAreRefused) {
    for (const char* picture : {"preperiodicity --overlay --fixed-points", "lyap-d --seed 7"}) {
        const std::string common =
            std::string("--quiet --example 10 --size 70x41 --picture ") + picture + " ";
        ASSERT_EQ(Render(common + "--grid @/one.grid @/one.png"), 0) << out;
        for (const char* rows : {"0:9", "10:29", "30:40"})
            ASSERT_EQ(Render(common + "--rows " + rows + " @/b" + rows + ".band"), 0) << out;
        ASSERT_EQ(Render("--grid @/all.grid --assemble @/all.png @/b30:40.band @/b0:9.band "
                         "@/b10:29.band"),
                  0)
            << out;
        for (const char* f : {"one.png", "one.grid"}) {
            std::ifstream a(P(f)), b(P(std::string(f).replace(0, 3, "all").c_str()));
            EXPECT_TRUE(std::equal(std::istreambuf_iterator<char>(a), {},
                                   std::istreambuf_iterator<char>(b), {}))
                << picture << " " << f;
        }
    }
    ASSERT_EQ(Render("--quiet --example 3 --size 70x41 --picture lyap-d --seed 8 --rows 10:29 "
                     "@/other.band"),
              0);
    std::ofstream(P("junk.band")) << "VORLA-BAND 1\n70 41 0 9 21\n";
    const struct {
        const char* args;
        const char* says;
    } misfits[] = {
        {"--assemble @/x.png @/b0:9.band @/b30:40.band", "rows 10 to 29 are in no band"},
        {"--assemble @/x.png @/b0:9.band @/b10:29.band", "rows 30 to 40 are in no band"},
        {"--assemble @/x.png @/b0:9.band @/other.band @/b30:40.band", "another picture"},
        {"--assemble @/x.png @/b0:9.band @/b0:9.band @/b10:29.band", "in two bands"},
        {"--assemble @/x.png @/junk.band", "junk.band"},
        {"--assemble @/x.bmp @/b0:9.band", "must be a .png"},
        {"--picture rectangle --rows 0:9 @/x.band", "cannot be drawn in bands"},
        {"--size 70x41 --rows 0:41 @/x.band", "beyond the picture"},
    };
    for (const auto& m : misfits) {
        EXPECT_EQ(Render(m.args), 2) << m.args << "\n" << out;
        EXPECT_NE(out.find(m.says), std::string::npos) << m.args << "\n" << out;
        EXPECT_FALSE(fs::exists(P("x.png")) || fs::exists(P("x.band"))) << m.args;
    }
}

TEST_F(RenderCli, DefaultsRenderExampleThreeAsConvergenceOnAnyThreadCount) {
    ASSERT_EQ(Render("--quiet --size 60x50 --grid @/g.txt @/a.png"), 0) << out;
    EXPECT_EQ(Image("a.png").size(), QSize(60, 50));
    std::ifstream g(P("g.txt"));
    int w, h, kind, count = 0;
    EXPECT_TRUE(g >> w >> h >> kind && w == 60 && h == 50 && kind == 1);
    for (int v; g >> v; ++count) EXPECT_TRUE(v >= 1 && v <= 8) << v;
    EXPECT_EQ(count, 60 * 50);
    // A bitmap by its extension; the same picture on one thread and on three.
    ASSERT_EQ(Render("--quiet --size 40x30 --threads 1 @/one.bmp"), 0);
    ASSERT_EQ(Render("--quiet --size 40x30 --threads 3 @/three.bmp"), 0);
    char magic[2] = {};
    std::ifstream(P("one.bmp"), std::ios::binary).read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");
    ASSERT_FALSE(Image("one.bmp").isNull());
    EXPECT_EQ(Image("one.bmp"), Image("three.bmp"));
}

TEST_F(RenderCli, FixedPointsAreMarkedAfterThePictureAndTheOverlay) {
    // Two circles D = 3, R = 2.5 (Example 03's): fixed points (0.625, +-0.7806), which on
    // 100x80 over -3..7 are the pixels (36, 45) and (36, 61).
    const std::string common = "--quiet --size 100x80 --task 2 --picture rectangle ";
    ASSERT_EQ(Render(common + "@/plain.png"), 0);
    ASSERT_EQ(Render(common + "--fixed-points @/marked.png"), 0);
    ASSERT_EQ(Render(common + "--overlay --fixed-points @/both.png"), 0);
    const QImage plain = Image("plain.png"), marked = Image("marked.png"), both = Image("both.png");
    // Only near the two points (the marks' own shapes and colours are the overlay tests').
    EXPECT_NE(plain, marked);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            EXPECT_TRUE(plain.pixel(x, y) == marked.pixel(x, y) ||
                        (abs(x - 36) <= 5 && (abs(y - 45) <= 5 || abs(y - 61) <= 5)))
                << x << "," << y;
    EXPECT_EQ(both.pixel(32, 45), qRgb(0, 0, 0));
    EXPECT_EQ(both.pixel(32, 61), qRgb(255, 0, 0));
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

TEST_F(RenderCli, SceneFileGivesItsPictureAndSizeAndIsRefusedWhenBad) {
    vorla::SceneState scene = vorla::ExampleScene(5);
    ASSERT_TRUE(scene.controls.Set("SpinPeriodIter", "40"));
    ASSERT_TRUE(scene.controls.Set("lbl3", "Lime"));
    scene.pictureKind = 2;
    scene.width = 60;
    scene.height = 40;
    ASSERT_TRUE(vorla::WriteSceneFile(scene, P("s.json")));
    ASSERT_EQ(Render("--quiet --scene @/s.json --grid @/a.grid @/a.png"), 0) << out;
    ASSERT_EQ(Render("--quiet --example 5 --set SpinPeriodIter=40 --set lbl3=Lime --picture "
                     "periodicity --size 60x40 --grid @/b.grid @/b.png"),
              0);
    auto bytes = [&](const char* f) {
        std::ifstream in(P(f), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(bytes("a.grid"), bytes("b.grid"));
    EXPECT_EQ(bytes("a.png"), bytes("b.png"));
    std::ofstream(P("bad.json")) << R"({"format": "vorla-scene", "version": 1, "taskType": 9,
        "controls": {}})";
    EXPECT_EQ(Render("--scene @/bad.json @/x.png"), 2);
    EXPECT_NE(out.find("bad.json: taskType:"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(P("x.png")));
}

TEST(OptionsCorpus, ReplaysWithAVerdict) {
    const std::filesystem::path dir =
        std::filesystem::path(VORLA_SOURCE_DIR) / "fuzz/corpus/render_options";
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
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
