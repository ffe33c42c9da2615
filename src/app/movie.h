// Movies: the frames of a flight drawn into a folder, a PNG picture and a scene file each, or
// piped as raw RGB into Debian's ffmpeg, which makes the video. The renderer and the window
// both make theirs here.
#pragma once

#include <atomic>
#include <string>
#include <utility>

#include "app/keyframes.h"
#include "app/scene_render.h"
#include "app/session.h"
#include "base/status.h"

namespace vorla {

// What a movie is written as, by its name's extension: a video (.mp4, H.264; .webm, VP9;
// .gif), or else a folder of frames.
enum class MovieKind { Folder, Mp4, Webm, Gif };
MovieKind MovieKindOf(const std::string& path);

// The size of the video of W x H frames: an .mp4 (H.264 in yuv420p, which common players take)
// needs even sides, so the last column or row of an odd size is left out.
std::pair<int, int> VideoSize(MovieKind kind, int W, int H);

// The ffmpeg program on PATH; when there is none, a failure saying how to install it.
Result<std::string> FindFfmpeg();

// The file of frame `number` (1-based) in `folder`: frame-00001.png, frame-00001.json.
std::string FrameFile(const std::string& folder, int number, const std::string& extension);

// The host of a movie's pictures: its Poll hears the rows of the frame being drawn.
class MovieHost : public Host {
  public:
    // Frame `number` begins; `done` of the `count` frames asked for are complete.
    virtual void FrameBegins(int /*number*/, int /*done*/, int /*count*/) {}
};

// How to draw a movie.
struct MovieJob {
    RenderSettings settings;  // threads, overlays, seed; the size is the flight's
    int frames = 2;           // the frames of the whole flight
    int first = 1, last = 0;  // the frames drawn (1-based); 0: to the flight's last
    int fps = 30;             // frames a second of a video
    std::string ffmpeg;       // the program that makes a video
};

// Draws frames first..last of `flight` into `out`. A folder (made when missing) gets each
// frame's PNG picture and scene file, so that any frame can be drawn again alone; a video goes
// to a temporary file beside `out` that replaces it only once ffmpeg has finished it. A
// failure of ffmpeg carries its message. The pictures' own failure (a bad bound of infinity,
// a cancel) comes back in `drawn`; a file's or ffmpeg's is the result, `step` saying what
// failed ("cannot write X").
Status MakeMovie(const Flight& flight, const MovieJob& job, const std::string& out, MovieHost& host,
                 const std::atomic<bool>* cancel, Status& drawn, std::string& step);

// Makes the video `out` from the frames frame-00001.png … of `folder` through the same ffmpeg
// command as MakeMovie, so that frames drawn apart give the video of one run: `frames` of them
// (0: as many as follow each other from the first), each of the first one's size. A missing or
// damaged frame comes back in `read`, naming it.
Status EncodeFrames(const std::string& folder, const MovieJob& job, const std::string& out,
                    MovieHost& host, const std::atomic<bool>* cancel, Status& read,
                    std::string& step);

}  // namespace vorla
