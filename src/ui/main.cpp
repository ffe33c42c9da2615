#include <QApplication>

#include "plane/number_text.h"
#include "ui/vorla_form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vorla");
    QApplication::setApplicationDisplayName("Vorla");
    vorla::InitDecimalChar();  // the locale is set up by the application object
    vorla::TVorlaForm form;
    form.show();
    return app.exec();
}
