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
    : controls_(c), host_(h), tabula_(width, height), pool_(threads) {
    view_.W = tabula_.Width();
    view_.H = tabula_.Height();
    grid_.Resize(view_.W, view_.H);
}

void Session::FormCreate() {
    scene_.taskType = TaskType::None;
    PrepocetPodleSouradnic();
    home_ = view_.range;
    history_.Record(ReadAxesTexts(controls_));
    for (int i = 0; i < 5; ++i) palette_.CircleColors[i] = controls_.LabelColour(CircleLabel(i));
    for (int i = 0; i < 8; ++i) palette_.ClassColors[i] = controls_.LabelColour(ClassLabel(i));
    palette_.RegionColors = palette_.ClassColors;
    for (int i = 0; i < 16; ++i) controls_.SetLabelColour(PeriodLabel(i), palette_.PeriodColors[i]);
}

void Session::FormActivate() {
    DefKruz();
    SpolecneLyap();
}

Status Session::FormResize(int width, int height) {
    // A running picture would walk rows that no longer fit: it ends at its next poll.
    if (Running()) stopRequested_ = true;
    // Both new blocks first: a size the memory cannot hold changes nothing.
    ValueGrid newGrid;
    if (Status made = Guarded([&] { newGrid.Resize(std::max(1, width), std::max(1, height)); });
        !made)
        return made;
    if (Status resized = tabula_.Resize(width, height); !resized) return resized;
    grid_ = std::move(newGrid);
    view_.W = tabula_.Width();
    view_.H = tabula_.Height();
    gridHasValues_ = false;
    PrepocetPodleSouradnic();
    if (resizedOnce_) KresliZaklad();
    resizedOnce_ = true;
    return {};
}

Status Session::ResizeBand(int width, int height, int first, int rows) {
    if (Status sized = tabula_.ResizeBand(width, height, first, rows); !sized) return sized;
    view_.W = tabula_.Width();
    view_.H = tabula_.Height();
    grid_.ResizeBand(view_.W, view_.H, first, rows);
    gridHasValues_ = false;
    PrepocetPodleSouradnic();
    return {};
}

ValueGrid Session::TakeGrid() {
    ValueGrid taken = std::move(grid_);
    grid_ = ValueGrid();
    gridHasValues_ = false;
    return taken;
}

void Session::DefKruz() {
    std::array<std::string, 11> texts;
    for (int i = 0; i < 11; ++i) texts[i] = controls_.Text(CircleField(i));
    ReadCircleTexts(scene_.k, texts);
    PrepocetPodleSouradnic();  // the overlays draw the circles just read
    sceneText_ = SceneText(scene_.taskType, texts);
    host_.PublishScene(sceneText_);
}

Status Session::ZmenaSouradnic() {
    const AxesRange typed{controls_.Number(Ctl::edtXod), controls_.Number(Ctl::edtXdo),
                          controls_.Number(Ctl::edtYzero)};
    // A range without a scale is refused, with the field to mend focused, rather than kept
    // silently while the fields say otherwise.
    const RangeFault fault = CheckRange(typed, view_.W, view_.H);
    if (fault != RangeFault::None) {
        const bool y = fault == RangeFault::YRange;
        controls_.Focus(y                                ? Ctl::edtYzero
                        : fault == RangeFault::EqualEnds ? Ctl::edtXdo
                                                         : Ctl::edtXod);
        return Failure{RangeFaultMessage(fault)};
    }
    view_.range = typed;
    if (homePending_) home_ = typed;
    homePending_ = false;
    history_.Record(ReadAxesTexts(controls_));
    PrepocetPodleSouradnic();
    host_.ViewChanged();
    return {};
}

void Session::PrepocetPodleSouradnic() {
    view_.PrepocetPodleSouradnic(CircleDiscs(scene_.k));
}

void Session::KresliZaklad() {
    vorla::KresliZaklad(tabula_, view_, palette_, scene_.taskType, controls_.Spin(Ctl::TloustKce));
    host_.TabulaChanged();
}

void Session::Zadani1Click() {
    vorla::Zadani1Click(tabula_, view_, palette_, scene_.taskType, controls_.Spin(Ctl::TloustKce));
    host_.TabulaChanged();
}

void Session::ComboTypUlohyChange(int itemIndex) {
    StopVypoctuClick();
    if (const TaskType task = TaskOfItem(itemIndex); task != TaskType::None) scene_.taskType = task;
    KresliZaklad();
}

Status Session::EditKoefExit(Ctl field) {
    const ControlSpec& spec = Spec(field);
    // Any number passes here, also where the field's readers want one in a range.
    const Result<long double> read =
        ReadEditNumber(controls_, spec.name, controls_.Text(field), RangeCheck::None);
    if (!read) return read.ToStatus();
    const int tag = spec.tag;
    const long double v = read.Value();
    if (StoreCircleByTag(scene_.k, tag, v)) {
        PrepocetPodleSouradnic();
    } else {
        if (tag == 112) view_.range.XFrom = v;
        if (tag == 113) view_.range.XTo = v;
        if (tag == 114) view_.range.YRelative = v;
    }
    return {};
}

Status Session::EditNekonecnoExit() {
    const Result<long double> bound = controls_.ReadNumber(Ctl::EditNekonecno);
    scene_.SetInfinityBound(bound.ValueOr(Spec(Ctl::EditNekonecno).fallback));
    if (!bound) controls_.Focus(Ctl::EditNekonecno);
    return bound.ToStatus();
}

void Session::EditPresnostExit() {
    vorla::EditPresnostExit(controls_, accuracy_);
}

void Session::StopVypoctuClick() {
    stopRequested_ = true;
    host_.ShowRunning(false);
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
    controls_.SetText(Ctl::edtXod, p.xFrom);
    controls_.SetText(Ctl::edtXdo, p.xTo);
    controls_.SetText(Ctl::edtYzero, p.yRel);
    (void)ZmenaSouradnic();  // every preset has a scale
    KresliZaklad();
}

void Session::LoadExample(int number) {
    if (number < 1 || number > static_cast<int>(kExamples.size())) return;
    const Example& e = kExamples[number - 1];
    host_.ShowTaskType(e.task);
    ComboTypUlohyChange(ItemOfTask(e.task));
    for (int i = 0; i < 11; ++i)
        if (e.circles[i]) controls_.SetText(CircleField(i), e.circles[i]);
    controls_.SetText(Ctl::edtXod, e.xFrom);
    controls_.SetText(Ctl::edtXdo, e.xTo);
    controls_.SetText(Ctl::edtYzero, e.yRel);
    homePending_ = true;
    (void)ButPrepocetClick();  // every example has a scale
    host_.SetStatus(StatusPanel::Example, e.panel);
}

void Session::ApplyScene(const SceneState& s) {
    // A colour label goes through its click, which also sets the colour table it stands for.
    for (const ControlSpec& f : ControlTable()) {
        if (f.kind != ControlKind::ColourLabel)
            controls_.SetText(f.id, s.controls.Text(f.id));
        else if (f.handler == ControlHandler::PickColour)
            LabelyBarev(f.id, s.controls.LabelColour(f.id));
        else
            controls_.SetLabelColour(f.id, s.controls.LabelColour(f.id));
    }
    host_.ShowTaskType(s.taskType);
    ComboTypUlohyChange(ItemOfTask(s.taskType));
    scene_.taskType = s.taskType;  // also none, which no item of the box chooses
    homePending_ = true;
    EditPresnostExit();
    (void)EditNekonecnoExit();  // a bad bound has its field focused
}

void Session::RestorePicture(const QImage& image) {
    tabula_.SetImage(image);
    host_.TabulaChanged();
}

std::optional<AxesTexts> Session::ViewBack() {
    std::optional<AxesTexts> view = history_.Back();
    host_.ViewChanged();
    return view;
}

std::optional<AxesTexts> Session::ViewForward() {
    std::optional<AxesTexts> view = history_.Forward();
    host_.ViewChanged();
    return view;
}

long double Session::ZoomFactor() const {
    return (home_.XTo - home_.XFrom) / (view_.range.XTo - view_.range.XFrom);
}

void Session::ReadXRange() {
    view_.range.XFrom = controls_.Number(Ctl::edtXod);
    view_.range.XTo = controls_.Number(Ctl::edtXdo);
}

void Session::MoveHandle(int centre, int X, int Y) {
    view_.handles.Move(centre, X, Y);
}

void Session::LabelyBarev(Ctl label, Colour c) {
    const ControlSpec& spec = Spec(label);
    // The two labels of the n-th picture's range are fixed; lbl0 shares their tag 0.
    if (spec.handler != ControlHandler::PickColour) return;
    controls_.SetLabelColour(label, c);
    const int tag = spec.tag;
    if (tag >= 51 && tag <= 55)
        palette_.CircleColors[tag - 51] = c;
    else if (tag >= 60 && tag <= 67)
        palette_.ClassColors[tag - 60] = c;
    else if (tag >= 70 && tag <= 77)
        palette_.RegionColors[tag - 70] = c;
    else if (tag >= 0 && tag <= 15)
        palette_.PeriodColors[tag] = c;
    else if (tag == 101)
        KresliStupnici();
}

void Session::SpolecneLyap() {
    KresliStupnici();
}

void Session::KresliStupnici() {
    TakeLyapunovColours(controls_, palette_);
    DrawLyapunovScale(palette_, scaleImage_);
    host_.ScaleChanged();
}

void Session::PevneBody1Click() {
    vorla::PevneBody1Click(tabula_, view_, palette_, scene_, fixedPoints_);
    host_.TabulaChanged();
}

bool Session::TestKonce(int row) {
    const bool terminating = host_.Poll(row);
    return terminating || stopRequested_;
}

Result<bool> Session::BeginPicture(int tag, PixelOrder order) {
    if (!EditNekonecnoExit()) return false;
    if (!scene_.HasMap()) {
        // No map exists before a task type is chosen: nothing to iterate.
        host_.SetStatus(StatusPanel::Message, kNoTaskStatus);
        return false;
    }
    DefKruz();
    if (Status range = ZmenaSouradnic(); !range) return Failure{range.Message()};
    stopRequested_ = false;
    pictureKind_ = tag;
    gridHasValues_ = true;
    host_.ShowRunning(true);
    pictureSeed_ = seed_.value_or(
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    if (controls_.Checked(Ctl::CheckClear)) KresliZaklad();
    host_.SetStatus(StatusPanel::Message, PictureStatusTexts(tag));
    // The picture reads these alone: the controls_ belong to this thread.
    pictureParams_ = ReadPictureParams(tag, controls_, palette_, accuracy_);
    const PictureKindInfo* kind = FindPictureKind(tag);
    order_ = kind && kind->coarse ? order : PixelOrder::Rows;
    progress_.Begin(0);
    ++running_;
    return true;
}

void Session::RunPicture(const std::function<bool(int)>& poll, const std::atomic<bool>* cancel) {
    const PictureKindInfo* kind = FindPictureKind(pictureKind_);
    if (!kind) return;
    PictureContext ctx{scene_,       view_,  tabula_,  grid_,  pool_,     poll,
                       pictureSeed_, cancel, oneLane_, order_, &progress_};
    kind->run(ctx, pictureParams_);
}

void Session::EndPicture() {
    --running_;
    host_.TabulaChanged();
    StopVypoctuClick();
}

Status Session::ActionClick(int tag, const std::atomic<bool>* cancel, PixelOrder order) {
    const Result<bool> begun = BeginPicture(tag, order);
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
