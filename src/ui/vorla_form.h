// The main window: the controls of every parameter, the menus, the tabula and the status bar.
// It owns the session and gives it the controls and the window's services.
#pragma once

#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/mouse_tools.h"
#include "app/session.h"
#include "model/controls.h"

class QAction;
class QComboBox;
class QTabWidget;
class QPushButton;
class QCheckBox;
class QMouseEvent;

namespace vorla {

class ColourLabel;
class TabulaView;
class TAbo1F;
class THep1F;

class TVorlaForm : public QMainWindow, public Controls, public Host {
    Q_OBJECT
  public:
    explicit TVorlaForm(QWidget* parent = nullptr);
    ~TVorlaForm() override;

    // Controls
    std::string Text(const std::string& name) const override;
    void SetText(const std::string& name, const std::string& text) override;
    bool Checked(const std::string& name) const override;
    Colour LabelColour(const std::string& name) const override;
    void SetLabelColour(const std::string& name, Colour c) override;
    void Focus(const std::string& name) override;
    void ReportBadNumber(const std::string& field) override;

    // Host
    bool Poll(int row) override;
    void ShowRunning(bool running) override;
    void SetStatus(int panel, const std::string& text) override;
    void PublishScene(const std::string& text) override;
    void SetTaskIndex(int index) override;
    void TabulaChanged() override;
    void ScaleChanged() override;

    Session& session() { return *session_; }
    QString statusText(int panel) const;
    QString publishedScene;
    bool hasStoredPicture() const { return !storedPicture_.isNull(); }
    TabulaView* tabulaView() const { return tabule_; }

    // The About and brief-help windows, created in this order after the main window and
    // hidden until their commands show them; the commands create them when still missing.
    void CreateSmallWindows();
    TAbo1F* aboutWindow() const { return about_; }
    THep1F* helpWindow() const { return help_; }
    MouseTools& mouseTools() { return *tools_; }

  signals:
    void sceneTextChanged(const QString& text);

  public slots:
    void ActionClick(int tag);
    void ComboTypUlohyChange(int index);
    void ButPrepocetClick();
    void Recalculation1Click();
    void StopVypoctuClick();
    void SouradniceClick(int tag);
    void ExampleClick(int number);
    void Zadani1Click();
    void PevneBody1Click();
    void ButNahodaClick() {}
    void LabelyBarev(const QString& label);
    void Timer1Timer();
    void menuSaveObrazClick();
    void UschovatObraz1Click();
    void ObnovitObraz1Click();
    void menuKopieClick();
    void TextDoSchranky1Click();
    void Jakpracovat1Click();
    void Oaplikaci1Click();
    void Konec1Click() { close(); }
    void TabuleMouseDown(QMouseEvent* e);
    void TabuleMouseMove(QMouseEvent* e);
    void TabuleMouseUp(QMouseEvent* e);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildPages();
    void BuildMenus();
    void BuildStatusBar();
    void FormResize(int width, int height);
    void FormActivate();
    bool FormKeyDown(QKeyEvent* e);
    // Runs a command; an exception ends it with a message naming the fault.
    void RunCommand(const std::function<void()>& command);
    void ReportError(const QString& message);
    // Shows what a mouse handler produced: the pixel panel, a redraw, a fault's message.
    void ShowMouseOutcome(const MouseTools::Outcome& out);
    QWidget* Control(const std::string& name) const;
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption,
                       const QKeySequence& key, const std::function<void()>& run);

    std::unique_ptr<Session> session_;
    std::unique_ptr<MouseTools> tools_;
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
    QLabel* panels_[8] = {};
    QTimer timer1_;
    QImage storedPicture_;
    QList<QKeySequence> menuKeys_;
    bool terminating_ = false;
    bool closePending_ = false;
    bool activatedOnce_ = false;
    bool returnPending_ = false;
    bool resizedOnce_ = false;
    bool suppressExit_ = false;  // the program moves the focus: no leave handlers
};

}  // namespace vorla
