#include "richtext/rtf_reader.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <string>
#include <tuple>
#include <utility>

namespace vorla {
namespace {

// The format of the first fragment that holds `text`.
QTextCharFormat FormatOf(const QTextDocument& doc, const QString& text) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().contains(text)) return it.fragment().charFormat();
    ADD_FAILURE() << "no fragment with " << text.toStdString();
    return {};
}

// The text that `rtf` reads as, with line separators and every other character kept.
QString Raw(const QByteArray& rtf, RtfReport* rep = nullptr, const RtfLimits& limits = {}) {
    QTextDocument doc;
    EXPECT_TRUE(ReadRtf(rtf, doc, rep, limits)) << rtf.left(80).toStdString();
    return doc.toRawText().replace(QChar::ParagraphSeparator, '\n');
}

TEST(RtfReader, TextOfEveryKindOfInput) {
    const std::pair<const char*, const char*> cases[] = {
        // Code pages: 1252 by default, the document's \ansicpg, a font's \fcharset 238.
        {R"({\rtf1 caf\'e9 \'80})", "café €"},
        {R"({\rtf1\ansi\ansicpg1250 P\'f8\'edli\'9a \'9elu\'9dou\'e8k\'fd})", "Příliš žluťoučký"},
        {R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset238 Arial CE;}}\f0\'e8 \f1\'e8})", "è č"},
        // \u with the fallback skipped by \uc; negative codes; a surrogate pair; a lone half;
        // the skip ends at a group boundary.
        {R"({\rtf1 \u269?a\uc2\u345\'f8\'f8b\uc0\u367 c})", "čařbůc"},
        {R"({\rtf1\u-10179?\u-8647?|\u-10179? x})", "\U0001F639|\uFFFD x"},
        {R"({\rtf1\uc3\u269{x}y})", "čxy"},
        // Escapes and special characters; line breaks in the source are not text, and a
        // backslash before one is a paragraph.
        {R"({\rtf1 a\\b\{c\}d\tab e\line f\~g\-h\emdash\bullet\'07\u0 })",
         "a\\b{c}d\te\u2028f\u00A0gh—•"},
        {"{\\rtf1 one\r\ntwo\\\nthree}", "onetwo\nthree"},
        // Destinations that are not shown; binary data skipped by its length.
        {R"({\rtf1\ansi{\fonttbl{\f0\fswiss{\*\panose 020b}Helvetica;}}{\stylesheet{\s1 h;}})"
         R"({\info{\title T}{\author A}}{\*\generator W;}{\*\unknowndest {nested} text})"
         R"({\header H}{\pict\pngblip 89504e47}{\field{\*\fldinst HYPERLINK "x"}{\fldrslt shown}})"
         R"(visible{\*\bkmkstart b}})",
         "shownvisible"},
        {"{\\rtf1 a{\\pict\\bin6 }}{\\{x} b}", "a b"},
        // A table word not at its group's start skips the rest of the group.
        {R"({\rtf1 x{\b\fonttbl y} z\_})", "x z\u2011"},
        {"{\\rtf1 a{\\object\\bin99999999 xx", "a"},
        // Truncated input; a control character is not text; what follows the document.
        {R"({\rtf1 x\)", "x"},
        {R"({\rtf1 x\'4)", "x"},
        {R"({\rtf1 x\u)", "x"},
        {R"({\rtf1 done} trailing)", "done"},
        // Nesting within the cap; unopened groups close nothing beyond the document.
        {"{\\rtf1 {{{{{{{{x}}}}}}}}}", "x"},
        {"{\\rtf1 a}}}}} b", "a"},
        // A byte-order mark and white space before the document.
        {"\xEF\xBB\xBF \r\n{\\rtf1 ok}", "ok"},
    };
    for (const auto& [rtf, text] : cases) EXPECT_EQ(Raw(rtf), QString::fromUtf8(text)) << rtf;
    EXPECT_EQ(CodePageChar(437, 0xE8), QChar(0x00E8));  // no table: read as 1252
}

TEST(RtfReader, CharacterAndParagraphFormats) {
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(R"({\rtf1\ansi{\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
                        R"(\pard\qc Hello {\b bold} \i it\i0 , \ul under\ulnone ;\par)"
                        R"({\b\i both\b0  half}\par\pard\plain\fs40 big )"
                        R"(\cf1 red\cf2  blue\cf0  auto\cf9  none\par})",
                        doc));
    EXPECT_EQ(doc.toPlainText(), "Hello bold it, under;\nboth half\nbig red blue auto none\n");
    const std::tuple<const char*, bool, bool, bool, int> formats[] = {
        {"Hello", false, false, false, 12}, {"bold", true, false, false, 12},
        {"it", false, true, false, 12},     {", ", false, false, false, 12},
        {"under", false, false, true, 12},  {";", false, false, false, 12},
        {"both", true, true, false, 12},    {" half", false, true, false, 12},
        {"big", false, false, false, 20}};
    for (const auto& [text, bold, italic, underline, size] : formats) {
        const QTextCharFormat cf = FormatOf(doc, text);
        EXPECT_EQ(cf.fontWeight() == QFont::Bold, bold) << text;
        EXPECT_EQ(cf.fontItalic(), italic) << text;
        EXPECT_EQ(cf.fontUnderline(), underline) << text;
        EXPECT_EQ(cf.fontPointSize(), size) << text;
    }
    EXPECT_EQ(FormatOf(doc, "red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(FormatOf(doc, " blue").foreground().color(), QColor(0, 0, 255));
    EXPECT_FALSE(FormatOf(doc, " auto").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(FormatOf(doc, " none").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(doc.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    // Indents in twips (15 to a pixel); a hanging first line tabs to the indent.
    ASSERT_TRUE(ReadRtf(R"({\rtf1\pard\li360\fi-240\sb150\bullet\tab item\par})", doc));
    const QTextBlockFormat bf = doc.begin().blockFormat();
    EXPECT_EQ(bf.leftMargin(), 24);
    EXPECT_EQ(bf.textIndent(), -16);
    EXPECT_EQ(bf.topMargin(), 10);
    ASSERT_EQ(bf.tabPositions().size(), 1);
    EXPECT_EQ(bf.tabPositions()[0].position, 16);
}

TEST(RtfReader, NotRichTextLeavesTheDocument) {
    QTextDocument doc;
    doc.setPlainText("before");
    RtfReport rep;
    for (const char* data : {"plain text", "", "{\\rt"}) EXPECT_FALSE(ReadRtf(data, doc, &rep));
    EXPECT_FALSE(rep.isRtf);
    EXPECT_EQ(doc.toPlainText(), "before");
}

TEST(RtfReader, LimitsOnHostileInput) {
    RtfReport rep;
    EXPECT_EQ(Raw(R"({\rtf1 Hello {\b wor)", &rep), "Hello wor");
    EXPECT_TRUE(rep.truncated);
    // Huge parameters and overlong words; \uc is capped, so the fallback "t" is skipped.
    const std::string longWord = "{\\rtf1 \\" + std::string(100000, 'q') +
                                 "123 z\\fs99999999999999 w"
                                 "\\u99999999999?v\\cf-5 u\\uc2147483647\\u65 t}";
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(QByteArray::fromStdString(longWord), doc, &rep));
    EXPECT_FALSE(rep.truncated);
    EXPECT_EQ(doc.toPlainText(), "zwvuA");
    EXPECT_EQ(FormatOf(doc, "w").fontPointSize(), 400);
    // The output is capped.
    RtfLimits small;
    small.maxChars = 100;
    const std::string many = "{\\rtf1 " + std::string(1000, 'a') + "\\par b}";
    EXPECT_EQ(Raw(QByteArray::fromStdString(many), &rep, small), QString(100, 'a'));
    EXPECT_TRUE(rep.cut);
    EXPECT_EQ(rep.chars, 100);
    // A run without a break gets an invisible one; paragraphs, format runs and the height the
    // text could take are capped too.
    EXPECT_EQ(Raw("{\\rtf1 " + QByteArray(1500, 'w') + "}"),
              QString(1024, 'w') + QChar(0x200B) + QString(476, 'w'));
    RtfLimits caps;
    caps.maxParagraphs = 2;
    caps.maxRuns = 1;
    caps.maxHeight = 1600;
    EXPECT_EQ(Raw(R"({\rtf1 a\par b\par c\par d})", &rep, caps), "a\nb\nc");
    EXPECT_EQ(Raw(R"({\rtf1\fs800 W\par W})", &rep, caps), "W\n");
    EXPECT_TRUE(rep.cut);
    ASSERT_TRUE(ReadRtf(R"({\rtf1{\b a}{\i b}{\ul c}})", doc, &rep, caps));
    EXPECT_TRUE(FormatOf(doc, "bc").fontItalic());
    EXPECT_TRUE(rep.formatsCut);
    // Groups nested too deep are skipped, not followed.
    const std::string deep =
        "{\\rtf1 a" + std::string(200000, '{') + "b" + std::string(200000, '}') + " c}";
    EXPECT_EQ(Raw(QByteArray::fromStdString(deep), &rep), "a c");
    EXPECT_TRUE(rep.tooDeep);
    EXPECT_FALSE(rep.truncated);
}

TEST(RtfReader, FuzzCorpusReadsAndLaysOutWithinItsLimits) {
    const QDir dir(QStringLiteral(VORLA_SOURCE_DIR "/fuzz/corpus/rich_text"));
    const QStringList files = dir.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray data = f.readAll();
        QTextDocument doc;
        RtfReport rep;
        if (!ReadRtf(data, doc, &rep)) ReadPlainText(QString::fromUtf8(data), doc, &rep);
        EXPECT_LE(rep.chars, RtfLimits{}.maxChars) << name.toStdString();
        // The narrowest window, a character to a line, stays within what the layout can reach.
        doc.setTextWidth(1);
        EXPECT_LT(doc.size().height(), 1 << 23) << name.toStdString();
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
