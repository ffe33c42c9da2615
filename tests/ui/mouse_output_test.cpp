// The tabula's mouse tools, the picture output commands and the help and About commands,
// driven through the main window as a user drives them.
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include "colour/palette.h"
#include "overlays/fp_guard.h"
#include "plane/number_text.h"
#include "plane/tabula.h"
#include "support/gui_support.h"
#include "ui/about_window.h"
#include "ui/help_window.h"
#include "ui/tabula_view.h"
#include "ui/vorla_form.h"
#include "ui/widget_controls.h"

using namespace vorla;
using namespace vorla::testing;

namespace {

// Answers a save dialog with a path.
std::function<void(QWidget*)> SaveAs(const QString& path) {
    return [path](QWidget* m) {
        if (auto* d = qobject_cast<QFileDialog*>(m)) {
            d->selectFile(path);
            QMetaObject::invokeMethod(d, "accept");
        }
    };
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class MouseOutputTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TVorlaForm> form;
    QString originalDir_;

    QAction* Action(const char* name) { return form->findChild<QAction*>(name); }
    template <class T = QWidget>
    T* W(const char* name) {
        return form->findChild<T*>(name);
    }
    QString Text(const char* name) { return W<QLineEdit>(name)->text(); }
    Session& S() { return form->session(); }
    QImage Picture() { return S().tabula.Copy(); }

    // One mouse event on the tabula, with exactly the given buttons held.
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers mods, QPoint p) {
        QWidget* t = form->tabulaView();
        QMouseEvent e(type, QPointF(p), t->mapToGlobal(QPointF(p)), button, held, mods);
        QApplication::sendEvent(t, &e);
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
    QPoint Centre() { return QPoint(S().view.W / 2, S().view.H / 3); }
    // A right click from another control: did it draw, and where did the focus go?
    bool RightClickDraws(Qt::KeyboardModifiers mods, bool twice = false) {
        W("edtXod")->setFocus();
        const QImage before = Picture();
        Click(Qt::RightButton, mods, Centre(), twice);
        return Picture() != before;
    }
    // Picks a task type the way the user does.
    void ChooseTask(int index) {
        auto* combo = W<QComboBox>("ComboTypUlohy");
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    bool FocusOnRecalc() { return form->focusWidget() == W("ButPrepocet"); }

  private slots:
    void initTestCase() { originalDir_ = QDir::currentPath(); }
    void init() {
        form = std::make_unique<TVorlaForm>();
        QVERIFY(ShowSmall(*form));
    }
    void cleanup() {
        form.reset();
        QDir::setCurrent(originalDir_);
    }

    // --- presses ----------------------------------------------------------------------------

    void pressesBeforeATaskAndDuringAPictureAreIgnored() {
        QVERIFY(!RightClickDraws({}));
        QVERIFY(!FocusOnRecalc());
        Move(QPoint(5, 5));
        QCOMPARE(form->statusText(1), QString());  // nothing shown before the first task

        Action("Example03")->trigger();
        const CentreHandles h = S().view.handles;
        const QPoint k3(h.col[2], h.row[2]);
        W<QSpinBox>("SpinKonvergIter")->setValue(3000);
        int dragged = 0;
        QString panel;
        QTimer::singleShot(0, form.get(), [&] {
            Press(Qt::LeftButton, {}, k3);
            dragged = form->mouseTools().DraggedCentre;
            Move(QPoint(5, 5));
            panel = form->statusText(1);
            form->StopVypoctuClick();
        });
        Action("Convergention1")->trigger();
        QCOMPARE(dragged, -1);
        QCOMPARE(panel, QString());
    }

    void rightButtonFollowsTheExactShiftState() {
        Answerer answers;
        Action("Example03")->trigger();  // four circles
        QVERIFY(RightClickDraws({}));
        QVERIFY(FocusOnRecalc());
        QVERIFY(RightClickDraws(Qt::ShiftModifier));
        // Sets that are not in the table draw nothing but still move the focus.
        for (Qt::KeyboardModifiers mods :
             {Qt::KeyboardModifiers(Qt::AltModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
            QVERIFY(!RightClickDraws(mods));
            QVERIFY(FocusOnRecalc());
        }
        QVERIFY(!RightClickDraws({}, true));             // the second press of a double click
        QVERIFY(!RightClickDraws(Qt::ControlModifier));  // no analytic circle for four circles
        QVERIFY(RightClickDraws(Qt::ControlModifier | Qt::AltModifier));
        // The middle button does nothing at all.
        W("edtXod")->setFocus();
        const QImage before = Picture();
        Click(Qt::MiddleButton, {}, Centre());
        QCOMPARE(Picture(), before);
        QVERIFY(!FocusOnRecalc());
        QCOMPARE(answers.seen, 0);
    }

    void ctrlLeftClickWritesYRelatively() {
        Answerer answers;
        Action("Example03")->trigger();
        const int row0 = S().view.axes.RowY0;
        Click(Qt::LeftButton, Qt::ControlModifier, QPoint(10, row0));
        const long double atZero =
            TextToNumberDef(Text("edtYzero").toStdString(), RangeCheck::None, 1);
        QVERIFY(qAbs(atZero - 0.5L) < 0.01L);  // the row holds y = 0 to within a pixel
        QCOMPARE(Text("edtYzero").section('.', 1).size(), 6);
        // A height above Y = 0 goes to the middle of the picture once the axes are read again.
        const int row = row0 - 40;
        const long double y = S().view.axes.YOfRow(row);
        Click(Qt::LeftButton, Qt::ControlModifier, QPoint(10, row));
        QVERIFY(TextToNumberDef(Text("edtYzero").toStdString(), RangeCheck::None, 1) < 0.5L);
        form->ButPrepocetClick();
        QVERIFY(qAbs(S().view.axes.RowOfY(y) - S().view.H / 2) <= 1);
        // The second press of a double click is a plain press: no new value.
        W<QLineEdit>("edtYzero")->setText("1/3");
        Click(Qt::LeftButton, Qt::ControlModifier, QPoint(10, row0), true);
        QCOMPARE(Text("edtYzero"), QString("1/3"));
        QCOMPARE(answers.seen, 0);
        // A zero X range is reported and leaves the field as it was.
        W<QLineEdit>("edtXod")->setText("2");
        W<QLineEdit>("edtXdo")->setText("2");
        Click(Qt::LeftButton, Qt::ControlModifier, QPoint(10, row0));
        QTRY_COMPARE(answers.texts, QStringList{kDivisionByZero});
        QCOMPARE(Text("edtYzero"), QString("1/3"));
    }

    // --- drag -------------------------------------------------------------------------------

    void draggingACentreMovesItsFieldsAndRedraws() {
        Action("Example03")->trigger();
        const CentreHandles h = S().view.handles;
        const QPoint k3(h.col[2], h.row[2]);
        QVERIFY(form->tabulaView()->rect().contains(k3));
        Press(Qt::LeftButton, {}, k3 + QPoint(3, 0));
        QCOMPARE(form->mouseTools().DraggedCentre, -1);
        Release(Qt::LeftButton, k3);
        Press(Qt::LeftButton, Qt::ShiftModifier, k3 + QPoint(2, -2));
        QCOMPARE(form->mouseTools().DraggedCentre, 2);

        const QStringList radii = {Text("EditKr"), Text("EditKs"), Text("EditKw"), Text("EditKc")};
        const QString kd = Text("EditKd"), ku = Text("EditKu");
        const QPoint to = k3 + QPoint(15, 9);
        Move(to, Qt::LeftButton);
        QCOMPARE(Text("EditKm"), form->statusText(1));
        QCOMPARE(Text("EditKn"), form->statusText(3));
        QCOMPARE(Text("EditKm"),
                 QString::fromStdString(CoordinateText(S().view.axes.XOfColumn(to.x()))));
        QCOMPARE(Text("EditKd"), kd);
        QCOMPARE(Text("EditKu"), ku);
        QCOMPARE(QStringList({Text("EditKr"), Text("EditKs"), Text("EditKw"), Text("EditKc")}),
                 radii);
        const QString published = form->publishedScene;
        QVERIFY(published.contains(Text("EditKm")));

        // Beyond the tabula (the mouse is captured) the fields follow, the grid is not read.
        Move(QPoint(-50, S().view.H + 80), Qt::LeftButton);
        QCOMPARE(W<QLabel>("LabelNumB")->text(), QString("- -"));
        Release(Qt::LeftButton, QPoint(-50, S().view.H + 80));
        QCOMPARE(form->mouseTools().DraggedCentre, -1);
        QCOMPARE(Text("EditKm"), form->statusText(1));
        // The handle follows the circle, for the next press.
        const TAxisB& ax = S().view.axes;
        QCOMPARE(S().view.handles.col[2], ax.ColumnOfX(S().scene.k.M));
        QCOMPARE(S().view.handles.row[2], ax.RowOfY(S().scene.k.N));
        const QImage afterDrag = Picture();
        Move(to);  // no drag any more: the picture stays
        QCOMPARE(Picture(), afterDrag);
    }

    // --- hover ------------------------------------------------------------------------------

    void hoverShowsThePointTheValueAndTheColour() {
        Action("Example03")->trigger();
        const QPoint p(7, 11);
        Move(p);
        QCOMPARE(form->statusText(1),
                 QString::fromStdString(CoordinateText(S().view.axes.XOfColumn(p.x()))));
        QCOMPARE(form->statusText(3),
                 QString::fromStdString(CoordinateText(S().view.axes.YOfRow(p.y()))));
        QCOMPARE(W<QLabel>("LabelNumB")->text(), QString("-1"));

        Action("Convergention1")->trigger();
        Move(p);
        const int W_ = S().view.W;
        QCOMPARE(W<QLabel>("LabelNumB")->text(),
                 QString::number(S().grid.AtIndex(p.y() * W_ + p.x())));
        const Colour c = FromQColor(QColor(S().tabula.Image().pixel(p)));
        QCOMPARE(W<QLabel>("LabelBarvT")->palette().color(QPalette::Window), ToQColor(c));
        QCOMPARE(W<QLabel>("LabelCisBarvy")->text(), QString::fromStdString(ColorText(c)));

        // A distance picture stores thousandths.
        Action("Iterations1")->trigger();
        Move(p);
        const std::int32_t v = S().grid.AtIndex(p.y() * W_ + p.x());
        QCOMPARE(W<QLabel>("LabelNumB")->text(),
                 QString::fromStdString(GeneralText(static_cast<long double>(v) / 1000)));
    }

    // --- output -----------------------------------------------------------------------------

    void aFailedSaveNamesThePathAndKeepsTheOldFile() {
        Action("Example03")->trigger();
        QTemporaryDir dir;
        const QString path = dir.filePath("old.bmp");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("the old picture");
        }
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
        {
            Answerer answers(SaveAs(path));
            Action("menuSaveObraz")->trigger();
            QTRY_COMPARE(answers.texts.size(), 1);
            QVERIFY2(answers.texts[0].contains(path), qPrintable(answers.texts[0]));
        }
        QCOMPARE(ReadAll(path), QByteArray("the old picture"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.bmp"});

        // A writable file is replaced by the picture, a bitmap of the tabula's size.
        ::chmod(QFile::encodeName(path).constData(), 0644);
        Answerer answers(SaveAs(path));
        Action("menuSaveObraz")->trigger();
        QCOMPARE(answers.texts, QStringList());
        QImage saved;
        QVERIFY(saved.load(path, "BMP"));
        QCOMPARE(saved.size(), QSize(S().view.W, S().view.H));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), Picture());
    }

    void storeRestoreAndTheClipboard() {
        Action("Example03")->trigger();
        Action("UschovatObraz1")->trigger();
        const QImage stored = Picture();
        for (int i = 0; i < 2; ++i) {  // the copy stays stored
            Action("Convergention1")->trigger();
            QVERIFY(Picture() != stored);
            Action("ObnovitObraz1")->trigger();
            QCOMPARE(Picture(), stored);
        }
        Action("menuKopie")->trigger();
        const QImage clip = QApplication::clipboard()->image();
        QCOMPARE(clip.size(), QSize(S().view.W, S().view.H));
        QCOMPARE(clip.convertToFormat(QImage::Format_RGB32), stored);
        Action("TextDoSchranky1")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("\r\n"));
        ChooseTask(0);
        Action("TextDoSchranky1")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString(" \r\n"));
    }

    // --- help and About ---------------------------------------------------------------------

    void briefHelpOpensBesideTheWindow() {
        QTemporaryDir work;
        QVERIFY(QFile::copy(QDir(qEnvironmentVariable("VORLA_TEST_DATA")).filePath("Vorla.rtf"),
                            work.filePath("Vorla.rtf")));
        QDir::setCurrent(work.path());
        form->CreateSmallWindows();
        THep1F* help = form->helpWindow();
        QVERIFY(help && !help->isVisible());
        QCOMPARE(Action("Jakpracovat1")->shortcut(), QKeySequence(Qt::Key_F1));
        Action("Jakpracovat1")->trigger();  // returns at once: the help is not modal
        QVERIFY(help->isVisible());
        QCOMPARE(help->windowTitle(), QString("Vorla.rtf"));
        QVERIFY(help->RichEditHelp->toPlainText().contains("Brief help"));
        QCOMPARE(help->parentWidget(), form.get());
        help->close();
        QVERIFY(!help->isVisible());
        QCOMPARE(form->helpWindow(), help);  // closing only hides it
    }

    void aboutShowsNameAndVersionModally() {
        QCOMPARE(Action("Oaplikaci1")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));
        QString name, version;
        Answerer answers([&](QWidget* m) {
            if (auto* a = qobject_cast<TAbo1F*>(m)) {
                name = a->LabelJmProgramu->text();
                version = a->LabelVerze->text();
                QTest::keyClick(a, Qt::Key_Escape);
            }
        });
        Action("Oaplikaci1")->trigger();  // returns once the window is closed
        QCOMPARE(answers.seen, 1);
        QCOMPARE(answers.lastClass, QString("vorla::TAbo1F"));
        QCOMPARE(name, QString("Vorla"));
        QCOMPARE(version, QString("Verze 2"));
        QVERIFY(!form->aboutWindow()->isVisible());
    }
};

QTEST_MAIN(MouseOutputTest)
#include "mouse_output_test.moc"
