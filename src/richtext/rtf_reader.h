// A small reader of rich-text (RTF) files into a QTextDocument, for the brief help.
//
// It understands the part of RTF that plain documents use: groups, paragraphs, bold, italic,
// underline, font sizes, the colour table, 8-bit characters by code page, Unicode escapes and
// alignment; destinations it does not show (font and style tables, document information,
// pictures, objects, "\*" groups) are skipped. Any input is safe: the nesting depth and the
// output are capped, binary data is skipped by its length, and truncated input ends cleanly.
#pragma once

#include <QByteArray>
#include <QString>

#include "base/status.h"
#include "richtext/code_pages.h"

class QTextDocument;

namespace vorla {

// The caps that keep any input safe, and its layout quick and small: a document within them
// lays out in well under a second and a few tens of megabytes, and its height stays far
// below the 2^23 pixels beyond which Qt's layout no longer ends.
struct RtfLimits {
    int maxDepth = 200;             // groups nested deeper are skipped whole
    int maxChars = 1 << 18;         // characters (paragraph breaks included) written at most
    int maxParagraphs = 1 << 14;    // paragraph breaks written at most
    int maxRuns = 1 << 13;          // changes of the character format; then it stays
    long long maxHeight = 1 << 22;  // pixels the text could take in the narrowest window
    int maxTableEntries = 4096;     // colours and fonts kept at most
};

// What a reading met.
struct RtfReport {
    bool isRtf = false;       // the data starts with "{\rtf"
    bool truncated = false;   // the data ended inside a group
    bool cut = false;         // the output reached a cap of its size; the rest was dropped
    bool formatsCut = false;  // maxRuns was reached; later formats were not applied
    bool tooDeep = false;     // some groups were skipped for their depth
    int chars = 0;            // characters written
};

// Replaces the document's contents with the text of `data`. Fails (and leaves the document
// as it was) when the data is not rich text.
Status ReadRtf(const QByteArray& data, QTextDocument& doc, RtfReport* report = nullptr,
               const RtfLimits& limits = {});
// Replaces the document's contents with plain text, a paragraph for each line, within the
// same caps.
void ReadPlainText(const QString& text, QTextDocument& doc, RtfReport* report = nullptr,
                   const RtfLimits& limits = {});

}  // namespace vorla
