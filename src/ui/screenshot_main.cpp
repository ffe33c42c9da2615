// Shows the window, loads Example 03, draws its convergence picture and saves the window's
// image; with a folder, also the left column with each parameter page shown, one file a page;
// with a second folder, the tabula through a zoom step of the wheel: the preview shown at
// once, the first coarse pass and the exact picture:
// vorla-screenshot FILE.png [PAGES-FOLDER [ZOOM-FOLDER]]
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTimer>
#include <QWheelEvent>
#include <cstdio>

#include "plane/number_text.h"
#include "ui/tabula_view.h"
#include "ui/vorla_form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: vorla-screenshot FILE.png [PAGES-FOLDER [ZOOM-FOLDER]]\n");
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
        if (argc >= 3) {
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
        if (argc < 4 || !ok) return app.quit();
        // A wheel notch forward about a point left of the middle, where the basins meet.
        const QDir zoom(QString::fromLocal8Bit(argv[3]));
        vorla::TabulaView* view = form.tabulaView();
        const QPointF at(view->width() * 0.4, view->height() * 0.45);
        QWheelEvent wheel(at, view->mapToGlobal(at), {}, {0, 3 * 120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        const QImage preview = view->Shown();
        ok = preview.save(zoom.filePath("zoom-1-preview.png"));
        auto* steps = new QTimer(&app);
        QObject::connect(steps, &QTimer::timeout, [&app, &rc, &form, steps, zoom, view, preview] {
            const vorla::PictureProgress& p = form.session().Progress();
            const QString coarse = zoom.filePath("zoom-2-coarse.png");
            if (form.pictureRunning() && p.step <= 4 && p.step > 0 && view->Shown() != preview &&
                !QFile::exists(coarse) && !view->Shown().save(coarse))
                rc = 1;
            if (form.pictureRunning()) return;
            steps->stop();
            if (!form.session().tabula().Image().save(zoom.filePath("zoom-3-exact.png"))) rc = 1;
            app.quit();
        });
        rc = ok ? 0 : 1;
        steps->start(1);
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
