#include "richtext/rtf_reader.h"

#include <QColor>
#include <QString>
#include <QTextDocument>
#include <QVector>
#include <map>
#include <vector>

#include "richtext/code_pages.h"
#include "richtext/rtf_words.h"
#include "richtext/text_out.h"

namespace vorla {
namespace {

using rtf::CharState;
using rtf::Is;
using rtf::IsSkippedDestination;
using rtf::ParaState;
using rtf::Word;

enum class Dest { Text, Skip, FontTable, ColourTable };

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
        : p_(begin), end_(end), limits_(limits), rep_(rep), out_(doc, limits, rep, colours_) {
        groups_.push_back(Group{});
    }

    // Reads the rich text from its opening brace.
    void Run() {
        ++p_;
        depth_ = 1;
        while (p_ < end_ && depth_ > 0 && !rep_.cut) Step();
        if (depth_ > 0 && !rep_.cut) rep_.truncated = true;
        out_.End();
    }

    // Writes plain text, a paragraph for each line, in the document's own font.
    void Plain(const QString& text) {
        out_.WithoutFormats();
        for (qsizetype i = 0; i < text.size() && !rep_.cut; ++i) {
            if (text[i] == '\n')
                Paragraph();
            else if (text[i] != '\r')
                Unit(text[i].unicode());
        }
        out_.End();
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
                Paragraph();
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
        out_.SeeParagraph(pa);
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

    void Unit(char16_t u) {
        if (!Skipping() && Top().dest == Dest::Text) out_.Unit(u, Top().chr, Top().para);
    }

    void Paragraph() {
        if (!Skipping() && Top().dest == Dest::Text) out_.Paragraph(Top().chr, Top().para);
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

    rtf::TextOut out_;  // after colours_, which it reads
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
