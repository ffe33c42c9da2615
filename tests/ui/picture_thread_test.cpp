// Pictures beside the event loop: however many picture commands come and however slow a band
// is, the window answers, the stack stays flat and a stop ends the picture at once.
#include <QElapsedTimer>
#include <QSpinBox>
#include <QtTest>

#include "pictures/kinds.h"
#include "support/gui_support.h"
#include "ui/tabula_view.h"

using namespace vorla;
using namespace vorla::testing;

class PictureThreadTest : public WindowTest {
    Q_OBJECT
  private slots:
    void init() { QVERIFY(Open()); }
    void cleanup() { form.reset(); }

    void aThousandPictureCommandsEndInTheLastPicture() {
        Action("Example03")->trigger();
        for (int i = 0; i < 1000; ++i) {
            form->ActionClick(i % 2 ? 1 : 8);
            if (i % 50 == 0) QCoreApplication::processEvents();
        }
        QVERIFY(Finished());
        QCOMPARE(S().PictureKind, 1);
        const std::vector<std::int32_t> last = S().grid.Cells();
        const QImage shown = S().tabula.Copy();
        QVERIFY(Run("Convergention1"));  // the same picture from start to end
        QCOMPARE(S().grid.Cells(), last);
        QCOMPARE(S().tabula.Copy(), shown);
        Action("Convergention1")->trigger();
        form.reset();  // the window may go while a picture runs: its thread ends first
    }

    void aSlowBandEndsAtOnceAndTheWindowAnswersMeanwhile() {
        Action("Example10")->trigger();
        W<QSpinBox>("SpinInfinityTest")->setValue(1000000);
        Action("InfinityReach1")->trigger();
        QVERIFY(form->pictureRunning());
        QCOMPARE(form->statusText(7), QString::fromStdString(PictureStatusTexts(15)));
        QTest::mousePress(form->tabulaView(), Qt::LeftButton, {}, QPoint(5, 5));  // ignored
        QTest::mouseRelease(form->tabulaView(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(form->mouseTools().DraggedCentre, -1);
        bool handled = false;  // an event posted while the first band is computed
        QTimer::singleShot(0, this, [&] { handled = true; });
        QVERIFY(QTest::qWaitFor([&] { return handled; }, 5000) && form->pictureRunning());
        // A band of this picture takes minutes; Escape ends it within a pixel's orbit.
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(W("EditKd"), Qt::Key_Escape);
        QVERIFY(Finished());
        qInfo("the picture ended %lld ms after Escape", static_cast<long long>(clock.elapsed()));
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    }
};

QTEST_MAIN(PictureThreadTest)
#include "picture_thread_test.moc"
