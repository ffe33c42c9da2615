// The tabula's mouse events, the picture output commands (picture and scene files, pictures
// rendered at a size, checked against the renderer) and the help and About commands, driven
// through the main window as a user drives them: what the window adds to the headless tools;
// and the brief-help window alone as a user meets it.

#include <sys/resource.h>
#include <unistd.h>

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTextEdit>
#include <QWheelEvent>
#include <QtTest>
#include <cmath>
#include <fstream>

#include "app/view_moves.h"
#include "overlays/fp_guard.h"
#include "overlays/orbit_drawing.h"
#include "pictures/coarse.h"
#include "pictures/kinds.h"
#include "support/gui_support.h"
#include "ui/about_window.h"
#include "ui/help_window.h"
#include "ui/tabula_view.h"
#include "ui/widget_controls.h"

using namespace vorla;
using namespace vorla::testing;

class MouseOutputTest : public WindowTest {
    Q_OBJECT

    QString originalDir_;
    QString DataFile() const {
        return QDir(qEnvironmentVariable("VORLA_TEST_DATA")).filePath("Vorla.rtf");
    }
    // A new working folder holding the given files.
    std::unique_ptr<QTemporaryDir> WorkIn(const QList<QPair<QString, QByteArray>>& files) {
        auto dir = std::make_unique<QTemporaryDir>();
        for (const auto& [name, data] : files) WriteFile(dir->filePath(name), data);
        QDir::setCurrent(dir->path());
        return dir;
    }

    // The window's value grid as the renderer writes it.
    QByteArray GridText() {
        const ValueGrid& g = S().grid();
        QByteArray s = QByteArray::number(g.Width()) + " " + QByteArray::number(g.Height()) + " " +
                       QByteArray::number(S().PictureKind()) + "\n";
        for (int r = 0; r < g.Height(); ++r)
            for (int c = 0; c < g.Width(); ++c)
                s += QByteArray::number(g.AtIndex(static_cast<size_t>(r) * g.Width() + c)) +
                     (c + 1 < g.Width() ? " " : "\n");
        return s;
    }
    // Runs `action` with its dialogs answered as AnswerFile does, and waits for the picture
    // it may start; what its messages said.
    QStringList Through(const char* action, QString path, QString filter = {}, QString size = {}) {
        Answerer answers(AnswerFile(path, filter, size));
        Action(action)->trigger();
        if (!Finished()) answers.texts << "the picture did not end";
        return answers.texts;
    }

    QString Text(const char* name) { return W<QLineEdit>(name)->text(); }
    QImage Picture() { return S().tabula().Copy(); }

    // One mouse event on the tabula, with exactly the given buttons held.
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers mods, QPoint p) {
        QWidget* t = form->tabulaView();
        QMouseEvent e(type, QPointF(p), t->mapToGlobal(QPointF(p)), button, held, mods);
        QApplication::sendEvent(t, &e);
    }
    // A wheel notch forward over `p` of the tabula.
    void Wheel(QPoint p) {
        QWidget* t = form->tabulaView();
        QWheelEvent wheel(QPointF(p), t->mapToGlobal(QPointF(p)), {}, {0, 120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(t, &wheel);
    }
    void Press(Qt::MouseButton b, Qt::KeyboardModifiers mods, QPoint p, bool twice = false) {
        Send(twice ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, b, b, mods, p);
    }
    void Release(Qt::MouseButton b, QPoint p) {
        Send(QEvent::MouseButtonRelease, b, Qt::NoButton, {}, p);
    }
    void Click(Qt::MouseButton b, Qt::KeyboardModifiers mods, QPoint p, bool twice = false) {
        Press(b, mods, p, twice);
        Release(b, p);
    }
    void Move(QPoint p, Qt::MouseButtons held = Qt::NoButton) {
        Send(QEvent::MouseMove, Qt::NoButton, held, {}, p);
    }
    // A click from another control: did it draw, and did the focus go to the button?
    bool ClickDraws(Qt::MouseButton b, Qt::KeyboardModifiers mods, bool twice = false) {
        W("edtXod")->setFocus();
        const QImage before = Picture();
        Click(b, mods, QPoint(S().view().W / 2, S().view().H / 3), twice);
        Settle();  // an orbit is drawn in slices between events
        return Picture() != before;
    }
    bool FocusOnRecalc() { return form->focusWidget() == W("ButPrepocet"); }
    QPoint Handle(int i) { return QPoint(S().view().handles.col[i], S().view().handles.row[i]); }

  private slots:
    void initTestCase() {
        Settings().clear();  // the recent scenes and the coarse order of an earlier run
        originalDir_ = QDir::currentPath();
        QVERIFY2(QFile::exists(DataFile()), qPrintable(DataFile()));
    }
    void init() { QVERIFY(Open()); }
    void cleanup() {
        form.reset();
        QDir::setCurrent(originalDir_);
    }

    void buttonsFollowTheExactShiftState() {
        Answerer answers;
        Action("Example03")->trigger();
        QVERIFY(ClickDraws(Qt::RightButton, {}));
        QVERIFY(FocusOnRecalc());
        QVERIFY(ClickDraws(Qt::RightButton, Qt::ShiftModifier));
        // A set that is not in the table draws nothing but still moves the focus.
        QVERIFY(!ClickDraws(Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier));
        QVERIFY(FocusOnRecalc());
        QVERIFY(!ClickDraws(Qt::RightButton, {}, true));  // the second press of a double click
        QVERIFY(ClickDraws(Qt::RightButton, Qt::ControlModifier | Qt::AltModifier));
        QVERIFY(!ClickDraws(Qt::MiddleButton, {}));  // does nothing at all
        QVERIFY(!FocusOnRecalc());
        // Ctrl + left writes "Y relatively", though not as the second press of a double click.
        const QPoint onAxis(10, S().view().axes.RowY0);
        W<QLineEdit>("edtYzero")->setText("1/3");
        Click(Qt::LeftButton, Qt::ControlModifier, onAxis, true);
        QCOMPARE(Text("edtYzero"), QString("1/3"));
        Click(Qt::LeftButton, Qt::ControlModifier, onAxis);
        QVERIFY(qAbs(Text("edtYzero").replace(',', '.').toDouble() - 0.5) < 0.01);  // a pixel
        QCOMPARE(answers.seen, 0);
        // Its fault is reported.
        W<QLineEdit>("edtXod")->setText("2");
        W<QLineEdit>("edtXdo")->setText("2");
        Click(Qt::LeftButton, Qt::ControlModifier, onAxis + QPoint(0, 5));
        QTRY_COMPARE(answers.texts, QStringList{kDivisionByZero});
    }

    void aLongOrbitIsDrawnInSlicesWithTheWholeOrbitsPixels() {
        Action("Example03")->trigger();
        W<QSpinBox>("SpinMouseIter")->setValue(300000);
        const QPoint p(S().view().W / 3, S().view().H / 2);
        Tabula whole(S().tabula().Width(), S().tabula().Height());
        whole.SetImage(Picture());
        Palette ramp = S().palette();
        ramp.RampFromColor = W<ColourLabel>("LabelMouseFrom")->colour();
        ramp.RampToColor = W<ColourLabel>("LabelMouseTo")->colour();
        QVERIFY(Orbit(whole, S().scene(), S().view(), ramp, 300000, p.x(), p.y(),
                      OrbitStyle::Polyline));
        Press(Qt::RightButton, Qt::ShiftModifier, p);
        Release(Qt::RightButton, p);
        // The press returns before the orbit is done: the window answers meanwhile.
        QVERIFY(Picture() != whole.Image());
        QTRY_VERIFY_WITH_TIMEOUT(Picture() == whole.Image(), 60000);
        // A command stops an orbit where it is.
        Press(Qt::RightButton, {}, p);
        Release(Qt::RightButton, p);
        Action("Zadani1")->trigger();
        const QImage stopped = Picture();
        Settle();
        QCOMPARE(Picture(), stopped);
    }

    void draggingACentreAndHovering() {
        Action("Example03")->trigger();
        const QPoint k3 = Handle(2);
        Press(Qt::LeftButton, Qt::ShiftModifier, k3 + QPoint(2, -2));
        QCOMPARE(form->mouseTools().DraggedCentre, 2);
        Move(k3 + QPoint(15, 9), Qt::LeftButton);
        QCOMPARE(Text("EditKm"), Status(1));
        QCOMPARE(Text("EditKn"), Status(3));
        QVERIFY(form->publishedScene.contains(Text("EditKm")));
        Release(Qt::LeftButton, k3 + QPoint(15, 9));
        QCOMPARE(form->mouseTools().DraggedCentre, -1);
        // Hovering shows the point, the stored value and the pixel's colour.
        QVERIFY(Run("Convergention1"));
        const QPoint p(7, 11);
        Move(p);
        QCOMPARE(Status(1),
                 QString::fromStdString(CoordinateText(S().view().axes.XOfColumn(p.x()))));
        QCOMPARE(W<QLabel>("LabelNumB")->text(), QString::number(S().grid().At(p.x(), p.y())));
        const Colour c = FromQColor(QColor(S().tabula().Image().pixel(p)));
        QCOMPARE(W<QLabel>("LabelBarvT")->palette().color(QPalette::Window), ToQColor(c));
        QCOMPARE(W<QLabel>("LabelCisBarvy")->text(), QString::fromStdString(ColorText(c)));
    }

    void exploringByMouseWritesTheFieldsAndWalksTheHistory() {
        Action("Example03")->trigger();
        auto fields = [this] {
            return QStringList{Text("edtXod"), Text("edtXdo"), Text("edtYzero")};
        };
        // The fields hold short texts that keep the view within a tenth of a pixel.
        auto near = [this](long double a, long double b) {
            return std::fabs(a - b) <= S().view().axes.XStep * 0.1001L;
        };
        const QStringList start = fields();
        // The wheel zooms in about the point under the cursor, which keeps its pixel.
        const TAxisB before = S().view().axes;
        Wheel(QPoint(40, 30));
        QVERIFY(Finished());
        QVERIFY(near(S().view().axes.XOfColumn(40), before.XOfColumn(40)));
        QVERIFY(near(S().view().axes.YOfRow(30), before.YOfRow(30)));
        QVERIFY(S().view().axes.XStep < before.XStep);
        const QStringList zoomed = fields();
        // A middle drag moves the picture with the cursor.
        const TAxisB still = S().view().axes;
        Press(Qt::MiddleButton, {}, QPoint(50, 50));
        Move(QPoint(60, 55), Qt::MiddleButton);
        Release(Qt::MiddleButton, QPoint(60, 55));
        QVERIFY(Finished());
        QVERIFY(near(S().view().axes.XOfColumn(60), still.XOfColumn(50)));
        QVERIFY(near(S().view().axes.YOfRow(55), still.YOfRow(50)));
        // Shift + left drag outlines a rectangle to zoom to.
        Press(Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 10));
        Move(QPoint(40, 40), Qt::LeftButton);
        Release(Qt::LeftButton, QPoint(40, 40));
        QVERIFY(Finished());
        QVERIFY(S().view().axes.XStep < still.XStep / 2);
        // Back and Forward give the fields' texts exactly as they were.
        for (int i = 0; i < 3; ++i) QTest::keyClick(form.get(), Qt::Key_Left, Qt::AltModifier);
        QVERIFY(Finished());
        QCOMPARE(fields(), start);
        QTest::keyClick(form.get(), Qt::Key_Right, Qt::AltModifier);
        QVERIFY(Finished());
        QCOMPARE(fields(), zoomed);
    }

    // A wheel notch shows the picture moved to the new view at once, before any pixel of it
    // is computed; the picture then comes coarse first and ends as the renderer draws it.
    void aWheelNotchShowsThePreviewThenTheRenderersPicture() {
        Action("Example03")->trigger();
        QVERIFY(Run("Convergention1"));
        QVERIFY(!Action("ViewBack1")->isEnabled());  // nowhere to go yet
        const QImage before = Picture();
        const TAxisB from = S().view().axes;
        Wheel(QPoint(60, 40));
        // The event loop has not run: the picture waits at its first band.
        QVERIFY(form->pictureRunning());
        Viewport next = S().view();
        next.range = FieldRange(form->session().controls(), next.W, next.H).Value();
        next.PrepocetPodleSouradnic({});
        const QImage shown = form->tabulaView()->Shown();
        QCOMPARE(shown, MovedPicture(before, from, next.axes));
        QVERIFY(shown != before);
        QVERIFY(Finished());
        QCOMPARE(S().Order(), PixelOrder::CoarseFirst);
        QVERIFY(Action("ViewBack1")->isEnabled());
        QVERIFY(!Action("ViewForward1")->isEnabled());
        QCOMPARE(W<QLabel>("ZoomLabel")->text(), QString::fromUtf8("Zoom \u00d71.25"));
        // The fields hold short texts, and the renderer draws the same picture from them.
        for (const char* f : {"edtXod", "edtXdo", "edtYzero"}) QVERIFY(Text(f).size() <= 8);
        const QString size = QString("%1x%2").arg(next.W).arg(next.H);
        QCOMPARE(Render({"--example", "3", "--set", "edtXod=" + Text("edtXod"), "--set",
                         "edtXdo=" + Text("edtXdo"), "--set", "edtYzero=" + Text("edtYzero"),
                         "--size", size, "--grid", F("w.grid"), F("w.png")}),
                 0);
        QCOMPARE(Bytes(F("w.grid")), GridText());
        QCOMPARE(QImage(F("w.png")).convertToFormat(QImage::Format_RGB32), Picture());
    }

    // The tabula's keys zoom about its middle and pan by a tenth; a middle drag during a
    // picture ends it and moves the view, as the wheel does.
    void keysOnTheTabulaAndDragsDuringAPicture() {
        Action("Example03")->trigger();
        QVERIFY(Run("Convergention1"));
        form->tabulaView()->setFocus();
        const TAxisB start = S().view().axes;
        QTest::keyClick(form->tabulaView(), Qt::Key_Plus);
        QVERIFY(Finished());
        QVERIFY(std::fabs(S().view().axes.XStep / start.XStep - 0.8L) < 1e-3L);
        QTest::keyClick(form->tabulaView(), Qt::Key_Minus);
        QVERIFY(Finished());
        QCOMPARE(W<QLabel>("ZoomLabel")->text(), QString::fromUtf8("Zoom \u00d71"));
        const TAxisB centred = S().view().axes;
        QTest::keyClick(form->tabulaView(), Qt::Key_Right);
        QVERIFY(Finished());
        const int width = S().view().W;
        QVERIFY(std::fabs(S().view().axes.XMin - centred.XOfColumn(width / 10)) <=
                centred.XStep * 0.11L);
        // A long picture; a middle drag ends it at once and puts the moved view in place.
        W<QSpinBox>("SpinInfinityTest")->setValue(1000000);
        Action("InfinityReach1")->trigger();
        QVERIFY(form->pictureRunning());
        const TAxisB still = S().view().axes;
        Press(Qt::MiddleButton, {}, QPoint(50, 50));
        Move(QPoint(70, 50), Qt::MiddleButton);
        Release(Qt::MiddleButton, QPoint(70, 50));
        W<QSpinBox>("SpinInfinityTest")->setValue(5);  // the new picture is a quick one
        QVERIFY(Finished());
        QVERIFY(std::fabs(S().view().axes.XOfColumn(70) - still.XOfColumn(50)) <=
                still.XStep * 0.11L);
        QCOMPARE(S().PictureKind(), PictureTag::Infinity);
    }

    // Opening a scene gives the tabula its size again; the files opened and saved are the
    // recent scenes, the last named in the caption; the coarse order of every picture is kept
    // between runs.
    void scenesKeepTheirSizeAndAreRecentAndTheCoarseOrderIsKept() {
        Action("Example05")->trigger();
        QVERIFY(Run("Periodicity1"));
        const QSize saved = form->tabulaView()->size();
        QCOMPARE(Through("SaveScene1", F("sized")), QStringList());
        QVERIFY(form->windowTitle().startsWith("sized.json"));
        form->resize(form->width() + 40, form->height() + 30);
        QTRY_VERIFY(form->tabulaView()->size() != saved);
        QCOMPARE(Through("OpenScene1", F("sized.json")), QStringList());
        QTRY_COMPARE(form->tabulaView()->size(), saved);
        QVERIFY(Finished());
        QCOMPARE(S().tabula().Width(), saved.width());
        QCOMPARE(Action("RecentScene1")->text(), "&1  " + F("sized.json"));
        int named = 0;  // once, however often it was saved and opened
        for (QAction* a : form->findChildren<QAction*>())
            named += a->objectName().startsWith("RecentScene") && a->text().endsWith("sized.json");
        QCOMPARE(named, 1);
        // Its first item opens it again.
        Action("Example01")->trigger();
        Action("RecentScene1")->trigger();
        QVERIFY(Finished());
        QCOMPARE(S().PictureKind(), PictureTag::Periodicity);
        // Pictures of the menus keep the row order, unless the setting says otherwise.
        QVERIFY(Run("Convergention1"));
        QCOMPARE(S().Order(), PixelOrder::Rows);
        Action("CoarsePreview1")->trigger();
        QVERIFY(Settings().value(kCoarseKey).toBool());
        QVERIFY(Run("Convergention1"));
        QCOMPARE(S().Order(), PixelOrder::CoarseFirst);
        Action("CoarsePreview1")->trigger();
        QVERIFY(!Settings().value(kCoarseKey).toBool());
    }

    void aTabulaBeyondTheMemoryIsReportedAndTheWindowGoesOn() {
#ifndef __SANITIZE_ADDRESS__  // its allocator ends the program instead of failing
        // Room for a few hundred megabytes more, not for a 16000 x 16000 tabula.
        rlimit old{};
        ::getrlimit(RLIMIT_AS, &old);
        rlimit low = old;
        std::ifstream("/proc/self/statm") >> low.rlim_cur;  // in pages
        low.rlim_cur = low.rlim_cur * ::sysconf(_SC_PAGESIZE) + (512UL << 20);
        Action("Example03")->trigger();
        const QSize size = Picture().size();
        Answerer answers;
        // Beyond the screens' size too, which the window alone would not go.
        form->tabulaView()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        ::setrlimit(RLIMIT_AS, &low);
        form->tabulaView()->resize(16000, 16000);
        ::setrlimit(RLIMIT_AS, &old);
        QCOMPARE(answers.texts, QStringList{kOutOfMemory});
        QCOMPARE(Picture().size(), size);
        QVERIFY(Run("Convergention1"));
        QVERIFY(S().grid().At(size.width() / 2, size.height() / 2) != -1);
#endif
    }

    void storeRestoreAndTheClipboard() {
        // Nothing stored: a message until the timer's next tick.
        auto* timer = form->findChild<QTimer*>("Timer1");
        form->Timer1Timer();
        Action("ObnovitObraz1")->trigger();
        QCOMPARE(Status(7), QString("NO STORED PICTURE"));
        QVERIFY(timer->isActive());
        form->Timer1Timer();
        QCOMPARE(Status(7), QString());
        Action("Example03")->trigger();
        Action("UschovatObraz1")->trigger();
        const QImage stored = Picture();
        for (int i = 0; i < 2; ++i) {  // the copy stays stored
            QVERIFY(Run("Convergention1"));
            QVERIFY(Picture() != stored);
            Action("ObnovitObraz1")->trigger();
            QCOMPARE(Picture(), stored);
        }
        Action("menuKopie")->trigger();
        QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), stored);
        Action("TextDoSchranky1")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("\r\n"));
        auto* combo = W<QComboBox>("ComboTypUlohy");  // two circles, chosen as a user does
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        Action("TextDoSchranky1")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString(" \r\n"));
        // A new size drops the stored picture, which no longer fits.
        form->resize(form->width() + 20, form->height() + 10);
        QTRY_VERIFY(!form->hasStoredPicture());
    }

    void briefHelpBesideTheWindowAndAboutModally() {
        QDir::setCurrent(qEnvironmentVariable("VORLA_TEST_DATA"));
        Action("Jakpracovat1")->trigger();  // returns at once: the help is not modal
        QVERIFY(form->helpWindow()->isVisible());
        QCOMPARE(form->helpWindow()->parentWidget(), form.get());
        QString shown;
        Answerer answers([&](QWidget* m) {
            if (auto* a = qobject_cast<TAbo1F*>(m)) {
                shown = a->LabelJmProgramu->text() + " " + a->LabelVerze->text();
                QTest::keyClick(a, Qt::Key_Escape);
            }
        });
        Action("Oaplikaci1")->trigger();  // returns once the window is closed
        QCOMPARE(shown, QString("Vorla Verze 2"));
    }

    void picturesSaveAsPngOrBmpByTheNameOrTheFilterAndAFailureNamesThePath() {
        Action("Example03")->trigger();
        const QImage shown = S().tabula().Copy();
        // The failure first: the window goes on. The name's extension decides; a name of
        // another kind takes the filter's format (PNG, the first).
        const struct {
            const char *name, *filter, *file, *magic;
        } cases[] = {{"missing/old.bmp", "", nullptr, nullptr},
                     {"plain", "", "plain.png", "\x89PNG"},
                     {"typed.png", "BMP image (*.bmp)", "typed.png", "\x89PNG"},
                     {"typed.BMP", "", "typed.BMP", "BM"},
                     {"plain", "BMP image (*.bmp)", "plain.bmp", "BM"},
                     {"odd.txt", "BMP image (*.bmp)", "odd.txt", "BM"}};
        for (const auto& c : cases) {
            Answerer answers(AnswerFile(F(c.name), c.filter));
            Action("menuSaveObraz")->trigger();
            if (!c.file) {
                QTRY_COMPARE(answers.texts.size(), 1);
                QVERIFY2(answers.texts[0].contains(F(c.name)), qPrintable(answers.texts[0]));
                continue;
            }
            QCOMPARE(answers.texts, QStringList());
            QVERIFY2(Bytes(F(c.file)).startsWith(c.magic), c.file);
            QCOMPARE(QImage(F(c.file), c.magic[0] == 'B' ? "BMP" : "PNG")
                         .convertToFormat(QImage::Format_RGB32),
                     shown);
        }
    }

    void aSceneGoesThroughAFileToTheRendererAndBack() {
        Action("Example05")->trigger();
        W<QSpinBox>("SpinPeriodIter")->setValue(40);
        W<QLineEdit>("EditKd")->setText("7/2");
        QVERIFY(Run("Periodicity1"));
        const QByteArray grid = GridText();
        QCOMPARE(Through("SaveScene1", F("s")), QStringList());
        QCOMPARE(Render({"--scene", F("s.json"), "--grid", F("r.grid"), F("r.png")}), 0);
        QCOMPARE(Bytes(F("r.grid")), grid);

        // Opening it puts back what changed since, and draws its picture again.
        W<QSpinBox>("SpinPeriodIter")->setValue(10);
        Action("Example01")->trigger();
        QCOMPARE(Through("OpenScene1", F("s.json")), QStringList());
        QCOMPARE(W<QLineEdit>("EditKd")->text(), QString("7/2"));
        QCOMPARE(GridText(), grid);

        // Rendered at a size beside the window: the renderer's file, byte for byte.
        {
            Answerer answers(AnswerFile(F("big.png"), {}, " 97 x 61 "));
            Action("RenderAtSize1")->trigger();
            QVERIFY(RenderEnded());
            QCOMPARE(answers.texts, QStringList());
        }
        QCOMPARE(Render({"--scene", F("s.json"), "--size", "97x61", F("cli.png")}), 0);
        QVERIFY(!Bytes(F("big.png")).isEmpty());
        QCOMPARE(Bytes(F("big.png")), Bytes(F("cli.png")));

        // Cancelled, it writes nothing; a size beyond the memory is refused before it starts.
        {
            Answerer answers(AnswerFile(F("huge.bmp"), "BMP image (*.bmp)", "3000x3000"));
            Action("RenderAtSize1")->trigger();
            form->findChild<QProgressDialog*>("RenderProgress")->findChild<QPushButton*>()->click();
            QVERIFY(RenderEnded());
            QCOMPARE(answers.texts, QStringList());
            QVERIFY(!QFile::exists(F("huge.bmp")));
            QCOMPARE(Status(7), QString("RENDERING CANCELLED"));
        }
        const QStringList said = Through("RenderAtSize1", F("x.bmp"), {}, "1000000x1000000");
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].contains("needs about"), qPrintable(said[0]));
        QVERIFY(!form->renderRunning());
    }

    void aBadSceneChangesNothingAndUnknownKeysAreWarned() {
        Action("Example03")->trigger();
        const QByteArray head = R"({"format": "vorla-scene", "version": 1, "taskType": 2, )";
        const struct {
            QByteArray body;
            const char* says;
        } cases[] = {{R"("controls": {"EditKd": "5", "SpinPeriodIter": -4}})",
                      "bad.json: controls.SpinPeriodIter:"},
                     {R"("controls": {"EditKd": "5", "Zoom": 2}})", "unknown key controls.Zoom"}};
        for (const auto& c : cases) {
            QVERIFY(WriteFile(F("bad.json"), head + c.body));
            const QStringList said = Through("OpenScene1", F("bad.json"));
            QCOMPARE(said.size(), 1);
            QVERIFY2(said[0].contains(c.says), qPrintable(said[0]));
        }
        // Only the good one, with its unknown key, was opened.
        QCOMPARE(W<QLineEdit>("EditKd")->text(), QString("5"));
    }

    void helpFilesOfEveryKind() {
        const auto work = WorkIn({
            {"notes.txt", "Just plain text, \xc4\x8d."},
            // Cut off inside a group, with unknown words: what was read is shown.
            {"cut.rtf", "{\\rtf1\\ansi {\\fonttbl{\\f0 Arial;}}\\zzunknown7 Hello {\\b wor"},
            // Neither rich text nor UTF-8: shown as Western 8-bit text.
            {"bytes.rtf", QByteArray("\xe8\xff{\\rtf", 6)},
        });
        const QPair<QString, QString> shown[] = {{"notes.txt", "Just plain text, č."},
                                                 {"cut.rtf", "Hello wor"},
                                                 {"bytes.rtf", "\u00e8\u00ff{\\rt"}};
        for (const auto& [name, text] : shown) {
            THep1F h;
            h.ShowHelp(name);
            QCOMPARE(h.RichEditHelp->toPlainText(), text);
            QCOMPARE(h.windowTitle(), name);
        }
        // A file beyond the size limit is refused like a missing one.
        QFile big(work->filePath("big.rtf"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(THep1F::kMaxFileSize + 1));
        THep1F h;
        h.ReportByMessageBox = false;
        QSignalSpy failed(&h, &THep1F::helpLoadFailed);
        h.ShowHelp("big.rtf");
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed.at(0).at(0).toString().contains("too large"));
        QCOMPARE(h.RichEditHelp->toPlainText(), THep1F::kNotFoundText);
    }

    void helpNotFoundReportsOncePerCommandAndTriesAgain() {
        const auto empty = WorkIn({});
        THep1F h;
        QSignalSpy failed(&h, &THep1F::helpLoadFailed);
        h.ShowHelp("Missing.rtf");
        QMessageBox* box = h.findChild<QMessageBox*>();
        QVERIFY(box);
        QVERIFY(box->text().contains("Missing.rtf"));
        box->accept();
        QCOMPARE(h.windowTitle(), QString("popis"));
        QCOMPARE(h.RichEditHelp->toPlainText(), QString("\n        Soubor nenalezen !"));
        QVERIFY(h.LoadFlag);
        // Further activations retry silently: no cycle of activations and messages.
        h.FormActivate();
        h.FormActivate();
        QCOMPARE(failed.count(), 1);
        QTRY_VERIFY(h.findChildren<QMessageBox*>().isEmpty());
        h.ReportByMessageBox = false;
        h.ShowHelp("Missing.rtf");  // a new command reports again
        QCOMPARE(failed.count(), 2);
        // The file turns up: the next activation loads it, once for the whole run.
        QVERIFY(QFile::copy(DataFile(), empty->filePath("Missing.rtf")));
        h.FormActivate();
        QVERIFY(!h.LoadFlag);
        QCOMPARE(h.windowTitle(), QString("Missing.rtf"));
        const QString text = h.RichEditHelp->toPlainText();
        QVERIFY(text.contains("Brief help"));
        QVERIFY(!text.contains("\\par"));
        QVERIFY(QFile::remove(empty->filePath("Missing.rtf")));
        h.ShowHelp("Missing.rtf");
        QCOMPARE(h.RichEditHelp->toPlainText(), text);
    }

    void sizeAndTheKeysThatClose() {
        THep1F h;  // looked for beside the program too
        h.ReportByMessageBox = false;
        h.ShowHelp("Vorla.rtf");
        h.resize(400, 300);  // the frame and the text follow the window's size
        QTRY_COMPARE(h.ShapeRtf->geometry(), QRect(8, 8, 384, 284));
        QCOMPARE(h.RichEditHelp->geometry(), QRect(16, 16, 368, 268));
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            h.ShowHelp("Vorla.rtf");
            QTest::keyClick(h.RichEditHelp, Qt::Key_A);  // other keys go to the viewer
            QTest::keyClick(h.RichEditHelp, Qt::Key_Down);
            QVERIFY(h.isVisible());
            QTest::keyClick(h.RichEditHelp, key);
            QVERIFY2(!h.isVisible(), qPrintable(QString::number(key)));
            h.ShowHelp("Vorla.rtf");
            QTest::keyClick(&h, key);
            QVERIFY(!h.isVisible());
        }
    }
};

QTEST_MAIN(MouseOutputTest)
#include "mouse_output_test.moc"
