#include "app/session.h"

#include <algorithm>
#include <chrono>

#include "app/picture_params.h"
#include "model/examples.h"
#include "overlays/basic_circles.h"
#include "overlays/fixed_points.h"
#include "pictures/kinds.h"
#include "pictures/lyapunov.h"
#include "plane/number_text.h"

namespace vorla {
Session::Session(Controls& c, Host& h, int width, int height, int threads)
    : controls(c), host(h), tabula(width, height), pool(threads) {
    view.W = tabula.Width();
    view.H = tabula.Height();
    grid.Resize(view.W, view.H);
}

void Session::FormCreate() {
    scene.taskType = -1;
    PrepocetPodleSouradnic();
    history.Record(ReadAxesTexts(controls));
    for (int i = 0; i < 5; ++i) palette.CircleColors[i] = controls.LabelColour(CircleLabel(i));
    for (int i = 0; i < 8; ++i) palette.ClassColors[i] = controls.LabelColour(ClassLabel(i));
    palette.RegionColors = palette.ClassColors;
    for (int i = 0; i < 16; ++i) controls.SetLabelColour(PeriodLabel(i), palette.PeriodColors[i]);
}

void Session::FormActivate() {
    DefKruz();
    SpolecneLyap();
}

Status Session::FormResize(int width, int height) {
    // A running picture would walk rows that no longer fit: it ends at its next poll.
    if (Running()) StopRequested = true;
    // Both new blocks first: a size the memory cannot hold changes nothing.
    ValueGrid newGrid;
    if (Status made = Guarded([&] { newGrid.Resize(std::max(1, width), std::max(1, height)); });
        !made)
        return made;
    if (Status resized = tabula.Resize(width, height); !resized) return resized;
    grid = std::move(newGrid);
    view.W = tabula.Width();
    view.H = tabula.Height();
    gridHasValues = false;
    PrepocetPodleSouradnic();
    if (resizedOnce_) KresliZaklad();
    resizedOnce_ = true;
    return {};
}

Status Session::ResizeBand(int width, int height, int first, int rows) {
    if (Status sized = tabula.ResizeBand(width, height, first, rows); !sized) return sized;
    view.W = tabula.Width();
    view.H = tabula.Height();
    grid.ResizeBand(view.W, view.H, first, rows);
    gridHasValues = false;
    PrepocetPodleSouradnic();
    return {};
}

void Session::DefKruz() {
    std::array<std::string, 11> texts;
    for (int i = 0; i < 11; ++i) texts[i] = controls.Text(CircleField(i));
    ReadCircleTexts(scene.k, texts);
    PrepocetPodleSouradnic();  // the overlays draw the circles just read
    sceneText = SceneText(scene.taskType, texts);
    host.PublishScene(sceneText);
}

const char* RangeFaultMessage(RangeFault fault) {
    return fault == RangeFault::EqualEnds ? kEqualEndsMessage
           : fault == RangeFault::YRange  ? kYRangeMessage
                                          : kXScaleMessage;
}

Status Session::ZmenaSouradnic() {
    const AxesRange typed{controls.Number(Ctl::edtXod), controls.Number(Ctl::edtXdo),
                          controls.Number(Ctl::edtYzero)};
    // A range without a scale is refused, with the field to mend focused, rather than kept
    // silently while the fields say otherwise.
    const RangeFault fault = CheckRange(typed, view.W, view.H);
    if (fault != RangeFault::None) {
        const bool y = fault == RangeFault::YRange;
        controls.Focus(y                                ? Ctl::edtYzero
                       : fault == RangeFault::EqualEnds ? Ctl::edtXdo
                                                        : Ctl::edtXod);
        return Failure{RangeFaultMessage(fault)};
    }
    view.range = typed;
    history.Record(ReadAxesTexts(controls));
    PrepocetPodleSouradnic();
    return {};
}

void Session::PrepocetPodleSouradnic() {
    view.PrepocetPodleSouradnic(CircleDiscs(scene.k));
}

void Session::KresliZaklad() {
    vorla::KresliZaklad(tabula, view, palette, scene.taskType, controls.Spin(Ctl::TloustKce));
    host.TabulaChanged();
}

void Session::Zadani1Click() {
    vorla::Zadani1Click(tabula, view, palette, scene.taskType, controls.Spin(Ctl::TloustKce));
    host.TabulaChanged();
}

void Session::ComboTypUlohyChange(int itemIndex) {
    StopVypoctuClick();
    if (itemIndex >= 0 && itemIndex <= 4) scene.taskType = itemIndex + 2;
    KresliZaklad();
}

Status Session::EditKoefExit(Ctl field) {
    const ControlSpec& spec = Spec(field);
    // Any number passes here, also where the field's readers want one in a range.
    const Result<long double> read =
        ReadEditNumber(controls, spec.name, controls.Text(field), RangeCheck::None);
    if (!read) return read.ToStatus();
    const int tag = spec.tag;
    const long double v = read.Value();
    if (StoreCircleByTag(scene.k, tag, v)) {
        PrepocetPodleSouradnic();
    } else {
        if (tag == 112) view.range.XFrom = v;
        if (tag == 113) view.range.XTo = v;
        if (tag == 114) view.range.YRelative = v;
    }
    return {};
}

Status Session::EditNekonecnoExit() {
    const Result<long double> bound = controls.ReadNumber(Ctl::EditNekonecno);
    scene.SetInfinityBound(bound.ValueOr(Spec(Ctl::EditNekonecno).fallback));
    if (!bound) controls.Focus(Ctl::EditNekonecno);
    return bound.ToStatus();
}

void Session::EditPresnostExit() {
    vorla::EditPresnostExit(controls, Accuracy);
}

void Session::StopVypoctuClick() {
    StopRequested = true;
    host.ShowRunning(false);
}

Status Session::ButPrepocetClick() {
    StopVypoctuClick();
    return Recalculation1Click();
}

Status Session::Recalculation1Click() {
    DefKruz();
    if (Status range = ZmenaSouradnic(); !range) return range;
    KresliZaklad();
    return {};
}

void Session::SouradniceClick(int tag) {
    if (tag < 0 || tag >= static_cast<int>(kCoordinatePresets.size())) return;
    const CoordinatePreset& p = kCoordinatePresets[tag];
    controls.SetText(Ctl::edtXod, p.xFrom);
    controls.SetText(Ctl::edtXdo, p.xTo);
    controls.SetText(Ctl::edtYzero, p.yRel);
    (void)ZmenaSouradnic();  // every preset has a scale
    KresliZaklad();
}

void Session::LoadExample(int number) {
    if (number < 1 || number > static_cast<int>(kExamples.size())) return;
    const Example& e = kExamples[number - 1];
    host.SetTaskIndex(e.itemIndex);
    ComboTypUlohyChange(e.itemIndex);
    for (int i = 0; i < 11; ++i)
        if (e.circles[i]) controls.SetText(CircleField(i), e.circles[i]);
    controls.SetText(Ctl::edtXod, e.xFrom);
    controls.SetText(Ctl::edtXdo, e.xTo);
    controls.SetText(Ctl::edtYzero, e.yRel);
    (void)ButPrepocetClick();  // every example has a scale
    host.SetStatus(5, e.panel);
}

void Session::LabelyBarev(Ctl label, Colour c) {
    const ControlSpec& spec = Spec(label);
    // The two labels of the n-th picture's range are fixed; lbl0 shares their tag 0.
    if (spec.handler != ControlHandler::PickColour) return;
    controls.SetLabelColour(label, c);
    const int tag = spec.tag;
    if (tag >= 51 && tag <= 55)
        palette.CircleColors[tag - 51] = c;
    else if (tag >= 60 && tag <= 67)
        palette.ClassColors[tag - 60] = c;
    else if (tag >= 70 && tag <= 77)
        palette.RegionColors[tag - 70] = c;
    else if (tag >= 0 && tag <= 15)
        palette.PeriodColors[tag] = c;
    else if (tag == 101)
        KresliStupnici();
}

void Session::SpolecneLyap() {
    KresliStupnici();
}

void Session::KresliStupnici() {
    TakeLyapunovColours(controls, palette);
    DrawLyapunovScale(palette, scaleImage);
    host.ScaleChanged();
}

void Session::PevneBody1Click() {
    vorla::PevneBody1Click(tabula, view, palette, scene, fixedPoints);
    host.TabulaChanged();
}

bool Session::TestKonce(int row) {
    const bool terminating = host.Poll(row);
    return terminating || StopRequested;
}

Result<bool> Session::BeginPicture(int tag) {
    if (!EditNekonecnoExit()) return false;
    if (!scene.HasMap()) {
        // No map exists before a task type is chosen: nothing to iterate.
        host.SetStatus(7, kNoTaskStatus);
        return false;
    }
    DefKruz();
    if (Status range = ZmenaSouradnic(); !range) return Failure{range.Message()};
    StopRequested = false;
    PictureKind = tag;
    gridHasValues = true;
    host.ShowRunning(true);
    pictureSeed_ = fixedSeed ? seed
                             : static_cast<std::uint64_t>(
                                   std::chrono::system_clock::now().time_since_epoch().count());
    if (controls.Checked(Ctl::CheckClear)) KresliZaklad();
    host.SetStatus(7, PictureStatusTexts(tag));
    // The picture reads these alone: the controls belong to this thread.
    pictureParams_ = ReadPictureParams(tag, controls, palette, Accuracy);
    ++running_;
    return true;
}

void Session::RunPicture(const std::function<bool(int)>& poll, const std::atomic<bool>* cancel) {
    const PictureKindInfo* kind = FindPictureKind(PictureKind);
    if (!kind) return;
    PictureContext ctx{scene, view, tabula, grid, pool, poll, pictureSeed_, cancel, oneLane};
    kind->run(ctx, pictureParams_);
}

void Session::EndPicture() {
    --running_;
    host.TabulaChanged();
    StopVypoctuClick();
}

Status Session::ActionClick(int tag, const std::atomic<bool>* cancel) {
    const Result<bool> begun = BeginPicture(tag);
    if (!begun || !begun.Value()) return begun.ToStatus();
    // Ended also when a fault ends the picture early.
    struct End {
        Session& s;
        ~End() { s.EndPicture(); }
    } end{*this};
    RunPicture([this](int r) { return TestKonce(r); }, cancel);
    return {};
}

}  // namespace vorla
