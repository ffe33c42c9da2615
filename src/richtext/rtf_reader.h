// A small reader of rich-text (RTF) files into a QTextDocument, for the brief help.
//
// It understands the part of RTF that plain documents use: groups, paragraphs, bold, italic,
// underline, font sizes, the colour table, 8-bit characters by code page, Unicode escapes and
// alignment; destinations it does not show (font and style tables, document information,
// pictures, objects, "\*" groups) are skipped. Any input is safe: the nesting depth and the
// output are capped, binary data is skipped by its length, and truncated input ends cleanly.
#pragma once

#include <QByteArray>

#include "base/status.h"
#include "richtext/code_pages.h"

class QTextDocument;

namespace vorla {

// The caps that keep any input safe.
struct RtfLimits {
    int maxDepth = 200;          // groups nested deeper are skipped whole
    int maxChars = 1 << 20;      // characters (paragraph breaks included) written at most
    int maxTableEntries = 4096;  // colours and fonts kept at most
};

// What a reading met.
struct RtfReport {
    bool isRtf = false;      // the data starts with "{\rtf"
    bool truncated = false;  // the data ended inside a group
    bool cut = false;        // the output reached maxChars; the rest was dropped
    bool tooDeep = false;    // some groups were skipped for their depth
    int chars = 0;           // characters written
};

// Replaces the document's contents with the text of `data`. Fails (and leaves the document
// as it was) when the data is not rich text.
Status ReadRtf(const QByteArray& data, QTextDocument& doc, RtfReport* report = nullptr,
               const RtfLimits& limits = {});

}  // namespace vorla
