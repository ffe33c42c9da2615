// The tabula's mouse events and keys, the picture output commands (picture and scene files,
// pictures rendered at a size, checked against the renderer), and the help and About windows.

#include <QClipboard>
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
    QString Text(const char* name) { return W<QLineEdit>(name)->text(); }
    QStringList Fields() { return {Text("edtXod"), Text("edtXdo"), Text("edtYzero")}; }
    QImage Picture() { return S().tabula().Copy(); }
    // Within a tenth of a pixel: how near the fields' short texts keep a view.
    bool Near(long double a, long double b) {
        return std::fabs(a - b) <= S().view().axes.XStep * 0.11L;
    }

    // One mouse event on the tabula, with exactly the given buttons held.
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint p,
              Qt::KeyboardModifiers mods = {}) {
        QWidget* t = form->tabulaView();
        QMouseEvent e(type, QPointF(p), t->mapToGlobal(QPointF(p)), button, held, mods);
        QApplication::sendEvent(t, &e);
    }
    void Click(Qt::MouseButton b, Qt::KeyboardModifiers mods, QPoint p, bool twice = false) {
        Send(twice ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, b, b, p, mods);
        Send(QEvent::MouseButtonRelease, b, Qt::NoButton, p);
    }
    void Drag(Qt::MouseButton b, Qt::KeyboardModifiers mods, QPoint from, QPoint to) {
        Send(QEvent::MouseButtonPress, b, b, from, mods);
        Send(QEvent::MouseMove, Qt::NoButton, b, to);
        Send(QEvent::MouseButtonRelease, b, Qt::NoButton, to);
    }

  private slots:
    void initTestCase() {
        Settings().clear();  // the recent scenes and the coarse order of an earlier run
        originalDir_ = QDir::currentPath();
    }
    void init() { QVERIFY(Open()); }
    void cleanup() {
        form.reset();
        QDir::setCurrent(originalDir_);
    }

    void buttonsFollowTheExactModifiers() {
        Answerer answers;
        Action("Example03")->trigger();
        // A click coming from another control: does it draw an orbit, and does the focus go to
        // the recalculation button? A set not in the table still moves the focus. Which set draws
        // which orbit is the mouse tools' test.
        const struct {
            Qt::MouseButton button;
            Qt::KeyboardModifiers mods;
            bool twice, draws, focus;
        } clicks[] = {
            {Qt::RightButton, {}, false, true, true},
            {Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, false, true, true},
            {Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier, false, false, true},
            {Qt::RightButton, {}, true, false, true},  // a double click's second press
            {Qt::MiddleButton, {}, false, false, false}};
        for (const auto& c : clicks) {
            W("edtXod")->setFocus();
            const QImage before = Picture();
            Click(c.button, c.mods, QPoint(S().view().W / 2, S().view().H / 3), c.twice);
            Settle();  // an orbit is drawn in slices between events
            QVERIFY2((Picture() != before) == c.draws, QByteArray::number(&c - clicks));
            QVERIFY2((form->focusWidget() == W("ButPrepocet")) == c.focus,
                     QByteArray::number(&c - clicks));
        }
        // Ctrl + left writes "Y relatively", though not as the second press of a double click.
        const QPoint onAxis(10, S().view().axes.RowY0);
        W<QLineEdit>("edtYzero")->setText("1/3");
        Click(Qt::LeftButton, Qt::ControlModifier, onAxis, true);
        QCOMPARE(Text("edtYzero"), QString("1/3"));
        Click(Qt::LeftButton, Qt::ControlModifier, onAxis);
        QVERIFY(qAbs(Text("edtYzero").replace(',', '.').toDouble() - 0.5) < 0.01);  // a pixel
        QCOMPARE(answers.seen, 0);
        W<QLineEdit>("edtXod")->setText("2");  // its fault is reported
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
        Click(Qt::RightButton, Qt::ShiftModifier, p);
        // The click returns before the orbit is done: the window answers meanwhile.
        QVERIFY(Picture() != whole.Image());
        QTRY_VERIFY_WITH_TIMEOUT(Picture() == whole.Image(), 60000);
        // A command stops an orbit where it is.
        Click(Qt::RightButton, {}, p);
        Action("Zadani1")->trigger();
        const QImage stopped = Picture();
        Settle();
        QCOMPARE(Picture(), stopped);
    }

    // A wheel notch shows the picture moved to the new view at once, before any pixel of it
    // is computed; the picture then comes coarse first and ends as the renderer draws it.
    void aWheelNotchShowsThePreviewThenTheRenderersPicture() {
        Action("Example03")->trigger();
        QVERIFY(Run("Convergention1"));
        QCOMPARE(S().Order(), PixelOrder::Rows);     // as every picture of the menus
        QVERIFY(!Action("ViewBack1")->isEnabled());  // nowhere to go yet
        const QImage before = Picture();
        const TAxisB from = S().view().axes;
        const QPoint p(60, 40);
        QWidget* t = form->tabulaView();
        QWheelEvent wheel(p, t->mapToGlobal(QPointF(p)), {}, {0, 120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(t, &wheel);
        // The event loop has not run: the picture waits at its first band.
        QVERIFY(form->pictureRunning());
        const int w = S().view().W, h = S().view().H;
        const QImage shown = form->tabulaView()->Shown();
        QCOMPARE(shown, MovedPicture(before, from,
                                     AxesOf(FieldRange(S().controls(), w, h).Value(), w, h)));
        QVERIFY(shown != before);
        QVERIFY(Finished());
        // The point under the cursor keeps its pixel.
        QVERIFY(Near(S().view().axes.XOfColumn(p.x()), from.XOfColumn(p.x())));
        QCOMPARE(S().Order(), PixelOrder::CoarseFirst);
        QVERIFY(Action("ViewBack1")->isEnabled());
        QVERIFY(!Action("ViewForward1")->isEnabled());
        QCOMPARE(W<QLabel>("ZoomLabel")->text(), QString::fromUtf8("Zoom \u00d71.25"));
        // The fields hold short texts, and the renderer draws the same picture from them.
        for (const QString& f : Fields()) QVERIFY(f.size() <= 8);
        const QString size = QString("%1x%2").arg(w).arg(h);
        QCOMPARE(Render({"--example", "3", "--set", "edtXod=" + Text("edtXod"), "--set",
                         "edtXdo=" + Text("edtXdo"), "--set", "edtYzero=" + Text("edtYzero"),
                         "--size", size, "--grid", F("w.grid"), F("w.png")}),
                 0);
        QCOMPARE(Bytes(F("w.grid")), GridText());
        QCOMPARE(QImage(F("w.png")).convertToFormat(QImage::Format_RGB32), Picture());
        // A setting, kept between runs, puts the pictures of the menus coarse first too.
        Action("CoarsePreview1")->trigger();
        QVERIFY(Settings().value(kCoarseKey).toBool());
        QVERIFY(Run("Convergention1"));
        QCOMPARE(S().Order(), PixelOrder::CoarseFirst);
        Action("CoarsePreview1")->trigger();
        QVERIFY(!Settings().value(kCoarseKey).toBool());
    }

    // Shift + left drag zooms to a rectangle, Back and Forward give the fields' texts exactly
    // as they were, the tabula's keys zoom about its middle and pan by a tenth, and a middle
    // drag during a picture ends it and moves the view with the cursor.
    void dragsKeysAndTheHistory() {
        Action("Example03")->trigger();
        QVERIFY(Run("Convergention1"));
        // Hovering shows the point and the stored value.
        Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(7, 11));
        QCOMPARE(Status(1), QString::fromStdString(CoordinateText(S().view().axes.XOfColumn(7))));
        QCOMPARE(W<QLabel>("LabelNumB")->text(), QString::number(S().grid().At(7, 11)));
        const QStringList start = Fields();
        const TAxisB wide = S().view().axes;
        Drag(Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 10), QPoint(40, 40));
        QVERIFY(Finished());
        QVERIFY(S().view().axes.XStep < wide.XStep / 2);
        const QStringList zoomed = Fields();
        QTest::keyClick(form.get(), Qt::Key_Left, Qt::AltModifier);
        QVERIFY(Finished());
        QCOMPARE(Fields(), start);
        QTest::keyClick(form.get(), Qt::Key_Right, Qt::AltModifier);
        QVERIFY(Finished());
        QCOMPARE(Fields(), zoomed);
        form->tabulaView()->setFocus();
        const TAxisB before = S().view().axes;
        QTest::keyClick(form->tabulaView(), Qt::Key_Plus);
        QVERIFY(Finished());
        QVERIFY(std::fabs(S().view().axes.XStep / before.XStep - 0.8L) < 1e-3L);
        QTest::keyClick(form->tabulaView(), Qt::Key_Minus);
        QVERIFY(Finished());
        const TAxisB centred = S().view().axes;
        QTest::keyClick(form->tabulaView(), Qt::Key_Right);
        QVERIFY(Finished());
        QVERIFY(Near(S().view().axes.XMin, centred.XOfColumn(S().view().W / 10)));
        // A long picture; a middle drag ends it at once and puts the moved view in place.
        W<QSpinBox>("SpinInfinityTest")->setValue(1000000);
        Action("InfinityReach1")->trigger();
        QVERIFY(form->pictureRunning());
        const TAxisB still = S().view().axes;
        Drag(Qt::MiddleButton, {}, QPoint(50, 50), QPoint(70, 55));
        W<QSpinBox>("SpinInfinityTest")->setValue(5);  // the new picture is a quick one
        QVERIFY(Finished());
        QVERIFY(Near(S().view().axes.XOfColumn(70), still.XOfColumn(50)));
        QVERIFY(Near(S().view().axes.YOfRow(55), still.YOfRow(50)));
        QCOMPARE(S().PictureKind(), PictureTag::Infinity);
    }

    void storeRestoreAndTheClipboard() {
        Action("ObnovitObraz1")->trigger();
        QCOMPARE(Status(7), QString("NO STORED PICTURE"));
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
        // A new size drops the stored picture, which no longer fits.
        form->resize(form->width() + 20, form->height() + 10);
        QTRY_VERIFY(!form->hasStoredPicture());
    }

    // The help opens beside the window, and its keys close it; About is modal.
    void briefHelpAndAbout() {
        QDir::setCurrent(qEnvironmentVariable("VORLA_TEST_DATA"));
        Action("Jakpracovat1")->trigger();  // returns at once: the help is not modal
        THep1F* h = form->helpWindow();
        QVERIFY(h->isVisible());
        QCOMPARE(h->parentWidget(), form.get());
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
            for (QWidget* w : std::initializer_list<QWidget*>{h->RichEditHelp, h}) {
                h->ShowHelp("Vorla.rtf");
                QTest::keyClick(w, Qt::Key_A);  // other keys go to the viewer
                QVERIFY(h->isVisible());
                QTest::keyClick(w, key);
                QVERIFY2(!h->isVisible(), qPrintable(w->objectName() + QString::number(key)));
            }
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

    // A scene goes through a file to the renderer and back. Opening it puts back what changed
    // since, the tabula's size too; the files opened and saved are the recent scenes, the last
    // named in the caption. Rendered at a size it is the renderer's file; cancelled, nothing.
    void aSceneGoesThroughAFileToTheRendererAndBack() {
        Action("Example05")->trigger();
        W<QSpinBox>("SpinPeriodIter")->setValue(40);
        W<QLineEdit>("EditKd")->setText("7/2");
        QVERIFY(Run("Periodicity1"));
        const QByteArray grid = GridText();
        const QSize saved = form->tabulaView()->size();
        QCOMPARE(Through("SaveScene1", F("s")), QStringList());
        QVERIFY(form->windowTitle().startsWith("s.json"));
        QCOMPARE(Render({"--scene", F("s.json"), "--grid", F("r.grid"), F("r.png")}), 0);
        QCOMPARE(Bytes(F("r.grid")), grid);
        W<QSpinBox>("SpinPeriodIter")->setValue(10);
        Action("Example01")->trigger();
        form->resize(form->width() + 40, form->height() + 30);
        QTRY_VERIFY(form->tabulaView()->size() != saved);
        QCOMPARE(Through("OpenScene1", F("s.json")), QStringList());
        QTRY_COMPARE(form->tabulaView()->size(), saved);
        QTRY_COMPARE(Text("EditKd"), QString("7/2"));  // put in place once the resize has come
        QVERIFY(Finished());
        QCOMPARE(GridText(), grid);
        QCOMPARE(Action("RecentScene1")->text(), "&1  " + F("s.json"));
        int named = 0;  // once, however often it was saved and opened
        for (QAction* a : form->findChildren<QAction*>())
            named += a->objectName().startsWith("RecentScene") && a->text().endsWith("/s.json");
        QCOMPARE(named, 1);
        Action("Example01")->trigger();
        QVERIFY(Run("RecentScene1"));
        QCOMPARE(GridText(), grid);
        QCOMPARE(Through("RenderAtSize1", F("big.png"), {}, " 97 x 61 "), QStringList());
        QCOMPARE(Render({"--scene", F("s.json"), "--size", "97x61", F("cli.png")}), 0);
        QVERIFY(!Bytes(F("big.png")).isEmpty());
        QCOMPARE(Bytes(F("big.png")), Bytes(F("cli.png")));
        {  // a bitmap, drawn whole, cancelled: no file
            Answerer answers(AnswerFile(F("huge.bmp"), "BMP image (*.bmp)", "3000x3000"));
            Action("RenderAtSize1")->trigger();
            form->findChild<QProgressDialog*>("RenderProgress")->findChild<QPushButton*>()->click();
            QVERIFY(RenderEnded());
            QCOMPARE(answers.texts, QStringList());
            QVERIFY(!QFile::exists(F("huge.bmp")));
            QCOMPARE(Status(7), QString("RENDERING CANCELLED"));
        }
        // A size beyond the memory is refused before it starts.
        const QStringList said = Through("RenderAtSize1", F("x.bmp"), {}, "1000000x1000000");
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].contains("needs about"), qPrintable(said[0]));
    }

    // A refused scene opens nothing; one with an unknown key opens, and the key is warned of.
    void aBadSceneChangesNothingAndUnknownKeysAreWarned() {
        Action("Example03")->trigger();
        const QByteArray head = R"({"format": "vorla-scene", "version": 1, "taskType": 2, )"
                                R"("controls": {"EditKd": "5", )";
        const QPair<QByteArray, QString> cases[] = {
            {R"("SpinPeriodIter": -4}})", "bad.json: controls.SpinPeriodIter:"},
            {R"("Zoom": 2}})", "unknown key controls.Zoom"}};
        for (const auto& [body, says] : cases) {
            QVERIFY(WriteFile(F("bad.json"), head + body));
            const QStringList said = Through("OpenScene1", F("bad.json"));
            QCOMPARE(said.size(), 1);
            QVERIFY2(said[0].contains(says), qPrintable(said[0]));
        }
        QCOMPARE(W<QLineEdit>("EditKd")->text(), QString("5"));  // the second one's
    }

    void helpFilesOfEveryKind() {
        QDir::setCurrent(folder.path());
        const struct {
            const char* name;
            QByteArray data;
            QString shown;
        } files[] = {{"notes.txt", "Just plain text, \xc4\x8d.", "Just plain text, č."},
                     // Neither rich text nor UTF-8: shown as Western 8-bit text.
                     {"bytes.rtf", QByteArray("\xe8\xff{\\rtf", 6), "\u00e8\u00ff{\\rt"}};
        for (const auto& f : files) {
            QVERIFY(WriteFile(F(f.name), f.data));
            THep1F h;
            h.ShowHelp(f.name);
            QCOMPARE(h.RichEditHelp->toPlainText(), f.shown);
            QCOMPARE(h.windowTitle(), QString(f.name));
        }
    }

    void helpNotFoundReportsOncePerCommandAndTriesAgain() {
        QDir::setCurrent(folder.path());
        THep1F h;
        QSignalSpy failed(&h, &THep1F::helpLoadFailed);
        h.ShowHelp("Missing.rtf");
        QMessageBox* box = h.findChild<QMessageBox*>();
        QVERIFY(box);
        QVERIFY(box->text().contains("Missing.rtf"));
        box->accept();
        QCOMPARE(h.windowTitle(), QString("popis"));
        QCOMPARE(h.RichEditHelp->toPlainText(), THep1F::kNotFoundText);
        // Further activations retry silently: no cycle of activations and messages.
        for (int i = 0; i < 2; ++i) h.FormActivate();
        QCOMPARE(failed.count(), 1);
        QTRY_VERIFY(h.findChildren<QMessageBox*>().isEmpty());
        h.ReportByMessageBox = false;
        // A new command reports again; a file beyond the size limit is refused like a missing one.
        QFile big(F("big.rtf"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(THep1F::kMaxFileSize + 1));
        h.ShowHelp("big.rtf");
        QCOMPARE(failed.count(), 2);
        QVERIFY(failed.at(1).at(0).toString().contains("too large"));
        QCOMPARE(h.RichEditHelp->toPlainText(), THep1F::kNotFoundText);
        // The file turns up: the next activation loads it, once for the whole run.
        const QString data = QDir(qEnvironmentVariable("VORLA_TEST_DATA")).filePath("Vorla.rtf");
        QVERIFY(big.remove());
        QVERIFY(QFile::copy(data, F("big.rtf")));
        h.FormActivate();
        QCOMPARE(h.windowTitle(), QString("big.rtf"));
        const QString text = h.RichEditHelp->toPlainText();
        QVERIFY(text.contains("Brief help"));
        QVERIFY(!text.contains("\\par"));
        QVERIFY(QFile::remove(F("big.rtf")));
        h.ShowHelp("big.rtf");
        QCOMPARE(h.RichEditHelp->toPlainText(), text);
    }
};

QTEST_MAIN(MouseOutputTest)
#include "mouse_output_test.moc"
