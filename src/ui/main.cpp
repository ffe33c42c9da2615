#include <QApplication>

#include "plane/number_text.h"
#include "ui/scene_bus.h"
#include "ui/vorla_form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vorla");
    // No display name: the platform would append it to the window's caption. The desktop
    // entry names the program on the task bar.
    QGuiApplication::setDesktopFileName("vorla");
    vorla::InitDecimalChar();  // the locale is set up by the application object

    vorla::TVorlaForm form;
    form.CreateSmallWindows();  // About first, then the brief help; both stay hidden

    // Other programs read the scene text on the session bus; without a bus the program
    // simply runs without publishing it.
    vorla::SceneBus bus;
    bus.Start();
    QObject::connect(&form, &vorla::TVorlaForm::sceneTextChanged, &bus, &vorla::SceneBus::Publish);

    form.show();
    return app.exec();
}
