// The state of one run of the program and the operations of the window on it. The window
// (or the headless renderer) owns a Session and supplies the controls and the host services.
#pragma once

#include <cstdint>
#include <string>

#include "base/status.h"
#include "colour/palette.h"
#include "model/controls.h"
#include "model/fixed_points.h"
#include "model/scene.h"
#include "pictures/row_pool.h"
#include "pictures/value_grid.h"
#include "plane/tabula.h"
#include "plane/viewport.h"

namespace vorla {

// Services of the window that the operations use.
class Host {
  public:
    virtual ~Host() = default;
    // TestKonce's part: show the row, handle pending input; true when the program ends.
    virtual bool Poll(int /*row*/) { return false; }
    // Stop image and progress label shown, pixel panel hidden (and the reverse).
    virtual void ShowRunning(bool /*running*/) {}
    // Shows a text in a panel (0..7) of the status bar.
    virtual void SetStatus(int /*panel*/, const std::string& /*text*/) {}
    // Offers the scene text to other programs.
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

// One run of the program: the scene, the viewport, the tabula and the window's operations.
class Session {
  public:
    // A session over the window's controls and services with a tabula of the size, drawing
    // on `threads` threads (0: one per core).
    Session(Controls& controls, Host& host, int width, int height, int threads = 0);

    // Window events.
    // The window was created: no task, the viewport and the palettes from the controls.
    void FormCreate();
    // The window became active: reads the circles and redraws the Lyapunov scale.
    void FormActivate();
    // A new size of the tabula; a size the memory cannot hold fails and keeps the old one.
    Status FormResize(int width, int height);

    // Scene, viewport and overlay.
    // Reads the eleven circle fields into the scene and publishes the scene text.
    void DefKruz();
    // Reads the axes fields (edtXod, edtXdo, edtYzero) and recomputes the viewport.
    void ZmenaSouradnic();
    // Recomputes the viewport's axes and circle pixels from the stored range and circles.
    void PrepocetPodleSouradnic();
    // Clears the tabula and draws the axes and circles of the task.
    void KresliZaklad();
    // Draws the axes and circles over the tabula (drawing them twice takes them off).
    void Zadani1Click();
    // A task type was chosen (item index, type = index + 2): stops the picture and redraws.
    void ComboTypUlohyChange(int itemIndex);
    // Leaving a circle or axes field: stores its number; a bad number is reported and fails.
    Status EditKoefExit(const std::string& field);
    // Leaving the bound of infinity: stores it (1000 for a bad text, which gets the focus and
    // fails).
    Status EditNekonecnoExit();
    // Leaving the accuracy field: reads the convergence picture's accuracy.
    void EditPresnostExit();
    // The Recalc. button: stops the picture, rereads circles and axes, and redraws.
    void ButPrepocetClick();
    // Rereads circles and axes and redraws, leaving a running picture on.
    void Recalculation1Click();
    // Applies coordinate preset `tag` of the Coordinates menu and redraws.
    void SouradniceClick(int tag);
    // Loads example `number` (1..14) into the task type and the fields, and redraws.
    void LoadExample(int number);
    // A colour label took a new colour: the label and the table of its tag change.
    void LabelyBarev(const std::string& label, Colour c);
    // Takes the Lyapunov scale's colours from their labels and redraws scaleImage.
    void SpolecneLyap();
    // Redraws the Lyapunov colour scale (scaleImage) from its labels.
    void KresliStupnici();
    // Marks the fixed points of the current map on the tabula.
    void PevneBody1Click();

    // Pictures.
    // Draws the picture of menu `tag`, unless the bound of infinity is bad or no task is set.
    void ActionClick(int tag);
    // Polls the window at `row` of a picture; true when the picture must end.
    bool TestKonce(int row);
    // Asks the running picture to stop and hides the running indicators.
    void StopVypoctuClick();

    // State, one owner each.
    Controls& controls;
    Host& host;
    Scene scene;
    Viewport view;
    Palette palette;
    Tabula tabula;
    ValueGrid grid;
    Tabula scaleImage{25, 241};  // imgStupnice, the Lyapunov colour scale
    FixedPointSet fixedPoints;   // of the last marking
    RowPool pool;
    int PictureKind = 0;                // the tag of the last picture
    bool StopRequested = false;         // set by a stop: a picture ends, the mouse works
    long double Accuracy = 0.01L;       // of the convergence picture
    std::string sceneText = "NOTHING";  // the published scene text
    // The seed of the next picture; unset, each picture takes one from the clock.
    bool fixedSeed = false;
    std::uint64_t seed = 0;

    // True while a picture is being drawn.
    bool Running() const { return running_ > 0; }

  private:
    int running_ = 0;
    bool resizedOnce_ = false;
};

}  // namespace vorla
