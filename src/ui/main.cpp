#include <QApplication>

#include "plane/number_text.h"
#include "ui/vorla_form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vorla");
    // No display name: the platform would append it to the window's caption. The desktop
    // entry names the program on the task bar.
    QGuiApplication::setDesktopFileName("vorla");
    vorla::InitDecimalChar();  // the locale is set up by the application object
    vorla::TVorlaForm form;
    form.show();
    return app.exec();
}
