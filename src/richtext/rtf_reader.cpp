#include "richtext/rtf_reader.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QVector>
#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "richtext/code_pages.h"
#include "richtext/rtf_words.h"

namespace vorla {
namespace {

// The longest run of characters without a place to break a line.
constexpr int kLongestRun = 1024;

using rtf::Is;
using rtf::IsSkippedDestination;
using rtf::Word;

enum class Dest { Text, Skip, FontTable, ColourTable };

struct CharState {
    bool bold = false, italic = false, underline = false, strike = false;
    int vertical = 0;     // -1 subscript, 1 superscript
    int halfPoints = 24;  // \fs
    int colour = 0;       // \cf index, 0 = automatic
    int highlight = 0;    // \highlight index
    int font = -1;        // \f, -1 = the default font

    bool operator==(const CharState&) const = default;
};

struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    int leftTwips = 0, rightTwips = 0, firstTwips = 0, beforeTwips = 0, afterTwips = 0;
    std::array<int, 32> tabs{};  // \tx stops, in twips
    int tabCount = 0;
};

struct Group {
    Dest dest = Dest::Text;
    CharState chr;
    ParaState para;
    int ucSkip = 1;
};

class Parser {
  public:
    Parser(const char* begin, const char* end, QTextDocument& doc, const RtfLimits& limits,
           RtfReport& rep)
        : p_(begin), end_(end), cursor_(&doc), limits_(limits), rep_(rep) {
        groups_.push_back(Group{});
    }

    // Reads the rich text from its opening brace.
    void Run() {
        ++p_;
        depth_ = 1;
        cursor_.beginEditBlock();
        while (p_ < end_ && depth_ > 0 && !rep_.cut) Step();
        if (depth_ > 0 && !rep_.cut) rep_.truncated = true;
        End();
    }

    // Writes plain text, a paragraph for each line, in the document's own font.
    void Plain(const QString& text) {
        plain_ = true;
        cursor_.beginEditBlock();
        for (qsizetype i = 0; i < text.size() && !rep_.cut; ++i) {
            if (text[i] == '\n')
                Paragraph();
            else if (text[i] != '\r')
                Unit(text[i].unicode());
        }
        End();
    }

  private:
    Group& Top() { return groups_.back(); }
    bool Skipping() const { return skipDepth_ > 0 || groups_.back().dest == Dest::Skip; }

    void Step() {
        const char c = *p_;
        if (c == '{') {
            ++p_;
            pendingSkip_ = 0;
            OpenGroup();
        } else if (c == '}') {
            ++p_;
            pendingSkip_ = 0;
            CloseGroup();
        } else if (c == '\\') {
            ++p_;
            ControlSequence();
        } else {
            ++p_;
            if (c == '\r' || c == '\n' || c == '\0') return;
            if (SkipFallback()) return;
            Byte(static_cast<unsigned char>(c));
        }
    }

    void OpenGroup() {
        ++depth_;
        if (skipDepth_ > 0) {
            ++skipDepth_;
            return;
        }
        if (static_cast<int>(groups_.size()) >= limits_.maxDepth) {
            // Too deep: the group and everything inside it is left out.
            rep_.tooDeep = true;
            skipDepth_ = 1;
            return;
        }
        Group g = Top();
        if (g.dest == Dest::FontTable) fontEntry_ = -1;
        groups_.push_back(g);
        atGroupStart_ = true;
    }

    void CloseGroup() {
        --depth_;
        if (skipDepth_ > 0) {
            --skipDepth_;
            return;
        }
        if (groups_.size() > 1) {
            if (Top().dest == Dest::ColourTable) EndColourEntry(false);
            groups_.pop_back();
        }
    }

    // One character of the fallback text after a \u escape: true when it is dropped.
    bool SkipFallback() {
        if (pendingSkip_ <= 0) return false;
        --pendingSkip_;
        return true;
    }

    void ControlSequence() {
        if (p_ >= end_) return;
        const char c = *p_;
        const bool groupStart = atGroupStart_;
        atGroupStart_ = false;
        if (!IsLetter(c)) {
            ++p_;
            ControlSymbol(c, groupStart);
            return;
        }
        Word w;
        int n = 0;
        while (p_ < end_ && IsLetter(*p_)) {
            if (n < 32) w.name[n++] = *p_;
            ++p_;
        }
        if (p_ < end_ && (*p_ == '-' || IsDigit(*p_))) {
            bool negative = false;
            if (*p_ == '-') {
                negative = true;
                ++p_;
            }
            long long v = 0;
            int digits = 0;
            while (p_ < end_ && IsDigit(*p_)) {
                if (digits < 10) v = v * 10 + (*p_ - '0');
                ++digits;
                ++p_;
            }
            if (v > 2147483647LL) v = 2147483647LL;
            w.hasParam = digits > 0;
            w.param = static_cast<int>(negative ? -v : v);
        }
        if (p_ < end_ && *p_ == ' ') ++p_;  // the delimiter belongs to the word
        if (Is(w, "bin")) {
            // Binary data of the given length follows, whatever its bytes are.
            const long long len = w.hasParam && w.param > 0 ? w.param : 0;
            p_ += len < end_ - p_ ? len : end_ - p_;
            return;
        }
        if (SkipFallback()) return;
        if (skipDepth_ > 0) return;
        if (groupStart && (IsSkippedDestination(w) || ignorableNext_)) {
            ignorableNext_ = false;
            Top().dest = Dest::Skip;
            return;
        }
        ignorableNext_ = false;
        if (Top().dest == Dest::Skip) return;
        Apply(w, groupStart);
    }

    void ControlSymbol(char c, bool groupStart) {
        switch (c) {
            case '\'': {
                int v = 0, n = 0;
                while (n < 2 && p_ < end_ && IsHex(*p_)) {
                    v = v * 16 + HexValue(*p_);
                    ++p_;
                    ++n;
                }
                if (SkipFallback()) return;
                if (n > 0) Byte(static_cast<unsigned char>(v));
                return;
            }
            case '*':
                if (groupStart) ignorableNext_ = true;
                atGroupStart_ = groupStart;  // the destination word follows
                return;
            case '\r':
            case '\n':
                if (SkipFallback()) return;
                if (!Skipping() && Top().dest == Dest::Text) Paragraph();
                return;
            default:
                break;
        }
        if (SkipFallback()) return;
        if (Skipping()) return;
        switch (c) {
            case '\\':
            case '{':
            case '}':
                Byte(static_cast<unsigned char>(c));
                break;
            case '~':
                Unit(0x00A0);
                break;
            case '_':
                Unit(0x2011);
                break;
            case '-':  // optional hyphen: not shown
            case ':':
            case '|':
            default:
                break;
        }
    }

    // A control word in a group that is shown or that holds a table.
    void Apply(const Word& w, bool groupStart) {
        Group& g = Top();
        const int v = w.param;
        const bool on = !w.hasParam || v != 0;
        if (g.dest == Dest::FontTable) {
            if (Is(w, "f")) {
                fontEntry_ = -1;
                if (fonts_.size() < static_cast<size_t>(limits_.maxTableEntries) ||
                    fonts_.count(v)) {
                    fontEntry_ = v;
                    fonts_[v] = documentCp_;
                }
            } else if (fontEntry_ != -1 && Is(w, "fcharset")) {
                fonts_[fontEntry_] = CodePageOfCharset(v, documentCp_);
            } else if (fontEntry_ != -1 && Is(w, "cpg") && w.hasParam) {
                fonts_[fontEntry_] = v;
            }
            return;
        }
        if (g.dest == Dest::ColourTable) {
            if (Is(w, "red")) red_ = Channel(v);
            if (Is(w, "green")) green_ = Channel(v);
            if (Is(w, "blue")) blue_ = Channel(v);
            if (Is(w, "red") || Is(w, "green") || Is(w, "blue")) colourGiven_ = true;
            return;
        }
        if (groupStart && Is(w, "fonttbl")) {
            g.dest = Dest::FontTable;
            fontEntry_ = -1;
            return;
        }
        if (groupStart && Is(w, "colortbl")) {
            g.dest = Dest::ColourTable;
            colours_.clear();
            red_ = green_ = blue_ = 0;
            colourGiven_ = false;
            return;
        }
        if (Is(w, "fonttbl") || Is(w, "colortbl")) {
            g.dest = Dest::Skip;  // a table not at its group's start: not worth guessing
            return;
        }
        CharState& ch = g.chr;
        ParaState& pa = g.para;
        // Characters.
        if (Is(w, "par") || Is(w, "sect") || Is(w, "page") || Is(w, "row")) return Paragraph();
        if (Is(w, "line")) return Unit(0x2028);
        if (Is(w, "tab") || Is(w, "cell")) return Unit('\t');
        if (Is(w, "u")) {
            int code = w.hasParam ? v : 0;
            if (code < 0) code += 65536;
            if (code > 0 && code <= 0xFFFF) Unit(static_cast<char16_t>(code));
            pendingSkip_ = g.ucSkip;
            return;
        }
        if (Is(w, "emdash")) return Unit(0x2014);
        if (Is(w, "endash")) return Unit(0x2013);
        if (Is(w, "bullet")) return Unit(0x2022);
        if (Is(w, "lquote")) return Unit(0x2018);
        if (Is(w, "rquote")) return Unit(0x2019);
        if (Is(w, "ldblquote")) return Unit(0x201C);
        if (Is(w, "rdblquote")) return Unit(0x201D);
        if (Is(w, "emspace")) return Unit(0x2003);
        if (Is(w, "enspace")) return Unit(0x2002);
        if (Is(w, "qmspace")) return Unit(0x2005);
        // Document.
        if (Is(w, "ansicpg")) {
            if (w.hasParam && v > 0) documentCp_ = v;
            return;
        }
        if (Is(w, "deff")) {
            defaultFont_ = v;
            return;
        }
        if (Is(w, "uc")) {
            g.ucSkip = v < 0 ? 0 : v > 8 ? 8 : v;
            return;
        }
        // Character formatting.
        if (Is(w, "plain")) {
            ch = CharState{};
            return;
        }
        if (Is(w, "b"))
            ch.bold = on;
        else if (Is(w, "i"))
            ch.italic = on;
        else if (Is(w, "ul"))
            ch.underline = on;
        else if (Is(w, "ulnone"))
            ch.underline = false;
        else if (Is(w, "strike"))
            ch.strike = on;
        else if (Is(w, "super"))
            ch.vertical = 1;
        else if (Is(w, "sub"))
            ch.vertical = -1;
        else if (Is(w, "nosupersub"))
            ch.vertical = 0;
        else if (Is(w, "fs"))
            ch.halfPoints = w.hasParam ? (v < 2 ? 2 : v > 800 ? 800 : v) : 24;
        else if (Is(w, "cf"))
            ch.colour = v;
        else if (Is(w, "highlight") || Is(w, "cb"))
            ch.highlight = v;
        else if (Is(w, "f"))
            ch.font = v;
        // Paragraph formatting.
        else if (Is(w, "pard"))
            pa = ParaState{};
        else if (Is(w, "ql"))
            pa.align = Qt::AlignLeft;
        else if (Is(w, "qc"))
            pa.align = Qt::AlignHCenter;
        else if (Is(w, "qr"))
            pa.align = Qt::AlignRight;
        else if (Is(w, "qj"))
            pa.align = Qt::AlignJustify;
        else if (Is(w, "li"))
            pa.leftTwips = Twips(v);
        else if (Is(w, "ri"))
            pa.rightTwips = Twips(v);
        else if (Is(w, "fi"))
            pa.firstTwips = Twips(v);
        else if (Is(w, "sb"))
            pa.beforeTwips = Twips(v);
        else if (Is(w, "sa"))
            pa.afterTwips = Twips(v);
        else if (Is(w, "tx") && pa.tabCount < static_cast<int>(pa.tabs.size()))
            pa.tabs[pa.tabCount++] = Twips(v);
        paraSeen_ = pa;
    }

    // --- output ---------------------------------------------------------------------------

    void Byte(unsigned char b) {
        if (Skipping()) return;
        if (Top().dest == Dest::ColourTable) {
            if (b == ';') EndColourEntry(true);
            return;
        }
        if (Top().dest != Dest::Text) return;  // font names
        int cp = documentCp_;
        const int font = Top().chr.font >= 0 ? Top().chr.font : defaultFont_;
        if (auto it = fonts_.find(font); it != fonts_.end()) cp = it->second;
        Unit(CodePageChar(cp, b).unicode());
    }

    void End() {
        Flush();
        ApplyBlockFormat();
        cursor_.endEditBlock();
    }

    void Unit(char16_t u) {
        if (Skipping() || Top().dest != Dest::Text) return;
        if (u < 0x20 && u != '\t') return;  // control characters are no text
        // The layout breaks a line without a break in time quadratic in its length: a run
        // that long gets an invisible break.
        const bool breaks = u == ' ' || u == '\t' || u == 0x2028 || u == '-';
        if (!breaks && ++sinceBreak_ > kLongestRun) {
            if (!Room(1)) return;
            SetFormat();
            pending_.append(QChar(0x200B));
            ++rep_.chars;
            sinceBreak_ = 1;
        }
        if (breaks) sinceBreak_ = 0;
        if (!Room(1)) return;
        SetFormat();
        pending_.append(QChar(u));
        ++rep_.chars;
        paraSeen_ = Top().para;
    }

    // Whether `lines` more lines of the current size fit: in characters, and in the height
    // they could take were each on a line of its own (as in a narrow window).
    bool Room(int lines) {
        const long long height = height_ + static_cast<long long>(lines) * Top().chr.halfPoints;
        if (rep_.chars < limits_.maxChars && height <= limits_.maxHeight) {
            height_ = height;
            return true;
        }
        rep_.cut = true;
        return false;
    }

    void Paragraph() {
        if (Skipping() || Top().dest != Dest::Text) return;
        const ParaState& pa = Top().para;
        if (paragraphs_ >= limits_.maxParagraphs ||
            !Room(1 + (std::max(0, pa.beforeTwips) + std::max(0, pa.afterTwips)) / 15 /
                          std::max(1, Top().chr.halfPoints))) {
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

    // Pending text goes out whenever the character format changes, until the number of runs
    // reaches its cap: the rest keeps the last format.
    void SetFormat() {
        const CharState& ch = Top().chr;
        if (!pending_.isEmpty() && ch == pendingState_) return;
        if (runs_ >= limits_.maxRuns) {
            rep_.formatsCut = true;
            return;
        }
        Flush();
        pendingState_ = ch;
        pendingFormat_ = plain_ ? QTextCharFormat() : Format(ch);
    }

    void Flush() {
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

    void ApplyBlockFormat() {
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

    QTextCharFormat Format(const CharState& ch) const {
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

    void EndColourEntry(bool semicolon) {
        // A table's last entry may lack its semicolon; an empty entry is the automatic colour.
        if (!semicolon && !colourGiven_) return;
        if (colours_.size() < limits_.maxTableEntries)
            colours_.push_back(colourGiven_ ? QColor(red_, green_, blue_) : QColor());
        red_ = green_ = blue_ = 0;
        colourGiven_ = false;
    }

    static int Channel(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }
    static int Twips(int v) { return v < -31680 ? -31680 : v > 31680 ? 31680 : v; }
    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsHex(char c) {
        return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }
    static int HexValue(char c) {
        return IsDigit(c) ? c - '0' : (c >= 'a' ? c - 'a' : c - 'A') + 10;
    }

    const char* p_;
    const char* end_;
    QTextCursor cursor_;
    const RtfLimits& limits_;
    RtfReport& rep_;

    std::vector<Group> groups_;
    int depth_ = 0;      // braces open, the skipped ones included
    int skipDepth_ = 0;  // > 0 inside a group skipped for its depth
    bool atGroupStart_ = false;
    bool ignorableNext_ = false;
    int pendingSkip_ = 0;

    int documentCp_ = 1252;
    int defaultFont_ = 0;
    std::map<int, int> fonts_;  // font number to code page
    int fontEntry_ = -1;
    QVector<QColor> colours_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourGiven_ = false;

    QString pending_;
    bool plain_ = false;  // plain text: no character formats
    int runs_ = 0;        // texts inserted, each in one format
    int paragraphs_ = 0;
    int sinceBreak_ = 0;    // characters since the last place a line may break
    long long height_ = 0;  // the height the text could take, in pixels at most
    CharState pendingState_;
    QTextCharFormat pendingFormat_;
    ParaState paraSeen_;
};

bool StartsAsRtf(const QByteArray& data) {
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF")) i = 3;  // a byte-order mark some editors write
    while (i < data.size() &&
           (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

// Replaces the document's contents by what `write` writes, in one edit without undo: nothing
// is laid out or recorded for each piece as it comes, and a long paragraph built from many
// runs is not measured again after each of them.
template <class Write>
void Build(QTextDocument& doc, Write&& write, const char* begin, const char* end,
           const RtfLimits& limits, RtfReport& rep) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    {
        Parser parser(begin, end, doc, limits, rep);
        write(parser);
    }
    doc.setUndoRedoEnabled(undo);
}

}  // namespace

void ReadPlainText(const QString& text, QTextDocument& doc, RtfReport* report,
                   const RtfLimits& limits) {
    RtfReport local;
    RtfReport& rep = report ? *report : local;
    rep = RtfReport{};
    Build(
        doc, [&](Parser& p) { p.Plain(text); }, nullptr, nullptr, limits, rep);
}

Status ReadRtf(const QByteArray& data, QTextDocument& doc, RtfReport* report,
               const RtfLimits& limits) {
    RtfReport local;
    RtfReport& rep = report ? *report : local;
    rep = RtfReport{};
    if (!StartsAsRtf(data)) return Failure{"not rich text"};
    rep.isRtf = true;
    Build(
        doc, [&](Parser& p) { p.Run(); }, data.constData() + data.indexOf('{'),
        data.constData() + data.size(), limits, rep);
    return {};
}

}  // namespace vorla
