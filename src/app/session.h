// The state of one run of the program and the operations of the window on it. The window
// (or the headless renderer) owns a Session and supplies the controls and the host services.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/scene_file.h"
#include "app/view_moves.h"
#include "base/status.h"
#include "colour/palette.h"
#include "model/controls.h"
#include "model/fixed_points.h"
#include "model/scene.h"
#include "pictures/driver.h"
#include "pictures/lyapunov.h"
#include "pictures/params.h"
#include "pictures/row_pool.h"
#include "pictures/value_grid.h"
#include "plane/tabula.h"
#include "plane/viewport.h"

namespace vorla {

// The panels of the status bar that the operations write: the point under the cursor, the
// example loaded and the message of the last command.
enum class StatusPanel : int { X = 1, Y = 3, Example = 5, Message = 7 };
// The number of panels of the status bar, captions included.
inline constexpr int kStatusPanels = 8;

// Services of the window that the operations use.
class Host {
  public:
    virtual ~Host() = default;
    // The window's part of a running picture's poll (TestKonce): shows the row, handles
    // pending input; true when the program ends.
    virtual bool Poll(int /*row*/) { return false; }
    // Stop image and progress label shown, pixel panel hidden (and the reverse).
    virtual void ShowRunning(bool /*running*/) {}
    // Shows a text in a panel of the status bar.
    virtual void SetStatus(StatusPanel /*panel*/, const std::string& /*text*/) {}
    // Publishes the scene text of the circles just read.
    virtual void PublishScene(const std::string& /*text*/) {}
    // Shows a task type in the task-type box without raising its change event.
    virtual void ShowTaskType(TaskType /*task*/) {}
    // The tabula's image changed outside a poll (an overlay, a clearing).
    virtual void TabulaChanged() {}
    // The Lyapunov colour scale was redrawn.
    virtual void ScaleChanged() {}
    // A view was put in place, or the history of views moved.
    virtual void ViewChanged() {}
};

// The status text of a picture asked for before a task type is chosen.
inline constexpr const char* kNoTaskStatus = "Choose a task type first.";

// One run of the program: the scene, the viewport, the colours, the tabula and the value
// grid, and the operations of the window on them. The operations are the one way to change
// its state; readers see it through the const accessors. While a picture computes a band on
// another thread (RunPicture), the session is that thread's until the band's poll returns.
class Session {
  public:
    // A session over the window's controls and services, with a tabula of width x height
    // and a pool of `threads` workers (0: one per core).
    Session(Controls& controls, Host& host, int width, int height, int threads = 0);

    // --- window events ---
    // FormCreate: no task type, the viewport set up, the circle and class colours taken from
    // their labels and the period labels given the period colours.
    void FormCreate();
    // FormActivate: the circles read again from their fields, the Lyapunov scale redrawn.
    void FormActivate();
    // FormResize: the tabula, the grid and the viewport take the new size; a running picture
    // ends, and after the first time the tabula is cleared. A size the memory cannot hold
    // fails and keeps the old one.
    Status FormResize(int width, int height);
    // The tabula and the grid hold rows first..first+rows-1 of a width x height picture,
    // white and empty; the viewport is the whole picture's. Fails as FormResize does.
    Status ResizeBand(int width, int height, int first, int rows);

    // --- scene, viewport and overlay ---
    // DefKruz: reads the circle fields into the scene and publishes the scene text.
    void DefKruz();
    // ZmenaSouradnic: reads the axes fields and sets the viewport up again. A range without
    // a usable scale fails, focuses the field to mend and keeps the viewport.
    Status ZmenaSouradnic();
    // PrepocetPodleSouradnic: sets the viewport up for the current axes and circles.
    void PrepocetPodleSouradnic();
    // KresliZaklad: clears the tabula to white and draws the basic circles.
    void KresliZaklad();
    // Zadani1Click: draws the basic circles over the tabula as it is.
    void Zadani1Click();
    // ComboTypUlohyChange: a picture ends, the task type of the item is taken, the tabula
    // cleared.
    void ComboTypUlohyChange(int itemIndex);
    // EditKoefExit: a field was left: its number is checked (a bad one is reported) and
    // stored by the field's tag; fails for a bad number.
    Status EditKoefExit(Ctl field);
    // EditNekonecnoExit: reads the bound of infinity; a bad one puts the focus on its field
    // and fails.
    Status EditNekonecnoExit();
    // EditPresnostExit: reads the accuracy of convergence.
    void EditPresnostExit();
    // ButPrepocetClick: the Recalc. button: a picture ends, scene and viewport are read
    // again and the tabula is cleared; fails, leaving the tabula, for an unusable range.
    Status ButPrepocetClick();
    // Recalculation1Click: as the Recalc. button, without ending a running picture.
    Status Recalculation1Click();
    // SouradniceClick: puts the axes preset of the Coordinates menu item `tag` in place.
    void SouradniceClick(int tag);
    // Loads example `number` (1..14) of the Examples menu.
    void LoadExample(int number);
    // Puts a scene's controls and task type in place, as if typed, clicked and chosen (a
    // running picture ends), then reads the accuracy and the bound of infinity (a bad bound
    // has its field focused). The axes and circles are read by the next recalculation.
    void ApplyScene(const SceneState& scene);
    // LabelyBarev: a colour label took a new colour: the label and the table of its tag
    // change.
    void LabelyBarev(Ctl label, Colour c);
    // SpolecneLyap: the Lyapunov scale: its colours from their labels, and the scale image
    // redrawn.
    void SpolecneLyap();
    // KresliStupnici: redraws the Lyapunov colour scale from its labels.
    void KresliStupnici();
    // PevneBody1Click: marks the fixed points of the current map on the tabula.
    void PevneBody1Click();
    // The picture of a "Restore picture": `image`, of the tabula's size, takes its place.
    void RestorePicture(const QImage& image);
    // The views before and after the current one in the history (which moves to it); none
    // at either end.
    std::optional<AxesTexts> ViewBack();
    std::optional<AxesTexts> ViewForward();

    // --- the mouse tools ---
    // The tabula to draw a mouse tool's figures on, between pictures.
    Tabula& Canvas() { return tabula_; }
    // Takes "X from" and "X to" from their fields into the range, as the "Y relatively"
    // click reads them.
    void ReadXRange();
    // Moves the drag handle of centre 1..4 to pixel (X, Y), as a drag shows it.
    void MoveHandle(int centre, int X, int Y);

    // --- pictures ---
    // ActionClick: draws the picture of menu tag `tag` from start to end on this thread:
    // BeginPicture (in `order`), RunPicture with TestKonce, EndPicture; it ends at once when
    // `cancel` (may be null) is set. Fails as BeginPicture does.
    Status ActionClick(int tag, const std::atomic<bool>* cancel = nullptr,
                       PixelOrder order = PixelOrder::Rows);
    // The start of the picture of menu tag `tag`: the bound of infinity, the scene and the
    // viewport read, the tabula cleared if asked, the picture's parameters read from the
    // controls. It computes its pixels in `order` where its kind allows the coarse order.
    // True when it started; false when it did not and the user was told (a bad bound, no
    // task type); a failure for an unusable range.
    Result<bool> BeginPicture(int tag, PixelOrder order = PixelOrder::Rows);
    // Computes the picture begun last, on any thread, from the parameters read when it
    // began: calls `poll` before every band and ends at once when `cancel` (may be null) is
    // set. Nothing else may touch the session meanwhile, except between a poll's call and its
    // return.
    void RunPicture(const std::function<bool(int)>& poll, const std::atomic<bool>* cancel);
    // The end of the picture begun last: the tabula shown, the picture marked stopped.
    void EndPicture();
    // TestKonce: the poll of a running picture at `row`; true when it must end.
    bool TestKonce(int row);
    // StopVypoctuClick: the STOP image: the running picture ends at its next poll.
    void StopVypoctuClick();
    // The stop key: the running picture ends at its next poll.
    void RequestStop() { stopRequested_ = true; }
    // The seed of the next pictures; none: each takes one from the clock.
    void SetSeed(std::optional<std::uint64_t> seed) { seed_ = seed; }
    // Every orbit of a picture stepped on its own instead of in lanes (their reference).
    void SetOneLane(bool oneLane) { oneLane_ = oneLane; }

    // --- the state, for readers ---
    Controls& controls() const { return controls_; }
    Host& host() const { return host_; }
    const Scene& scene() const { return scene_; }
    TaskType taskType() const { return scene_.taskType; }
    const Viewport& view() const { return view_; }
    const Palette& palette() const { return palette_; }
    const Tabula& tabula() const { return tabula_; }
    // The value of every pixel of the last picture.
    const ValueGrid& grid() const { return grid_; }
    // Hands the grid of the last picture over whole, without copying its cells, to a reader
    // that keeps it beyond the session (the Python module's arrays); the session is left
    // with an empty grid, and must be resized before its next picture.
    ValueGrid TakeGrid();
    // imgStupnice: the Lyapunov colour scale.
    const Tabula& scaleImage() const { return scaleImage_; }
    // The fixed points marked last.
    const FixedPointSet& fixedPoints() const { return fixedPoints_; }
    // The picture workers.
    const RowPool& pool() const { return pool_; }
    const ViewHistory& history() const { return history_; }
    // The tag of the last picture begun; 0 before the first.
    int PictureKind() const { return pictureKind_; }
    // Whether a picture wrote the grid since it was made.
    bool GridHasValues() const { return gridHasValues_; }
    // Whether the running picture ends at its next poll; true between pictures once one ran.
    bool StopRequested() const { return stopRequested_; }
    // The accuracy of the convergence picture.
    long double Accuracy() const { return accuracy_; }
    // The scene text published last.
    const std::string& PublishedScene() const { return sceneText_; }
    // Whether a picture is running.
    bool Running() const { return running_ > 0; }
    // How many times the view is narrower than the first view of the example or scene put
    // in place last (or of the start).
    long double ZoomFactor() const;
    // How far the picture begun last has come, and in which order.
    const PictureProgress& Progress() const { return progress_; }
    PixelOrder Order() const { return order_; }
    // Whether no picture runs in the sense of the mouse tools: a stop was requested (the
    // last picture ended, or none has started since a task type was chosen).
    bool Idle() const { return stopRequested_; }

  private:
    Controls& controls_;
    Host& host_;
    Scene scene_;
    Viewport view_;
    Palette palette_;
    Tabula tabula_;
    ValueGrid grid_;
    Tabula scaleImage_{kScaleWidth, kScaleHeight};
    FixedPointSet fixedPoints_;
    RowPool pool_;
    ViewHistory history_;
    int pictureKind_ = 0;
    bool gridHasValues_ = false;
    bool stopRequested_ = false;
    long double accuracy_ = 0.01L;
    std::string sceneText_ = "NOTHING";
    std::optional<std::uint64_t> seed_;
    bool oneLane_ = false;
    int running_ = 0;
    std::uint64_t pictureSeed_ = 0;  // the seed of the picture begun last
    PictureParams pictureParams_;    // the parameters of the picture begun last
    PixelOrder order_ = PixelOrder::Rows;
    AxesRange home_;            // the first view of the example or scene
    bool homePending_ = false;  // the next view put in place is the first
    PictureProgress progress_;
    bool resizedOnce_ = false;
};

}  // namespace vorla
