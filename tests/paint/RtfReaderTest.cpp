#include "paint/RtfReader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QString text(const QByteArray& rtf) {
    QTextDocument doc;
    Rtf::read(rtf, doc);
    return doc.toPlainText();
}

// The character format at the first occurrence of `word`.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& word) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().contains(word))
                return it.fragment().charFormat();
    ADD_FAILURE() << word.toStdString() << " not found";
    return {};
}

QTextBlockFormat blockOf(const QTextDocument& doc, const QString& word) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (b.text().contains(word))
            return b.blockFormat();
    ADD_FAILURE() << word.toStdString() << " not found";
    return {};
}

} // namespace

TEST(RtfReader, AnythingElseIsPlainText) {
    QTextDocument doc;
    EXPECT_FALSE(Rtf::read("Just {text} with \\b nothing", doc));
    EXPECT_EQ(doc.toPlainText(), "Just {text} with \\b nothing");
    EXPECT_TRUE(Rtf::read("  {\\rtf1 x}", doc));
}

TEST(RtfReader, CharacterFormattingFontsAndColours) {
    QTextDocument doc;
    Rtf::read("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Bookman Old Style;}}"
              "{\\colortbl;\\red0\\green0\\blue128;\\red200\\green0\\blue0;}"
              "\\f0\\fs20 plain {\\b bold} {\\i italic} {\\ul under\\ulnone over} "
              "{\\f1\\fs32\\cf1 big}{\\cf2 red}\\b0 tail}",
              doc);
    EXPECT_EQ(doc.toPlainText().toStdString(), "plain bold italic underover bigredtail") << "a blank after a control word ends it";
    EXPECT_FALSE(formatOf(doc, "plain").font().bold());
    EXPECT_EQ(formatOf(doc, "plain").fontPointSize(), 10);
    EXPECT_EQ(formatOf(doc, "plain").fontFamilies().toStringList(), QStringList({"Arial"}));
    EXPECT_TRUE(formatOf(doc, "bold").font().bold());
    EXPECT_TRUE(formatOf(doc, "italic").fontItalic());
    EXPECT_TRUE(formatOf(doc, "under").fontUnderline());
    EXPECT_FALSE(formatOf(doc, "over").fontUnderline());
    EXPECT_EQ(formatOf(doc, "big").fontPointSize(), 16);
    EXPECT_EQ(formatOf(doc, "big").fontFamilies().toStringList(), QStringList({"Bookman Old Style"}));
    EXPECT_EQ(formatOf(doc, "big").foreground().color(), QColor(0, 0, 128));
    EXPECT_EQ(formatOf(doc, "red").foreground().color(), QColor(200, 0, 0));
    EXPECT_FALSE(formatOf(doc, "tail").font().bold()) << "the group's bold ended with it";
}

TEST(RtfReader, ParagraphsBreaksAndTabs) {
    QTextDocument doc;
    Rtf::read("{\\rtf1 {\\pard\\qc Centre\\par}\\pard\\li720\\fi-360\\sb120\\sa240 Indented\\line next\\tab col\\par"
              "\\pard\\qr Right\\par}",
              doc);
    EXPECT_EQ(blockOf(doc, "Centre").alignment(), Qt::AlignHCenter);
    const QTextBlockFormat indented = blockOf(doc, "Indented");
    EXPECT_EQ(indented.alignment(), Qt::AlignLeft);
    // Twips to pixels at 96 per inch; a hanging indent tabs to the indent.
    EXPECT_DOUBLE_EQ(indented.leftMargin(), 48);
    EXPECT_DOUBLE_EQ(indented.textIndent(), -24);
    EXPECT_DOUBLE_EQ(indented.topMargin(), 8);
    EXPECT_DOUBLE_EQ(indented.bottomMargin(), 16);
    ASSERT_EQ(indented.tabPositions().size(), 1);
    EXPECT_EQ(blockOf(doc, "Right").alignment(), Qt::AlignRight);
    EXPECT_TRUE(doc.toRawText().contains(QString("Indented") + QChar(QChar::LineSeparator) + "next\tcol"))
        << doc.toRawText().toStdString();
}

TEST(RtfReader, CodePagesAndUnicode) {
    EXPECT_EQ(text("{\\rtf1\\ansi caf\\'e9 \\'80 \\'93q\\'94}"), QString::fromUtf8("café € “q”"));
    EXPECT_EQ(text("{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e1}"), QString::fromUtf8("Аб"));
    EXPECT_EQ(text("{\\rtf1 \\u8364?\\uc2\\u945\\'3f\\'3fx\\uc0\\u946 y}"), QString::fromUtf8("€αxβy"));
    EXPECT_EQ(text("{\\rtf1 \\u-10179?\\u-8704?}"), QString::fromUtf8("😀")) << "a surrogate pair";
    QTextDocument doc;
    Rtf::read("{\\rtf1 a\\~b\\{c\\}\\\\d\\-e}", doc);
    EXPECT_EQ(doc.toRawText(), QString::fromUtf8("a\u00A0b{c}\\de"));
}

TEST(RtfReader, DestinationsThatAreNotTextAreLeftOut) {
    const QString t = text(
        "{\\rtf1{\\info{\\title Secret}{\\author Me}}{\\stylesheet{\\s1 Heading 1;}}"
        "{\\header Page head}{\\footer Page foot}{\\*\\generator Writer;}{\\*\\unknownthing junk}"
        "Body {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}} text"
        "{\\pict\\pngblip\\picw10 89504e47}{\\*\\shppict{\\pict\\bin3 {}}}{\\nonshppict{\\pict 00}} end}");
    EXPECT_EQ(t, "Body link text[picture][picture] end");
}

TEST(RtfReader, GroupsEndFallbacksAndStrayMarks) {
    EXPECT_EQ(text("{\\rtf1 {\\u8364}abc}"), QString::fromUtf8("€abc"));
    EXPECT_EQ(text("{\\rtf1 {\\*}\\b x\\par}"), "x\n");
    EXPECT_EQ(text("{\\rtf1 a\\abcdefghijklmnopqrstuvwxyzabcdefghijkl x}"), "ax");
    EXPECT_EQ(text("{\\rtf1 {t}\\info more}"), "tmore") << "not the start of a group";
    EXPECT_EQ(text("{\\rtf1 a\\bin3 {}}b}"), "ab");
    // Loading is one step: there is nothing to undo.
    QTextDocument doc;
    Rtf::read("{\\rtf1 {\\b one} two}", doc);
    EXPECT_FALSE(doc.isUndoAvailable());
}

TEST(RtfReader, TablesAreRowsOfCells) {
    EXPECT_EQ(text("{\\rtf1\\trowd\\cellx1000\\cellx2000 \\intbl Code\\cell Name\\cell\\row"
                   "\\trowd\\cellx1000\\cellx2000 \\intbl PA\\cell Phthalic\\cell\\row}"),
              "Code\tName\t\nPA\tPhthalic\t\n");
}

TEST(RtfReader, TheHelpFileReads) {
    QFile f(QStringLiteral(KALVORA_SOURCE_DIR "/resources/Readme.RTF"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(f.readAll(), doc));
    EXPECT_TRUE(doc.toPlainText().startsWith("Kalvora - Lite Version")) << doc.toPlainText().left(80).toStdString();
    EXPECT_FALSE(doc.toPlainText().contains(u'\\')) << "no control word shows as text";
}

// Random and mutated input: no crash, no hang, nothing slower than linear.
TEST(RtfReader, ReadsAnyInputQuickly) {
    const QByteArray seeds[] = {
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}\\pard\\qc\\b Title\\par}",
        "{\\rtf1 \\u8364?\\uc3\\u945 abc\\'e9{\\*\\x{\\y}}\\bin5 abcde{\\pict 0011}\\trowd\\cell\\row}",
        "{\\rtf1{\\field{\\*\\fldinst X}{\\fldrslt Y}}\\li-99999999999\\fs999999999\\cf-5\\f77 z\\par\\line\\tab}"};
    const QByteArray alphabet = "{}\\*'abcdefghijklmnopqrstuvwxyz0123456789- ;\n\r\x80\xff";
    QRandomGenerator random(20261209);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 100000; ++i) {
        QByteArray input;
        if (i % 2 == 0) {
            input = seeds[random.bounded(3)];
            const int edits = 1 + random.bounded(8);
            for (int e = 0; e < edits && !input.isEmpty(); ++e) {
                const int at = random.bounded(int(input.size()));
                switch (random.bounded(3)) {
                case 0: input[at] = alphabet[random.bounded(int(alphabet.size()))]; break;
                case 1: input.remove(at, 1 + random.bounded(4)); break;
                default: input.insert(at, alphabet[random.bounded(int(alphabet.size()))]); break;
                }
            }
        } else {
            input = "{\\rtf1 ";
            const int n = random.bounded(200);
            for (int k = 0; k < n; ++k)
                input += alphabet[random.bounded(int(alphabet.size()))];
        }
        QTextDocument doc;
        Rtf::read(input, doc);
    }
    EXPECT_LT(timer.elapsed(), 30000);
    // Large floods: braces, control words, fallback counts.
    for (const QByteArray& flood : {"{\\rtf1 " + QByteArray(200000, '{'), "{\\rtf1 " + QByteArray(200000, '}'),
                                    "{\\rtf1 " + QByteArray("\\b\\i0").repeated(40000),
                                    "{\\rtf1 \\uc99999999 " + QByteArray("\\u65 ").repeated(40000),
                                    "{\\rtf1 " + QByteArray("x\\b x\\b0 ").repeated(40000),
                                    QByteArray("{\\rtf1 \\li-1000000000\\fi-1000000000\\tx1000000000 a\\tab b\\par}")}) {
        QElapsedTimer one;
        one.start();
        QTextDocument doc;
        Rtf::read(flood, doc);
        EXPECT_LT(one.elapsed(), 2000) << flood.left(20).toStdString();
    }
}

// RTF as a real word processor writes it: LibreOffice's exports of procedure.html and of a
// version of our help file (help-source.rtf).
namespace {
QByteArray sample(const char* name) {
    QFile f(QStringLiteral(KALVORA_SOURCE_DIR "/tests/paint/rtf/") + QString::fromLatin1(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}
} // namespace

TEST(RtfReader, ReadsWhatLibreOfficeWrites) {
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(sample("procedure-libreoffice.rtf"), doc));
    const QStringList lines = doc.toPlainText().split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, QStringList({QString::fromUtf8("Long-oil soya alkyd"),
                                  QString::fromUtf8("Charge the soya oil and the pentaerythritol, heat to 240 °C under nitrogen."),
                                  QString::fromUtf8("Keep below 250 °C."),
                                  QString::fromUtf8("Acid value ≤ 10 mg KOH/g; viscosity “Z2–Z3”; résine à 60 % – Ölgehalt 66 %; α-olefin."),
                                  "Code\tMass\t", "SOYOIL\t650.000\t", "PE\t130.000\t", "End of procedure."}));
    EXPECT_TRUE(formatOf(doc, "Long-oil").font().bold());
    EXPECT_EQ(blockOf(doc, "Long-oil").alignment(), Qt::AlignHCenter);
    EXPECT_TRUE(formatOf(doc, "soya oil").font().bold());
    EXPECT_TRUE(formatOf(doc, "pentaerythritol").fontItalic());
    EXPECT_TRUE(formatOf(doc, "nitrogen").fontUnderline());
    EXPECT_FALSE(formatOf(doc, "Charge").font().bold());
    EXPECT_EQ(formatOf(doc, "Keep below").foreground().color(), QColor(192, 0, 0));
    EXPECT_EQ(blockOf(doc, "Keep below").alignment(), Qt::AlignRight);

    // A version of the help file, and LibreOffice's export of it, read alike.
    QTextDocument ours;
    Rtf::read(sample("help-source.rtf"), ours);
    ASSERT_TRUE(Rtf::read(sample("help-libreoffice.rtf"), doc));
    EXPECT_EQ(doc.toPlainText().split(u'\n', Qt::SkipEmptyParts), ours.toPlainText().split(u'\n', Qt::SkipEmptyParts));
    EXPECT_TRUE(formatOf(doc, "Paton's Constant").font().bold());
    EXPECT_EQ(formatOf(doc, "The oil rule").fontPointSize(), 10.5);
}
