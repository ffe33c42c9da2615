// The main window driven as a user drives it: controls, menus, keys, examples, pictures.
#include "ui/vorla_form.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "ui/tabula_view.h"

using namespace vorla;

class VorlaFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TVorlaForm> form;
    QAction* Action(const char* name) { return form->findChild<QAction*>(name); }
    template <class T>
    T* W(const char* name) {
        return form->findChild<T*>(name);
    }

  private slots:
    void init() {
        form = std::make_unique<TVorlaForm>();
        form->resize(420, 330);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        QApplication::processEvents();
    }
    void cleanup() { form.reset(); }

    void windowStartsWithoutATask() {
        QCOMPARE(form->windowTitle(), QString::fromUtf8("Vorla  -  Kruhová inverze"));
        QCOMPARE(W<QComboBox>("ComboTypUlohy")->currentIndex(), -1);
        QCOMPARE(W<QTabWidget>("PageCon")->count(), 10);
        QCOMPARE(W<QTabWidget>("PageCon")->currentIndex(), 0);
        QVERIFY(!Action("LyapunovExpX1")
                     ->associatedObjects()
                     .contains(Action("Convergention1")
                                   ->associatedObjects()
                                   .constFirst()));  // not in the menu
        QCOMPARE(Action("Convergention1")->shortcut(), QKeySequence("Ctrl+G"));
        QCOMPARE(Action("Convergention1")->property("Tag").toInt(), 1);
        QCOMPARE(Action("Example133all2cycles1")->text(),
                 QString("Example 13  (3)   all points are 2-cycles"));
        QCOMPARE(form->statusText(4), QString("Example:"));
        QCOMPARE(form->session().scene.taskType, -1);
    }

    void exampleLoadsFieldsTaskAxesAndPanel() {
        Action("Example08")->trigger();
        QCOMPARE(form->session().scene.taskType, 4);
        QCOMPARE(W<QComboBox>("ComboTypUlohy")->currentIndex(), 2);
        QCOMPARE(W<QLineEdit>("EditKd")->text(), QString("2.76"));
        QCOMPARE(W<QLineEdit>("edtXod")->text(), QString("-5"));
        QCOMPARE(form->statusText(5), QString("08"));
        QCOMPARE(form->session().view.range.XTo, 5.0L);
    }

    void pictureFromTheMenuFillsTabulaGridAndStatus() {
        Action("Example03")->trigger();
        form->Timer1Timer();  // its first tick would clear the status text of a slow picture
        Action("Convergention1")->trigger();
        const Session& s = form->session();
        QCOMPARE(s.PictureKind, 1);
        QCOMPARE(form->statusText(7),
                 QString("Convergention of orbits, direction of last iteration."));
        QVERIFY(s.grid.At(3, 3) >= 1 && s.grid.At(3, 3) <= 8);
        QVERIFY(!W<QLabel>("StopVypoctu")->isVisible());
        QVERIFY(W<QWidget>("PanelPixelu")->isVisible());
    }

    void pictureBeforeATaskStartsNothing() {
        Action("Convergention1")->trigger();
        QCOMPARE(form->statusText(7), QString(kNoTaskStatus));
        QCOMPARE(form->session().grid.At(0, 0), -1);
    }

    void secondPictureInsideTheFirstWins() {
        Action("Example03")->trigger();
        QTimer::singleShot(0, [this] { Action("EndRegions1")->trigger(); });
        Action("Convergention1")->trigger();
        QCOMPARE(form->session().PictureKind, 8);
        QCOMPARE(form->statusText(7), QString("End-regions:  Where the last iteration ended."));
    }

    void resizeDropsTheGrid() {
        Action("Example03")->trigger();
        Action("Convergention1")->trigger();
        QVERIFY(form->session().grid.At(1, 1) >= 1);
        form->resize(600, 480);
        QTRY_VERIFY(form->session().grid.At(1, 1) == -1);
    }

    void ctrlTabTurnsThePagesRound() {
        auto* pages = W<QTabWidget>("PageCon");
        pages->setCurrentIndex(9);
        W<QLineEdit>("EditKd")->setFocus();
        QTest::keyClick(form->focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 0);
        QTest::keyClick(form->focusWidget(), Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pages->currentIndex(), 9);
    }

    void everyCommandRunsWithoutBlocking() {
        Action("Example10")->trigger();
        W<QSpinBox>("SpinPeriodIter")->setValue(20);
        W<QSpinBox>("SpinInfinityTest")->setValue(20);
        W<QSpinBox>("SpinLyapIter")->setValue(20);
        W<QSpinBox>("SpinKonvergIter")->setValue(20);
        W<QSpinBox>("SpinClosestIter")->setValue(20);
        for (QAction* a : form->findChildren<QAction*>()) {
            const QString name = a->objectName();
            // The dialogs and the exit are exercised elsewhere.
            if (name.isEmpty() || name == "menuSaveObraz" || name == "Konec1" ||
                name == "Oaplikaci1" || name == "Jakpracovat1" || a->menu())
                continue;
            a->trigger();
            const int tag = a->property("Tag").toInt();
            if (name.endsWith("1") && tag > 0 && !name.startsWith("Example") &&
                !name.startsWith("N")) {
                QCOMPARE(form->session().PictureKind, tag);
            }
        }
        // The hidden Lyapunov items answer their keys.
        form->activateWindow();
        W<QLineEdit>("EditKd")->setFocus();
        QTest::keyClick(W<QLineEdit>("EditKd"), Qt::Key_F6);
        QCOMPARE(form->session().PictureKind, 19);
    }

    void closingDuringAPictureEndsItCleanly() {
        Action("Example03")->trigger();
        W<QSpinBox>("SpinKonvergIter")->setValue(5000);
        QTimer::singleShot(0, [this] { form->close(); });
        Action("Convergention1")->trigger();
        QVERIFY(!form->session().Running());
        QTRY_VERIFY(!form->isVisible());
    }
};

QTEST_MAIN(VorlaFormTest)
#include "vorla_form_test.moc"
