#include "richtext/text_out.h"

#include <QFont>
#include <QTextBlockFormat>
#include <QTextDocument>
#include <algorithm>

namespace vorla::rtf {
namespace {

// The longest run of characters without a place to break a line.
constexpr int kLongestRun = 1024;

}  // namespace

TextOut::TextOut(QTextDocument& doc, const RtfLimits& limits, RtfReport& rep,
                 const QVector<QColor>& colours)
    : cursor_(&doc), limits_(limits), rep_(rep), colours_(colours) {
    cursor_.beginEditBlock();
}

void TextOut::Unit(char16_t u, const CharState& chr, const ParaState& para) {
    if (u < 0x20 && u != '\t') return;  // control characters are no text
    // The layout breaks a line without a break in time quadratic in its length: a run
    // that long gets an invisible break.
    const bool breaks = u == ' ' || u == '\t' || u == 0x2028 || u == '-';
    if (!breaks && ++sinceBreak_ > kLongestRun) {
        if (!Room(1, chr.halfPoints)) return;
        SetFormat(chr);
        pending_.append(QChar(0x200B));
        ++rep_.chars;
        sinceBreak_ = 1;
    }
    if (breaks) sinceBreak_ = 0;
    if (!Room(1, chr.halfPoints)) return;
    SetFormat(chr);
    pending_.append(QChar(u));
    ++rep_.chars;
    paraSeen_ = para;
}

void TextOut::Paragraph(const CharState& chr, const ParaState& pa) {
    if (paragraphs_ >= limits_.maxParagraphs ||
        !Room(1 + (std::max(0, pa.beforeTwips) + std::max(0, pa.afterTwips)) / 15 /
                      std::max(1, chr.halfPoints),
              chr.halfPoints)) {
        rep_.cut = true;
        return;
    }
    Flush();
    paraSeen_ = pa;
    ApplyBlockFormat();
    cursor_.insertBlock();
    ++rep_.chars;
    ++paragraphs_;
    sinceBreak_ = 0;
}

void TextOut::End() {
    Flush();
    ApplyBlockFormat();
    cursor_.endEditBlock();
}

// Whether `lines` more lines of the size `halfPoints` fit: in characters, and in the height
// they could take were each on a line of its own (as in a narrow window).
bool TextOut::Room(int lines, int halfPoints) {
    const long long height = height_ + static_cast<long long>(lines) * halfPoints;
    if (rep_.chars < limits_.maxChars && height <= limits_.maxHeight) {
        height_ = height;
        return true;
    }
    rep_.cut = true;
    return false;
}

// Pending text goes out whenever the character format changes, until the number of runs
// reaches its cap: the rest keeps the last format.
void TextOut::SetFormat(const CharState& ch) {
    if (!pending_.isEmpty() && ch == pendingState_) return;
    if (runs_ >= limits_.maxRuns) {
        rep_.formatsCut = true;
        return;
    }
    Flush();
    pendingState_ = ch;
    pendingFormat_ = plain_ ? QTextCharFormat() : Format(ch);
}

void TextOut::Flush() {
    if (pending_.isEmpty()) return;
    // A lone surrogate (a broken \u pair) would not display: replace it.
    for (qsizetype i = 0; i < pending_.size(); ++i) {
        const QChar c = pending_[i];
        if (c.isHighSurrogate() && i + 1 < pending_.size() && pending_[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            pending_[i] = QChar(QChar::ReplacementCharacter);
    }
    cursor_.insertText(pending_, pendingFormat_);
    pending_.clear();
    ++runs_;
}

void TextOut::ApplyBlockFormat() {
    const ParaState& pa = paraSeen_;
    QTextBlockFormat bf;
    bf.setAlignment(pa.align);
    bf.setLeftMargin(pa.leftTwips / 15.0);  // 15 twips to a pixel at 96 dpi
    bf.setRightMargin(pa.rightTwips / 15.0);
    bf.setTextIndent(pa.firstTwips / 15.0);
    bf.setTopMargin(pa.beforeTwips / 15.0);
    bf.setBottomMargin(pa.afterTwips / 15.0);
    // Stops are given from the page's margin; the layout measures them from the indent.
    QList<QTextOption::Tab> tabs;
    for (int i = 0; i < pa.tabCount; ++i)
        tabs.append(
            QTextOption::Tab(qMax(0, pa.tabs[i] - pa.leftTwips) / 15.0, QTextOption::LeftTab));
    // A hanging first line tabs to the left indent, as word processors do.
    if (pa.firstTwips < 0 && pa.tabCount == 0)
        tabs.append(QTextOption::Tab(-pa.firstTwips / 15.0, QTextOption::LeftTab));
    bf.setTabPositions(tabs);
    // Qt tells block formats apart by the number of tab stops alone, so thousands of
    // paragraphs with distinct stops make every new format a search of all the others: a
    // second, invisible property names the stops themselves.
    QString stops;
    for (const QTextOption::Tab& t : tabs) stops += QString::number(t.position) + ' ';
    if (!stops.isEmpty()) bf.setProperty(QTextFormat::UserProperty, stops);
    cursor_.setBlockFormat(bf);
}

QTextCharFormat TextOut::Format(const CharState& ch) const {
    QTextCharFormat f;
    f.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(ch.italic);
    f.setFontUnderline(ch.underline);
    f.setFontStrikeOut(ch.strike);
    f.setFontPointSize(ch.halfPoints / 2.0);
    if (ch.vertical != 0)
        f.setVerticalAlignment(ch.vertical > 0 ? QTextCharFormat::AlignSuperScript
                                               : QTextCharFormat::AlignSubScript);
    if (ch.colour > 0 && ch.colour < colours_.size() && colours_[ch.colour].isValid())
        f.setForeground(colours_[ch.colour]);
    if (ch.highlight > 0 && ch.highlight < colours_.size() && colours_[ch.highlight].isValid())
        f.setBackground(colours_[ch.highlight]);
    return f;
}

}  // namespace vorla::rtf
