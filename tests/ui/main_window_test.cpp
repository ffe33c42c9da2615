// The main window's leave events, keys, colour labels, menus, activation and the commands
// that arrive while a picture runs.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "plane/tabula.h"
#include "support/gui_support.h"
#include "ui/tabula_view.h"
#include "ui/vorla_form.h"
#include "ui/widget_controls.h"

using namespace vorla;
using namespace vorla::testing;

namespace {

// Lets every queued event run, so that nothing more is pending.
void Settle() {
    for (int i = 0; i < 10; ++i) QTest::qWait(5);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TVorlaForm> form;
    QAction* Action(const char* name) { return form->findChild<QAction*>(name); }
    template <class T = QWidget>
    T* W(const char* name) {
        return form->findChild<T*>(name);
    }
    QTabWidget* Pages() { return W<QTabWidget>("PageCon"); }
    const Session& S() { return form->session(); }
    int LastRow() { return S().grid.Height() - 1; }
    // Where a key goes: the focused control, or the window when none has the focus.
    QWidget* Target() {
        QWidget* f = form->focusWidget();
        return f ? f : form.get();
    }

  private slots:
    void init() {
        form = std::make_unique<TVorlaForm>();
        QVERIFY(ShowSmall(*form));
    }
    void cleanup() { form.reset(); }

    // --- controls ---------------------------------------------------------------------------

    void controlsCarryTagsRangesAndStartTexts() {
        QCOMPARE(W("EditKa")->property("Tag").toInt(), 109);
        QCOMPARE(W("EditLimit2")->property("Tag").toInt(), 116);
        QCOMPARE(W("edtYzero")->property("Tag").toInt(), 114);
        QCOMPARE(W("LabelB1")->property("Tag").toInt(), 51);
        QCOMPARE(W("LabelKon7")->property("Tag").toInt(), 77);
        QCOMPARE(W("LabelLyapZero")->property("Tag").toInt(), 101);
        for (const ControlSpec& c : ControlTable()) {
            QWidget* w = W(c.name);
            QVERIFY2(w, c.name);
            if (c.kind == ControlKind::Spin) {
                auto* s = qobject_cast<QSpinBox*>(w);
                QVERIFY2(s, c.name);
                QCOMPARE(s->minimum(), c.min);
                QCOMPARE(s->maximum(), c.max);
                QCOMPARE(s->value(), QString(c.defaultText).toInt());
                if (c.max == 1000000) QCOMPARE(s->findChild<QLineEdit*>()->maxLength(), 8);
            } else if (c.kind == ControlKind::Edit) {
                QCOMPARE(qobject_cast<QLineEdit*>(w)->text(), QString::fromUtf8(c.defaultText));
            } else if (c.kind == ControlKind::ColourLabel) {
                QCOMPARE(qobject_cast<ColourLabel*>(w)->colour(), c.colour);
            }
        }
        const char* starts[8] = {" X:", "", " Y:", "", "Example:", "0", "Action:", ""};
        for (int i = 0; i < 7; ++i) QCOMPARE(form->statusText(i), QString(starts[i]));
        QStringList pages;
        for (int i = 0; i < Pages()->count(); ++i) pages << Pages()->tabText(i);
        QCOMPARE(pages, QStringList({"Circles", "Tabula", "Converg", "Periods", "Iters", "Limit",
                                     "Rectang", "Mouse", "Regions", "Lyap"}));
        QVERIFY(!W("StopVypoctu")->isVisible());
        QVERIFY(!W("LabelPostup")->isVisible());
        QVERIFY(W("PanelPixelu")->isVisible());
        QVERIFY(form->findChild<QTimer*>("Timer1")->isActive());
        // The first activation read the circle fields with their start texts.
        QCOMPARE(form->publishedScene, QString("-1=3=2.5=1=1=1=2=3=2=3=2=2.5="));
    }

    // --- leave events -----------------------------------------------------------------------

    void leavingAFieldStoresItsNumber() {
        auto* a = W<QLineEdit>("EditKa");
        a->setFocus();
        a->setText("1/4");
        W("EditKc")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(S().scene.k.A, 0.25L);
        QCOMPARE(S().scene.k.C2, S().scene.k.C * S().scene.k.C);
        Pages()->setCurrentIndex(1);
        auto* from = W<QLineEdit>("edtXod");
        from->setFocus();
        from->setText("-4");
        W("edtXdo")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(S().view.range.XFrom, -4.0L);
    }

    void leavingABadFieldReportsOnceAndTakesTheFocusBack() {
        Answerer answers({}, form.get());
        Pages()->setCurrentIndex(1);
        auto* from = W<QLineEdit>("edtXod");
        from->setFocus();
        from->setText("three");
        W("edtXdo")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(answers.seen, 1);
        QTRY_COMPARE(form->focusWidget(), static_cast<QWidget*>(from));
        Settle();
        QCOMPARE(answers.seen, 1);
        QCOMPARE(answers.texts, QStringList{QString::fromUtf8("Chybné zadání čísla!")});
        QCOMPARE(S().view.range.XFrom, -3.0L);  // unchanged
        QCOMPARE(from->text(), QString("three"));
    }

    void twoBadFieldsDoNotTakeTurnsWithTheMessage() {
        Answerer answers({}, form.get());
        auto* a = W<QLineEdit>("EditKa");
        auto* b = W<QLineEdit>("EditKb");
        b->setText("y");
        a->setText("x");
        a->setFocus();
        b->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(form->focusWidget(), static_cast<QWidget*>(a));
        Settle();
        QCOMPARE(answers.seen, 1);
        QCOMPARE(form->focusWidget(), static_cast<QWidget*>(a));
    }

    void aBadBoundOfInfinityFallsBackSilently() {
        Answerer answers;
        Pages()->setCurrentIndex(1);
        auto* inf = W<QLineEdit>("EditNekonecno");
        inf->setFocus();
        inf->setText("-5");
        W("edtXod")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(form->focusWidget(), static_cast<QWidget*>(inf));
        QCOMPARE(S().scene.L, 1000.0L);
        // A picture command now starts nothing and leaves the status bar as it was.
        Action("Example03")->trigger();
        form->Timer1Timer();
        Pages()->setCurrentIndex(0);
        Action("Convergention1")->trigger();
        QCOMPARE(form->statusText(7), QString());
        QCOMPARE(Pages()->currentIndex(), 1);  // the field's page is shown for the focus
        QCOMPARE(form->focusWidget(), static_cast<QWidget*>(inf));
        QCOMPARE(answers.seen, 0);
    }

    // --- keys -------------------------------------------------------------------------------

    void altKeysActOnlyOnTheirPage() {
        Answerer answers(PickColour(QColor(1, 2, 3)));
        auto* kd = W<QLineEdit>("EditKd");
        kd->setFocus();
        // Alt+I on Circles: consumed, nothing happens.
        QTest::keyClick(kd, Qt::Key_I, Qt::AltModifier);
        QCOMPARE(form->focusWidget(), static_cast<QWidget*>(kd));
        QTest::keyClick(kd, Qt::Key_B, Qt::AltModifier);
        QCOMPARE(form->focusWidget(), W("EditKb"));
        Pages()->setCurrentIndex(1);
        QTest::keyClick(Target(), Qt::Key_B, Qt::AltModifier);
        QCOMPARE(form->focusWidget(), W("EditNekonecno"));
        // Alt+1 away from Circles opens nothing.
        QTest::keyClick(Target(), Qt::Key_1, Qt::AltModifier);
        Settle();
        QCOMPARE(answers.seen, 0);
        Pages()->setCurrentIndex(6);
        QTest::keyClick(Target(), Qt::Key_T, Qt::AltModifier);
        QCOMPARE(form->focusWidget(), W("SpinRectDensity"));
        Pages()->setCurrentIndex(9);
        QTest::keyClick(Target(), Qt::Key_I, Qt::AltModifier);
        QCOMPARE(form->focusWidget(), W("SpinLyapIter"));
        // Alt+3 from the keypad on Circles chooses the colour of circle 3.
        Pages()->setCurrentIndex(0);
        QTest::keyClick(Target(), Qt::Key_3, Qt::AltModifier | Qt::KeypadModifier);
        QCOMPARE(answers.seen, 1);
        QCOMPARE(W<ColourLabel>("LabelB3")->colour(), Rgb(1, 2, 3));
        QCOMPARE(S().palette.CircleColors[2], Rgb(1, 2, 3));
        // Alt+F on Mouse and Alt+T on Iters: the ramp labels of their pages.
        Pages()->setCurrentIndex(7);
        QTest::keyClick(Target(), Qt::Key_F, Qt::AltModifier);
        QCOMPARE(W<ColourLabel>("LabelMouseFrom")->colour(), Rgb(1, 2, 3));
        Pages()->setCurrentIndex(4);
        QTest::keyClick(Target(), Qt::Key_T, Qt::AltModifier);
        QCOMPARE(W<ColourLabel>("LabelItersTo")->colour(), Rgb(1, 2, 3));
        QCOMPARE(W<ColourLabel>("LabelMouseTo")->colour(), Rgb(160, 0, 0));
    }

    void menuKeysWinInAnEditField() {
        Action("Example03")->trigger();
        auto* kd = W<QLineEdit>("EditKd");
        kd->setFocus();
        QApplication::clipboard()->setText("9");
        kd->selectAll();
        QTest::keyClick(kd, Qt::Key_V, Qt::ControlModifier);  // basic circles, no paste
        QCOMPARE(kd->text(), QString("3.0"));
        QTest::keyClick(kd, Qt::Key_A, Qt::ControlModifier);  // rectangle iterations
        QCOMPARE(S().PictureKind, 7);
        QTest::keyClick(kd, Qt::Key_F5);
        QCOMPARE(S().PictureKind, 18);
        QTest::keyClick(kd, Qt::Key_F7);
        QCOMPARE(S().PictureKind, 20);
        QApplication::clipboard()->clear();
        QTest::keyClick(kd, Qt::Key_C, Qt::ControlModifier);  // the picture, not the text
        QCOMPARE(QApplication::clipboard()->image().size(), S().tabula.Image().size());
        QTest::keyClick(kd, Qt::Key_X, Qt::ControlModifier);  // exit, not cut
        QCOMPARE(kd->text(), QString("3.0"));
        QTRY_VERIFY(!form->isVisible());
    }

    void escapeWithoutAPictureOnlySetsTheStop() {
        QVERIFY(!S().StopRequested);
        const QImage before = S().tabula.Copy();
        QTest::keyClick(W("EditKd"), Qt::Key_Escape);
        QVERIFY(S().StopRequested);
        QCOMPARE(S().tabula.Image(), before);
    }

    // --- colour labels ----------------------------------------------------------------------

    void colourLabelsChangeTheirTableOnly() {
        {
            Answerer answers(PickColour(QColor(10, 20, 30)));
            Pages()->setCurrentIndex(8);
            QTest::mouseClick(W("LabelKon2"), Qt::LeftButton);
            QCOMPARE(answers.seen, 1);
        }
        QCOMPARE(S().palette.RegionColors[2], Rgb(10, 20, 30));
        QCOMPARE(S().palette.ClassColors[2], Rgb(0, 255, 255));
        {
            Answerer cancel;  // rejects the dialog
            QTest::mouseClick(W("LabelKon3"), Qt::LeftButton);
            QCOMPARE(cancel.seen, 1);
        }
        QCOMPARE(W<ColourLabel>("LabelKon3")->colour(), Rgb(0, 0, 255));
        QCOMPARE(S().palette.RegionColors[3], Rgb(0, 0, 255));
        {
            Answerer none;
            Pages()->setCurrentIndex(5);
            QTest::mouseClick(W("LabelLimitD"), Qt::LeftButton);
            Settle();
            QCOMPARE(none.seen, 0);
        }
        {
            // The first period label has the Tag 0 and still reacts, preset to its colour.
            QColor preset;
            Answerer answers(PickColour(QColor(5, 5, 5), &preset));
            Pages()->setCurrentIndex(3);
            QTest::mouseClick(W("lbl0"), Qt::LeftButton);
            QCOMPARE(answers.seen, 1);
            QCOMPARE(preset, QColor(0, 0, 0));
        }
    }

    void lyapunovLabelsRedrawTheScale() {
        Answerer answers(PickColour(QColor(0, 200, 0)));
        Pages()->setCurrentIndex(9);
        QTest::mouseClick(W("LabelLyapNegat"), Qt::LeftButton);
        QCOMPARE(answers.seen, 1);
        const QImage scale = W<QLabel>("imgStupnice")->pixmap().toImage();
        QCOMPARE(scale.size(), QSize(25, 241));
        // The top row shows the exponent -1, most of the way to the negative colour.
        QCOMPARE(S().palette.LyapNegColor, Rgb(0, 200, 0));
        QCOMPARE(scale.pixel(12, 0), Tabula::ToQt(S().palette.LyapunovScaleColor(-1.0f)));
        QCOMPARE(scale.pixel(12, 120), Tabula::ToQt(kWhite));
    }

    // --- activation -------------------------------------------------------------------------

    void returningFromAnotherWindowRereadsTheCircles() {
        Action("Example03")->trigger();
        const QImage before = S().tabula.Copy();
        W<QLineEdit>("EditKd")->setText("4");  // no leave handler: read at the next activation
        QWidget other;
        other.resize(100, 100);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTRY_VERIFY(form->publishedScene.startsWith("3=4="));
        QCOMPARE(S().scene.k.D, 4.0L);
        QCOMPARE(S().tabula.Image(), before);  // not redrawn
    }

    // --- commands during a picture ----------------------------------------------------------

    void commandsThatEndARunningPicture_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("stop image") << "stop";
        QTest::newRow("task type") << "combo";
        QTest::newRow("recalc button") << "recalc";
        QTest::newRow("example") << "example";
        QTest::newRow("escape") << "escape";
        QTest::newRow("window resize") << "resize";
    }
    void commandsThatEndARunningPicture() {
        QFETCH(QString, command);
        Action("Example03")->trigger();
        QTimer::singleShot(0, this, [this, command] {
            QVERIFY(S().Running());
            QVERIFY(W("StopVypoctu")->isVisible());
            QVERIFY(!W("PanelPixelu")->isVisible());
            if (command == "stop") QTest::mouseClick(W("StopVypoctu"), Qt::LeftButton);
            if (command == "combo") QTest::keyClick(W("ComboTypUlohy"), Qt::Key_Down);
            if (command == "recalc") QTest::mouseClick(W("ButPrepocet"), Qt::LeftButton);
            if (command == "example") Action("Example05")->trigger();
            if (command == "escape") QTest::keyClick(W("EditKd"), Qt::Key_Escape);
            if (command == "resize") form->resize(form->width() + 30, form->height() + 20);
        });
        Action("Convergention1")->trigger();
        QVERIFY(!S().Running());
        QCOMPARE(S().grid.At(0, 0), -1);  // ended at the first poll, before row 0
        QVERIFY(!W("StopVypoctu")->isVisible());
        QVERIFY(W("PanelPixelu")->isVisible());
        if (command == "combo") QCOMPARE(S().scene.taskType, 4);
        if (command == "example") QCOMPARE(form->statusText(5), QString("05"));
        // The grid always has the tabula's size, whatever happened during the picture.
        QTRY_COMPARE(S().grid.Width(), form->tabulaView()->width());
        QCOMPARE(S().grid.Height(), form->tabulaView()->height());
    }

    void commandsThatLetThePictureGoOn() {
        Action("Example03")->trigger();
        form->Timer1Timer();  // its first tick would clear the status text of a slow picture
        QTimer::singleShot(0, this, [this] {
            Action("Recalculation1")->trigger();
            Action("N443")->trigger();  // -5 .. 9
        });
        Action("Convergention1")->trigger();
        QVERIFY(S().grid.At(0, LastRow()) >= 1);  // the last row was computed
        QCOMPARE(S().view.range.XFrom, -5.0L);
        QCOMPARE(W<QLineEdit>("edtXdo")->text(), QString("9"));
        QCOMPARE(form->statusText(7),
                 QString("Convergention of orbits, direction of last iteration."));
        QCOMPARE(W<QLabel>("LabelPostup")->text().toInt() % 16, 0);
    }

    // --- menus ------------------------------------------------------------------------------

    void menusHaveTheirItemsInOrder() {
        QStringList titles;
        for (QAction* a : form->menuBar()->actions()) titles << a->text();
        QCOMPARE(titles, QStringList({"&Picture", "Co&ordinates", "&Action", "&Draw", "&Clipboard",
                                      "&Examples", "&Help"}));
        auto items = [&](int menu) {
            QStringList out;
            for (QAction* a : form->menuBar()->actions()[menu]->menu()->actions())
                out << (a->isSeparator() ? QString("-") : a->objectName());
            return out;
        };
        QCOMPARE(items(0),
                 QStringList({"menuSaveObraz", "UschovatObraz1", "ObnovitObraz1", "-", "Konec1"}));
        QCOMPARE(items(1), QStringList({"N223", "N443", "N883", "N9151", "N11251", "N2020121"}));
        QCOMPARE(items(3),
                 QStringList({"PevneBody1", "Zadani1", "Recalculation1", "-", "Rectangleiters1"}));
        QCOMPARE(items(4), QStringList({"TextDoSchranky1", "menuKopie"}));
        const QStringList examples = items(5);
        QCOMPARE(examples.size(), 17);
        QCOMPARE(examples[4], QString("-"));
        QCOMPARE(examples[9], QString("-"));
        QCOMPARE(examples[14], QString("-"));
        QCOMPARE(examples[13], QString("Example12"));
        QCOMPARE(examples[15], QString("Example133all2cycles1"));
        QCOMPARE(items(6), QStringList({"Jakpracovat1", "Oaplikaci1"}));
        struct Item {
            const char* name;
            const char* caption;
            const char* key;
        };
        const Item table[] = {
            {"menuSaveObraz", "&Save to file …", "Ctrl+S"},
            {"Konec1", "E&xit", "Ctrl+X"},
            {"N223", "  -&3 .... 7  (1/3)", "Ctrl+F10"},
            {"N443", "  -&5 .... 9  (1/3)", "Ctrl+F11"},
            {"N2020121", "-&20 .... 20  (1/2)", ""},
            {"Preperiodicity1", "Preperio&dicity", "Ctrl+D"},
            {"theClosestDist1", "the Closest (&dist.)", "F12"},
            {"InfinityReach1", "Infinity reach", "F10"},
            {"LyapunovExp1", "L&yapunov exp. sum.", "F7"},
            {"LyapunovExpXY1", "L&yapunov exp.", "F8"},
            {"Zadani1", "&Basic circles", "Ctrl+V"},
            {"Rectangleiters1", "Rect&angle iters", "Ctrl+A"},
            {"menuKopie", "Copy &Graphics", "Ctrl+C"},
            {"Oaplikaci1", "&About …", "Shift+F1"},
        };
        for (const Item& it : table) {
            QAction* a = Action(it.name);
            QVERIFY2(a, it.name);
            QCOMPARE(a->text(), QString::fromUtf8(it.caption));
            QCOMPARE(a->shortcut(), QKeySequence(it.key));
        }
        QCOMPARE(Action("Rectangleiters1")->property("Tag").toInt(), 7);
        QCOMPARE(Action("theClosestOrder1")->property("Tag").toInt(), 16);
        QCOMPARE(Action("N2020121")->property("Tag").toInt(), 5);
    }

    void presetWritesTheFieldsAndTheViewport() {
        Action("Example03")->trigger();
        Action("N2020121")->trigger();
        QCOMPARE(W<QLineEdit>("edtXod")->text(), QString("-20"));
        QCOMPARE(W<QLineEdit>("edtYzero")->text(), QString("1/2"));
        const TAxisB& ax = S().view.axes;
        QCOMPARE(ax.RowY0, ax.RowOfY(0));
        QVERIFY(qAbs(ax.XStep - 40.0L / S().view.W) < 1e-15L);
    }

    void savingReportsAFileThatCannotBeCreated() {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString bad = dir.filePath("blocker/picture.bmp");
        {
            Answerer answers([bad](QWidget* m) {
                if (auto* d = qobject_cast<QFileDialog*>(m)) {
                    d->selectFile(bad);
                    QMetaObject::invokeMethod(d, "accept");
                }
            });
            Action("menuSaveObraz")->trigger();
            QTRY_COMPARE(answers.texts.size(), 1);
            QVERIFY2(answers.texts[0].contains(bad), qPrintable(answers.texts[0]));
        }
        // The window goes on: a save under a name of another kind writes a bitmap.
        const QString good = dir.filePath("picture.png");
        Answerer answers([good](QWidget* m) {
            if (auto* d = qobject_cast<QFileDialog*>(m)) {
                d->selectFile(good);
                QMetaObject::invokeMethod(d, "accept");
            }
        });
        Action("menuSaveObraz")->trigger();
        QFile f(good);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.read(2), QByteArray("BM"));
    }

    void aTabulaBeyondMemoryIsReportedAndTheOldOneStays() {
        Answerer answers;
        Action("Example03")->trigger();
        const QImage before = S().tabula.Copy();
        const int w = S().view.W;
        emit form->tabulaView()->resized(1 << 30, 1 << 30);
        QCOMPARE(answers.texts, QStringList{"Out of memory"});
        QCOMPARE(S().view.W, w);
        QCOMPARE(S().grid.Width(), w);
        QCOMPARE(S().tabula.Copy(), before);
    }

    void restoreWithNothingStoredShowsTheMessageUntilTheTimer() {
        auto* timer = form->findChild<QTimer*>("Timer1");
        form->Timer1Timer();
        QVERIFY(!timer->isActive());
        Action("UschovatObraz1")->trigger();
        form->resize(form->width() + 20, form->height() + 10);  // the picture no longer fits
        QTRY_VERIFY(!form->hasStoredPicture());
        Action("ObnovitObraz1")->trigger();
        QCOMPARE(form->statusText(7), QString("NO STORED PICTURE"));
        QVERIFY(timer->isActive());
        form->Timer1Timer();
        QCOMPARE(form->statusText(7), QString());
        QVERIFY(!timer->isActive());
    }

    void checkBoxesFollowEveryClick() {
        Pages()->setCurrentIndex(5);
        QVERIFY(form->Checked(Ctl::CheckUplnost));
        // Clicked on the box itself, at the left end of the control.
        QTest::mouseClick(W("CheckUplnost"), Qt::LeftButton, {}, QPoint(8, 8));
        QVERIFY(!form->Checked(Ctl::CheckUplnost));
        QTest::mouseClick(W("CheckUplnost"), Qt::LeftButton, {}, QPoint(8, 8));
        QVERIFY(form->Checked(Ctl::CheckUplnost));
        QTest::mouseClick(W("CheckBila"), Qt::LeftButton, {}, QPoint(8, 8));
        QVERIFY(!form->Checked(Ctl::CheckBila));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
