// Picture files, scene files and pictures rendered at a size, through the window's menus and
// dialogs, checked against the renderer.
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "support/gui_support.h"

using namespace vorla;
using namespace vorla::testing;

class SceneWindowTest : public WindowTest {
    Q_OBJECT

    QTemporaryDir dir_;
    QString F(const char* name) { return dir_.filePath(name); }
    static QByteArray Bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static int Render(QStringList args) {
        return QProcess::execute(VORLA_RENDER, args << "--quiet");
    }
    // The window's value grid as the renderer writes it.
    QByteArray GridText() {
        const ValueGrid& g = S().grid;
        QByteArray s = QByteArray::number(g.Width()) + " " + QByteArray::number(g.Height()) + " " +
                       QByteArray::number(S().PictureKind) + "\n";
        for (int r = 0; r < g.Height(); ++r)
            for (int c = 0; c < g.Width(); ++c)
                s += QByteArray::number(g.AtIndex(static_cast<size_t>(r) * g.Width() + c)) +
                     (c + 1 < g.Width() ? " " : "\n");
        return s;
    }
    // Answers the size dialog with `size` and a file dialog with `filter` (unless empty) and
    // `path`.
    static std::function<void(QWidget*)> Answer(QString path, QString filter = {},
                                                QString size = {}) {
        return [=](QWidget* m) {
            if (auto* in = qobject_cast<QInputDialog*>(m)) {
                in->setTextValue(size);
                in->accept();
            } else if (auto* d = qobject_cast<QFileDialog*>(m)) {
                if (!filter.isEmpty()) d->selectNameFilter(filter);
                d->selectFile(path);
                QMetaObject::invokeMethod(d, "accept");
            }
        };
    }
    bool RenderEnded() {
        return QTest::qWaitFor([this] { return !form->renderRunning(); }, 120000);
    }

  private slots:
    void init() { QVERIFY(Open()); }

    void picturesSaveAsBmpOrPngByTheFilterChosen() {
        Action("Example03")->trigger();
        const QImage shown = S().tabula.Copy();
        const struct {
            const char *name, *filter, *file, *magic;
        } cases[] = {{"plain", "", "plain.bmp", "BM"},
                     {"plain", "PNG image (*.png)", "plain.png", "\x89PNG"},
                     {"odd.txt", "PNG image (*.png)", "odd.txt", "\x89PNG"}};
        for (const auto& c : cases) {
            Answerer answers(Answer(F(c.name), c.filter));
            Action("menuSaveObraz")->trigger();
            QCOMPARE(answers.texts, QStringList());
            QVERIFY2(Bytes(F(c.file)).startsWith(c.magic), c.file);
            QCOMPARE(QImage(F(c.file), c.magic[0] == 'B' ? "BMP" : "PNG")
                         .convertToFormat(QImage::Format_RGB32),
                     shown);
        }
    }

    void aSceneGoesThroughAFileToTheRendererAndBack() {
        Action("Example05")->trigger();
        W<QSpinBox>("SpinPeriodIter")->setValue(40);
        W<QLineEdit>("EditKd")->setText("7/2");
        QVERIFY(Run("Periodicity1"));
        const QByteArray grid = GridText();
        {
            Answerer answers(Answer(F("s")));
            Action("SaveScene1")->trigger();
            QCOMPARE(answers.texts, QStringList());
        }
        QCOMPARE(Render({"--scene", F("s.json"), "--grid", F("r.grid"), F("r.png")}), 0);
        QCOMPARE(Bytes(F("r.grid")), grid);

        // Opening it puts back what changed since, and draws its picture again.
        W<QSpinBox>("SpinPeriodIter")->setValue(10);
        Action("Example01")->trigger();
        {
            Answerer answers(SaveAs(F("s.json")));
            Action("OpenScene1")->trigger();
            QVERIFY(Finished());
            QCOMPARE(answers.texts, QStringList());
        }
        QCOMPARE(W<QLineEdit>("EditKd")->text(), QString("7/2"));
        QCOMPARE(GridText(), grid);

        // Rendered at a size beside the window: the renderer's file, byte for byte.
        {
            Answerer answers(Answer(F("big.png"), {}, " 97 x 61 "));
            Action("RenderAtSize1")->trigger();
            QVERIFY(RenderEnded());
            QCOMPARE(answers.texts, QStringList());
        }
        QCOMPARE(Render({"--scene", F("s.json"), "--size", "97x61", F("cli.png")}), 0);
        QVERIFY(!Bytes(F("big.png")).isEmpty());
        QCOMPARE(Bytes(F("big.png")), Bytes(F("cli.png")));

        // Cancelled, it writes nothing; a size beyond the memory is refused before it starts.
        {
            Answerer answers(Answer(F("huge.bmp"), "BMP image (*.bmp)", "3000x3000"));
            Action("RenderAtSize1")->trigger();
            form->findChild<QProgressDialog*>("RenderProgress")->findChild<QPushButton*>()->click();
            QVERIFY(RenderEnded());
            QCOMPARE(answers.texts, QStringList());
            QVERIFY(!QFile::exists(F("huge.bmp")));
            QCOMPARE(form->statusText(7), QString("RENDERING CANCELLED"));
        }
        Answerer answers(Answer(F("x.png"), {}, "90000000x90000000"));
        Action("RenderAtSize1")->trigger();
        QCOMPARE(answers.texts.size(), 1);
        QVERIFY2(answers.texts[0].contains("needs about"), qPrintable(answers.texts[0]));
        QVERIFY(!form->renderRunning());
    }

    void aBadSceneChangesNothingAndUnknownKeysAreWarned() {
        Action("Example03")->trigger();
        const QByteArray head = R"({"format": "vorla-scene", "version": 1, "taskType": 2, )";
        const struct {
            QByteArray body;
            const char* says;
        } cases[] = {{R"("controls": {"EditKd": "5", "SpinPeriodIter": -4}})",
                      "bad.json: controls.SpinPeriodIter:"},
                     {R"("controls": {"EditKd": "5", "Zoom": 2}})", "unknown key controls.Zoom"}};
        for (const auto& c : cases) {
            QFile f(F("bad.json"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(head + c.body);
            f.close();
            Answerer answers(SaveAs(F("bad.json")));
            Action("OpenScene1")->trigger();
            QVERIFY(Finished());
            QCOMPARE(answers.texts.size(), 1);
            QVERIFY2(answers.texts[0].contains(c.says), qPrintable(answers.texts[0]));
        }
        // Only the good one, with its unknown key, was opened.
        QCOMPARE(W<QLineEdit>("EditKd")->text(), QString("5"));
    }
};

QTEST_MAIN(SceneWindowTest)
#include "scene_window_test.moc"
