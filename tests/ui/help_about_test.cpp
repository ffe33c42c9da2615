// The brief-help and About windows as a user meets them.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include "ui/about_window.h"
#include "ui/help_window.h"

using namespace vorla;

class HelpAboutTest : public QObject {
    Q_OBJECT

    QString original_;
    QTemporaryDir dir_;

    QString DataFile() const {
        return QDir(qEnvironmentVariable("VORLA_TEST_DATA")).filePath("Vorla.rtf");
    }

  private slots:
    void initTestCase() {
        original_ = QDir::currentPath();
        QVERIFY(dir_.isValid());
        QVERIFY2(QFile::exists(DataFile()), qPrintable(DataFile()));
    }
    void cleanup() { QDir::setCurrent(original_); }

    void designTimeState() {
        THep1F h;
        QCOMPARE(h.windowTitle(), QString("popis"));
        QCOMPARE(h.size(), QSize(636, 401));
        QVERIFY(h.LoadFlag);
        QCOMPARE(h.RichEditHelp->toPlainText(), QString("\n        Soubor nenalezen !"));
        QVERIFY(h.RichEditHelp->isReadOnly());
        QCOMPARE(h.RichEditHelp->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(h.RichEditHelp->frameShape(), QFrame::NoFrame);
        QCOMPARE(h.ShapeRtf->objectName(), QString("ShapeRtf"));
        QCOMPARE(h.ShapeRtf->geometry(), QRect(8, 8, 620, 385));
        QCOMPARE(h.RichEditHelp->geometry(), QRect(16, 16, 604, 369));
        h.show();
        h.resize(400, 300);
        QTRY_COMPARE(h.ShapeRtf->geometry(), QRect(8, 8, 384, 284));
        QCOMPARE(h.RichEditHelp->geometry(), QRect(16, 16, 368, 268));
    }

    void helpFoundInTheWorkingDirectoryIsLoadedOnce() {
        QTemporaryDir work;
        QVERIFY(QFile::copy(DataFile(), work.filePath("Vorla.rtf")));
        QDir::setCurrent(work.path());
        THep1F h;
        h.ReportByMessageBox = false;
        QSignalSpy failed(&h, &THep1F::helpLoadFailed);
        h.ShowHelp("Vorla.rtf");
        QVERIFY(h.isVisible());
        QCOMPARE(h.windowTitle(), QString("Vorla.rtf"));
        QVERIFY(!h.LoadFlag);
        const QString text = h.RichEditHelp->toPlainText();
        QVERIFY(text.contains("Brief help"));
        QVERIFY(!text.contains("Soubor nenalezen"));
        QVERIFY(!text.contains("\\par"));
        QCOMPARE(failed.count(), 0);
        // Changing the file afterwards has no effect in this run.
        QFile f(work.filePath("Vorla.rtf"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("{\\rtf1 changed}");
        f.close();
        h.close();
        h.ShowHelp("Vorla.rtf");
        h.FormActivate();
        QCOMPARE(h.RichEditHelp->toPlainText(), text);
    }

    void plainTextFileIsShownAsItIs() {
        QTemporaryDir work;
        QFile f(work.filePath("notes.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Just plain text, \xc4\x8d.");
        f.close();
        QDir::setCurrent(work.path());
        THep1F h;
        h.ShowHelp("notes.txt");
        QCOMPARE(h.RichEditHelp->toPlainText(), QString::fromUtf8("Just plain text, č."));
        QCOMPARE(h.windowTitle(), QString("notes.txt"));
    }

    void malformedAndOversizedHelpFiles() {
        QTemporaryDir work;
        QDir::setCurrent(work.path());
        auto write = [&](const char* name, const QByteArray& data) {
            QFile f(work.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(data);
        };
        // Cut off inside a group, with unknown words: what was read is shown.
        write("cut.rtf", "{\\rtf1\\ansi {\\fonttbl{\\f0 Arial;}}\\zzunknown7 Hello {\\b wor");
        {
            THep1F h;
            h.ReportByMessageBox = false;
            h.ShowHelp("cut.rtf");
            QCOMPARE(h.RichEditHelp->toPlainText(), QString("Hello wor"));
            QCOMPARE(h.windowTitle(), QString("cut.rtf"));
        }
        // Bytes that are neither rich text nor UTF-8 are shown as Western 8-bit text.
        write("bytes.rtf", QByteArray("\xe8\xff{\\rtf", 6));
        {
            THep1F h;
            h.ReportByMessageBox = false;
            h.ShowHelp("bytes.rtf");
            QCOMPARE(h.RichEditHelp->toPlainText(), QString::fromUtf8("\u00e8\u00ff{\\rt"));
        }
        // A file beyond the size limit is refused like a missing one.
        {
            QFile big(work.filePath("big.rtf"));
            QVERIFY(big.open(QIODevice::WriteOnly));
            QVERIFY(big.resize(THep1F::kMaxFileSize + 1));
        }
        THep1F h;
        h.ReportByMessageBox = false;
        QSignalSpy failed(&h, &THep1F::helpLoadFailed);
        h.ShowHelp("big.rtf");
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed.at(0).at(0).toString().contains("too large"));
        QCOMPARE(h.RichEditHelp->toPlainText(), THep1F::kNotFoundText);
        QVERIFY(h.LoadFlag);
        QCOMPARE(h.windowTitle(), QString("popis"));
    }

    void helpNotFoundKeepsTheTextAndTriesAgain() {
        QTemporaryDir empty;
        QDir::setCurrent(empty.path());
        THep1F h;
        h.ReportByMessageBox = false;
        QSignalSpy failed(&h, &THep1F::helpLoadFailed);
        h.ShowHelp("NoSuchHelp.rtf");
        QCOMPARE(h.windowTitle(), QString("popis"));
        QVERIFY(h.LoadFlag);
        QCOMPARE(h.RichEditHelp->toPlainText(), QString("\n        Soubor nenalezen !"));
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed.at(0).at(0).toString().contains("NoSuchHelp.rtf"));
        // Further activations retry silently: no cycle of activations and messages.
        h.FormActivate();
        h.FormActivate();
        QCOMPARE(failed.count(), 1);
        // The file turns up: the next activation loads it.
        QVERIFY(QFile::copy(DataFile(), empty.filePath("NoSuchHelp.rtf")));
        h.FormActivate();
        QVERIFY(!h.LoadFlag);
        QCOMPARE(h.windowTitle(), QString("NoSuchHelp.rtf"));
    }

    void failedLoadReportsOncePerCommandByMessage() {
        QTemporaryDir empty;
        QDir::setCurrent(empty.path());
        THep1F h;
        QSignalSpy failed(&h, &THep1F::helpLoadFailed);
        h.ShowHelp("Missing.rtf");
        QMessageBox* box = h.findChild<QMessageBox*>();
        QVERIFY(box);
        QVERIFY(box->text().contains("Missing.rtf"));
        box->accept();
        h.FormActivate();  // the activation after the message closes
        QCOMPARE(failed.count(), 1);
        QTRY_VERIFY(h.findChildren<QMessageBox*>().isEmpty());
        h.ShowHelp("Missing.rtf");  // a new command reports again
        QCOMPARE(failed.count(), 2);
    }

    void enterAndEscapeClose() {
        THep1F h;
        h.ReportByMessageBox = false;
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            h.ShowHelp("Vorla.rtf");
            QVERIFY(h.isVisible());
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

    void aboutTextsAndClosing() {
        TAbo1F a;
        QCOMPARE(a.windowTitle(), QString("O aplikaci"));
        QCOMPARE(a.size(), QSize(368, 430));
        QCOMPARE(a.minimumSize(), a.maximumSize());
        QCOMPARE(a.LabelJmProgramu->text(), QString("Program"));
        QCOMPARE(a.LabelVerze->text(), QString("Verze"));
        QCOMPARE(a.ButOK->text(), QString::fromUtf8("Beru na vědomí"));
        QVERIFY(a.ButOK->isDefault());
        QCOMPARE(a.ButOK->geometry(), QRect(137, 383, 110, 31));
        QVERIFY(a.LabelNotice->text().contains("volně"));
        QCOMPARE(a.Emblem().size(), QSize(80, 40));
        QCOMPARE(a.Emblem().pixelColor(0, 20), QColor(255, 255, 204));

        // Enter, Escape and a click on the button each end the modal loop with OK.
        const std::function<void(TAbo1F&)> closers[] = {
            [](TAbo1F& d) { QTest::keyClick(&d, Qt::Key_Return); },
            [](TAbo1F& d) { QTest::keyClick(&d, Qt::Key_Escape); },
            [](TAbo1F& d) { QTest::mouseClick(d.ButOK, Qt::LeftButton); },
        };
        for (const auto& closeIt : closers) {
            QString name, version;
            QTimer::singleShot(0, &a, [&] {
                name = a.LabelJmProgramu->text();
                version = a.LabelVerze->text();
                closeIt(a);
            });
            QCOMPARE(a.ShowAbout("Vorla", "2"), int(QDialog::Accepted));
            QCOMPARE(name, QString("Vorla"));
            QCOMPARE(version, QString("Verze 2"));
            QVERIFY(!a.isVisible());
        }
    }
};

QTEST_MAIN(HelpAboutTest)
#include "help_about_test.moc"
