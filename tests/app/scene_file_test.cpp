// Scene files: what is written is read back whole; a bad file is refused as a whole, with a
// message that names the file and the key.
#include "app/scene_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/picture_fixture.h"

namespace vorla {
namespace {

TEST(SceneFile, EveryControlComesBackAsWritten) {
    SceneState s;
    testing::Apply(s.controls,
                   "EditKd=1/3 edtXod=-2,5 SpinKonvergIter=77 CheckClear=off LabelB2=#123456 "
                   "lbl15=Lime");
    s.taskType = TaskType::FourCircles;
    s.pictureKind = 21;
    s.width = 300;
    s.height = 200;
    std::vector<std::string> warnings;
    const Result<SceneState> back = ParseSceneText(SceneFileText(s), "s.json", &warnings);
    ASSERT_TRUE(back) << back.Message();
    EXPECT_TRUE(warnings.empty());
    for (const ControlSpec& f : ControlTable()) {
        EXPECT_EQ(back->controls.Text(f.id), s.controls.Text(f.id)) << f.name;
        EXPECT_EQ(back->controls.LabelColour(f.id), s.controls.LabelColour(f.id)) << f.name;
    }
    EXPECT_EQ(std::tuple(back->taskType, back->pictureKind, back->width, back->height),
              std::tuple(TaskType::FourCircles, 21, 300, 200));
}

// The start of a scene file of task type 3, to which a case adds its keys.
const std::string kHead = R"({"format": "vorla-scene", "version": 1, "taskType": 3, )";

TEST(SceneFile, BadFilesAreRefusedNamingTheKey) {
    const std::pair<std::string, const char*> cases[] = {
        // what it says after "f.json: "
        {kHead + R"("controls": {"EditKd": "2")", "not a readable scene"},  // truncated
        {"", "not a readable scene"},
        {R"({"version": 1, "taskType": 3, "controls": {}})", "format:"},
        {R"({"format": "vorla-scene", "version": 2, "taskType": 3, "controls": {}})",
         "version: the file is of version 2, newer"},
        {R"({"format": "vorla-scene", "version": "1", "taskType": 3, "controls": {}})", "version:"},
        {R"({"format": "vorla-scene", "version": 1, "taskType": 1e20, "controls": {}})",
         "taskType:"},
        {kHead + R"("controls": []})", "controls:"},
        {kHead + R"("controls": {"EditKd": 2}})", "controls.EditKd: takes a text"},
        {kHead + R"("controls": {"SpinKonvergIter": 1e300}})", "controls.SpinKonvergIter:"},
        {kHead + R"("controls": {"SpinKonvergIter": 2.5}})", "controls.SpinKonvergIter:"},
        {kHead + R"("controls": {"CheckClear": "yes"}})", "controls.CheckClear: takes true"},
        {kHead + R"("controls": {"LabelB1": "Mauve"}})", "controls.LabelB1:"},
        {kHead + R"("picture": "sunset", "controls": {}})", "picture:"},
        {kHead + R"("tabula": {"width": 1000001, "height": 5}, "controls": {}})", "tabula.width:"},
        {kHead + R"("tabula": {"height": 5}, "controls": {}})", "tabula.width: the key is missing"},
        {kHead + R"("tabula": 5, "controls": {}})", "tabula: takes an object"},
        {R"({"format": "vorla-scene", "version": 1, "taskType": 3})",
         "controls: the key is missing"},
        {R"({"format": "vorla-scene", "taskType": 3, "controls": {}})",
         "version: the key is missing"},
        // A long value is shortened in the message.
        {kHead + R"("controls": {"LabelB1": ")" + std::string(900000, 'x') + "\"}}",
         "controls.LabelB1: takes a colour name, #RRGGBB or r,g,b in quotes, not "
         "\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx... (900000 bytes)\""},
    };
    for (const auto& [text, says] : cases) {
        const Result<SceneState> r = ParseSceneText(text, "f.json", nullptr);
        ASSERT_FALSE(r) << text;
        EXPECT_EQ(r.Message().rfind(std::string("f.json: ") + says, 0), 0u)
            << text.substr(0, 200) << "\n"
            << r.Message();
        EXPECT_LT(r.Message().size(), 200u) << r.Message();
    }
}

TEST(SceneFile, UnknownKeysAreWarnedInFewShortWarningsAndTheRestRead) {
    std::vector<std::string> warnings;
    const Result<SceneState> r =
        ParseSceneText(kHead + R"("colour": 1, "controls": {"EditKd": "7", "EditZoom": "2"}})",
                       "f.json", &warnings);
    ASSERT_TRUE(r) << r.Message();
    EXPECT_EQ(r->controls.Text(Ctl::EditKd), "7");
    EXPECT_EQ(r->controls.Text(Ctl::EditKr), Spec(Ctl::EditKr).defaultText);
    EXPECT_EQ(warnings, (std::vector<std::string>{"f.json: unknown key controls.EditZoom ignored",
                                                  "f.json: unknown key colour ignored"}));
    // Thousands of unknown keys give ten warnings and a count of the others; a long key is
    // shortened.
    std::string text = kHead + R"("controls": {)";
    text += "\"" + std::string(5000, 'k') + "\": 1";
    for (int i = 0; i < 3000; ++i) text += ", \"k" + std::to_string(i) + "\": 1";
    text += "}}";
    warnings.clear();
    ASSERT_TRUE(ParseSceneText(text, "f.json", &warnings));
    ASSERT_EQ(warnings.size(), 11u);
    EXPECT_EQ(warnings.back(), "f.json: and 2991 more unknown keys ignored");
    for (const std::string& w : warnings) EXPECT_LT(w.size(), 120u) << w;
}

// Only a plain file up to the cap is read, without waiting for a FIFO's writer; a file that
// cannot be read says why.
TEST(SceneFile, OnlyPlainFilesUpToTheCapAreRead) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vorla-scene-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string scene = SceneFileText(SceneState{});
    std::ofstream(dir / "good.json") << scene;
    std::ofstream(dir / "large.json") << scene << std::string(kMaxSceneFileSize, ' ');
    ::mkfifo((dir / "fifo.json").c_str(), 0600);
    const std::pair<fs::path, const char*> cases[] = {
        // after the path; empty: read
        {dir / "good.json", ""},
        {dir / "large.json", ": larger than 64 KiB, the most a scene file may be"},
        {dir / "fifo.json", ": not a plain file, so not a scene file"},
        {"/dev/zero", ": not a plain file, so not a scene file"},
        {dir, ": cannot be read: Is a directory"},
        {dir / "missing.json", ": cannot be read: No such file or directory"},
    };
    for (const auto& [path, says] : cases)
        EXPECT_EQ(ReadSceneFile(path.string(), nullptr).Message(),
                  *says ? path.string() + says : "");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vorla
