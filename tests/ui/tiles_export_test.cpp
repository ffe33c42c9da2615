// Picture > Export deep zoom driven as a user drives it: the renderer's folder, file for file.
#include <QtTest>

#include "support/gui_support.h"

using namespace vorla;
using namespace vorla::testing;

class TilesExportTest : public WindowTest {
    Q_OBJECT

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
};

QTEST_MAIN(TilesExportTest)
#include "tiles_export_test.moc"
