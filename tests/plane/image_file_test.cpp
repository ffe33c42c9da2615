#include "plane/image_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

namespace vorla {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class SaveFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vorla-save-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        image = QImage(64, 48, QImage::Format_RGB32);
        image.fill(Qt::red);
    }
    void TearDown() override { fs::remove_all(dir); }
    static bool NoTemporaries(const fs::path& d) {
        return std::none_of(fs::directory_iterator(d), {}, [](const fs::directory_entry& e) {
            return e.path().filename().string().starts_with(".vorla-");
        });
    }
    fs::path dir;
    QImage image;
};

TEST_F(SaveFile, WritesABitmapUnderExactlyTheNameOrFailsWithAReason) {
    const fs::path p = dir / "picture.txt", old = dir / "old.bmp", ro = dir / "ro.bmp";
    std::ofstream(old) << "old";
    std::ofstream(ro) << "keep";
    ::chmod(ro.c_str(), 0444);
    for (const fs::path& path : {p, old}) {
        const Status saved = SaveImageFile(image, path.string(), "BMP");
        ASSERT_TRUE(saved) << saved.Message();
        EXPECT_EQ(QImage(QString::fromStdString(path.string()), "BMP").size(), image.size());
    }
    for (const fs::path& path : {dir / "no" / "x.bmp", ro, dir, fs::path()})
        EXPECT_FALSE(SaveImageFile(image, path.string(), "BMP").Message().empty()) << path;
    EXPECT_EQ(Read(ro), "keep");
    EXPECT_TRUE(NoTemporaries(dir));
}

// A full disk keeps the old file whole and says so, whatever the format's encoder made of
// the refused write.
TEST_F(SaveFile, FullDiskKeepsTheOldFileWholeAndSaysSo) {
    const fs::path small = dir / "small";
    fs::create_directories(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    QImage big(400, 300, QImage::Format_RGB32);  // about 360 kB as a bitmap
    for (int y = 0; y < big.height(); ++y)       // and much more than 16 kB as a PNG file
        for (int x = 0; x < big.width(); ++x)
            big.setPixel(x, y, (x * 7919u + y * 104729u) ^ 0x5a5a5au);
    for (const char* format : {"BMP", "PNG"}) {
        const fs::path p = small / (std::string("x.") + format);
        std::ofstream(p) << "old picture";
        EXPECT_EQ(SaveImageFile(big, p.string(), format).Message(), "No space left on device")
            << format;
        EXPECT_EQ(Read(p), "old picture") << format;
    }
    EXPECT_TRUE(NoTemporaries(small));
    ::umount(small.c_str());
}

// Existing names compare as files (a hard link too); new names compare by where their links
// and folders lead.
TEST_F(SaveFile, SameFileKnowsEverySpelling) {
    const fs::path here = fs::current_path();
    fs::current_path(dir);
    fs::create_directories("sub");
    std::ofstream("e.png") << "e";
    fs::create_symlink("e.png", "link-e.png");
    fs::create_hard_link("e.png", "hard-e.png");
    fs::create_symlink("new.png", "link-new.png");  // to a name that does not exist yet
    fs::create_directory_symlink("sub", "alias");
    const std::string abs = dir.string();
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"new.png", "./new.png", true},       {"new.png", abs + "/new.png", true},
        {"new.png", "sub/../new.png", true},  {"new.png", "link-new.png", true},
        {"sub/n.png", "alias/n.png", true},   {"sub/n.png", abs + "/alias/./n.png", true},
        {"gone/n.png", "./gone/n.png", true}, {"e.png", "link-e.png", true},
        {"e.png", "hard-e.png", true},        {"new.png", "e.png", false},
        {"new.png", "New.png", false},        {"new.png", "sub/new.png", false},
    };
    for (const auto& [a, b, same] : cases) {
        EXPECT_EQ(SameFile(a, b), same) << a << " " << b;
        EXPECT_EQ(SameFile(b, a), same) << b << " " << a;
    }
    fs::current_path(here);
}

}  // namespace
}  // namespace vorla
