// The main window: the controls of every parameter, the menus, the tabula and the status bar.
// It owns the session and gives it the controls and the window's services. Its parts live in
// vorla_form.cpp (construction, controls, host), form_layout.cpp (pages and widgets),
// form_menus.cpp, form_keys.cpp (keys and leave events), form_commands.cpp,
// form_picture.cpp (pictures beside the event loop) and form_scene.cpp (scene files and
// pictures rendered at any size). Its jobs run on two picture runners of the application
// layer: the window itself holds no thread.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QSettings>
#include <QSize>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "app/mouse_tools.h"
#include "app/picture_runner.h"
#include "app/scene_file.h"
#include "app/session.h"
#include "model/controls.h"

class QAction;
class QMenu;
class QSettings;
class QComboBox;
class QTabWidget;
class QPushButton;
class QMouseEvent;
class QProgressDialog;

namespace vorla {

class TabulaView;
class TAbo1F;
class THep1F;

// The ten parameter pages, in their order; each is the widget "Tab" + its name.
enum class Page : int {
    Circles,
    Tabula,
    Converg,
    Periods,
    Iters,
    Limit,
    Rectang,
    Mouse,
    Regions,
    Lyap
};
// The name (and caption) of a page.
const char* PageName(Page page);

// The main window, with the session it owns; the controls and the host of that session.
// What the window keeps between runs (not in scene files): the coarse preview for every
// picture and the recent scenes.
QSettings Settings();
inline constexpr const char* kCoarseKey = "coarsePreviewForEveryPicture";
inline constexpr const char* kRecentKey = "recentScenes";
inline constexpr int kRecentScenes = 10;
// The window's caption; a scene file opened or saved is named before it.
inline constexpr const char* kCaption = "Vorla  -  Kruhov\u00e1 inverze";

// The system's text (a message, a file name) as the window shows it.
inline QString Local(const std::string& s) {
    return QString::fromLocal8Bit(s);
}

// The host of a picture drawn by a runner's job: its polls are the job's hand-overs.
class JobHost : public Host {
  public:
    explicit JobHost(PictureRunner::Job& job) : job_(job) {}
    bool Poll(int row) override { return job_.Band(row); }

  private:
    PictureRunner::Job& job_;
};

// What the window says when a job beside it ends: the status bar's text when it was cancelled
// or is done, and the start of the message of a failure.
struct JobTexts {
    QString cancelled, failed, done;
};

// A picture's size typed as WIDTHxHEIGHT (or with *, X, ×), each side from 1 to
// kMaxPictureSide; nothing for any other text.
std::optional<QSize> TypedPictureSize(const QString& typed);

class TVorlaForm : public QMainWindow, public Controls, public Host {
    Q_OBJECT
  public:
    // Builds the window with every control at its default, its session and its menus.
    explicit TVorlaForm(QWidget* parent = nullptr);
    // Takes the window's program-wide event filter away.
    ~TVorlaForm() override;

    // --- Controls: the parameter widgets by their identifiers ---
    // The text of an edit or a spin edit, "1"/"0" for a check box.
    std::string Text(Ctl c) const override;
    // Puts a text into an edit, a spin edit or a check box.
    void SetText(Ctl c, const std::string& text) override;
    // Whether a check box is checked.
    bool Checked(Ctl c) const override;
    // The colour of a colour label.
    Colour LabelColour(Ctl c) const override;
    // Gives a colour label a new colour.
    void SetLabelColour(Ctl c, Colour colour) override;
    // Shows the control's page and moves the focus to it; the field left is not checked.
    void Focus(Ctl c) override;
    // Moves the focus to the Recalc. button.
    void FocusRecalc() override;
    // The bad-number message box, then the focus to the field.
    void ShowBadNumber(Ctl field) override;

    // --- Host: the window's services to the session ---
    // The STOP image and the progress label while a picture runs, else the pixel panel.
    void ShowRunning(bool running) override;
    // Shows a text in a panel of the status bar.
    void SetStatus(StatusPanel panel, const std::string& text) override;
    // Keeps the scene text and signals it.
    void PublishScene(const std::string& text) override;
    // Shows a task type in the task-type box without raising its change event.
    void ShowTaskType(TaskType task) override;
    // Repaints the tabula (during a picture: shows the tabula as it is now).
    void TabulaChanged() override;
    // Shows the redrawn Lyapunov colour scale.
    void ScaleChanged() override;
    // Back and Forward enabled where there is somewhere to go; the zoom factor shown.
    void ViewChanged() override;

    // The session of the window.
    Session& session() { return *session_; }
    // The label of a panel of the status bar.
    QLabel* Panel(StatusPanel panel) const;
    // The scene text published last.
    QString publishedScene;
    // Whether a picture is stored for "Restore picture".
    bool hasStoredPicture() const { return !storedPicture_.isNull(); }
    // The view of the tabula.
    TabulaView* tabulaView() const { return tabule_; }
    // Whether a picture is being computed beside the event loop.
    bool pictureRunning() const { return pictures_.Running(); }
    // Whether "Render at size" is drawing a picture beside the window.
    bool renderRunning() const { return renders_.Running(); }
    // The scene the window holds now: its controls, task type, last picture kind and the
    // tabula's size.
    SceneState CurrentScene() const;

    // The About and brief-help windows, created in this order after the main window and
    // hidden until their commands show them; the commands create them when still missing.
    void CreateSmallWindows();
    // The About window, once created.
    TAbo1F* aboutWindow() const { return about_; }
    // The brief-help window, once created.
    THep1F* helpWindow() const { return help_; }
    // The mouse handlers over the session.
    MouseTools& mouseTools() { return *tools_; }

  signals:
    // The scene text was published anew.
    void sceneTextChanged(const QString& text);

  public slots:
    // ActionClick: starts the picture of menu tag `tag` beside the event loop; during
    // another picture, ends that one at once and starts this one after it.
    void ActionClick(int tag);
    // ComboTypUlohyChange: the task-type box chose item `index`.
    void ComboTypUlohyChange(int index);
    // ButPrepocetClick: the Recalc. button: a picture ends, the scene is read again and the
    // tabula cleared.
    void ButPrepocetClick();
    // Recalculation1Click: Draw > Recalculation, as Recalc. without ending a picture.
    void Recalculation1Click();
    // StopVypoctuClick: the STOP image ends the running picture.
    void StopVypoctuClick();
    // SouradniceClick: the axes preset of Coordinates menu item `tag`.
    void SouradniceClick(int tag);
    // Loads example `number` of the Examples menu.
    void ExampleClick(int number);
    // Zadani1Click: Draw > Basic circles, drawn over the tabula.
    void Zadani1Click();
    // PevneBody1Click: Draw > Fixed points, marked on the tabula.
    void PevneBody1Click();
    // ButNahodaClick: the Random circles button, which does nothing.
    void ButNahodaClick() {}
    // LabelyBarev: a colour label was clicked: a colour dialog chooses its new colour.
    void LabelyBarev(Ctl label);
    // Timer1Timer: clears status panel 7 and stops the timer.
    void Timer1Timer();
    // Picture > Save to file: the tabula as a BMP file, or a PNG file.
    void menuSaveObrazClick();
    // Picture > Save scene: every control, the task type and the last picture kind to a file.
    void SaveScene1Click();
    // Picture > Open scene: a scene file read whole and, when good, put in place; its
    // picture is drawn again.
    void OpenScene1Click();
    // Picture > Render at size: the last picture kind of the current scene at a size
    // typed, into a PNG or BMP file, drawn beside the window with a progress bar.
    void RenderAtSize1Click();
    // Picture > Make movie: a flight from the current scene to a scene file or to the previous
    // view, drawn beside the window into a video or a folder of frames (form_movie.cpp).
    void MakeMovie1Click();
    // Picture > Export deep zoom: the last picture of the current scene at a size typed, into
    // a deep-zoom folder (tiles and a page), drawn beside the window with a progress bar.
    void ExportDeepZoom1Click();
    // UschovatObraz1Click: Picture > Store picture: keeps a copy of the tabula.
    void UschovatObraz1Click();
    // ObnovitObraz1Click: Picture > Restore picture: puts the stored copy back.
    void ObnovitObraz1Click();
    // Clipboard > Copy Graphics: the tabula to the clipboard.
    void menuKopieClick();
    // TextDoSchranky1Click: Clipboard > Copy Text.
    void TextDoSchranky1Click();
    // Jakpracovat1Click: Help > Brief help.
    void Jakpracovat1Click();
    // Oaplikaci1Click: Help > About.
    void Oaplikaci1Click();
    // Konec1Click: Picture > Exit closes the window.
    void Konec1Click() { close(); }
    // TabuleMouseDown: a press on the tabula, for the mouse tools.
    void TabuleMouseDown(QMouseEvent* e);
    // TabuleMouseMove: a move over the tabula, for the mouse tools.
    void TabuleMouseMove(QMouseEvent* e);
    // TabuleMouseUp: a release over the tabula, for the mouse tools.
    void TabuleMouseUp(QMouseEvent* e);
    // The wheel over the tabula zooms about the point under the cursor.
    void TabuleWheel(QWheelEvent* e);
    // Coordinates > Back and Forward: the view before or after in the history.
    void ViewBackClick();
    void ViewForwardClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // form_layout.cpp
    QWidget* BuildColumn();
    void BuildPages();
    void BuildStatusBar();
    // form_menus.cpp
    void BuildMenus();
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption,
                       const QKeySequence& key, const std::function<void()>& run);
    // form_keys.cpp
    bool FormKeyDown(QKeyEvent* e);
    // form_commands.cpp
    // Runs a command of the session; a failure ends it with a message naming the fault.
    // While a picture is computed the command waits for the next band's hand-over (or the
    // picture's end); one that `endsPicture` ends the picture at once.
    void RunCommand(const std::function<void()>& command, bool endsPicture = false);
    // Runs a command now, reporting a failure.
    void RunNow(const std::function<void()>& command);
    void ReportError(const QString& message);
    // Runs a save dialog named `name` with `filters` (the one at `initial` chosen first);
    // the path, with the chosen filter's extension added to a name without one, and the
    // index of that filter. Nothing when cancelled.
    std::optional<std::pair<QString, int>> AskSaveFile(const char* name, const QStringList& filters,
                                                       const QStringList& suffixes, int initial);
    // Runs a save dialog named `name` for a picture file, PNG first: the path and its format,
    // by the name's extension, else by the filter chosen. Nothing when cancelled.
    std::optional<std::pair<QString, const char*>> AskPictureFile(const char* name);
    // The scene of the last picture and the size typed for drawing it again beside the window
    // ("Render at size", "Export deep zoom"); nothing, with the reason shown, while one is being
    // drawn, before any picture, or for a size that is none.
    std::optional<std::pair<SceneState, QSize>> AskRenderSize(const QString& command,
                                                              const QString& verb,
                                                              const QString& example);
    // Reports a failure, if it is one.
    void Report(const Status& done);
    // Runs the leave handler of a field that lost the focus, after the focus has moved.
    void FieldLeft(Ctl field);
    // Shows what a mouse handler produced: the pixel panel, a redraw, a fault's message.
    void ShowMouseOutcome(const MouseTools::Outcome& out);
    // Moves the view: the fields' range, moved by `move`, written into the axes fields, and
    // the last picture computed anew (or the basic circles drawn).
    void MoveView(const std::function<AxesRange(const AxesRange&, int W, int H)>& move);
    // After the axes fields took a new view: the last picture shown moved to it at once, then
    // computed again coarse first, or the basic circles drawn.
    void ShowNewView();
    // A key on the tabula: + or = zooms in about the middle, - out, an arrow pans by a tenth.
    void KeyMove(int key);
    // Draws a slice of the orbit a right click began, and asks for the next one.
    void DrawOrbitSlice();
    // The picture as shown: during a picture, the tabula at the last hand-over.
    QImage ShownPicture() const;
    // form_picture.cpp: pictures on the picture runner.
    // Posts a function to this window's event loop: the runners' way back.
    PictureRunner::Post PostToWindow();
    // Starts the picture of menu tag `tag`; with a preview (a gesture's), coarse first over it.
    void StartPicture(int tag, const QImage& preview = {});
    bool PictureBand(int row, bool commandsRan);  // the hand-over: the rows done shown
    void PictureDone(const Status& status);       // the picture's job has ended
    void CloseWhenIdle();                         // closes once no job runs
    // form_scene.cpp
    void ApplyScene(const SceneState& scene);
    // Reads the scene file at `path` and, when good, puts it in place: the tabula takes its
    // size where the screen allows, its picture is drawn again.
    void OpenSceneFile(const QString& path);
    // The scene file just opened or saved: first of the recent scenes, named in the caption.
    void SceneFileUsed(const QString& path);
    // Fills Picture > Recent scenes from the settings.
    void ShowRecentScenes();
    // The end of a job beside the window ("Render at size", "Make movie", "Export deep
    // zoom"): its progress goes and `texts` tell how it ended; a close that waited for it goes on.
    void JobEnded(const Status& status, const JobTexts& texts);
    // The progress of a job beside the window, from 0 to `maximum`: not modal, kept open until
    // the job ends, its Cancel cancelling the job.
    QProgressDialog* ShowJobProgress(const char* name, const QString& label, int maximum);
    // vorla_form.cpp
    void FormResize(int width, int height);
    void FormActivate();
    // The control a widget is, if any.
    std::optional<Ctl> ControlOf(const QObject* widget) const;
    void FocusWidget(QWidget* w);

    std::unique_ptr<Session> session_;
    std::unique_ptr<MouseTools> tools_;
    std::array<QWidget*, kControlCount> widgets_{};  // the widget of each control
    TAbo1F* about_ = nullptr;
    THep1F* help_ = nullptr;
    QLabel* valueLabel_ = nullptr;
    QLabel* swatch_ = nullptr;
    QLabel* colourText_ = nullptr;
    TabulaView* tabule_ = nullptr;
    QComboBox* combo_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QPushButton* recalc_ = nullptr;
    QLabel* stopImage_ = nullptr;
    QLabel* progress_ = nullptr;
    QWidget* pixelPanel_ = nullptr;
    QLabel* scaleImage_ = nullptr;
    QLabel* panels_[kStatusPanels] = {};
    QTimer timer1_;
    QImage storedPicture_;
    QList<QKeySequence> menuKeys_;
    // The pictures of the session, met at every band; "Render at size" with a session of its
    // own, which only reports its progress.
    PictureRunner pictures_{PostToWindow(), PictureRunner::HandOver::Wait};
    PictureRunner renders_{PostToWindow(), PictureRunner::HandOver::Report};
    int shownRow_ = 0;   // the rows above it are shown as the picture computed them
    QImage background_;  // what the picture's rows not computed yet show: the preview
    QImage composed_;    // the coarse passes as shown
    QElapsedTimer pictureClock_;
    QElapsedTimer renderClock_;            // since "Render at size" began
    QAction* coarseEverywhere_ = nullptr;  // Picture > Coarse preview for every picture
    QMenu* recentScenes_ = nullptr;        // Picture > Recent scenes
    QAction* viewBack_ = nullptr;
    QAction* viewForward_ = nullptr;
    QLabel* zoomLabel_ = nullptr;  // the zoom against the example's or scene's first view
    QPointer<QProgressDialog> renderProgress_;
    QString renderSize_;  // the size typed last, offered again
    bool closePending_ = false;
    bool activatedOnce_ = false;
    bool returnPending_ = false;
    bool resizedOnce_ = false;
    bool suppressExit_ = false;       // the program moves the focus: no leave handlers
    std::optional<QPoint> panFrom_;   // a middle drag pans the view from here
    std::optional<QPoint> bandFrom_;  // a Shift + left drag outlines a zoom from here
};

}  // namespace vorla
