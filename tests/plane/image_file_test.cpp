// Saving never destroys an existing file and reports every failure.
#include "plane/image_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    bool NoTemporaries(const fs::path& d) const {
        for (const auto& e : fs::directory_iterator(d))
            if (e.path().filename().string().rfind(".vorla-", 0) == 0) return false;
        return true;
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

TEST_F(SaveFile, FullDiskKeepsTheOldFileWhole) {
    const fs::path small = dir / "small";
    fs::create_directories(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    const fs::path p = small / "x.bmp";
    std::ofstream(p) << "old picture";
    QImage big(400, 300, QImage::Format_RGB32);  // about 360 kB as a bitmap
    big.fill(Qt::blue);
    EXPECT_FALSE(SaveImageFile(big, p.string(), "BMP").Message().empty());
    EXPECT_EQ(Read(p), "old picture");
    EXPECT_TRUE(NoTemporaries(small));
    ::umount(small.c_str());
}

}  // namespace
}  // namespace vorla
