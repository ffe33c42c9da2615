// The main window's controls, fields, keys, colour labels and activation, and the commands that
// arrive while a picture runs: the window answers and a stop ends the picture at once.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include "pictures/kinds.h"
#include "plane/tabula.h"
#include "support/gui_support.h"
#include "ui/about_window.h"
#include "ui/tabula_view.h"
#include "ui/widget_controls.h"

using namespace vorla;
using namespace vorla::testing;

class MainWindowTest : public WindowTest {
    Q_OBJECT

    QTabWidget* Pages() { return W<QTabWidget>("PageCon"); }
    // Types a text into a field and leaves it for the next one, as a user does.
    void Leave(const char* field, const QString& text, const char* next) {
        W<QLineEdit>(field)->setFocus();
        W<QLineEdit>(field)->setText(text);
        W(next)->setFocus(Qt::TabFocusReason);
    }

  private slots:
    void init() { QVERIFY(Open()); }
    void cleanup() { form.reset(); }

    void controlsAndTheirStartState() {
        for (const ControlSpec& c : ControlTable()) {
            QVERIFY2(W(c.name), c.name);
            QCOMPARE(QString::fromStdString(form->Text(c.id)), QString::fromUtf8(c.defaultText));
        }
        QVERIFY(!W("StopVypoctu")->isVisible());
        // The first task chosen draws the circles of the fields' values.
        const QImage empty = S().tabula().Copy();
        auto* combo = W<QComboBox>("ComboTypUlohy");
        QCOMPARE(combo->currentIndex(), -1);
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        QVERIFY(S().tabula().Copy() != empty);
        // A check box follows a click on the box itself, at the control's left end.
        Pages()->setCurrentIndex(5);
        QTest::mouseClick(W("CheckBila"), Qt::LeftButton, {}, QPoint(8, 8));
        QVERIFY(!form->Checked(Ctl::CheckBila));
    }

    void everyPageShowsAllOfItsControlsAtTheDefaultSizeAndNothingMoves() {
        form.reset();
        form = std::make_unique<TVorlaForm>();  // at its own size, on a 1366 x 768 screen
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(form->width() <= 1366);
        QVERIFY(form->height() <= 700);
        QVERIFY(form->tabulaView()->width() >= 542);
        QVERIFY(form->tabulaView()->height() >= 450);
        for (int i = 0; i < Pages()->count(); ++i) {
            Pages()->setCurrentIndex(i);
            QApplication::processEvents();
            auto* page = qobject_cast<QScrollArea*>(Pages()->widget(i));
            QVERIFY2(page->horizontalScrollBar()->maximum() == 0, qPrintable(Pages()->tabText(i)));
            QVERIFY2(page->verticalScrollBar()->maximum() == 0, qPrintable(Pages()->tabText(i)));
        }
        // Nothing moves when a picture starts or ends.
        const QRect pages = Pages()->geometry();
        Action("Example03")->trigger();
        Action("Convergention1")->trigger();
        QVERIFY(form->pictureRunning());
        QApplication::processEvents();
        QCOMPARE(Pages()->geometry(), pages);
        QVERIFY(Finished());
        QCOMPARE(Pages()->geometry(), pages);
        // The window keeps its minimum size, however it is asked to shrink.
        form->resize(100, 100);
        QTRY_VERIFY(form->width() >= 550 && form->height() >= 450);
        // And the tabula grows no larger than the screens can show.
        form->resize(20000, 15000);
        const QSize screens = QGuiApplication::primaryScreen()->virtualSize();
        QTRY_VERIFY(form->tabulaView()->width() <= std::max(screens.width(), 542) &&
                    form->tabulaView()->height() <= std::max(screens.height(), 450));
    }

    void leavingAFieldStoresItsNumber() {
        Leave("EditKa", "1/4", "EditKc");
        QTRY_COMPARE(S().scene().k.A, 0.25L);
        Pages()->setCurrentIndex(1);
        Leave("edtXod", "-4", "edtXdo");
        QTRY_COMPARE(S().view().range.XFrom, -4.0L);
        Pages()->setCurrentIndex(2);
        Leave("EditPresnost", "1/8", "SpinKonvergIter");
        QTRY_COMPARE(S().Accuracy(), 0.125L);
    }

    void aBadBoundOfInfinityTakesTheFocusBackSilently() {
        Answerer answers;
        Pages()->setCurrentIndex(1);
        Leave("EditNekonecno", "-5", "edtXod");
        QTRY_COMPARE(form->focusWidget(), W("EditNekonecno"));
        // A picture command then shows the field's page and takes the focus.
        Action("Example03")->trigger();
        Pages()->setCurrentIndex(0);
        Action("Convergention1")->trigger();
        QCOMPARE(Pages()->currentIndex(), 1);
        QCOMPARE(form->focusWidget(), W("EditNekonecno"));
        QCOMPARE(answers.seen, 0);
    }

    void altKeysActOnlyOnTheirPage() {
        Answerer answers(PickColour(QColor(1, 2, 3)), form.get());
        W("EditKd")->setFocus();
        const struct {
            int page, key;
            const char *focus, *label;  // where the focus goes, or which label is chosen
            Qt::KeyboardModifiers more = {};
            char text = 0;
        } keys[] = {
            {0, Qt::Key_I, "EditKd", nullptr},  // no such key on Circles: nothing happens
            {0, Qt::Key_B, "EditKb", nullptr},
            {0, Qt::Key_Q, "EditKb", nullptr, {}, 'q'},  // no key of the window: types nothing
            {1, Qt::Key_B, "EditNekonecno", nullptr},
            {1, Qt::Key_1, "EditNekonecno", nullptr},  // circle colours on Circles only
            {9, Qt::Key_I, "SpinLyapIter", nullptr},
            {0, Qt::Key_3, nullptr, "LabelB3", Qt::KeypadModifier},
            {0, Qt::Key_Exclam, nullptr, "LabelB1", Qt::ShiftModifier, '!'},  // as without Shift
            {7, Qt::Key_F, nullptr, "LabelMouseFrom"},
        };
        int dialogs = 0;
        for (const auto& k : keys) {
            Pages()->setCurrentIndex(k.page);
            QWidget* had = form->focusWidget();
            const QString text = had->property("text").toString();
            QTest::keyClick(had, Qt::Key(k.key), Qt::AltModifier | k.more, k.text);
            QCOMPARE(had->property("text").toString(), text);
            if (k.focus) QCOMPARE(form->focusWidget(), W(k.focus));
            if (k.label) QCOMPARE(W<ColourLabel>(k.label)->colour(), Rgb(1, 2, 3));
            dialogs += k.label != nullptr;
            QCOMPARE(answers.seen, dialogs);
        }
        QCOMPARE(S().palette().CircleColors[2], Rgb(1, 2, 3));
        QCOMPARE(W<ColourLabel>("LabelMouseTo")->colour(), Rgb(160, 0, 0));
        // An Alt key that moves the focus checks the field it leaves, as Tab does: a bad number
        // is reported once, not again for the bad field the focus is taken back from.
        Pages()->setCurrentIndex(0);
        form->activateWindow();  // the colour dialogs took it
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const long double b = S().scene().k.B;
        W<QLineEdit>("EditKn")->setText("y");
        W("EditKb")->setFocus();
        W<QLineEdit>("EditKb")->setText("abc");
        QTest::keyClick(W("EditKb"), Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(form->focusWidget(), W("EditKb"));
        Settle();
        QCOMPARE(answers.texts, QStringList{QString::fromUtf8("Chybné zadání čísla!")});
        QCOMPARE(form->focusWidget(), W("EditKb"));
        QCOMPARE(S().scene().k.B, b);
    }

    void otherKeysInAField() {
        // Ctrl+Tab turns the pages round, both ways.
        auto* kd = W<QLineEdit>("EditKd");
        Pages()->setCurrentIndex(9);
        kd->setFocus();
        QTest::keyClick(form->focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(Pages()->currentIndex(), 0);
        QTest::keyClick(form->focusWidget(), Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Pages()->currentIndex(), 9);
        // In a field the editing keys edit its text; elsewhere they are the menu's.
        Pages()->setCurrentIndex(0);
        Action("Example03")->trigger();
        kd->setFocus();
        const int picture = S().PictureKind();
        QTest::keyClick(kd, Qt::Key_A, Qt::ControlModifier);  // select all, no rectangles
        QTest::keyClick(kd, Qt::Key_C, Qt::ControlModifier);  // the text, not the picture
        QCOMPARE(QApplication::clipboard()->text(), QString("3.0"));
        QTest::keyClick(kd, Qt::Key_X, Qt::ControlModifier);  // cut, not exit
        QCOMPARE(kd->text(), QString());
        QVERIFY(form->isVisible());
        QCOMPARE(S().PictureKind(), picture);
        QTest::keyClick(kd, Qt::Key_F6);  // a picture on a key only, not in the menu
        QVERIFY(Finished());
        QCOMPARE(S().PictureKind(), 19);
        W("ButPrepocet")->setFocus();
        QTest::keyClick(W("ButPrepocet"), Qt::Key_X, Qt::ControlModifier);  // exit
        QTRY_VERIFY(!form->isVisible());
    }

    void colourLabelsTakeAChosenColour() {
        // A colour chosen, a dialog cancelled, a label that only shows its colour, and the
        // first period label with the Tag 0; the dialog opens with the label's colour.
        const struct {
            int page;
            const char* label;
            bool pick;
            int dialogs;
            Colour before, after;
        } clicks[] = {{8, "LabelKon2", true, 1, Rgb(0, 255, 255), Rgb(10, 20, 30)},
                      {8, "LabelKon3", false, 1, Rgb(0, 0, 255), Rgb(0, 0, 255)},
                      {5, "LabelLimitD", true, 0, Rgb(255, 255, 0), Rgb(255, 255, 0)},
                      {3, "lbl0", true, 1, kBlack, Rgb(10, 20, 30)}};
        for (const auto& c : clicks) {
            QColor preset;
            Answerer answers(c.pick ? PickColour(QColor(10, 20, 30), &preset) : nullptr);
            Pages()->setCurrentIndex(c.page);
            QTest::mouseClick(W(c.label), Qt::LeftButton);
            Settle();
            QCOMPARE(answers.seen, c.dialogs);
            if (c.pick && c.dialogs) QCOMPARE(FromQColor(preset), c.before);
            QCOMPARE(W<ColourLabel>(c.label)->colour(), c.after);
        }
        // A Lyapunov label redraws the scale beside it: the top row is the exponent -1.
        Answerer answers(PickColour(QColor(0, 200, 0)));
        Pages()->setCurrentIndex(9);
        QTest::mouseClick(W("LabelLyapNegat"), Qt::LeftButton);
        QCOMPARE(S().palette().LyapNegColor, Rgb(0, 200, 0));
        const QImage scale = W<QLabel>("imgStupnice")->pixmap().toImage();
        QCOMPARE(scale.pixel(12, 0), Tabula::ToQt(S().palette().LyapunovScaleColor(-1.0f)));
    }

    void onlyAReturnFromHelpOrAboutRereadsTheCircles() {
        Action("Example03")->trigger();
        const QImage before = S().tabula().Copy();
        W<QLineEdit>("EditKd")->setText("4");  // no leave handler: read at the next activation
        // Another window of the program closing (a dialog, a menu, a list) does not count.
        auto visit = [this](QWidget* other) {
            other->show();
            other->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(other));
            other->close();
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form.get()));
            Settle();
        };
        QMessageBox box(form.get());
        visit(&box);
        QCOMPARE(S().scene().k.D, 3.0L);
        form->CreateSmallWindows();
        visit(form->findChild<TAbo1F*>());
        QTRY_VERIFY(form->publishedScene.startsWith("3=4="));
        QCOMPARE(S().scene().k.D, 4.0L);
        QCOMPARE(S().tabula().Image(), before);  // not redrawn
    }

    void commandsDuringAPicture_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("ends");
        for (const char* c : {"stop", "combo", "recalc", "example", "escape", "resize", "close"})
            QTest::newRow(c) << c << true;
        QTest::newRow("recalculation") << "recalculation" << false;
        QTest::newRow("preset") << "preset" << false;
    }
    void commandsDuringAPicture() {
        QFETCH(QString, command);
        QFETCH(bool, ends);
        Action("Example03")->trigger();
        form->Timer1Timer();  // its first tick would clear the status text of a slow picture
        // The picture is computed beside the event loop: the command comes while it runs.
        Action("Convergention1")->trigger();
        QVERIFY(form->pictureRunning());
        QVERIFY(!W("StopVypoctu")->isHidden());
        QVERIFY(W("PanelPixelu")->isHidden());
        if (command == "stop") QTest::mouseClick(W("StopVypoctu"), Qt::LeftButton);
        if (command == "combo") QTest::keyClick(W("ComboTypUlohy"), Qt::Key_Down);
        if (command == "recalc") QTest::mouseClick(W("ButPrepocet"), Qt::LeftButton);
        if (command == "example") Action("Example05")->trigger();
        if (command == "escape") QTest::keyClick(W("EditKd"), Qt::Key_Escape);
        if (command == "resize") form->resize(form->width() + 30, form->height() + 20);
        if (command == "close") form->close();  // closes once the picture has ended
        if (command == "recalculation") Action("Recalculation1")->trigger();
        if (command == "preset") Action("N443")->trigger();  // -5 .. 9
        QVERIFY(Finished());
        QVERIFY(W("StopVypoctu")->isHidden());
        QVERIFY(!W("PanelPixelu")->isHidden());
        QCOMPARE(W<QComboBox>("ComboTypUlohy")->currentIndex(), ItemOfTask(S().taskType()));
        if (command == "example") QCOMPARE(Status(5), QString("05"));
        if (command == "close") QTRY_VERIFY(!form->isVisible());
        if (command == "preset") QCOMPARE(W<QLineEdit>("edtXdo")->text(), QString("9"));
        const int lastRow = S().grid().Height() - 1;
        if (ends) {
            QCOMPARE(S().grid().At(0, lastRow), -1);  // ended long before the last row
        } else {
            QVERIFY(S().grid().At(0, lastRow) >= 1);  // the last row was computed
            QCOMPARE(Status(7), QString::fromStdString(PictureStatusTexts(1)));
            // The share done, and after two seconds the time left.
            QVERIFY(QRegularExpression("^\\d+ %(, .* s left)?$")
                        .match(W<QLabel>("LabelPostup")->text())
                        .hasMatch());
        }
        // The grid always has the tabula's size, whatever happened during the picture.
        QTRY_COMPARE(S().grid().Width(), form->tabulaView()->width());
        QCOMPARE(S().grid().Height(), form->tabulaView()->height());
    }

    void everyCommandRunsWithoutBlocking() {
        Action("Example10")->trigger();
        for (const char* spin : {"SpinPeriodIter", "SpinInfinityTest", "SpinLyapIter",
                                 "SpinKonvergIter", "SpinClosestIter"})
            W<QSpinBox>(spin)->setValue(20);
        for (QAction* a : form->findChildren<QAction*>()) {
            const QString name = a->objectName();
            // The dialogs, the files and the exit have tests of their own.
            if (name.isEmpty() || a->menu() || name.startsWith("RecentScene") ||
                QStringList({"menuSaveObraz", "Konec1", "Oaplikaci1", "Jakpracovat1", "SaveScene1",
                             "OpenScene1", "RenderAtSize1", "MakeMovie1", "ExportDeepZoom1"})
                    .contains(name))
                continue;
            a->trigger();
            QVERIFY(Finished());
            const int tag = a->property("Tag").toInt();
            // A picture of the Action and Draw menus.
            if (tag > 0 && name.endsWith("1") && !name.startsWith("Example") &&
                !name.startsWith("N"))
                QCOMPARE(S().PictureKind(), tag);
        }
        QCOMPARE(Status(5), QString("14"));
    }

    void aThousandPictureCommandsEndInTheLastPicture() {
        Action("Example03")->trigger();
        for (int i = 0; i < 1000; ++i) {
            form->ActionClick(i % 2 ? 1 : 8);
            if (i % 50 == 0) QCoreApplication::processEvents();
        }
        QVERIFY(Finished());
        QCOMPARE(S().PictureKind(), 1);
        const std::vector<std::int32_t> last = S().grid().Cells();
        const QImage shown = S().tabula().Copy();
        QVERIFY(Run("Convergention1"));  // the same picture from start to end
        QCOMPARE(S().grid().Cells(), last);
        QCOMPARE(S().tabula().Copy(), shown);
        Action("Convergention1")->trigger();
        form.reset();  // the window may go while a picture runs: its thread ends first
    }

    void aSlowBandEndsAtOnceAndTheWindowAnswersMeanwhile() {
        Action("Example10")->trigger();
        W<QSpinBox>("SpinInfinityTest")->setValue(1000000);
        Action("InfinityReach1")->trigger();
        QVERIFY(form->pictureRunning());
        QCOMPARE(Status(7), QString::fromStdString(PictureStatusTexts(15)));
        QTest::mouseClick(form->tabulaView(), Qt::LeftButton, {}, QPoint(5, 5));  // ignored
        QCOMPARE(form->mouseTools().DraggedCentre, -1);
        bool handled = false;  // an event posted while the first band is computed
        QTimer::singleShot(0, this, [&] { handled = true; });
        QVERIFY(QTest::qWaitFor([&] { return handled; }, 5000));
        QVERIFY(form->pictureRunning());
        // A band of this picture takes minutes; Escape ends it within a pixel's orbit.
        QTest::keyClick(W("EditKd"), Qt::Key_Escape);
        QVERIFY(Finished());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
