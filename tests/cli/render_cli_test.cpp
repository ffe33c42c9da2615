// The renderer run as a user runs it: files written, exit codes, messages.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int code;
    std::string out;  // stdout and stderr together
};

RunResult Render(const std::string& args) {
    const std::string cmd = std::string(VORLA_RENDER) + " " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int status = pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

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
        fs::permissions(dir, fs::perms::owner_all, ec);
        fs::remove_all(dir, ec);
    }
    std::string P(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST_F(RenderCli, DefaultsRenderExampleThreeAsConvergence) {
    const RunResult r = Render("--quiet --size 60x50 --grid " + P("g.txt") + " " + P("a.png"));
    ASSERT_EQ(r.code, 0) << r.out;
    QImage img(QString::fromStdString(P("a.png")));
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.width(), 60);
    EXPECT_EQ(img.height(), 50);
    std::ifstream g(P("g.txt"));
    int w, h, kind;
    g >> w >> h >> kind;
    EXPECT_EQ(w, 60);
    EXPECT_EQ(h, 50);
    EXPECT_EQ(kind, 1);
    int count = 0, v;
    while (g >> v) {
        EXPECT_GE(v, 1);
        EXPECT_LE(v, 8);
        ++count;
    }
    EXPECT_EQ(count, 60 * 50);
}

TEST_F(RenderCli, BmpIsAStandardBitmapAndThreadsDoNotChangeIt) {
    ASSERT_EQ(Render("--quiet --size 40x30 --threads 1 " + P("one.bmp")).code, 0);
    ASSERT_EQ(Render("--quiet --size 40x30 --threads 3 " + P("three.bmp")).code, 0);
    std::ifstream f(P("one.bmp"), std::ios::binary);
    char magic[2];
    f.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");
    QImage a(QString::fromStdString(P("one.bmp"))), b(QString::fromStdString(P("three.bmp")));
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(a, b);
}

TEST_F(RenderCli, PrintScenePublishesRawFieldTexts) {
    RunResult r = Render("--print-scene --example 13");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "3=4.0=3.872983346=0.25=1.369306394=0,968245837=2=3=2=3=2=2.5=\n");
    r = Render("--print-scene --task 4 --set EditKd=1/2");
    EXPECT_EQ(r.out, "4=1/2=2.5=0.87=0.75=1.0=2=3=2=3=2=2.5=\n");
}

TEST_F(RenderCli, UsageErrorsExitTwo) {
    RunResult r = Render("--set Nonsense=1 " + P("x.png"));
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.out.find("EditKd"), std::string::npos) << "lists the valid names";
    EXPECT_EQ(Render("--example 15 " + P("x.png")).code, 2);
    EXPECT_EQ(Render("--size 0x10 " + P("x.png")).code, 2);
    EXPECT_EQ(Render("--bogus " + P("x.png")).code, 2);
    EXPECT_EQ(Render(P("x.jpg")).code, 2);
    EXPECT_EQ(Render("--set SpinKonvergIter=many " + P("x.png")).code, 2);
    EXPECT_FALSE(fs::exists(P("x.png")));
}

TEST_F(RenderCli, BadBoundOfInfinityRefusesToDraw) {
    const RunResult r = Render("--quiet --size 20x20 --set EditNekonecno=0 " + P("x.png"));
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.out.find("Chybné zadání čísla!"), std::string::npos);
    EXPECT_NE(r.out.find("EditNekonecno"), std::string::npos);
    EXPECT_FALSE(fs::exists(P("x.png")));
}

TEST_F(RenderCli, FallbackFieldWarns) {
    const RunResult r = Render("--size 20x20 --set EditKr=abc " + P("x.png"));
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("warning: EditKr"), std::string::npos) << r.out;
}

TEST_F(RenderCli, UnwritableOutputExitsOneAndLeavesNoFile) {
    const RunResult r = Render("--quiet --size 20x20 " + P("missing/x.png"));
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find(P("missing/x.png")), std::string::npos);
    std::ofstream(P("old.png")) << "old";
    ::chmod(P("old.png").c_str(), 0444);
    EXPECT_EQ(Render("--quiet --size 20x20 " + P("old.png")).code, 1);
    std::ifstream in(P("old.png"));
    std::string content;
    in >> content;
    EXPECT_EQ(content, "old");
    for (const auto& e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().rfind(".vorla-", 0), std::string::npos);
}

TEST_F(RenderCli, FixedPointsAreMarkedAfterThePictureAndTheOverlay) {
    // Two circles D = 3, R = 2.5 (Example 03's): fixed points (0.625, +-0.7806), which on
    // 100x80 over -3..7 are the pixels (36, 45) and (36, 61).
    const std::string common = "--quiet --size 100x80 --task 2 --picture rectangle ";
    ASSERT_EQ(Render(common + P("plain.png")).code, 0);
    ASSERT_EQ(Render(common + "--fixed-points " + P("marked.png")).code, 0);
    ASSERT_EQ(Render(common + "--overlay --fixed-points " + P("both.png")).code, 0);
    QImage plain(QString::fromStdString(P("plain.png")));
    QImage marked(QString::fromStdString(P("marked.png")));
    QImage both(QString::fromStdString(P("both.png")));
    auto near = [](int x, int y, int cx, int cy) {
        return x - cx <= 5 && cx - x <= 5 && y - cy <= 5 && cy - y <= 5;
    };
    int black = 0, red = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x) {
            if (plain.pixel(x, y) == marked.pixel(x, y)) continue;
            EXPECT_TRUE(near(x, y, 36, 45) || near(x, y, 36, 61)) << x << "," << y;
            black += near(x, y, 36, 45) && marked.pixel(x, y) == qRgb(0, 0, 0);
            red += near(x, y, 36, 61) && marked.pixel(x, y) == qRgb(255, 0, 0);
        }
    EXPECT_GT(black, 20);
    EXPECT_GT(red, 20);
    EXPECT_EQ(both.pixel(32, 45), qRgb(0, 0, 0));
    EXPECT_EQ(both.pixel(32, 61), qRgb(255, 0, 0));
    EXPECT_NE(Render("--help").out.find("--fixed-points"), std::string::npos);
}

TEST_F(RenderCli, ScaleImageRunsFromMinusOneToPlusOne) {
    ASSERT_EQ(Render("--quiet --size 20x20 --picture rectangle --scale-image " + P("s.png") + " " +
                     P("x.png"))
                  .code,
              0);
    QImage s(QString::fromStdString(P("s.png")));
    ASSERT_EQ(s.width(), 25);
    ASSERT_EQ(s.height(), 241);
    EXPECT_EQ(s.pixel(0, 0), qRgb(61, 61, 158));
    EXPECT_EQ(s.pixel(24, 120), qRgb(255, 255, 255));
    EXPECT_EQ(s.pixel(12, 240), qRgb(255, 61, 61));
    // A new zero colour shows in the middle row; BMP by the extension.
    ASSERT_EQ(Render("--quiet --size 20x20 --picture rectangle --set LabelLyapZero=Lime "
                     "--scale-image " +
                     P("s.bmp") + " " + P("x.png"))
                  .code,
              0);
    std::ifstream f(P("s.bmp"), std::ios::binary);
    char magic[2] = {};
    f.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");
    QImage b(QString::fromStdString(P("s.bmp")));
    EXPECT_EQ(b.pixel(0, 120), qRgb(0, 255, 0));
    const RunResult bad =
        Render("--quiet --size 20x20 --scale-image " + P("s.gif") + " " + P("y.png"));
    EXPECT_EQ(bad.code, 2);
    EXPECT_FALSE(fs::exists(P("y.png")));
    EXPECT_NE(Render("--help").out.find("--scale-image"), std::string::npos);
}

}  // namespace
