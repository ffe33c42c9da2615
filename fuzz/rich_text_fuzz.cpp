// The help's rich-text reader takes any bytes: no fault, no hang, output within its cap.
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

#include "richtext/rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "rich_text_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    QTextDocument doc;
    vorla::RtfReport report;
    vorla::RtfLimits limits;
    limits.maxChars = 1 << 16;
    (void)vorla::ReadRtf(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), doc, &report,
        limits);
    if (report.chars > limits.maxChars) std::abort();
    return 0;
}
