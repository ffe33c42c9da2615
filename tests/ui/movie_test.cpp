// Picture > Make movie, driven as a user drives it: the dialog's preview and the frames are the
// renderer's, a movie runs beside a usable window and can be cancelled, and refusals are told.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <functional>

#include "app/scene_file.h"
#include "app/view_moves.h"
#include "support/gui_support.h"

using namespace vorla;
using namespace vorla::testing;

namespace {

template <class T>
T* Field(QDialog* d, const char* name) {
    return d->findChild<T*>(name);
}
QPushButton* Ok(QDialog* d) {
    return d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}
// The flight is planned and its first and last frame drawn.
bool Ready(QDialog* d) {
    return Ok(d)->isEnabled() && !Field<QLabel>(d, "MovieFirst")->pixmap().isNull() &&
           !Field<QLabel>(d, "MovieLast")->pixmap().isNull();
}
bool Start(QDialog* d) {
    return Ready(d) && (Ok(d)->click(), true);
}

// Drives the movie dialog while its exec() holds the window: fills its fields once (no scene:
// a flight to the previous view), then runs `finish` at every tick until it says it is done.
// A message box that opens instead is noted and closed.
class MovieDriver : public QObject {
  public:
    MovieDriver(QString scene, int frames, QString size, QString file,
                std::function<bool(QDialog*)> finish = Start)
        : texts_{scene, size, file}, frames_(frames), finish_(std::move(finish)) {
        connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
        timer_.start(10);
    }
    bool finished = false;
    QStringList messages;

  private:
    void Tick() {
        QWidget* m = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(m); box && box->isVisible()) {
            messages << box->text();
            box->accept();
        }
        auto* d = qobject_cast<QDialog*>(m);
        if (!d || !d->isVisible() || d->objectName() != "MovieDialog" || finished) return;
        if (filled_) {
            finished = finish_(d);
            return;
        }
        auto* target = Field<QComboBox>(d, "MovieTarget");
        target->setCurrentIndex(target->findData(!texts_[0].isEmpty()));
        Field<QLineEdit>(d, "MovieScene")->setText(texts_[0]);
        Field<QSpinBox>(d, "MovieFrames")->setValue(frames_);
        Field<QLineEdit>(d, "MovieSize")->setText(texts_[1]);
        Field<QLineEdit>(d, "MovieFile")->setText(texts_[2]);
        filled_ = true;
    }
    QStringList texts_;
    int frames_;
    std::function<bool(QDialog*)> finish_;
    bool filled_ = false;
    QTimer timer_;
};

}  // namespace

class MovieTest : public WindowTest {
    Q_OBJECT

    // Example 03's convergence, saved as a.json, and a view of it 100 times narrower with D
    // and the iterations moved, as b.json.
    void TwoScenes() {
        Action("Example03")->trigger();
        QVERIFY(Run("Convergention1"));
        SceneState b = form->CurrentScene();
        QVERIFY(WriteSceneFile(b, F("a.json").toStdString()));
        QVERIFY(b.controls.Set("EditKd", "3.2"));
        QVERIFY(b.controls.Set("SpinKonvergIter", "300"));
        const AxesRange wide = FieldRange(b.controls, 64, 48).Value();
        WriteAxesTexts(b.controls, TextsOf(ZoomAbout(wide, 64, 48, 20, 30, 0.01L)));
        QVERIFY(WriteSceneFile(b, F("b.json").toStdString()));
    }

  private slots:
    void init() { QVERIFY(Open()); }
    void cleanup() { form.reset(); }

    // The dialog shows the first and last frame, 64x48 drawn 160x120 wide, before it starts.
    void theDialogsPreviewAndTheFramesAreTheRenderers() {
        TwoScenes();
        QImage first, last;
        MovieDriver driver(F("b.json"), 4, "64x48", F("w"), [&](QDialog* d) {
            if (!Ready(d)) return false;
            first = Field<QLabel>(d, "MovieFirst")->pixmap().toImage();
            last = Field<QLabel>(d, "MovieLast")->pixmap().toImage();
            return Start(d);
        });
        Action("MakeMovie1")->trigger();
        QVERIFY(driver.finished);
        QVERIFY(RenderEnded());
        QCOMPARE(driver.messages, QStringList());
        QCOMPARE(Status(7), QString("Made w, 4 frames"));
        for (const QString& s : QStringList{"a", "b"})
            QCOMPARE(Render({"--scene", F(s + ".json"), "--size", "160x120", F(s + ".png")}), 0);
        QCOMPARE(first.convertToFormat(QImage::Format_RGB32),
                 QImage(F("a.png")).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(last.convertToFormat(QImage::Format_RGB32),
                 QImage(F("b.png")).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(Render({"--animate", F("a.json"), F("b.json"), "--frames", "4", "--size", "64x48",
                         F("r")}),
                 0);
        QVERIFY(!Bytes(F("w/frame-00004.png")).isEmpty());
        QCOMPARE(QProcess::execute("diff", {"-r", F("w"), F("r")}), 0);
    }

    // A flight to the previous view: its first frame is this view, its last the one before.
    void aZoomFlightEndsOnThePreviousView() {
        Action("Example03")->trigger();
        QVERIFY(Run("Convergention1"));
        QVERIFY(Run("N443"));  // -5 .. 9
        QVERIFY(Run("N223"));  // -3 .. 7
        MovieDriver driver({}, 3, "64x48", F("z"));
        Action("MakeMovie1")->trigger();
        QVERIFY(driver.finished);
        QVERIFY(RenderEnded());
        for (const auto& [k, view] : {std::pair{1, AxesTexts{"-3", "7", "1/3"}},
                                      std::pair{3, AxesTexts{"-5", "9", "1/3"}}}) {
            const Result<SceneState> s =
                ReadSceneFile(QString(F("z") + "/frame-0000%1.json").arg(k).toStdString(), nullptr);
            QVERIFY2(s, qPrintable(QString::number(k)));
            QVERIFY2(ReadAxesTexts(s->controls) == view, qPrintable(QString::number(k)));
        }
    }

    void aMovieRunsBesideAUsableWindowAndIsCancelled() {
        TwoScenes();
        {
            MovieDriver driver(F("b.json"), 2000, "400x300", F("long.mp4"));
            Action("MakeMovie1")->trigger();
            QVERIFY(driver.finished);
        }
        QVERIFY(form->renderRunning());
        // The window draws a picture meanwhile, and refuses a second job of either kind.
        QVERIFY(Run("EndRegions1"));
        QVERIFY(form->renderRunning());
        {
            Answerer answers;
            Action("MakeMovie1")->trigger();
            Action("ExportDeepZoom1")->trigger();
            QCOMPARE(answers.texts.size(), 2);
            QVERIFY(answers.texts[0].contains("being made already"));
            QVERIFY(answers.texts[1].contains("being rendered already"));
        }
        form->findChild<QProgressDialog*>("MovieProgress")->findChild<QPushButton*>()->click();
        QVERIFY(RenderEnded());
        QCOMPARE(Status(7), QString("MOVIE CANCELLED"));
        const QStringList left = QDir(folder.path())
                                     .entryList({"long.mp4*", ".vorla-*"},
                                                QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(left, QStringList());
    }

    // The window's own refusals; what the renderer refuses is told by its tests.
    void whatCannotBeMadeIsTold() {
        const QStringList said = Through("MakeMovie1", {});  // no picture drawn yet
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].contains("Draw a picture first"), qPrintable(said[0]));
        TwoScenes();
        // A size mistyped is told at once; a file not named, when OK is pressed.
        const QPair<QString, const char*> cases[] = {{"64 by 48", "Type the size as WIDTHxHEIGHT"},
                                                     {"64x48", "Name the movie's file"}};
        for (const auto& [size, says] : cases) {
            QString note;
            const bool pressOk = size == "64x48";
            MovieDriver driver(F("b.json"), 4, size, pressOk ? "" : F("x.mp4"), [&](QDialog* d) {
                if (pressOk ? !Ready(d) : Field<QLabel>(d, "MovieNote")->text().isEmpty())
                    return false;
                if (pressOk) Ok(d)->click();
                note = Field<QLabel>(d, "MovieNote")->text();
                d->reject();
                return true;
            });
            Action("MakeMovie1")->trigger();
            QVERIFY(driver.finished);
            QVERIFY2(note.contains(says), qPrintable(note));
            QVERIFY(!form->renderRunning());
            QVERIFY(!QFile::exists(F("x.mp4")));
        }
    }
};

QTEST_MAIN(MovieTest)
#include "movie_test.moc"
