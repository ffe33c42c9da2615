// Picture > Export deep zoom driven as a user drives it: the renderer's folder, file for file;
// one job beside the window at a time; Cancel leaves nothing.
#include <QDir>
#include <QProgressDialog>
#include <QtTest>

#include "support/gui_support.h"

using namespace vorla;
using namespace vorla::testing;

class TilesExportTest : public WindowTest {
    Q_OBJECT

    // The names in the test's folder that an export may have left half written.
    QStringList Leftovers() {
        return QDir(folder.path()).entryList({".vorla-*"}, QDir::AllEntries | QDir::Hidden);
    }

  private slots:
    void init() {
        QVERIFY(Open());
        Action("Example05")->trigger();
        QVERIFY(Run("Periodicity1"));
    }
    void cleanup() { form.reset(); }

    void theFolderIsTheRenderersFileForFile() {
        QCOMPARE(Through("SaveScene1", F("s.json")), QStringList());
        QCOMPARE(Through("ExportDeepZoom1", F("poster"), {}, " 97 x 61 "), QStringList());
        QCOMPARE(Status(7), "Exported 97x61: open " + F("poster/index.html"));
        QCOMPARE(Render({"--scene", F("s.json"), "--size", "97x61", "--tiles", F("cli")}), 0);
        QVERIFY(QFile::exists(F("poster/index.html")));
        QCOMPARE(QProcess::execute("diff", {"-r", F("poster"), F("cli")}), 0);  // hidden files too
        // The same folder chosen again is one that exists: the export replaces it whole.
        QCOMPARE(Through("ExportDeepZoom1", F("poster"), {}, "97x61"), QStringList());
        QCOMPARE(QProcess::execute("diff", {"-r", F("poster"), F("cli")}), 0);
    }

    void aSecondJobWaitsForTheFirstAndACancelLeavesNothing() {
        Answerer answers(AnswerFile(F("cancelled"), {}, "6000x4000"));
        Action("ExportDeepZoom1")->trigger();
        QVERIFY(QTest::qWaitFor([this] { return !Leftovers().isEmpty(); }, 60000));
        Action("RenderAtSize1")->trigger();
        Action("ExportDeepZoom1")->trigger();
        QCOMPARE(answers.texts,
                 QStringList(2, "A picture is being rendered already: wait for it, or cancel it."));
        form->findChild<QProgressDialog*>("ExportProgress")->findChild<QPushButton*>()->click();
        QVERIFY(RenderEnded());
        QCOMPARE(Status(7), QString("EXPORT CANCELLED"));
        QVERIFY(!QFile::exists(F("cancelled")));
        QCOMPARE(Leftovers(), QStringList());
    }
};

QTEST_MAIN(TilesExportTest)
#include "tiles_export_test.moc"
