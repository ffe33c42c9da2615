// The writing side of the rich-text reader: characters gathered into runs of one format,
// paragraphs with their block format, and the caps of RtfLimits on both.
#pragma once

#include <QColor>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QVector>
#include <array>

#include "richtext/rtf_reader.h"

namespace vorla::rtf {

// A group's character format as its control words set it.
struct CharState {
    bool bold = false, italic = false, underline = false, strike = false;
    int vertical = 0;     // -1 subscript, 1 superscript
    int halfPoints = 24;  // \fs
    int colour = 0;       // \cf index, 0 = automatic
    int highlight = 0;    // \highlight index
    int font = -1;        // \f, -1 = the default font

    bool operator==(const CharState&) const = default;
};

// A group's paragraph format.
struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    int leftTwips = 0, rightTwips = 0, firstTwips = 0, beforeTwips = 0, afterTwips = 0;
    std::array<int, 32> tabs{};  // \tx stops, in twips
    int tabCount = 0;
};

// Writes into a document in one edit block, from construction to End(). Once a cap is
// reached it writes nothing more and says so in the report.
class TextOut {
  public:
    // `colours` is the reader's colour table, which \cf and \highlight index; it must outlive
    // this writer.
    TextOut(QTextDocument& doc, const RtfLimits& limits, RtfReport& rep,
            const QVector<QColor>& colours);

    // Plain text: every run in the document's own format.
    void WithoutFormats() { plain_ = true; }
    // One UTF-16 unit in the format `chr`, within the paragraph `para`; control characters
    // other than the tab are dropped.
    void Unit(char16_t u, const CharState& chr, const ParaState& para);
    // Ends the paragraph, which takes the format `para`.
    void Paragraph(const CharState& chr, const ParaState& para);
    // The format the current paragraph takes unless a later one comes before its end.
    void SeeParagraph(const ParaState& para) { paraSeen_ = para; }
    // Writes what is pending and ends the edit.
    void End();

  private:
    bool Room(int lines, int halfPoints);
    void SetFormat(const CharState& chr);
    void Flush();
    void ApplyBlockFormat();
    QTextCharFormat Format(const CharState& ch) const;

    QTextCursor cursor_;
    const RtfLimits& limits_;
    RtfReport& rep_;
    const QVector<QColor>& colours_;

    QString pending_;
    bool plain_ = false;
    int runs_ = 0;  // texts inserted, each in one format
    int paragraphs_ = 0;
    int sinceBreak_ = 0;    // characters since the last place a line may break
    long long height_ = 0;  // the height the text could take, in pixels at most
    CharState pendingState_;
    QTextCharFormat pendingFormat_;
    ParaState paraSeen_;
};

}  // namespace vorla::rtf
