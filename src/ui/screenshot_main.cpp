// Shows the window, loads Example 03, draws its convergence picture and saves the window's
// image; with a folder, also the left column with each parameter page shown, one file a page:
// vorla-screenshot FILE.png [PAGES-FOLDER]
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "plane/number_text.h"
#include "ui/vorla_form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: vorla-screenshot FILE.png [PAGES-FOLDER]\n");
        return 2;
    }
    QApplication::setApplicationName("Vorla");
    vorla::InitDecimalChar();
    vorla::TVorlaForm form;
    form.show();
    int rc = 1;
    QTimer poll;
    auto save = [&] {
        if (form.pictureRunning()) return;  // the picture is computed beside the event loop
        poll.stop();
        bool ok = form.grab().save(QString::fromLocal8Bit(argv[1]));
        if (argc == 3) {
            const QDir folder(QString::fromLocal8Bit(argv[2]));
            auto* pages = form.findChild<QTabWidget*>("PageCon");
            QWidget* column = form.findChild<QWidget*>("LeftColumn");
            for (int i = 0; ok && i < pages->count(); ++i) {
                pages->setCurrentIndex(i);
                QApplication::processEvents();
                const QString name = QString("%1-%2.png")
                                         .arg(i + 1, 2, 10, QChar('0'))
                                         .arg(pages->tabText(i).toLower());
                ok = column->grab().save(folder.filePath(name));
            }
            pages->setCurrentIndex(0);
        }
        rc = ok ? 0 : 1;
        app.quit();
    };
    QObject::connect(&poll, &QTimer::timeout, save);
    QTimer::singleShot(500, [&] {
        form.findChild<QAction*>("Example03")->trigger();
        form.findChild<QAction*>("Convergention1")->trigger();
        poll.start(50);
    });
    app.exec();
    return rc;
}
