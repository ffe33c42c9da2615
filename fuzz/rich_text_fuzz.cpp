// The help's rich-text reader takes any bytes: no fault, no hang, output within its caps, and
// a document that lays out quickly; a slow layout shows as a timeout.
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
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument doc;
    vorla::RtfReport report;
    const vorla::RtfLimits limits;
    if (!vorla::ReadRtf(bytes, doc, &report, limits))
        vorla::ReadPlainText(QString::fromUtf8(bytes), doc, &report, limits);
    if (report.chars > limits.maxChars) std::abort();
    // Laid out as the help window does, at a width the input picks (down to the narrowest,
    // where every character may take a line of its own).
    doc.setTextWidth(size ? data[size - 1] % 600 : 300);
    if (doc.size().height() >= 1 << 23) std::abort();
    return 0;
}
