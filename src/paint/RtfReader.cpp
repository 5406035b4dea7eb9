#include "RtfReader.h"

#include <QColor>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QVector>
#include <algorithm>
#include <vector>

namespace Rtf {

namespace {

// Deeper groups than this are counted but share the innermost state: a flood of braces cannot
// exhaust memory.
constexpr int MaxDepth = 512;
// Lengths in the document are pixels at 96 per inch; RTF gives them in twips (1440 per inch).
constexpr double TwipsPerPixel = 15.0;

enum class Dest { Text, Skip, FontTable, ColourTable, Picture };

struct State {
    Dest dest = Dest::Text;
    bool bold = false, italic = false, underline = false;
    int halfPoints = 24;
    int font = -1;
    int colour = 0;
    int skipAfterUnicode = 1; // \ucN
    // Paragraph properties travel with groups too.
    Qt::Alignment align = Qt::AlignLeft;
    int leftIndent = 0, rightIndent = 0, firstIndent = 0, spaceBefore = 0, spaceAfter = 0;
    std::vector<int> tabs; // \txN, twips
};

// Windows-1252's characters 0x80 to 0x9F; the rest of the code page is Latin-1.
const char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

class Reader {
public:
    Reader(const QByteArray& data, QTextDocument& doc) : m_data(data), m_cursor(&doc) {}

    void run() {
        m_states.push_back(State());
        while (m_pos < m_data.size()) {
            const char c = m_data[m_pos++];
            switch (c) {
            case '{': push(); break;
            case '}': pop(); break;
            case '\\': control(); break;
            case '\r':
            case '\n': break;
            default: character(QChar(char16_t(uchar(c)) < 0x80 ? char16_t(uchar(c)) : decode(uchar(c)))); break;
            }
        }
        endParagraph(false);
    }

private:
    State& state() { return m_states.back(); }

    void push() {
        m_optional = false;
        if (int(m_states.size()) >= MaxDepth) {
            ++m_overflow;
            return;
        }
        flush();
        m_states.push_back(m_states.back());
        m_groupStart = true;
    }

    void pop() {
        // A group ends a \u fallback and a \* that found no word.
        m_unicodeSkip = 0;
        m_optional = false;
        m_groupStart = false;
        if (m_overflow > 0) {
            --m_overflow;
            return;
        }
        if (m_states.size() <= 1)
            return; // an unbalanced brace closes nothing
        flush();
        const Dest ending = state().dest;
        if (ending == Dest::FontTable && m_fontIndex >= 0)
            storeFont();
        m_states.pop_back();
        // A picture group leaves its place holder where the text goes on.
        if (ending == Dest::Picture && state().dest == Dest::Text)
            insert(QStringLiteral("[picture]"));
    }

    // A control word or symbol after a backslash.
    void control() {
        if (m_pos >= m_data.size())
            return;
        const char c = m_data[m_pos];
        if (!isLetter(c)) {
            ++m_pos;
            symbol(c);
            m_groupStart = false;
            return;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_data.size() && isLetter(m_data[m_pos]))
            ++m_pos;
        // Longer words are none RTF knows: they are read whole and ignored.
        const QByteArray word = m_data.mid(start, std::min<qsizetype>(m_pos - start, 32));
        bool hasParam = false;
        bool negative = false;
        long long param = 0;
        if (m_pos < m_data.size() && m_data[m_pos] == '-') {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_data.size() && isDigit(m_data[m_pos])) {
            hasParam = true;
            param = std::min<long long>(param * 10 + (m_data[m_pos] - '0'), 1'000'000'000);
            ++m_pos;
        }
        if (m_pos < m_data.size() && m_data[m_pos] == ' ')
            ++m_pos; // the delimiter belongs to the word
        const int value = int(negative ? -param : param);
        const bool starting = std::exchange(m_groupStart, false);
        keyword(word, hasParam, value, starting);
    }

    void symbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}': character(QChar(char16_t(c))); break;
        case '~': character(QChar(0x00A0)); break;
        case '_': character(QChar(0x2011)); break;
        case '-': break; // an optional hyphen
        case '*': m_optional = true; break;
        case '\'': {
            const int hi = hex(m_pos), lo = hex(m_pos + 1);
            if (hi < 0 || lo < 0)
                return;
            m_pos += 2;
            if (m_unicodeSkip > 0) {
                --m_unicodeSkip;
                return;
            }
            character(QChar(decode(uchar(hi * 16 + lo))));
            break;
        }
        case '\n':
        case '\r': endParagraph(true); break;
        default: break;
        }
    }

    void keyword(const QByteArray& w, bool hasParam, int v, bool groupStart) {
        State& s = state();
        const bool optional = std::exchange(m_optional, false);
        // Destinations: only at the start of a group.
        if (groupStart || optional) {
            static const char* const skipped[] = {
                "info", "stylesheet", "header", "headerl", "headerr", "headerf", "footer", "footerl",
                "footerr", "footerf", "fldinst", "listtable", "listoverridetable", "rsidtbl", "generator",
                "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "pgdsctbl",
                "footnote", "annotation", "bkmkstart", "bkmkend", "nonshppict", "object", "filetbl",
                "revtbl", "xe", "tc", "comment", "title", "author", "operator", "keywords", "subject"};
            for (const char* name : skipped)
                if (w == name) {
                    s.dest = Dest::Skip;
                    return;
                }
            if (w == "fonttbl") {
                s.dest = Dest::FontTable;
                return;
            }
            if (w == "colortbl") {
                s.dest = Dest::ColourTable;
                m_colours.clear();
                m_colourOpen = false;
                return;
            }
            if (w == "pict" || w == "shppict") {
                s.dest = w == "pict" ? Dest::Picture : s.dest;
                return;
            }
            if (optional && !known(w)) {
                s.dest = Dest::Skip;
                return;
            }
        }
        if (w == "bin") {
            // Binary data is never text, wherever it stands.
            if (hasParam && v > 0)
                m_pos = std::min<qsizetype>(m_data.size(), m_pos + v);
            return;
        }
        if (s.dest == Dest::Skip || s.dest == Dest::Picture)
            return;
        if (s.dest == Dest::FontTable) {
            if (w == "f" && hasParam) {
                if (m_fontIndex >= 0)
                    storeFont();
                m_fontIndex = v;
                m_fontName.clear();
            }
            return;
        }
        if (s.dest == Dest::ColourTable) {
            const int c = std::clamp(v, 0, 255);
            if (w == "red") { m_colour.setRed(c); m_colourOpen = true; }
            else if (w == "green") { m_colour.setGreen(c); m_colourOpen = true; }
            else if (w == "blue") { m_colour.setBlue(c); m_colourOpen = true; }
            return;
        }
        if (w == "ansicpg" && hasParam) {
            m_codePage = v;
            m_decoder = QStringDecoder(QByteArray("windows-") + QByteArray::number(v));
        } else if (w == "par") endParagraph(false);
        else if (w == "line") character(QChar(QChar::LineSeparator));
        else if (w == "tab" || w == "cell") character(QChar(u'\t'));
        else if (w == "row") endParagraph(false);
        else if (w == "pard") {
            flush();
            s.align = Qt::AlignLeft;
            s.leftIndent = s.rightIndent = s.firstIndent = s.spaceBefore = s.spaceAfter = 0;
            s.tabs.clear();
        } else if (w == "plain") {
            flush();
            s.bold = s.italic = s.underline = false;
            s.halfPoints = 24;
            s.font = m_defaultFont;
            s.colour = 0;
        }
        else if (w == "b") setFlag(s.bold, !hasParam || v != 0);
        else if (w == "i") setFlag(s.italic, !hasParam || v != 0);
        else if (w == "ul") setFlag(s.underline, !hasParam || v != 0);
        else if (w == "ulnone") setFlag(s.underline, false);
        else if (w == "fs" && hasParam) { flush(); s.halfPoints = std::clamp(v, 2, 3276); }
        else if (w == "f" && hasParam) { flush(); s.font = v; }
        else if (w == "deff" && hasParam) { m_defaultFont = v; if (s.font < 0) s.font = v; }
        else if (w == "cf" && hasParam) { flush(); s.colour = std::max(0, v); }
        else if (w == "uc" && hasParam) s.skipAfterUnicode = std::clamp(v, 0, 16);
        else if (w == "u" && hasParam) {
            character(QChar(char16_t(v < 0 ? v + 65536 : v)));
            m_unicodeSkip = s.skipAfterUnicode;
            return;
        }
        else if (w == "ql") s.align = Qt::AlignLeft;
        else if (w == "qc") s.align = Qt::AlignHCenter;
        else if (w == "qr") s.align = Qt::AlignRight;
        else if (w == "qj") s.align = Qt::AlignJustify;
        else if (w == "li" && hasParam) s.leftIndent = v;
        else if (w == "ri" && hasParam) s.rightIndent = v;
        else if (w == "fi" && hasParam) s.firstIndent = v;
        else if (w == "sb" && hasParam) s.spaceBefore = v;
        else if (w == "sa" && hasParam) s.spaceAfter = v;
        else if (w == "tx" && hasParam && s.tabs.size() < 64) s.tabs.push_back(v);
        else if (w == "emdash") character(QChar(0x2014));
        else if (w == "endash") character(QChar(0x2013));
        else if (w == "bullet") character(QChar(0x2022));
        else if (w == "lquote") character(QChar(0x2018));
        else if (w == "rquote") character(QChar(0x2019));
        else if (w == "ldblquote") character(QChar(0x201C));
        else if (w == "rdblquote") character(QChar(0x201D));
        m_unicodeSkip = 0;
    }

    static bool known(const QByteArray& w) {
        // Optional destinations whose text is the document's.
        return w == "fldrslt" || w == "shppict";
    }

    void setFlag(bool& flag, bool on) {
        if (flag != on) {
            flush();
            flag = on;
        }
    }

    void character(QChar c) {
        m_groupStart = false;
        m_optional = false;
        State& s = state();
        if (m_unicodeSkip > 0 && s.dest != Dest::FontTable) {
            --m_unicodeSkip;
            return;
        }
        switch (s.dest) {
        case Dest::Text: m_run += c; break;
        case Dest::FontTable:
            if (c == u';')
                storeFont();
            else if (m_fontName.size() < 256)
                m_fontName += c;
            break;
        case Dest::ColourTable:
            if (c == u';') {
                m_colours.push_back(m_colourOpen ? m_colour : QColor());
                m_colour = QColor(0, 0, 0);
                m_colourOpen = false;
            }
            break;
        default: break;
        }
    }

    void storeFont() {
        const QString name = m_fontName.trimmed();
        if (m_fontIndex >= 0 && !name.isEmpty() && m_fonts.size() < 4096)
            m_fonts.emplace_back(m_fontIndex, name);
        m_fontIndex = -1;
        m_fontName.clear();
    }

    char16_t decode(uchar byte) {
        if (m_codePage != 1252 && m_decoder.isValid()) {
            const char b = char(byte);
            const QString s = m_decoder.decode(QByteArrayView(&b, 1));
            m_decoder.resetState();
            if (s.size() == 1)
                return s[0].unicode();
        }
        return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t(byte);
    }

    QTextCharFormat charFormat() const {
        const State& s = m_states.back();
        QTextCharFormat f;
        f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(s.italic);
        f.setFontUnderline(s.underline);
        f.setFontPointSize(s.halfPoints / 2.0);
        for (const auto& [index, name] : m_fonts)
            if (index == s.font) {
                f.setFontFamilies({name});
                break;
            }
        if (s.colour > 0 && s.colour < int(m_colours.size()) && m_colours[size_t(s.colour)].isValid())
            f.setForeground(m_colours[size_t(s.colour)]);
        return f;
    }

    void insert(const QString& text) {
        m_cursor.insertText(text, charFormat());
    }

    void flush() {
        if (m_run.isEmpty())
            return;
        insert(m_run);
        m_run.clear();
    }

    void endParagraph(bool plainBreak) {
        flush();
        const State& s = m_states.back();
        QTextBlockFormat b;
        b.setAlignment(s.align);
        b.setLeftMargin(s.leftIndent / TwipsPerPixel);
        b.setRightMargin(s.rightIndent / TwipsPerPixel);
        b.setTextIndent(s.firstIndent / TwipsPerPixel);
        b.setTopMargin(s.spaceBefore / TwipsPerPixel);
        b.setBottomMargin(s.spaceAfter / TwipsPerPixel);
        // A hanging indent stops its first tab at the indent, as word processors do. RTF counts
        // tab stops from the margin; Qt from where the first line starts.
        const double firstLine = double(s.leftIndent) + s.firstIndent;
        QList<QTextOption::Tab> tabs;
        for (int t : s.tabs)
            if (t > firstLine)
                tabs.append(QTextOption::Tab((t - firstLine) / TwipsPerPixel, QTextOption::LeftTab));
        if (tabs.isEmpty() && s.firstIndent < 0)
            tabs.append(QTextOption::Tab(-double(s.firstIndent) / TwipsPerPixel, QTextOption::LeftTab));
        b.setTabPositions(tabs);
        m_cursor.setBlockFormat(b);
        if (m_pos < m_data.size() || plainBreak)
            m_cursor.insertBlock(b, charFormat());
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    int hex(qsizetype at) const {
        if (at >= m_data.size())
            return -1;
        const char c = m_data[at];
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    const QByteArray& m_data;
    qsizetype m_pos = 0;
    QTextCursor m_cursor;
    std::vector<State> m_states;
    int m_overflow = 0;
    bool m_groupStart = false;
    bool m_optional = false;
    int m_unicodeSkip = 0;
    int m_codePage = 1252;
    QStringDecoder m_decoder;
    QString m_run;
    std::vector<std::pair<int, QString>> m_fonts;
    int m_fontIndex = -1;
    QString m_fontName;
    int m_defaultFont = -1;
    std::vector<QColor> m_colours;
    QColor m_colour = QColor(0, 0, 0);
    bool m_colourOpen = false;
};

} // namespace

bool read(const QByteArray& data, QTextDocument& document) {
    // One edit, and none to undo: the document is laid out once, not at every insertion, and
    // Ctrl+Z cannot take the text away piece by piece.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    const bool rtf = data.trimmed().startsWith("{\\rtf");
    {
        QTextCursor edit(&document);
        edit.beginEditBlock();
        if (rtf)
            Reader(data, document).run();
        else
            edit.insertText(QString::fromUtf8(data));
        edit.endEditBlock();
    }
    document.setUndoRedoEnabled(undo);
    return rtf;
}

} // namespace Rtf
