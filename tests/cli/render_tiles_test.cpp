// Deep-zoom folders written by the renderer as a user runs it: what a folder holds, its tiles
// against the picture, bands joined into one, folders it refuses and a full disk. (Signals:
// the renderer's signals test.)
#include <QImage>
#include <map>

#include "support/render_run.h"

namespace {

namespace fs = std::filesystem;

class RenderTiles : public vorla::testing::RenderRun {
  protected:
    int Render(const std::string& args) { return Shell("RENDER --quiet " + args); }
    // Every file under `root` by its relative name, with its bytes.
    std::map<std::string, std::string> Tree(const fs::path& root) const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(root))
            files[fs::relative(e.path(), root).string()] =
                e.is_directory() ? std::string("(folder)") : Bytes(e.path());
        return files;
    }
};

constexpr const char* kSmall = "--example 1 --picture nth --size 600x400 ";

// A folder holds the pyramid, the page, the viewer's files and the scene, which draws the
// picture again. Tile (i, j) of the deepest level holds pixels 254i - 1 to 254(i + 1) of the
// picture (one pixel of overlap on each inner side).
TEST_F(RenderTiles, AFolderHoldsThePyramidOfThePictureThePageAndTheViewersFiles) {
    ASSERT_EQ(Render(std::string(kSmall) + "--tiles @/poster/"), 0) << out;
    ASSERT_EQ(Render(std::string(kSmall) + "@/whole.png"), 0) << out;
    ASSERT_EQ(Render("--scene @/poster/scene.json @/again.png"), 0) << out;
    EXPECT_EQ(Bytes("again.png"), Bytes("whole.png"));
    EXPECT_EQ(Files("poster"), (std::vector<std::string>{"index.html", "scene.json", "view.json",
                                                         "viewer", "vorla.dzi", "vorla_files"}));
    for (const char* name :
         {"openseadragon.min.js", "openseadragon-LICENSE.txt", "vorla-view.js", "vorla-view.css"})
        EXPECT_EQ(Bytes(P("poster/viewer/") + name), Bytes(fs::path(VORLA_VIEWER) / name)) << name;
    // Levels 0 (one pixel) to 10 (600 wide), each halving the one above it.
    for (int level = 0, side = 1; level <= 10; ++level, side *= 2) {
        const int w = (600 * side + 1023) / 1024, h = (400 * side + 1023) / 1024;
        const int tiles = ((w + 253) / 254) * ((h + 253) / 254);
        EXPECT_EQ(std::distance(
                      fs::directory_iterator(P("poster/vorla_files/") + std::to_string(level)), {}),
                  tiles)
            << level;
    }
    EXPECT_FALSE(fs::exists(P("poster/vorla_files/11")));
    const QImage whole(QString::fromStdString(P("whole.png")));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) {
            const std::string name =
                "poster/vorla_files/10/" + std::to_string(i) + "_" + std::to_string(j) + ".png";
            const int x = std::max(0, 254 * i - 1), y = std::max(0, 254 * j - 1);
            const int w = std::min(600, 254 * (i + 1) + 1) - x;
            const int h = std::min(400, 254 * (j + 1) + 1) - y;
            EXPECT_EQ(QImage(QString::fromStdString(P(name))).convertToFormat(QImage::Format_RGB32),
                      whole.copy(x, y, w, h).convertToFormat(QImage::Format_RGB32))
                << name;
        }
    const std::string page = Bytes("poster/index.html");
    EXPECT_NE(page.find(Bytes("poster/view.json").substr(0, 40)), std::string::npos);
    EXPECT_EQ(page.find("@VORLA_"), std::string::npos);
    EXPECT_FALSE(HasTemporary());
}

// The join takes the bands in any order, the options in either order, and its folder is the
// single run's, file for file.
TEST_F(RenderTiles, BandsJoinIntoTheSingleRunsFolder) {
    const std::string picture = "--example 10 --picture lyap-d --seed 5 --size 300x200 ";
    ASSERT_EQ(Render(picture + "--tiles @/single"), 0) << out;
    for (const char* rows : {"0:63", "64:150", "151:199"})
        ASSERT_EQ(Render(picture + "--rows " + rows + " @/b" + rows), 0) << out;
    for (const char* join : {"--assemble --tiles @/joined @/b64:150 @/b0:63 @/b151:199",
                             "--grid @/g.txt --tiles @/joined --assemble @/b151:199 @/b0:63 "
                             "@/b64:150"}) {
        ASSERT_EQ(Render(join), 0) << join << "\n" << out;
        EXPECT_EQ(Tree(P("joined")), Tree(P("single"))) << join;
    }
}

// A tile folder written before, or an empty folder, is replaced whole; any other folder, a
// file or a link is refused and left as it is.
TEST_F(RenderTiles, OnlyATileFolderOrAnEmptyOneIsReplaced) {
    ASSERT_EQ(Render(std::string(kSmall) + "--tiles @/old"), 0) << out;
    fs::create_directories(P("mine/photos"));
    std::ofstream(P("mine/notes.txt")) << "mine";
    fs::copy(P("old"), P("mixed"), fs::copy_options::recursive);
    std::ofstream(P("mixed/notes.txt")) << "mine";
    fs::create_directories(P("lookalike"));
    std::ofstream(P("lookalike/index.html")) << "<p>mine</p>";
    std::ofstream(P("file")) << "mine";
    fs::create_directory_symlink(P("old"), P("link"));
    const std::pair<const char*, const char*> cases[] = {
        {"mine", "mine is a folder that is not a tile folder (it holds "},
        {"mixed", "mixed is a folder that is not a tile folder (it holds notes.txt)"},
        {"lookalike", "lookalike is a folder that is not a tile folder (it has no view file"},
        {"file", "file exists and is not a folder"},
        {"link", "link is a symbolic link"},
    };
    for (const auto& [name, says] : cases) {
        const auto before = Tree(dir);
        EXPECT_EQ(Render(std::string(kSmall) + "--tiles @/" + name), 2) << name;
        EXPECT_TRUE(Said(says)) << out;
        EXPECT_EQ(Tree(dir), before) << name;
    }
    fs::create_directories(P("empty"));
    for (const char* name : {"old", "empty"})
        ASSERT_EQ(Render(std::string("--example 3 --size 60x40 --tiles @/") + name), 0) << out;
    EXPECT_NE(Bytes("old/view.json").find("\"width\": 60,"), std::string::npos);
    EXPECT_FALSE(fs::exists(P("old/vorla_files/10")));  // nothing of the old pyramid
    EXPECT_TRUE(fs::exists(P("empty/vorla.dzi")));
    EXPECT_FALSE(HasTemporary());
}

TEST_F(RenderTiles, WithoutTheViewersFilesNothingIsDrawn) {
    fs::copy_file(VORLA_RENDER, P("alone"));
    EXPECT_EQ(Shell("@/alone --quiet --size 60x40 --tiles @/t"), 1);
    EXPECT_TRUE(Said("cannot write @/t: the deep-zoom viewer's files are missing")) << out;
    EXPECT_FALSE(fs::exists(P("t")));
}

// On a file system of 1 MB a second, larger folder does not fit: no folder of it, nothing
// half written, and the first folder whole.
TEST_F(RenderTiles, AFullDiskLeavesNoHalfFolderAndTheOldOneWhole) {
    if (Shell("unshare -rm true") != 0)
        GTEST_SKIP() << "no mount namespace for a small file system here (unshare -rm): " << out;
    fs::create_directories(P("disk"));
    const std::string render = "RENDER --quiet --example 1 --picture nth ";
    ASSERT_EQ(Shell("unshare -rm sh -c 'mount -t tmpfs -o size=1m none @/disk && cd @/disk && " +
                    render + "--size 60x40 --tiles small && cp -r small @/small && " + render +
                    "--size 3000x2000 --tiles small; echo \"code $?\"; ls -A; " +
                    "diff -r small @/small && echo same'"),
              0);
    EXPECT_TRUE(Said("cannot write small: No space left on device")) << out;
    EXPECT_TRUE(Said("code 1\nsmall\nsame\n")) << out;
}

}  // namespace
