#include "app/movie.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "app/band_render.h"
#include "plane/image_file.h"
#include "plane/png_rows.h"

extern char** environ;

namespace vorla {
namespace {

// Where ffmpeg writes: the descriptor it is given, reopened by name, as the .mp4 muxer reads
// back what it wrote to move the index to the front.
constexpr const char* kFfmpegOutput = "/proc/self/fd/3";

std::string Reason(int err) {
    return std::strerror(err);
}

// What ffmpeg is told: raw RGB frames on its input, the video of `kind` on descriptor 3. The
// encoder always runs on four threads and writes no version or random identifier, so that the
// same frames give the same file on any machine.
std::vector<std::string> FfmpegArguments(const std::string& program, MovieKind kind, int W, int H,
                                         int fps) {
    std::vector<std::string> a{program,
                               "-hide_banner",
                               "-nostdin",
                               "-loglevel",
                               "error",
                               "-f",
                               "rawvideo",
                               "-pix_fmt",
                               "rgb24",
                               "-video_size",
                               std::to_string(W) + "x" + std::to_string(H),
                               "-framerate",
                               std::to_string(fps),
                               "-i",
                               "pipe:0"};
    const std::vector<std::string> codec =
        kind == MovieKind::Mp4
            ? std::vector<std::string>{"-c:v",      "libx264",    "-preset",  "medium",
                                       "-crf",      "18",         "-pix_fmt", "yuv420p",
                                       "-movflags", "+faststart", "-f",       "mp4"}
        : kind == MovieKind::Webm
            ? std::vector<std::string>{"-c:v",     "libvpx-vp9", "-crf",    "32",
                                       "-b:v",     "0",          "-row-mt", "1",
                                       "-pix_fmt", "yuv420p",    "-f",      "webm"}
            : std::vector<std::string>{
                  "-filter_complex", "split[a][b];[a]palettegen[p];[b][p]paletteuse", "-f", "gif"};
    a.insert(a.end(), codec.begin(), codec.end());
    for (const char* s : {"-threads", "4", "-fflags", "+bitexact", "-y", kFfmpegOutput})
        a.emplace_back(s);
    return a;
}

// A descriptor closed with its holder.
struct Fd {
    int fd = -1;
    explicit Fd(int f = -1) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { Close(); }
    void Close() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

// ffmpeg at work on a video: frames go in through a socket (written without SIGPIPE, so a
// window is not killed by an ffmpeg that failed), its messages go to a file in memory.
class Ffmpeg {
  public:
    // Starts `program` writing the video into descriptor `out`; `outName` stands for it in
    // ffmpeg's messages.
    static Result<std::unique_ptr<Ffmpeg>> Start(const std::string& program, MovieKind kind, int W,
                                                 int H, int fps, int out,
                                                 const std::string& outName) {
        std::unique_ptr<Ffmpeg> f(new Ffmpeg(outName));
        int pair[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
            return Failure{"cannot start ffmpeg: " + Reason(errno)};
        f->in_.fd = pair[0];
        Fd theirs(pair[1]);
        f->err_.fd = ::memfd_create("ffmpeg-messages", MFD_CLOEXEC);
        if (f->err_.fd < 0) return Failure{"cannot start ffmpeg: " + Reason(errno)};
        // The child's descriptors come from above 0, 2 and 3, so that no move overwrites
        // another's source.
        const Fd in(::fcntl(theirs.fd, F_DUPFD_CLOEXEC, 10)),
            err(::fcntl(f->err_.fd, F_DUPFD_CLOEXEC, 10)), video(::fcntl(out, F_DUPFD_CLOEXEC, 10));
        if (in.fd < 0 || err.fd < 0 || video.fd < 0)
            return Failure{"cannot start ffmpeg: " + Reason(errno)};
        posix_spawn_file_actions_t moves;
        posix_spawnattr_t attributes;
        ::posix_spawn_file_actions_init(&moves);
        ::posix_spawn_file_actions_adddup2(&moves, in.fd, 0);
        ::posix_spawn_file_actions_addopen(&moves, 1, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_adddup2(&moves, err.fd, 2);
        ::posix_spawn_file_actions_adddup2(&moves, video.fd, 3);
        ::posix_spawnattr_init(&attributes);
        // A group of its own: Ctrl+C reaches the program that started it, which ends it.
        ::posix_spawnattr_setflags(
            &attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
        ::posix_spawnattr_setpgroup(&attributes, 0);
        sigset_t defaults, none;
        sigemptyset(&defaults);
        for (const int s : {SIGPIPE, SIGINT, SIGTERM}) sigaddset(&defaults, s);
        sigemptyset(&none);
        ::posix_spawnattr_setsigdefault(&attributes, &defaults);
        ::posix_spawnattr_setsigmask(&attributes, &none);
        std::vector<std::string> args = FfmpegArguments(program, kind, W, H, fps);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int spawned =
            ::posix_spawn(&f->pid_, program.c_str(), &moves, &attributes, argv.data(), environ);
        ::posix_spawn_file_actions_destroy(&moves);
        ::posix_spawnattr_destroy(&attributes);
        if (spawned != 0) {
            f->pid_ = -1;
            return Failure{"cannot start " + program + ": " + Reason(spawned)};
        }
        return f;
    }

    // A pipe still open means a failure or a cancel: ffmpeg is killed, whatever it wrote goes
    // with the temporary file.
    ~Ffmpeg() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        in_.Close();
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }

    // Sends bytes of frames; a cancel ends the wait for room in the pipe.
    Status Write(const unsigned char* data, size_t size, const std::atomic<bool>* cancel) {
        while (size > 0) {
            if (cancel && *cancel) return Failure{kCancelled};
            pollfd p{in_.fd, POLLOUT, 0};
            const int ready = ::poll(&p, 1, 100);
            if (ready < 0 && errno != EINTR) return Failure{"ffmpeg: " + Reason(errno)};
            if (ready <= 0) continue;
            const ssize_t n = ::send(in_.fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
                // ffmpeg went away: its own words say why.
                const Status ended = Finish();
                return ended ? Status(Failure{"ffmpeg stopped reading the frames"}) : ended;
            }
            data += n;
            size -= static_cast<size_t>(n);
        }
        return {};
    }

    // After the last frame: the input closed, ffmpeg waited for until it has written the
    // video. A failure carries its exit and its last words.
    Status Finish() {
        in_.Close();
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
        const std::string how = WIFSIGNALED(status)
                                    ? "was ended by signal " + std::to_string(WTERMSIG(status)) +
                                          " (" + ::strsignal(WTERMSIG(status)) + ")"
                                    : "failed (exit " + std::to_string(WEXITSTATUS(status)) + ")";
        const std::string said = LastWords();
        return Failure{"ffmpeg " + how + (said.empty() ? "" : ": " + said)};
    }

  private:
    explicit Ffmpeg(std::string outName) : outName_(std::move(outName)) {}

    // The last two lines ffmpeg wrote, with the output's own name for its descriptor.
    std::string LastWords() const {
        struct stat st {};
        if (::fstat(err_.fd, &st) != 0) return {};
        const off_t from = std::max<off_t>(0, st.st_size - 4096);
        std::string text(static_cast<size_t>(st.st_size - from), '\0');
        const ssize_t n = ::pread(err_.fd, text.data(), text.size(), from);
        text.resize(n > 0 ? static_cast<size_t>(n) : 0);
        std::replace(text.begin(), text.end(), '\r', '\n');
        std::vector<std::string> lines;
        for (size_t at = 0; at < text.size();) {
            const size_t end = std::min(text.find('\n', at), text.size());
            if (end > at) lines.push_back(text.substr(at, end - at));
            at = end + 1;
        }
        std::string said;
        for (size_t i = lines.size() > 2 ? lines.size() - 2 : 0; i < lines.size(); ++i)
            said += (said.empty() ? "" : "; ") + lines[i];
        for (size_t at; (at = said.find(kFfmpegOutput)) != std::string::npos;)
            said.replace(at, std::strlen(kFfmpegOutput), outName_);
        // A long message is cut: it ends a line of the renderer or a message box.
        return said.size() > 400 ? said.substr(0, 400) + "..." : said;
    }

    std::string outName_;
    pid_t pid_ = -1;
    Fd in_, err_;
};

// Rows of frames into ffmpeg as RGB, cut to the video's size.
class VideoSink : public RowSink {
  public:
    VideoSink(Ffmpeg& ffmpeg, int width, int height, const std::atomic<bool>* cancel)
        : ffmpeg_(ffmpeg), width_(width), height_(height), cancel_(cancel), rgb_(3 * width) {}
    Status Row(int row, const std::uint32_t* pixels, const std::int32_t*) override {
        if (row >= height_) return {};
        for (int x = 0; x < width_; ++x) {
            rgb_[3 * x] = static_cast<unsigned char>(pixels[x] >> 16);
            rgb_[3 * x + 1] = static_cast<unsigned char>(pixels[x] >> 8);
            rgb_[3 * x + 2] = static_cast<unsigned char>(pixels[x]);
        }
        failed = ffmpeg_.Write(rgb_.data(), rgb_.size(), cancel_);
        return failed;
    }
    Status failed;  // ffmpeg's failure, told apart from the picture's

  private:
    Ffmpeg& ffmpeg_;
    int width_, height_;
    const std::atomic<bool>* cancel_;
    std::vector<unsigned char> rgb_;
};

// Draws one frame into the video: a band at a time, or whole for the rectangle iterations,
// which draw anywhere. The picture's failure comes back in `drawn`, ffmpeg's is the result.
Status DrawFrame(const SceneState& scene, RenderSettings settings, MovieHost& host,
                 const std::atomic<bool>* cancel, VideoSink& sink, Status& drawn,
                 std::string& step) {
    const bool streamed = ComputesInBands(scene.pictureKind);
    settings.bandRows = streamed ? kStreamRows : 0;
    SceneRender render(scene, host, settings);
    if (Status started = render.session.pool().Started(); !started) {
        step = "cannot start the picture threads";
        return started;
    }
    step = "cannot make a " + std::to_string(settings.width) + "x" +
           std::to_string(settings.height) + " picture";
    if (Status prepared = render.Prepare(); !prepared) return prepared;
    if (streamed) {
        drawn = render.DrawRows(sink, 0, -1, cancel);
        if (!drawn && !sink.failed && sink.failed.Message() != kCancelled) {
            const Status failed = sink.failed;
            drawn = {};
            return failed;
        }
        return {};
    }
    drawn = render.Draw(cancel);
    if (drawn && cancel && *cancel) drawn = Failure{kCancelled};
    if (!drawn) return {};
    const QImage& image = render.session.tabula().Image();
    for (int y = 0; y < image.height(); ++y)
        if (Status put = sink.Row(y, reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)),
                                  nullptr);
            !put) {
            if (put.Message() == kCancelled) drawn = put;
            return put.Message() == kCancelled ? Status() : put;
        }
    return {};
}

// Runs ffmpeg into `out` with `fill` giving it the frames through a sink; the frames' own
// failure comes back in `filled`.
Status MakeVideo(const std::string& out, const MovieJob& job, int W, int H,
                 const std::atomic<bool>* cancel, const std::function<Status(VideoSink&)>& fill,
                 Status& filled, std::string& step) {
    const MovieKind kind = MovieKindOf(out);
    const auto [vw, vh] = VideoSize(kind, W, H);
    step = "cannot write " + out;
    return SaveFile(out, [&](std::FILE* file) -> Status {
        Result<std::unique_ptr<Ffmpeg>> ffmpeg =
            Ffmpeg::Start(job.ffmpeg, kind, vw, vh, job.fps, ::fileno(file), out);
        if (!ffmpeg) return ffmpeg.ToStatus();
        VideoSink sink(*ffmpeg.Value(), vw, vh, cancel);
        const Status put = fill(sink);
        if (!put && !sink.failed) step = "cannot write " + out;  // ffmpeg failed, not a picture
        if (!put) return put;
        if (!filled) return filled;  // the temporary file goes
        return ffmpeg.Value()->Finish();
    });
}

// A frame's PNG file open for reading its rows.
struct FrameReader {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file{nullptr, std::fclose};
    std::optional<Result<std::unique_ptr<PngRowReader>>> png;

    Status Open(const std::string& path) {
        file.reset(std::fopen(path.c_str(), "rb"));
        png.emplace(file ? PngRowReader::Start(file.get()) : Failure{Reason(errno)});
        if (!*png) return Failure{"cannot read " + path + ": " + png->Message()};
        return {};
    }
    PngRowReader& Rows() const { return *png->Value(); }
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

MovieKind MovieKindOf(const std::string& path) {
    const std::string ext = Lower(std::filesystem::path(path).extension().string());
    return ext == ".mp4"    ? MovieKind::Mp4
           : ext == ".webm" ? MovieKind::Webm
           : ext == ".gif"  ? MovieKind::Gif
                            : MovieKind::Folder;
}

std::pair<int, int> VideoSize(MovieKind kind, int W, int H) {
    if (kind == MovieKind::Mp4) return {W & ~1, H & ~1};
    return {W, H};
}

Result<std::string> FindFfmpeg() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (size_t at = 0; at <= dirs.size();) {
        const size_t end = std::min(dirs.find(':', at), dirs.size());
        const std::string dir = end > at ? dirs.substr(at, end - at) : ".";
        const std::string program = dir + "/ffmpeg";
        struct stat st {};
        if (::stat(program.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::access(program.c_str(), X_OK) == 0)
            return program;
        at = end + 1;
    }
    return Failure{
        "a video is made by ffmpeg, which is not installed (not on PATH); install Debian's "
        "with: sudo apt-get install ffmpeg (or give a folder for the frames as PNG files)"};
}

std::string FrameFile(const std::string& folder, int number, const std::string& extension) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05d.", number);
    return (std::filesystem::path(folder) / (name + extension)).string();
}

Status MakeMovie(const Flight& flight, const MovieJob& job, const std::string& out, MovieHost& host,
                 const std::atomic<bool>* cancel, Status& drawn, std::string& step) {
    drawn = {};
    RenderSettings settings = job.settings;
    settings.width = flight.width;
    settings.height = flight.height;
    const int first = std::max(job.first, 1);
    const int last = job.last > 0 ? std::min(job.last, job.frames) : job.frames;
    const int count = last - first + 1;
    if (MovieKindOf(out) != MovieKind::Folder)
        return MakeVideo(
            out, job, flight.width, flight.height, cancel,
            [&](VideoSink& sink) -> Status {
                for (int n = first; n <= last; ++n) {
                    host.FrameBegins(n, n - first, count);
                    const SceneState scene = FlightFrame(flight, job.frames, n - 1);
                    if (Status put = DrawFrame(scene, settings, host, cancel, sink, drawn, step);
                        !put)
                        return put;
                    if (!drawn) return {};
                }
                return {};
            },
            drawn, step);
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec) {
        step = "cannot make the folder " + out;
        return Failure{ec.message()};
    }
    for (int n = first; n <= last; ++n) {
        host.FrameBegins(n, n - first, count);
        const SceneState scene = FlightFrame(flight, job.frames, n - 1);
        const PictureFiles files{FrameFile(out, n, "png"), "PNG", {}};
        if (Status saved = RenderToFiles(scene, settings, files, host, cancel, drawn, step); !saved)
            return saved;
        if (!drawn) return {};
        const std::string sceneFile = FrameFile(out, n, "json");
        step = "cannot write " + sceneFile;
        if (Status written = WriteSceneFile(scene, sceneFile); !written) return written;
    }
    return {};
}

Status EncodeFrames(const std::string& folder, const MovieJob& job, const std::string& out,
                    MovieHost& host, const std::atomic<bool>* cancel, Status& read,
                    std::string& step) {
    read = {};
    int frames = job.frames > 0 ? job.frames : 0;
    if (frames == 0) {
        // As many as the highest number, so that a gap is found missing.
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
            const std::string name = e.path().filename().string();
            int number = 0;
            if (name.size() == 15 && std::sscanf(name.c_str(), "frame-%5d.png", &number) == 1)
                frames = std::max(frames, number);
        }
        if (ec) {
            read = Failure{"cannot read the folder " + folder + ": " + ec.message()};
            return {};
        }
    }
    if (frames == 0) {
        read = Failure{folder + " holds no frames (frame-00001.png …)"};
        return {};
    }
    // The first frame gives the size.
    int W = 0, H = 0;
    {
        FrameReader first;
        if (read = first.Open(FrameFile(folder, 1, "png")); !read) return {};
        W = first.Rows().Width();
        H = first.Rows().Height();
    }
    std::vector<std::uint32_t> pixels(static_cast<size_t>(W));
    return MakeVideo(
        out, job, W, H, cancel,
        [&](VideoSink& sink) -> Status {
            for (int n = 1; n <= frames; ++n) {
                host.FrameBegins(n, n - 1, frames);
                const std::string path = FrameFile(folder, n, "png");
                FrameReader frame;
                if (read = frame.Open(path); !read) return {};
                PngRowReader& rows = frame.Rows();
                if (rows.Width() != W || rows.Height() != H) {
                    read = Failure{path + " is " + std::to_string(rows.Width()) + "x" +
                                   std::to_string(rows.Height()) + ", not " + std::to_string(W) +
                                   "x" + std::to_string(H) + " as the first frame"};
                    return {};
                }
                for (int y = 0; y < H; ++y) {
                    if (Status got = rows.Row(pixels.data()); !got) {
                        read = Failure{"cannot read " + path + ": " + got.Message()};
                        return {};
                    }
                    if (Status put = sink.Row(y, pixels.data(), nullptr); !put) {
                        if (put.Message() == kCancelled) read = put;
                        return put.Message() == kCancelled ? Status() : put;
                    }
                }
            }
            return {};
        },
        read, step);
}

}  // namespace vorla
