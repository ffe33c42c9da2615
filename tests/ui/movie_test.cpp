// Picture > Make movie, driven as a user drives it: its frames are the renderer's, a zoom flight
// ends on the previous view, the dialog shows the first and last frame before it starts, a
// movie runs beside a usable window and can be cancelled, and what cannot be made is told.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <cmath>
#include <functional>

#include "app/scene_file.h"
#include "app/view_moves.h"
#include "plane/number_text.h"
#include "support/gui_support.h"

using namespace vorla;
using namespace vorla::testing;

namespace {

// Drives the movie dialog while its exec() holds the window: fills it once, then runs `finish`
// at every tick until it says it is done (accepted, or looked at and closed). A message box
// that opens instead is noted and closed.
class MovieDriver : public QObject {
  public:
    MovieDriver(std::function<void(QDialog*)> fill, std::function<bool(QDialog*)> finish)
        : fill_(std::move(fill)), finish_(std::move(finish)) {
        connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
        timer_.start(10);
    }
    bool finished = false;
    QStringList messages;

  private:
    void Tick() {
        QWidget* m = QApplication::activeModalWidget();
        if (!m || !m->isVisible()) return;
        if (auto* box = qobject_cast<QMessageBox*>(m)) {
            messages << box->text();
            box->accept();
            return;
        }
        auto* d = qobject_cast<QDialog*>(m);
        if (!d || d->objectName() != "MovieDialog" || finished) return;
        if (!filled_) {
            fill_(d);
            filled_ = true;
        } else if (finish_(d)) {
            finished = true;
        }
    }
    std::function<void(QDialog*)> fill_;
    std::function<bool(QDialog*)> finish_;
    bool filled_ = false;
    QTimer timer_;
};

template <class T>
T* Field(QDialog* d, const char* name) {
    return d->findChild<T*>(name);
}
QPushButton* Ok(QDialog* d) {
    return d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}
QString Note(QDialog* d) {
    return Field<QLabel>(d, "MovieNote")->text();
}
// The flight is planned and its first and last frame drawn.
bool Ready(QDialog* d) {
    return Ok(d)->isEnabled() && !Field<QLabel>(d, "MovieFirst")->pixmap().isNull() &&
           !Field<QLabel>(d, "MovieLast")->pixmap().isNull();
}
// Fills the fields: to a scene file (empty: to the previous view), the frames, size and file.
std::function<void(QDialog*)> Fill(QString scene, int frames, QString size, QString file) {
    return [=](QDialog* d) {
        auto* target = Field<QComboBox>(d, "MovieTarget");
        target->setCurrentIndex(target->findData(!scene.isEmpty()));
        Field<QLineEdit>(d, "MovieScene")->setText(scene);
        Field<QSpinBox>(d, "MovieFrames")->setValue(frames);
        Field<QLineEdit>(d, "MovieSize")->setText(size);
        Field<QLineEdit>(d, "MovieFile")->setText(file);
    };
}
// Makes the movie once it is ready.
bool Start(QDialog* d) {
    if (!Ready(d)) return false;
    Ok(d)->click();
    return true;
}

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

    void theWindowsFramesAreTheRenderers() {
        TwoScenes();
        MovieDriver driver(Fill(F("b.json"), 4, "64x48", F("w")), Start);
        Action("MakeMovie1")->trigger();
        QVERIFY(driver.finished);
        QVERIFY(RenderEnded());
        QCOMPARE(driver.messages, QStringList());
        QCOMPARE(Status(7), QString("Made w, 4 frames"));
        QCOMPARE(Render({"--animate", F("a.json"), F("b.json"), "--frames", "4", "--size", "64x48",
                         F("r")}),
                 0);
        for (int k = 1; k <= 4; ++k)
            for (const char* ext : {"png", "json"}) {
                const QString frame = QString("/frame-%1.%2").arg(k, 5, 10, QChar('0')).arg(ext);
                QVERIFY2(!Bytes(F("w") + frame).isEmpty(), qPrintable(frame));
                QVERIFY2(Bytes(F("w") + frame) == Bytes(F("r") + frame), qPrintable(frame));
            }
    }

    void aZoomFlightEndsOnThePreviousView() {
        Action("Example03")->trigger();
        QVERIFY(Run("Convergention1"));
        Action("N443")->trigger();  // -5 .. 9
        QVERIFY(Finished());
        Action("N223")->trigger();  // -3 .. 7
        QVERIFY(Finished());
        MovieDriver driver(Fill({}, 3, "64x48", F("z")), Start);
        Action("MakeMovie1")->trigger();
        QVERIFY(driver.finished);
        QVERIFY(RenderEnded());
        auto view = [&](int k) {
            const Result<SceneState> s =
                ReadSceneFile(QString(F("z") + "/frame-0000%1.json").arg(k).toStdString(), nullptr);
            return s ? ReadAxesTexts(s->controls) : AxesTexts{};
        };
        QCOMPARE(view(1), (AxesTexts{"-3", "7", "1/3"}));
        QCOMPARE(view(3), (AxesTexts{"-5", "9", "1/3"}));
        // Halfway the width is the geometric mean of 10 and 14.
        const AxesTexts middle = view(2);
        const long double width =
            ConvertNumberText(middle.xTo).ValueOr(0) - ConvertNumberText(middle.xFrom).ValueOr(0);
        QVERIFY2(std::fabs(width - std::sqrt(140.0L)) < 1e-12L, qPrintable(middle.xTo.c_str()));
    }

    void theDialogShowsTheFirstAndLastFrameSmall() {
        TwoScenes();
        QImage first, last;
        MovieDriver driver(Fill(F("b.json"), 4, "64x48", F("w")), [&](QDialog* d) {
            if (!Ready(d)) return false;
            first = Field<QLabel>(d, "MovieFirst")->pixmap().toImage();
            last = Field<QLabel>(d, "MovieLast")->pixmap().toImage();
            d->reject();
            return true;
        });
        Action("MakeMovie1")->trigger();
        QVERIFY(driver.finished);
        QVERIFY(!form->renderRunning());
        // 64x48 drawn 160x120 wide: the renderer's pictures of the two scenes at that size.
        QCOMPARE(Render({"--scene", F("a.json"), "--size", "160x120", F("a.png")}), 0);
        QCOMPARE(Render({"--scene", F("b.json"), "--size", "160x120", F("b.png")}), 0);
        QCOMPARE(first.convertToFormat(QImage::Format_RGB32),
                 QImage(F("a.png")).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(last.convertToFormat(QImage::Format_RGB32),
                 QImage(F("b.png")).convertToFormat(QImage::Format_RGB32));
    }

    void aMovieRunsBesideAUsableWindowAndIsCancelled() {
        TwoScenes();
        {
            MovieDriver driver(Fill(F("b.json"), 2000, "400x300", F("long.mp4")), Start);
            Action("MakeMovie1")->trigger();
            QVERIFY(driver.finished);
        }
        QVERIFY(form->renderRunning());
        // The window draws a picture meanwhile, and refuses a second movie.
        QVERIFY(Run("EndRegions1"));
        QVERIFY(form->renderRunning());
        {
            Answerer answers;
            Action("MakeMovie1")->trigger();
            QCOMPARE(answers.texts.size(), 1);
            QVERIFY2(answers.texts[0].contains("being made already"), qPrintable(answers.texts[0]));
        }
        auto* progress = form->findChild<QProgressDialog*>("MovieProgress");
        QVERIFY(progress);
        progress->findChild<QPushButton*>()->click();
        QVERIFY(RenderEnded());
        QCOMPARE(Status(7), QString("MOVIE CANCELLED"));
        const QStringList left = QDir(folder.path())
                                     .entryList({"long.mp4*", ".vorla-*"},
                                                QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(left, QStringList());
    }

    void whatCannotBeMadeIsTold() {
        {
            Answerer answers;  // no picture drawn yet
            Action("MakeMovie1")->trigger();
            QCOMPARE(answers.texts.size(), 1);
            QVERIFY2(answers.texts[0].contains("Draw a picture first"),
                     qPrintable(answers.texts[0]));
        }
        TwoScenes();
        SceneState four = form->CurrentScene();
        four.taskType = TaskType::FourCircles;
        QVERIFY(WriteSceneFile(four, F("four.json").toStdString()));
        const QByteArray path = qgetenv("PATH");
        const struct {
            QString scene, size, file;
            bool noFfmpeg;  // the dialog's OK pressed without ffmpeg on PATH
            const char* says;
        } cases[] = {
            {F("four.json"), "64x48", F("x.mp4"), false, "a movie keeps one task type"},
            {F("missing.json"), "64x48", F("x.mp4"), false, "The scene file was not read"},
            {F("b.json"), "64 by 48", F("x.mp4"), false, "Type the size as WIDTHxHEIGHT"},
            {F("b.json"), "64x48", "", false, "Name the movie's file"},
            {F("b.json"), "64x48", F("x.mp4"), true, "sudo apt-get install ffmpeg"},
        };
        for (const auto& c : cases) {
            QString note;
            const bool pressOk = c.file.isEmpty() || c.noFfmpeg;
            MovieDriver driver(Fill(c.scene, 4, c.size, c.file), [&](QDialog* d) {
                if (pressOk) {
                    if (!Ready(d)) return false;
                    if (c.noFfmpeg) qputenv("PATH", "/nonexistent");
                    Ok(d)->click();
                    qputenv("PATH", path);
                } else if (Note(d).isEmpty()) {
                    return false;
                }
                note = Note(d);
                d->reject();
                return true;
            });
            Action("MakeMovie1")->trigger();
            QVERIFY(driver.finished);
            QVERIFY2(note.contains(c.says), qPrintable(note));
            QVERIFY(!form->renderRunning());
            QVERIFY(!QFile::exists(F("x.mp4")));
        }
    }
};

QTEST_MAIN(MovieTest)
#include "movie_test.moc"
