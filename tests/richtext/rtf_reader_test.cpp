// The rich-text reader on real documents and on broken, hostile and truncated input.
#include "richtext/rtf_reader.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <random>
#include <string>
#include <vector>

namespace vorla {
namespace {

struct Fragment {
    QString text;
    QTextCharFormat format;
};

std::vector<Fragment> Fragments(const QTextDocument& doc) {
    std::vector<Fragment> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.push_back({it.fragment().text(), it.fragment().charFormat()});
    return out;
}

// The format of the fragment that holds `text`.
QTextCharFormat FormatOf(const QTextDocument& doc, const QString& text) {
    for (const Fragment& f : Fragments(doc))
        if (f.text.contains(text)) return f.format;
    ADD_FAILURE() << "no fragment with " << text.toStdString();
    return {};
}

QString Plain(const char* rtf, RtfReport* rep = nullptr, const RtfLimits& limits = {}) {
    QTextDocument doc;
    EXPECT_TRUE(ReadRtf(QByteArray(rtf), doc, rep, limits));
    return doc.toPlainText();
}

TEST(RtfReader, ParagraphsAndCharacterFormats) {
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(R"({\rtf1\ansi\deff0 Hello {\b bold} \i it\i0 , \ul under\ulnone ;)"
                        R"(\par {\b\i both\b0  half}\par\plain\fs40 big\par})",
                        doc));
    EXPECT_EQ(doc.toPlainText(), "Hello bold it, under;\nboth half\nbig\n");
    EXPECT_EQ(FormatOf(doc, "bold").fontWeight(), QFont::Bold);
    EXPECT_EQ(FormatOf(doc, "Hello").fontWeight(), QFont::Normal);
    EXPECT_TRUE(FormatOf(doc, "it").fontItalic());
    EXPECT_FALSE(FormatOf(doc, ", ").fontItalic());
    EXPECT_TRUE(FormatOf(doc, "under").fontUnderline());
    EXPECT_FALSE(FormatOf(doc, ";").fontUnderline());
    EXPECT_EQ(FormatOf(doc, "both").fontWeight(), QFont::Bold);
    EXPECT_TRUE(FormatOf(doc, " half").fontItalic());
    EXPECT_EQ(FormatOf(doc, " half").fontWeight(), QFont::Normal);
    EXPECT_EQ(FormatOf(doc, "Hello").fontPointSize(), 12);
    EXPECT_EQ(FormatOf(doc, "big").fontPointSize(), 20);
    EXPECT_EQ(doc.blockCount(), 4);
}

TEST(RtfReader, ColourTableAndAlignment) {
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
                        R"(\pard\qc\cf1 red\cf2  blue\cf0  auto\cf9  none\par\pard plain\par})",
                        doc));
    EXPECT_EQ(FormatOf(doc, "red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(FormatOf(doc, " blue").foreground().color(), QColor(0, 0, 255));
    EXPECT_FALSE(FormatOf(doc, " auto").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(FormatOf(doc, " none").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(doc.begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
    // Indents in twips (15 to a pixel); a hanging first line tabs to the indent.
    ASSERT_TRUE(ReadRtf(R"({\rtf1\pard\li360\fi-240\sb150\bullet\tab item\par})", doc));
    const QTextBlockFormat bf = doc.begin().blockFormat();
    EXPECT_EQ(bf.leftMargin(), 24);
    EXPECT_EQ(bf.textIndent(), -16);
    EXPECT_EQ(bf.topMargin(), 10);
    ASSERT_EQ(bf.tabPositions().size(), 1);
    EXPECT_EQ(bf.tabPositions()[0].position, 16);
}

TEST(RtfReader, CodePagesAndUnicode) {
    // Default 1252, the document's \ansicpg, and a font's \fcharset 238.
    EXPECT_EQ(Plain(R"({\rtf1 caf\'e9 \'80})"), QString::fromUtf8("café €"));
    EXPECT_EQ(Plain(R"({\rtf1\ansi\ansicpg1250 P\'f8\'edli\'9a \'9elu\'9dou\'e8k\'fd})"),
              QString::fromUtf8("Příliš žluťoučký"));
    EXPECT_EQ(Plain(R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset238 Arial CE;}})"
                    R"(\f0\'e8 \f1\'e8})"),
              QString::fromUtf8("è č"));
    // \u with the fallback skipped by \uc; negative codes; a surrogate pair; a lone half.
    EXPECT_EQ(Plain(R"({\rtf1 \u269?a\uc2\u345\'f8\'f8b\uc0\u367 c})"),
              QString::fromUtf8("čařbůc"));
    EXPECT_EQ(Plain(R"({\rtf1\u-10179?\u-8647?|\u-10179? x})"),
              QString::fromUtf8("\U0001F639|\uFFFD x"));
    // The skip ends at a group boundary.
    EXPECT_EQ(Plain(R"({\rtf1\uc3\u269{x}y})"), QString::fromUtf8("čxy"));
    EXPECT_EQ(CodePageChar(1250, 0x8A), QChar(0x0160));
    EXPECT_EQ(CodePageChar(1250, 0xF9), QChar(0x016F));
    EXPECT_EQ(CodePageChar(1252, 0x9F), QChar(0x0178));
    EXPECT_EQ(CodePageChar(1252, 0xA0), QChar(0x00A0));
    EXPECT_EQ(CodePageChar(437, 0xE8), QChar(0x00E8));  // no table: read as 1252
}

TEST(RtfReader, EscapesAndSpecialCharacters) {
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(R"({\rtf1 a\\b\{c\}d\tab e\line f\~g\-h\emdash\bullet\'07\u0 })", doc));
    EXPECT_EQ(doc.toRawText(), QString::fromUtf8("a\\b{c}d\te\u2028f\u00A0gh—•"));
    // Line breaks in the source are not text; a backslash before one is a paragraph.
    EXPECT_EQ(Plain("{\\rtf1 one\r\ntwo\\\nthree}"), "onetwo\nthree");
}

TEST(RtfReader, IgnoredDestinations) {
    const char* rtf =
        R"({\rtf1\ansi{\fonttbl{\f0\fswiss{\*\panose 020b}Helvetica;}})"
        R"({\stylesheet{\s1 heading 1;}}{\info{\title T}{\author A}})"
        R"({\*\generator Writer;}{\*\unknowndest {nested} text}{\header H})"
        R"({\pict\pngblip 89504e47}{\field{\*\fldinst HYPERLINK "x"}{\fldrslt shown}})"
        R"(visible{\*\bkmkstart b}})";
    EXPECT_EQ(Plain(rtf), "shownvisible");
    // Binary data is skipped by its length, braces and backslashes in it included.
    EXPECT_EQ(Plain("{\\rtf1 a{\\pict\\bin6 }}{\\{x} b}"), "a b");
    EXPECT_EQ(Plain("{\\rtf1 a{\\object\\bin99999999 xx"), "a");
}

TEST(RtfReader, NotRichTextLeavesTheDocument) {
    QTextDocument doc;
    doc.setPlainText("before");
    RtfReport rep;
    EXPECT_FALSE(ReadRtf("plain text", doc, &rep));
    EXPECT_FALSE(ReadRtf("", doc, &rep));
    EXPECT_FALSE(ReadRtf("{\\rt", doc, &rep));
    EXPECT_FALSE(rep.isRtf);
    EXPECT_EQ(doc.toPlainText(), "before");
    EXPECT_TRUE(ReadRtf("\xEF\xBB\xBF \r\n{\\rtf1 ok}", doc, &rep));
    EXPECT_EQ(doc.toPlainText(), "ok");
}

TEST(RtfReader, TruncatedAndOversizedInput) {
    RtfReport rep;
    EXPECT_EQ(Plain(R"({\rtf1 Hello {\b wor)", &rep), "Hello wor");
    EXPECT_TRUE(rep.truncated);
    EXPECT_EQ(Plain(R"({\rtf1 x\)", &rep), "x");
    EXPECT_EQ(Plain(R"({\rtf1 x\'4)", &rep), "x");  // a control character is not text
    EXPECT_EQ(Plain(R"({\rtf1 x\u)", &rep), "x");
    EXPECT_EQ(Plain(R"({\rtf1 done} trailing)", &rep), "done");
    EXPECT_FALSE(rep.truncated);
    // Huge parameters and overlong words.
    const std::string longWord = "{\\rtf1 \\" + std::string(100000, 'q') +
                                 "123 z\\fs99999999999999 w"
                                 "\\u99999999999?v\\cf-5 u\\uc2147483647\\u65 t}";
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(QByteArray::fromStdString(longWord), doc, &rep));
    EXPECT_EQ(doc.toPlainText(), "zwvuA");  // \uc is capped; the fallback "t" is skipped
    EXPECT_EQ(FormatOf(doc, "w").fontPointSize(), 400);
    // The output is capped.
    RtfLimits small;
    small.maxChars = 100;
    const std::string many = "{\\rtf1 " + std::string(1000, 'a') + "\\par b}";
    ASSERT_TRUE(ReadRtf(QByteArray::fromStdString(many), doc, &rep, small));
    EXPECT_TRUE(rep.cut);
    EXPECT_EQ(rep.chars, 100);
    EXPECT_EQ(doc.toPlainText(), QString(100, 'a'));
}

TEST(RtfReader, DeepNestingIsSkippedNotFollowed) {
    RtfReport rep;
    const std::string deep =
        "{\\rtf1 a" + std::string(200000, '{') + "b" + std::string(200000, '}') + " c}";
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(QByteArray::fromStdString(deep), doc, &rep));
    EXPECT_TRUE(rep.tooDeep);
    EXPECT_FALSE(rep.truncated);
    EXPECT_EQ(doc.toPlainText(), "a c");
    // Within the cap the text is kept.
    EXPECT_EQ(Plain("{\\rtf1 {{{{{{{{x}}}}}}}}}", &rep), "x");
    EXPECT_FALSE(rep.tooDeep);
    // Unopened groups close nothing beyond the document.
    EXPECT_EQ(Plain("{\\rtf1 a}}}}} b", &rep), "a");
}

TEST(RtfReader, EveryPrefixOfADocumentReads) {
    QFile f(QStringLiteral(VORLA_SOURCE_DIR "/data/Vorla.rtf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    QTextDocument full;
    RtfReport rep;
    ASSERT_TRUE(ReadRtf(data, full, &rep));
    EXPECT_FALSE(rep.truncated);
    EXPECT_FALSE(rep.cut);
    EXPECT_FALSE(rep.tooDeep);
    const QString text = full.toPlainText();
    EXPECT_TRUE(text.contains("Vorla")) << text.toStdString();
    EXPECT_FALSE(text.contains("\\")) << "a control word leaked into the text";
    EXPECT_FALSE(text.contains("{"));
    EXPECT_FALSE(text.contains("Times New Roman")) << "the font table leaked into the text";
    bool bold = false;
    for (const Fragment& fr : Fragments(full)) bold = bold || fr.format.fontWeight() == QFont::Bold;
    EXPECT_TRUE(bold);
    for (qsizetype n = 5; n < data.size(); n += 7) {
        QTextDocument doc;
        ASSERT_TRUE(ReadRtf(data.left(n), doc, &rep));
        const QString part = doc.toPlainText();
        EXPECT_TRUE(part.isEmpty() || text.startsWith(part.chopped(1))) << "prefix " << n;
    }
}

TEST(RtfReader, RandomInputNeverFails) {
    // Random mixtures of RTF tokens and bytes: the reader must finish with bounded output.
    const char* tokens[] = {
        "{",    "}",        "\\",    "\\b",    "\\b0",          "\\par", "\\'",       "\\'e8",
        "\\u",  "\\u-1",    "\\uc9", "\\bin",  "\\bin3 ",       "\\*",   "\\fonttbl", "\\colortbl",
        ";",    "\\red300", "\\cf1", "\\f1",   "\\fcharset238", "x",     " ",         "\xff",
        "\\fs", "-",        "9",     "\\pict", "\\~",           "\\\n"};
    std::mt19937 rng(20240611);
    RtfLimits limits;
    limits.maxChars = 5000;
    limits.maxDepth = 20;
    for (int round = 0; round < 2000; ++round) {
        std::string s = "{\\rtf1 ";
        const int n = rng() % 300;
        for (int i = 0; i < n; ++i) {
            if (rng() % 5 == 0)
                s += static_cast<char>(rng() & 0xff);
            else
                s += tokens[rng() % (sizeof tokens / sizeof *tokens)];
        }
        QTextDocument doc;
        RtfReport rep;
        ASSERT_TRUE(ReadRtf(QByteArray::fromStdString(s), doc, &rep, limits));
        ASSERT_LE(rep.chars, limits.maxChars);
        ASSERT_LE(doc.characterCount(), limits.maxChars + 1);
    }
}

TEST(RtfReader, FuzzCorpusReadsWithinItsLimits) {
    const QDir dir(QStringLiteral(VORLA_SOURCE_DIR "/fuzz/corpus/rich_text"));
    const QStringList files = dir.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    RtfLimits limits;
    limits.maxChars = 10000;
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        QTextDocument doc;
        RtfReport rep;
        (void)ReadRtf(f.readAll(), doc, &rep, limits);
        EXPECT_LE(rep.chars, limits.maxChars) << name.toStdString();
        EXPECT_LE(doc.characterCount(), limits.maxChars + 1) << name.toStdString();
    }
}

}  // namespace
}  // namespace vorla

int main(int argc, char** argv) {
    // Formats and fonts need a GUI application; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
