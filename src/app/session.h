// The state of one run of the program and the operations of the window on it. The window
// (or the headless renderer) owns a Session and supplies the controls and the host services.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "app/view_moves.h"
#include "base/status.h"
#include "colour/palette.h"
#include "model/controls.h"
#include "model/fixed_points.h"
#include "model/scene.h"
#include "pictures/params.h"
#include "pictures/row_pool.h"
#include "pictures/value_grid.h"
#include "plane/tabula.h"
#include "plane/viewport.h"

namespace vorla {

// Services of the window that the operations use.
class Host {
  public:
    virtual ~Host() = default;
    // The window's part of a running picture's poll (TestKonce): shows the row, handles
    // pending input; true when the program ends.
    virtual bool Poll(int /*row*/) { return false; }
    // Stop image and progress label shown, pixel panel hidden (and the reverse).
    virtual void ShowRunning(bool /*running*/) {}
    // Shows a text in status panel `panel` (0..7).
    virtual void SetStatus(int /*panel*/, const std::string& /*text*/) {}
    // Publishes the scene text of the circles just read.
    virtual void PublishScene(const std::string& /*text*/) {}
    // Puts an item into the task-type box without raising its change event.
    virtual void SetTaskIndex(int /*index*/) {}
    // The tabula's image changed outside a poll (an overlay, a clearing).
    virtual void TabulaChanged() {}
    // The Lyapunov colour scale was redrawn.
    virtual void ScaleChanged() {}
};

// The status text of a picture asked for before a task type is chosen.
inline constexpr const char* kNoTaskStatus = "Choose a task type first.";
// Why the axes fields cannot set the viewport up.
inline constexpr const char* kEqualEndsMessage =
    "The axes range cannot be used: \"X from\" and \"X to\" are equal.";
inline constexpr const char* kXScaleMessage =
    "The axes range cannot be used: \"X from\" and \"X to\" are too far apart or too close "
    "together for the tabula.";
inline constexpr const char* kYRangeMessage =
    "The axes range cannot be used: \"Axis Y relatively\" puts the Y axis beyond the numbers "
    "the program can hold.";
// The message of a range fault: one of the three above.
const char* RangeFaultMessage(RangeFault fault);

// One run of the program: the scene, the viewport, the colours, the tabula and the value
// grid, and the operations of the window on them.
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
    // LabelyBarev: a colour label took a new colour: the label and the table of its tag
    // change.
    void LabelyBarev(Ctl label, Colour c);
    // SpolecneLyap: the Lyapunov scale: its colours from their labels, and scaleImage
    // redrawn.
    void SpolecneLyap();
    // KresliStupnici: redraws the Lyapunov colour scale from its labels.
    void KresliStupnici();
    // PevneBody1Click: marks the fixed points of the current map on the tabula.
    void PevneBody1Click();

    // --- pictures ---
    // ActionClick: draws the picture of menu tag `tag` from start to end on this thread:
    // BeginPicture, RunPicture with TestKonce, EndPicture; it ends at once when `cancel` (may
    // be null) is set. Fails as BeginPicture does.
    Status ActionClick(int tag, const std::atomic<bool>* cancel = nullptr);
    // The start of the picture of menu tag `tag`: the bound of infinity, the scene and the
    // viewport read, the tabula cleared if asked. True when it started; false when it did
    // not and the user was told (a bad bound, no task type); a failure for an unusable range.
    Result<bool> BeginPicture(int tag);
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

    // --- state, one owner each ---
    Controls& controls;                 // the window's controls
    Host& host;                         // the window's services
    Scene scene;                        // the circles and the task type
    Viewport view;                      // the axes and the pixel forms
    Palette palette;                    // the colour tables
    Tabula tabula;                      // the picture
    ValueGrid grid;                     // the value of every pixel of the last picture
    Tabula scaleImage{25, 241};         // imgStupnice: the Lyapunov colour scale
    FixedPointSet fixedPoints;          // the fixed points marked last
    RowPool pool;                       // the picture workers
    int PictureKind = 0;                // the tag of the last picture
    bool gridHasValues = false;         // a picture wrote the grid since it was made
    ViewHistory history;                // the views put in place
    bool StopRequested = false;         // the running picture ends at its next poll
    long double Accuracy = 0.01L;       // the accuracy of the convergence picture
    std::string sceneText = "NOTHING";  // the scene text published last
    // The seed of the next picture; unset, each picture takes one from the clock.
    bool fixedSeed = false;
    std::uint64_t seed = 0;  // the seed when fixedSeed is set
    // Every orbit of a picture stepped on its own instead of in lanes (their reference).
    bool oneLane = false;

    // Whether a picture is running.
    bool Running() const { return running_ > 0; }

  private:
    int running_ = 0;
    std::uint64_t pictureSeed_ = 0;  // the seed of the picture begun last
    PictureParams pictureParams_;    // the parameters of the picture begun last
    bool resizedOnce_ = false;
};

}  // namespace vorla
