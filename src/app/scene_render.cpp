#include "app/scene_render.h"

#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "model/examples.h"
#include "plane/number_text.h"

namespace vorla {
namespace {

// The bytes the system can still give: MemAvailable, else the physical memory.
long long AvailableMemory() {
    std::ifstream info("/proc/meminfo");
    std::string key;
    long long kb = 0;
    std::string unit;
    while (info >> key >> kb >> unit)
        if (key == "MemAvailable:") return kb * 1024;
    const long pages = ::sysconf(_SC_PHYS_PAGES), size = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && size > 0 ? static_cast<long long>(pages) * size : -1;
}

std::string Megabytes(long double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0Lf MB", bytes / (1024.0L * 1024.0L));
    return text;
}

}  // namespace

Status CheckRenderMemory(long long width, long long height) {
    // The image, a copy of it, the file's bytes and the value grid: up to four bytes a
    // pixel each.
    const long double need = 16.0L * (width + 1) * (height + 1);
    const long long have = AvailableMemory();
    if (have < 0 || need <= have) return {};
    return Failure{"A picture of " + std::to_string(width) + "x" + std::to_string(height) +
                   " pixels needs about " + Megabytes(need) + " of memory; only " +
                   Megabytes(have) + " are free."};
}

SceneState ExampleScene(int number) {
    SceneState s;
    if (number < 1 || number > static_cast<int>(kExamples.size())) return s;
    const Example& e = kExamples[number - 1];
    s.taskType = e.task;
    for (int i = 0; i < 11; ++i)
        if (e.circles[i]) s.controls.SetText(CircleField(i), e.circles[i]);
    s.controls.SetText(Ctl::edtXod, e.xFrom);
    s.controls.SetText(Ctl::edtXdo, e.xTo);
    s.controls.SetText(Ctl::edtYzero, e.yRel);
    return s;
}

SceneRender::SceneRender(const SceneState& scene, Host& host, const RenderSettings& settings)
    : session(controls, host, 1, 1, settings.threads), scene_(scene), settings_(settings) {}

Status SceneRender::Prepare() {
    // In bands only a band is held at a time, whatever the height.
    const int rows =
        settings_.bandRows > 0 ? std::min(settings_.height, settings_.bandRows) : settings_.height;
    if (Status fits = CheckRenderMemory(settings_.width, rows); !fits) return fits;
    session.FormCreate();
    if (Status resized = session.FormResize(settings_.width, rows); !resized) return resized;
    session.ApplyScene(scene_);
    session.FormActivate();
    return {};
}

Status SceneRender::DrawRows(RowSink& sink, int first, int last, const std::atomic<bool>* cancel) {
    if (!session.EditNekonecnoExit())
        return Failure{std::string(kBadNumberMessage) + " (EditNekonecno: '" +
                       controls.Text(Ctl::EditNekonecno) + "')"};
    if (Status recalc = session.ButPrepocetClick(); !recalc) return recalc;
    if (settings_.clear) controls.SetText(Ctl::CheckClear, "1");
    // One seed for every band, or a random picture would change from band to band.
    session.SetSeed(settings_.seed.value_or(
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count())));
    const BandRender what{scene_.pictureKind,
                          settings_.overlay,
                          settings_.fixedPoints,
                          first,
                          last,
                          std::max(1, settings_.bandRows),
                          cancel};
    return RenderBands(session, settings_.width, settings_.height, what, sink);
}

Status SceneRender::Draw(const std::atomic<bool>* cancel) {
    if (!session.EditNekonecnoExit())
        return Failure{std::string(kBadNumberMessage) + " (EditNekonecno: '" +
                       controls.Text(Ctl::EditNekonecno) + "')"};
    // The tabula shows the final scene, as after "Recalc."
    if (Status recalc = session.ButPrepocetClick(); !recalc) return recalc;
    if (settings_.clear) controls.SetText(Ctl::CheckClear, "1");
    session.SetSeed(settings_.seed);
    const Result<bool> begun = session.BeginPicture(scene_.pictureKind);
    if (!begun) return begun.ToStatus();
    if (!begun.Value()) return Failure{kNoTaskStatus};
    struct End {  // also when a fault ends the picture early
        Session& s;
        ~End() { s.EndPicture(); }
    };
    {
        End end{session};
        session.RunPicture([this](int row) { return session.TestKonce(row); }, cancel);
    }
    if (cancel && *cancel) return {};
    if (settings_.overlay) session.Zadani1Click();
    if (settings_.fixedPoints) session.PevneBody1Click();
    return {};
}

bool StreamsInBands(int tag, const char* format) {
    return ComputesInBands(tag) && std::string(format) == "PNG";
}

Status RenderToFiles(const SceneState& scene, RenderSettings settings, const PictureFiles& files,
                     Host& host, const std::atomic<bool>* cancel, Status& drawn,
                     std::string& step) {
    const bool streamed = StreamsInBands(scene.pictureKind, files.format);
    settings.bandRows = streamed ? kStreamRows : 0;
    step = "cannot make a " + std::to_string(settings.width) + "x" +
           std::to_string(settings.height) + " picture";
    SceneRender render(scene, host, settings);
    if (Status started = render.session.pool().Started(); !started) {
        step = "cannot start the picture threads";
        return started;
    }
    if (Status prepared = render.Prepare(); !prepared) return prepared;
    if (streamed)
        return WritePictureRows(
            files, settings.width, settings.height, scene.pictureKind,
            [&](RowSink& sink) { return render.DrawRows(sink, 0, -1, cancel); }, drawn, step);
    drawn = render.Draw(cancel);
    if (!drawn) return {};
    if (cancel && *cancel) {
        drawn = Failure{kCancelled};
        return {};
    }
    return WritePicture(files, render.session.tabula().Image(), render.session.grid(),
                        render.session.PictureKind(), step);
}

}  // namespace vorla
