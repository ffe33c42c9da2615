// The brief-help window as a user meets it.
#include "ui/help_window.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

using namespace vorla;

class HelpWindowTest : public QObject {
    Q_OBJECT

    QString original_;

    QString DataFile() const {
        return QDir(qEnvironmentVariable("VORLA_TEST_DATA")).filePath("Vorla.rtf");
    }
    // A new working folder holding the given files.
    std::unique_ptr<QTemporaryDir> WorkIn(const QList<QPair<QString, QByteArray>>& files) {
        auto dir = std::make_unique<QTemporaryDir>();
        for (const auto& [name, data] : files) {
            QFile f(dir->filePath(name));
            if (f.open(QIODevice::WriteOnly)) f.write(data);
        }
        QDir::setCurrent(dir->path());
        return dir;
    }

  private slots:
    void initTestCase() {
        original_ = QDir::currentPath();
        QVERIFY2(QFile::exists(DataFile()), qPrintable(DataFile()));
    }
    void cleanup() { QDir::setCurrent(original_); }

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
        QVERIFY(failed.count() == 1 && failed.at(0).at(0).toString().contains("too large"));
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
        QVERIFY(text.contains("Brief help") && !text.contains("\\par"));
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

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
