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
    virtual void SetStatus(int /*panel*/, const std::string& /*text*/) {}
    virtual void PublishScene(const std::string& /*text*/) {}
    // Puts an item into the task-type box without raising its change event.
    virtual void SetTaskIndex(int /*index*/) {}
    // The tabula's image changed outside a poll (an overlay, a clearing).
    virtual void TabulaChanged() {}
    // The Lyapunov colour scale was redrawn.
    virtual void ScaleChanged() {}
};

inline constexpr const char* kNoTaskStatus = "Choose a task type first.";

class Session {
  public:
    Session(Controls& controls, Host& host, int width, int height, int threads = 0);

    // Window events.
    void FormCreate();
    void FormActivate();
    // A new size of the tabula; a size the memory cannot hold fails and keeps the old one.
    Status FormResize(int width, int height);

    // Scene, viewport and overlay.
    void DefKruz();
    void ZmenaSouradnic();
    void PrepocetPodleSouradnic();
    void KresliZaklad();
    void Zadani1Click();
    void ComboTypUlohyChange(int itemIndex);
    Status EditKoefExit(const std::string& field);
    Status EditNekonecnoExit();
    void EditPresnostExit();
    void ButPrepocetClick();
    void Recalculation1Click();
    void SouradniceClick(int tag);
    void LoadExample(int number);  // 1..14
    // A colour label took a new colour: the label and the table of its tag change.
    void LabelyBarev(const std::string& label, Colour c);
    // The Lyapunov scale: its colours from their labels, and scaleImage redrawn.
    void SpolecneLyap();
    void KresliStupnici();
    // Marks the fixed points of the current map on the tabula.
    void PevneBody1Click();

    // Pictures.
    void ActionClick(int tag);
    bool TestKonce(int row);
    void StopVypoctuClick();

    // State, one owner each.
    Controls& controls;
    Host& host;
    Scene scene;
    Viewport view;
    Palette palette;
    Tabula tabula;
    ValueGrid grid;
    Tabula scaleImage{25, 241};  // imgStupnice
    FixedPointSet fixedPoints;
    RowPool pool;
    int PictureKind = 0;
    bool StopRequested = false;
    long double Accuracy = 0.01L;
    std::string sceneText = "NOTHING";
    // The seed of the next picture; unset, each picture takes one from the clock.
    bool fixedSeed = false;
    std::uint64_t seed = 0;

    bool Running() const { return running_ > 0; }

  private:
    int running_ = 0;
    bool resizedOnce_ = false;
};

}  // namespace vorla
