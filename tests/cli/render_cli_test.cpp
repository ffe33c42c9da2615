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

}  // namespace
