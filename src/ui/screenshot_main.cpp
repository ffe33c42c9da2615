// Shows the window, loads Example 03, draws its convergence picture and saves the window's
// image: vorla-screenshot FILE.png
#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "plane/number_text.h"
#include "ui/vorla_form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorla-screenshot FILE.png\n");
        return 2;
    }
    QApplication::setApplicationName("Vorla");
    vorla::InitDecimalChar();
    vorla::TVorlaForm form;
    form.show();
    int rc = 1;
    QTimer::singleShot(500, [&] {
        form.findChild<QAction*>("Example03")->trigger();
        form.findChild<QAction*>("Convergention1")->trigger();
        QApplication::processEvents();
        rc = form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return rc;
}
