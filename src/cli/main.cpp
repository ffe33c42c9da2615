#include <clocale>
#include <iostream>

#include "cli/interrupt.h"
#include "cli/render_cli.h"
#include "plane/number_text.h"

int main(int argc, char** argv) {
    vorla::InstallInterruptHandlers();
    std::setlocale(LC_ALL, "");
    vorla::InitDecimalChar();
    return vorla::RunRender(argc, argv, std::cout, std::cerr);
}
