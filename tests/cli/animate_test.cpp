// Movies from the renderer, run as a user runs it: frames that draw again alone, videos that
// ffprobe counts, the video of frames drawn apart, and every refusal and failure with nothing
// left behind.
#include <csignal>

#include "app/scene_file.h"
#include "app/scene_render.h"
#include "app/view_moves.h"
#include "support/picture_fixture.h"
#include "support/render_run.h"

namespace {

namespace fs = std::filesystem;

class Movie : public vorla::testing::RenderRun {
  protected:
    void SetUp() override {
        RenderRun::SetUp();
        // Example 03 and a view of it 1000 times narrower, D and the iterations moving too.
        vorla::SceneState a = vorla::ExampleScene(3);
        a.pictureKind = 1;
        vorla::SceneState b = a;
        EXPECT_TRUE(b.controls.Set("EditKd", "3.2"));
        EXPECT_TRUE(b.controls.Set("SpinKonvergIter", "300"));
        const vorla::AxesRange wide = vorla::FieldRange(a.controls, 64, 48).Value();
        vorla::WriteAxesTexts(b.controls,
                              vorla::TextsOf(vorla::ZoomAbout(wide, 64, 48, 20, 30, 1e-3L)));
        EXPECT_TRUE(vorla::WriteSceneFile(a, P("a.json")));
        EXPECT_TRUE(vorla::WriteSceneFile(b, P("b.json")));
    }
};

// Frame k of a folder is its scene file drawn alone with the same drawing options, and a range
// of frames draws those frames alone. (Frames drawn apart are the one run's, byte for byte,
// and make its video: parallel_frames_test.sh.)
TEST_F(Movie, FrameKOfAFolderIsItsSceneDrawnAlone) {
    const std::string common =
        "RENDER --quiet --animate @/a.json @/b.json --frames 5 --size 64x48 "
        "--overlay --picture periodicity ";
    ASSERT_EQ(Shell(common + "@/all"), 0) << out;
    ASSERT_EQ(Shell(common + "--frames-range 2:3 @/some"), 0) << out;
    EXPECT_EQ(Files("some"), (std::vector<std::string>{"frame-00002.json", "frame-00002.png",
                                                       "frame-00003.json", "frame-00003.png"}));
    for (int k = 1; k <= 5; ++k) {
        const std::string frame = "all/frame-0000" + std::to_string(k);
        ASSERT_EQ(Shell("RENDER --quiet --overlay --scene @/" + frame + ".json @/alone.png"), 0)
            << out;
        EXPECT_EQ(Bytes("alone.png"), Bytes(frame + ".png")) << k;
    }
    EXPECT_NE(Bytes("all/frame-00001.png"), Bytes("all/frame-00005.png"));
    // A frame missing from the folder is named, and no video made.
    fs::remove(P("all/frame-00003.png"));
    EXPECT_EQ(Shell("RENDER --quiet --encode @/all @/gap.mp4"), 2);
    EXPECT_TRUE(Said("frame-00003.png")) << out;
    EXPECT_FALSE(fs::exists(P("gap.mp4")));
}

// ffprobe counts the frames of each kind of video in its codec; an .mp4 of odd sides leaves
// the last column and row out, and says so.
TEST_F(Movie, AVideoHasItsFramesAndSizeAndAnOddSizedMp4IsCutToEvenSides) {
    const std::tuple<const char*, const char*, const char*> videos[] = {
        {"--frames 12 --size 160x120 @/m.mp4", "h264,160,120,yuv420p,12", ""},
        {"--frames 12 --size 160x120 @/m.webm", "vp9,160,120,yuv420p,12", ""},
        {"--frames 12 --size 160x120 @/m.gif", "gif,160,120,bgra,12", ""},
        {"--frames 2 --size 41x31 @/odd.mp4", "h264,40,30,yuv420p,2",
         "the video is 40x30, without the frames' last column and row"}};
    for (const auto& [options, probed, says] : videos) {
        ASSERT_EQ(Shell(std::string("RENDER --animate @/a.json @/b.json ") + options), 0) << out;
        EXPECT_TRUE(Said(says)) << out;
        const std::string file = std::string(options).substr(std::string(options).rfind(' '));
        ASSERT_EQ(Shell("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                        "stream=codec_name,width,height,pix_fmt,nb_read_frames -of csv=p=0" +
                        file),
                  0)
            << out;
        EXPECT_EQ(out, std::string(probed) + "\n") << file;
    }
}

TEST_F(Movie, WhatCannotMakeAMovieIsRefusedBeforeDrawing) {
    std::ofstream(P("file")) << "in the way";
    // (Keyframes that make no flight are the keyframes tests'.)
    const std::pair<std::string, const char*> runs[] = {
        {"--animate @/a.json --frames 4 @/x", "--animate needs two scene files or more"},
        {"--animate @/a.json @/b.json @/x", "--animate needs --frames N"},
        {"--animate @/a.json @/b.json --frames 1 @/x", "--frames takes 2 to 99999"},
        {"--animate @/a.json @/b.json --frames 4 --frames-range 2:5 @/x", "goes beyond the movie"},
        {"--animate @/a.json @/b.json --frames 4 --frames-range 2:3 @/x.mp4", "into a folder"},
        {"--animate @/a.json @/b.json --frames 4 @/x.png", "not the picture file"},
        {"--animate @/a.json @/b.json --frames 4 @/file", "is a file, not a folder"},
        {"--animate @/a.json @/b.json --frames 4 --grid @/g @/x", "--grid writes one picture's"},
        {"--animate @/a.json @/b.json --frames 4 --scene @/a.json @/x", "--scene does not go"},
        {"--animate @/a.json @/b.json --frames 4 --ease fast @/x", "--ease takes linear or smooth"},
        {"--animate @/a.json @/missing.json --frames 4 @/x", "missing.json"},
        {"--animate @/a.json @/b.json --frames 4 --set EditKd=abc @/x", "EditKd takes a number"},
        {"--fps 24 @/x.png", "--fps goes with --animate or --encode"},
        {"--encode @/a.json @/x.mp4", "--encode takes the folder of the frames"},
        {"--encode @/ @/x", "--encode makes a video"},
        {"--encode @/ @/x.gif", "holds no frames"},
        // Without ffmpeg it says how to install it.
        {"PATH=/ RENDER --animate @/a.json @/b.json --frames 4 @/x.mp4", "sudo apt-get install"},
        {"PATH=/ RENDER --encode @/ @/x.gif", "sudo apt-get install ffmpeg"},
    };
    for (const auto& [args, says] : runs) {
        EXPECT_EQ(Shell(args.starts_with("PATH") ? args : "RENDER " + args), 2) << args << "\n"
                                                                                << out;
        EXPECT_TRUE(Said(says)) << args << "\n" << out;
        EXPECT_EQ(Files(), (std::vector<std::string>{"a.json", "b.json", "file"})) << args;
    }
}

// A failing ffmpeg is named with its message, exit 1, and no video is left under the final
// name nor a temporary file beside it: stand-ins that fail, a file size limit and a full disk.
TEST_F(Movie, AFailingFfmpegIsToldWithItsMessageAndLeavesNoVideo) {
    fs::create_directories(P("fails"));
    fs::create_directories(P("quits"));
    fs::create_directories(P("small"));
    std::ofstream(P("fails/ffmpeg"))
        << "#!/bin/sh\necho \"Unknown encoder 'libx264'\" >&2\nexit 1\n";
    std::ofstream(P("quits/ffmpeg")) << "#!/bin/sh\nexit 0\n";
    // Only ffmpeg under the file size limit: a coverage build's renderer writes its own
    // counters at exit.
    std::ofstream(P("small/ffmpeg"))
        << "#!/bin/sh\nulimit -f 2\nPATH=${PATH#*:}\nexec ffmpeg \"$@\"\n";
    for (const char* f : {"fails/ffmpeg", "quits/ffmpeg", "small/ffmpeg"})
        fs::permissions(P(f), fs::perms::owner_all);
    fs::create_symlink("/dev/full", P("full.mp4"));
    const std::string movie =
        "RENDER --quiet --animate @/a.json @/b.json --frames 12 --size 160x120 ";
    const std::pair<std::string, const char*> runs[] = {
        {"PATH=@/fails:$PATH " + movie + "@/x.mp4",
         "cannot write @/x.mp4: ffmpeg failed (exit 1): Unknown encoder 'libx264'"},
        {"PATH=@/quits:$PATH " + movie + "@/x.webm", "ffmpeg stopped reading the frames"},
        {"PATH=@/small:$PATH " + movie + "@/x.mp4", "ffmpeg was ended by signal 25"},
        {movie + "@/full.mp4", "No space left on device"},
    };
    for (const auto& [line, says] : runs) {
        EXPECT_EQ(Shell(line), 1) << line << "\n" << out;
        EXPECT_TRUE(Said(says)) << line << "\n" << out;
        EXPECT_EQ(Files(), (std::vector<std::string>{"a.json", "b.json", "fails", "full.mp4",
                                                     "quits", "small"}))
            << line;
    }
}

// The scene of every frame; a movie drawn warns of what is held of the first keyframe, and
// its frames hold it.
TEST_F(Movie, PrintSceneGivesTheSceneOfEveryFrameAndWarnsOfWhatIsHeld) {
    const vorla::SceneState a = vorla::ReadSceneFile(P("a.json"), nullptr).Value();
    vorla::SceneState c = vorla::ReadSceneFile(P("b.json"), nullptr).Value();
    c.pictureKind = 2;
    vorla::testing::Apply(c.controls, "LabelBA=Lime LabelB2=Navy CheckBila=off");
    ASSERT_TRUE(vorla::WriteSceneFile(c, P("c.json")));
    ASSERT_EQ(Shell("RENDER --animate @/a.json @/c.json --frames 3 --print-scene"), 0) << out;
    EXPECT_TRUE(
        Said("3=3.0=2.5=0.87=0.75=1.0=2=3=2=3=2=2.5=\n"
             "3=3.1=2.5=0.87=0.75=1.0=2=3=2=3=2=2.5=\n"
             "3=3.2=2.5=0.87=0.75=1.0=2=3=2=3=2=2.5=\n"))
        << out;
    ASSERT_EQ(Shell("RENDER --animate @/a.json @/c.json --frames 2 --size 8x6 @/f"), 0) << out;
    for (const char* held :
         {"the picture kind", "the colours LabelB2, LabelBA", "the check boxes CheckBila"})
        EXPECT_TRUE(Said(std::string("warning: the keyframes differ in ") + held +
                         "; every frame keeps those of @/a.json"))
            << out;
    const vorla::SceneState last = vorla::ReadSceneFile(P("f/frame-00002.json"), nullptr).Value();
    EXPECT_EQ(last.pictureKind, a.pictureKind);
    EXPECT_EQ(last.controls.LabelColour(vorla::Ctl::LabelBA),
              a.controls.LabelColour(vorla::Ctl::LabelBA));
    EXPECT_EQ(last.controls.Text(vorla::Ctl::CheckBila), a.controls.Text(vorla::Ctl::CheckBila));
}

}  // namespace
