// Pictures beside the event loop: however many picture commands come and however slow a band
// is, the window answers, the stack stays flat and a stop ends the picture at once.
#include <QElapsedTimer>
#include <QSpinBox>
#include <QtTest>

#include "pictures/kinds.h"
#include "support/gui_support.h"

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
    }

    void aSlowBandEndsAtOnceAndTheWindowAnswersMeanwhile() {
        Action("Example10")->trigger();
        W<QSpinBox>("SpinInfinityTest")->setValue(1000000);
        Action("InfinityReach1")->trigger();
        QVERIFY(form->pictureRunning());
        QCOMPARE(form->statusText(7), QString::fromStdString(PictureStatusTexts(15)));
        // Events posted while the first band is computed are handled at once.
        for (int i = 0; i < 5; ++i) {
            bool handled = false;
            QTimer::singleShot(0, this, [&] { handled = true; });
            QVERIFY(QTest::qWaitFor([&] { return handled; }, 5000));
            QVERIFY(form->pictureRunning());
        }
        // A band of this picture takes minutes; Escape ends it within a pixel's orbit.
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(W("EditKd"), Qt::Key_Escape);
        QVERIFY(Finished());
        qInfo("the picture ended %lld ms after Escape", static_cast<long long>(clock.elapsed()));
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(S().StopRequested);
        QVERIFY(W("StopVypoctu")->isHidden());
    }

    void closingDuringAPictureClosesTheWindow() {
        Action("Example10")->trigger();
        W<QSpinBox>("SpinInfinityTest")->setValue(1000000);
        Action("InfinityReach1")->trigger();
        form->close();
        QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 10000);
        QVERIFY(!form->pictureRunning());
    }

    void theWindowMayGoWhileAPictureRuns() {
        Action("Example10")->trigger();
        W<QSpinBox>("SpinInfinityTest")->setValue(1000000);
        Action("InfinityReach1")->trigger();
        form.reset();  // the picture thread ends before the window goes
    }
};

QTEST_MAIN(PictureThreadTest)
#include "picture_thread_test.moc"
