// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader behind notes: a single pass over the bytes with an explicit stack of group
// states, so that no input, however nested, runs deep on the call stack.
#include "Rtf.h"

#include "RtfCodePages.h"
#include "TextRules.h"

#include <QColor>
#include <QHash>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <climits>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

enum class Dest : quint8 { Text, FontTable, ColorTable, Skip };

struct CharLook
{
    int font = -1; // -1: the document's default font
    int halfPoints = 24;
    int foreground = 0;
    int background = 0;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    quint8 underline = QTextCharFormat::NoUnderline;
    quint8 vertical = QTextCharFormat::AlignNormal;
    bool operator==(const CharLook &) const = default;
};

struct GroupState
{
    CharLook chars;
    int uc = 1;
    quint8 align = 0; // 0 left, 1 centre, 2 right, 3 justified
    Dest dest = Dest::Text;
};

enum class Kw : quint8 {
    Skip,
    FontTable,
    ColorTable,
    CodePage,
    AnsiCpg,
    Deff,
    Uc,
    U,
    Plain,
    Bold,
    Italic,
    Strike,
    Hidden,
    Underline,
    Vertical,
    FontSize,
    Font,
    FontCharset,
    Colour,
    Fg,
    Bg,
    Pard,
    Align,
    Par,
    Char,
    Bin,
};

// A control word and, for some, the value it stands for: a code page, an underline style, an
// alignment, a character.
struct KwInfo
{
    Kw kind;
    int value = 0;
};

// clang-format off
const std::unordered_map<std::string_view, KwInfo> &keywords()
{
    static const std::unordered_map<std::string_view, KwInfo> table = [] {
        std::unordered_map<std::string_view, KwInfo> t;
        // Destinations whose content is not text of the note.
        for (const char *name : {
                 "pict", "stylesheet", "info", "header", "footer", "headerl", "headerr",
                 "headerf", "footerl", "footerr", "footerf", "footnote", "objdata", "objclass",
                 "objname", "fldinst", "xe", "tc", "txe", "rxe", "bkmkstart", "bkmkend",
                 "nonshppict", "shpinst", "shprslt", "themedata", "colorschememapping",
                 "latentstyles", "datastore", "xmlnstbl", "listtable", "listoverridetable",
                 "rsidtbl", "revtbl", "generator", "filetbl", "pgdsctbl", "mmathPr", "fchars",
                 "lchars", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn",
                 "annotation", "atnid", "atnauthor", "atndate", "atnref", "atnparent",
                 "atrfstart", "atrfend", "comment", "title", "subject", "author", "operator",
                 "keywords", "doccomm", "company", "creatim", "revtim", "printim", "buptim",
                 "userprops", "docvar", "template", "wgrffmtfilter", "pnseclvl", "pn", "pntxta",
                 "pntxtb", "blipuid", "picprop", "background", "formfield", "datafield",
                 "listpicture", "private", "falt", "panose", "fname", "ud"})
            t[name] = {Kw::Skip};
        const std::pair<const char *, KwInfo> words[] = {
            {"fonttbl", {Kw::FontTable}}, {"colortbl", {Kw::ColorTable}},
            {"ansi", {Kw::CodePage, 1252}}, {"mac", {Kw::CodePage, 10000}},
            {"pc", {Kw::CodePage, 437}}, {"pca", {Kw::CodePage, 850}},
            {"ansicpg", {Kw::AnsiCpg}}, {"deff", {Kw::Deff}}, {"uc", {Kw::Uc}}, {"u", {Kw::U}},
            {"plain", {Kw::Plain}}, {"b", {Kw::Bold}}, {"i", {Kw::Italic}},
            {"strike", {Kw::Strike}}, {"striked", {Kw::Strike}}, {"v", {Kw::Hidden}},
            {"ul", {Kw::Underline, QTextCharFormat::SingleUnderline}},
            {"uldb", {Kw::Underline, QTextCharFormat::SingleUnderline}},
            {"ulth", {Kw::Underline, QTextCharFormat::SingleUnderline}},
            {"ulw", {Kw::Underline, QTextCharFormat::SingleUnderline}},
            {"ulnone", {Kw::Underline, QTextCharFormat::NoUnderline}},
            {"uld", {Kw::Underline, QTextCharFormat::DotLine}},
            {"ulthd", {Kw::Underline, QTextCharFormat::DotLine}},
            {"uldash", {Kw::Underline, QTextCharFormat::DashUnderline}},
            {"ulldash", {Kw::Underline, QTextCharFormat::DashUnderline}},
            {"ulthdash", {Kw::Underline, QTextCharFormat::DashUnderline}},
            {"ulthldash", {Kw::Underline, QTextCharFormat::DashUnderline}},
            {"uldashd", {Kw::Underline, QTextCharFormat::DashDotLine}},
            {"ulthdashd", {Kw::Underline, QTextCharFormat::DashDotLine}},
            {"uldashdd", {Kw::Underline, QTextCharFormat::DashDotDotLine}},
            {"ulthdashdd", {Kw::Underline, QTextCharFormat::DashDotDotLine}},
            {"ulwave", {Kw::Underline, QTextCharFormat::WaveUnderline}},
            {"ulhwave", {Kw::Underline, QTextCharFormat::WaveUnderline}},
            {"ululdbwave", {Kw::Underline, QTextCharFormat::WaveUnderline}},
            {"super", {Kw::Vertical, QTextCharFormat::AlignSuperScript}},
            {"sub", {Kw::Vertical, QTextCharFormat::AlignSubScript}},
            {"nosupersub", {Kw::Vertical, QTextCharFormat::AlignNormal}},
            {"fs", {Kw::FontSize}}, {"f", {Kw::Font}}, {"fcharset", {Kw::FontCharset}},
            {"red", {Kw::Colour, 0}}, {"green", {Kw::Colour, 1}}, {"blue", {Kw::Colour, 2}},
            {"cf", {Kw::Fg}}, {"cb", {Kw::Bg}}, {"highlight", {Kw::Bg}}, {"chcbpat", {Kw::Bg}},
            {"pard", {Kw::Pard}}, {"ql", {Kw::Align, 0}}, {"qc", {Kw::Align, 1}},
            {"qr", {Kw::Align, 2}}, {"qj", {Kw::Align, 3}}, {"qd", {Kw::Align, 3}},
            {"par", {Kw::Par}}, {"sect", {Kw::Par}}, {"page", {Kw::Par}}, {"row", {Kw::Par}},
            {"nestrow", {Kw::Par}}, {"bin", {Kw::Bin}},
            {"line", {Kw::Char, 0x2028}}, {"tab", {Kw::Char, '\t'}}, {"cell", {Kw::Char, '\t'}},
            {"nestcell", {Kw::Char, '\t'}}, {"emdash", {Kw::Char, 0x2014}},
            {"endash", {Kw::Char, 0x2013}}, {"emspace", {Kw::Char, 0x2003}},
            {"enspace", {Kw::Char, 0x2002}}, {"qmspace", {Kw::Char, 0x2005}},
            {"bullet", {Kw::Char, 0x2022}}, {"lquote", {Kw::Char, 0x2018}},
            {"rquote", {Kw::Char, 0x2019}}, {"ldblquote", {Kw::Char, 0x201C}},
            {"rdblquote", {Kw::Char, 0x201D}}, {"zwj", {Kw::Char, 0x200D}},
            {"zwnj", {Kw::Char, 0x200C}}, {"ltrmark", {Kw::Char, 0x200E}},
            {"rtlmark", {Kw::Char, 0x200F}}, {"zwbo", {Kw::Char, 0x200B}},
            {"zwnbo", {Kw::Char, 0x2060}},
        };
        for (const auto &[name, info] : words)
            t[name] = info;
        return t;
    }();
    return table;
}
// clang-format on

struct TooLong
{
};

// Holds a cursor's edit block open for as long as it lives, however the reading ends.
struct EditBlock
{
    explicit EditBlock(QTextCursor &cursor) : cursor(cursor) { cursor.beginEditBlock(); }
    ~EditBlock() { cursor.endEditBlock(); }
    EditBlock(const EditBlock &) = delete;
    EditBlock &operator=(const EditBlock &) = delete;
    QTextCursor &cursor;
};

size_t qHash(const CharLook &look, size_t seed = 0)
{
    return qHashMulti(seed, look.font, look.halfPoints, look.foreground, look.background, look.bold,
                      look.italic, look.strike, look.hidden, look.underline, look.vertical);
}

class RtfReader
{
public:
    RtfReader(const QByteArray &bytes, QTextDocument &document, qsizetype maxChars)
        : m_p(bytes.constData()), m_end(bytes.constData() + bytes.size()), m_cursor(&document),
          m_maxChars(maxChars)
    { }

    void run()
    {
        // One edit for the whole note: the cursor then does not lay the paragraph out again
        // after every run it inserts, which made a note of short runs take quadratic time.
        const EditBlock edit(m_cursor);
        while (m_p < m_end) {
            const char c = *m_p;
            if (c == '{') {
                ++m_p;
                flushBytes();
                openGroup();
            } else if (c == '}') {
                ++m_p;
                flushBytes();
                if (!closeGroup())
                    break;
            } else if (c == '\\') {
                ++m_p;
                controlSequence();
            } else if (c == '\r' || c == '\n') {
                ++m_p;
            } else if (m_state.dest == Dest::Skip) {
                while (m_p < m_end && *m_p != '{' && *m_p != '}' && *m_p != '\\')
                    ++m_p;
            } else if (m_skip == 0 && m_bytes.isEmpty() && m_state.dest == Dest::Text
                       && !m_state.chars.hidden && uchar(c) >= 0x20 && uchar(c) < 0x80) {
                // Plain ASCII text: taken in one piece.
                const char *start = m_p;
                while (m_p < m_end && uchar(*m_p) >= 0x20 && uchar(*m_p) < 0x80 && *m_p != '{'
                       && *m_p != '}' && *m_p != '\\')
                    ++m_p;
                beginText(m_p - start);
                m_run.append(QLatin1StringView(start, m_p - start));
            } else {
                ++m_p;
                textByte(uchar(c), false);
            }
        }
        flushBytes();
        finish();
    }

private:
    void openGroup()
    {
        if (m_stack.size() >= kMaxDepth) {
            ++m_overflow; // deeper groups share their parent's state
            return;
        }
        m_stack.push_back(m_state);
    }

    // False when the outermost group has closed: the document ends there.
    bool closeGroup()
    {
        m_skip = 0;
        if (m_overflow > 0) {
            --m_overflow;
            return true;
        }
        if (m_state.dest == Dest::FontTable)
            commitFont();
        else if (m_state.dest == Dest::ColorTable && m_colourStarted)
            commitColour();
        if (m_stack.empty())
            return false;
        m_state = m_stack.back();
        m_stack.pop_back();
        return !m_stack.empty();
    }

    void controlSequence()
    {
        if (m_p >= m_end)
            return;
        const char c = *m_p;
        if (!isLetter(c)) {
            ++m_p;
            controlSymbol(c);
            return;
        }
        const char *start = m_p;
        while (m_p < m_end && isLetter(*m_p))
            ++m_p;
        const std::string_view word(start, size_t(m_p - start));
        bool hasParam = false;
        bool negative = false;
        qint64 param = 0;
        if (m_p + 1 < m_end && *m_p == '-' && isDigit(m_p[1])) {
            negative = true;
            ++m_p;
        }
        while (m_p < m_end && isDigit(*m_p)) {
            hasParam = true;
            if (param < 100000000000LL)
                param = param * 10 + (*m_p - '0');
            ++m_p;
        }
        if (m_p < m_end && *m_p == ' ')
            ++m_p;
        if (negative)
            param = -param;
        flushBytes();
        const auto &table = keywords();
        const auto it = word.size() <= 32 ? table.find(word) : table.end();
        if (it != table.end() && it->second.kind == Kw::Bin) {
            skipBinary(hasParam ? param : 0);
            if (m_skip > 0)
                --m_skip;
            return;
        }
        if (m_skip > 0) {
            --m_skip; // a control word stands for one character of the Unicode fallback
            return;
        }
        if (it == table.end())
            return;
        controlWord(it->second, hasParam, int(std::clamp<qint64>(param, INT_MIN, INT_MAX)));
    }

    void controlSymbol(char c)
    {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            textByte(uchar(c), true);
            return;
        case '\'': {
            int value = 0;
            for (int i = 0; i < 2; ++i) {
                const int digit = m_p < m_end ? hexDigit(*m_p) : -1;
                if (digit < 0)
                    return;
                value = value * 16 + digit;
                ++m_p;
            }
            textByte(uchar(value), true);
            return;
        }
        default:
            break;
        }
        flushBytes();
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        switch (c) {
        case '*':
            m_state.dest = Dest::Skip; // an optional destination this reader does not know
            break;
        case '~':
            character(0x00A0);
            break;
        case '_':
            character(0x2011);
            break;
        case '\r':
        case '\n':
            paragraph();
            break;
        default:
            break; // \- optional hyphen, \| \: and the like show nothing
        }
    }

    void controlWord(const KwInfo &kw, bool hasParam, int param)
    {
        const bool on = !hasParam || param != 0;
        CharLook &look = m_state.chars;
        switch (kw.kind) {
        case Kw::Skip:
            m_state.dest = Dest::Skip;
            break;
        case Kw::FontTable:
            if (m_state.dest != Dest::Skip)
                m_state.dest = Dest::FontTable;
            m_fontStarted = false;
            break;
        case Kw::ColorTable:
            if (m_state.dest != Dest::Skip)
                m_state.dest = Dest::ColorTable;
            m_colours.clear();
            dropFormats();
            m_colourStarted = false;
            m_rgb = {0, 0, 0};
            break;
        case Kw::CodePage:
            m_codePage = kw.value;
            break;
        case Kw::AnsiCpg:
            if (hasParam && param > 0)
                m_codePage = param;
            break;
        case Kw::Deff:
            if (hasParam)
                m_defaultFont = param;
            break;
        case Kw::Uc:
            if (hasParam)
                m_state.uc = std::clamp(param, 0, 16);
            break;
        case Kw::U:
            if (hasParam)
                unicode(param);
            break;
        case Kw::Plain:
            look = CharLook();
            break;
        case Kw::Bold:
            look.bold = on;
            break;
        case Kw::Italic:
            look.italic = on;
            break;
        case Kw::Strike:
            look.strike = on;
            break;
        case Kw::Hidden:
            look.hidden = on;
            break;
        case Kw::Underline:
            look.underline = on ? quint8(kw.value) : quint8(QTextCharFormat::NoUnderline);
            break;
        case Kw::Vertical:
            look.vertical = quint8(kw.value);
            break;
        case Kw::FontSize:
            if (hasParam && param > 0)
                look.halfPoints = std::clamp(param, 2, 3276);
            break;
        case Kw::Font:
            if (!hasParam)
                break;
            if (m_state.dest == Dest::FontTable) {
                commitFont();
                m_fontStarted = true;
                m_fontNumber = param;
                m_fontCharset = 0;
                m_fontName.clear();
            } else {
                look.font = param;
            }
            break;
        case Kw::FontCharset:
            if (m_state.dest == Dest::FontTable && hasParam)
                m_fontCharset = param;
            break;
        case Kw::Colour:
            if (m_state.dest == Dest::ColorTable && hasParam) {
                m_rgb[size_t(kw.value)] = std::clamp(param, 0, 255);
                m_colourStarted = true;
            }
            break;
        case Kw::Fg:
            if (hasParam)
                look.foreground = param;
            break;
        case Kw::Bg:
            if (hasParam)
                look.background = param;
            break;
        case Kw::Pard:
            m_state.align = 0;
            break;
        case Kw::Align:
            m_state.align = quint8(kw.value);
            break;
        case Kw::Par:
            paragraph();
            break;
        case Kw::Char:
            character(char16_t(kw.value));
            break;
        case Kw::Bin:
            break;
        }
    }

    void unicode(int param)
    {
        m_skip = 0;
        if (param < 0)
            param += 65536;
        if (param < 0) {
            // below -32768: no character
        } else if (param <= 0xFFFF) {
            character(char16_t(param));
        } else if (param <= 0x10FFFF) {
            character(QChar::highSurrogate(char32_t(param)));
            character(QChar::lowSurrogate(char32_t(param)));
        }
        m_skip = m_state.uc;
    }

    void skipBinary(qint64 count)
    {
        if (count > 0)
            m_p += std::min<qint64>(count, m_end - m_p);
    }

    // A character from the text: a raw byte or an escaped one (\'hh), in the current code
    // page. Raw control bytes are layout of the file, not text.
    void textByte(uchar b, bool escaped)
    {
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        switch (m_state.dest) {
        case Dest::Skip:
            return;
        case Dest::ColorTable:
            if (b == ';')
                commitColour();
            return;
        case Dest::FontTable:
            if (b == ';') {
                flushBytes();
                commitFont();
                return;
            }
            break;
        case Dest::Text:
            if (b == '\t') {
                character(u'\t');
                return;
            }
            if (b < 0x20 && !escaped)
                return;
            break;
        }
        const int cp = currentCodePage();
        if (RtfCodePages::isDoubleByte(cp)) {
            m_bytes += char(b);
            m_bytesCodePage = cp;
            return;
        }
        character(m_codePages.table(cp)[b]);
    }

    void flushBytes()
    {
        if (m_bytes.isEmpty())
            return;
        QString decoded;
        m_codePages.decode(m_bytesCodePage, m_bytes, decoded);
        m_bytes.clear();
        for (QChar c : std::as_const(decoded))
            character(c.unicode());
    }

    int currentCodePage() const
    {
        if (m_state.dest == Dest::FontTable)
            return CodePageOfCharset(m_fontCharset, m_codePage);
        const int font = m_state.chars.font < 0 ? m_defaultFont : m_state.chars.font;
        const auto it = m_fonts.constFind(font);
        return it == m_fonts.cend() ? m_codePage : CodePageOfCharset(it->charset, m_codePage);
    }

    void character(char16_t c)
    {
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        if (m_state.dest == Dest::FontTable) {
            if (m_fontStarted)
                m_fontName += QChar(c);
            return;
        }
        if (m_state.dest != Dest::Text || m_state.chars.hidden || c == 0)
            return;
        beginText(1);
        m_run += QChar(c);
    }

    // Before text is added to the run: the pending paragraph break and the run's format.
    void beginText(qsizetype count)
    {
        if (m_paragraphPending) {
            m_run += QChar::ParagraphSeparator;
            m_paragraphPending = false;
            ++m_count;
        }
        if (!(m_state.chars == m_runLook)) {
            flushRun();
            m_runLook = m_state.chars;
        }
        m_count += count;
        if (m_count > m_maxChars)
            throw TooLong();
    }

    // A paragraph mark ends the paragraph with the paragraph properties now in force. The
    // break itself waits for more text: the last mark of a document ends its last paragraph.
    void paragraph()
    {
        if (m_state.dest != Dest::Text || m_state.chars.hidden)
            return;
        if (m_paragraphPending) {
            m_run += QChar::ParagraphSeparator;
            ++m_count;
        }
        applyAlignment();
        m_paragraphPending = true;
    }

    void applyAlignment()
    {
        if (m_state.align == m_blockAlign)
            return;
        flushRun();
        QTextBlockFormat format;
        static constexpr Qt::Alignment aligns[]
                = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
        if (m_state.align != 0)
            format.setAlignment(aligns[m_state.align]);
        m_cursor.setBlockFormat(format);
        m_blockAlign = m_state.align;
    }

    void flushRun()
    {
        if (m_run.isEmpty())
            return;
        if (!m_formatValid || !(m_formatLook == m_runLook)) {
            // Runs often take turns between a few looks: each look's format is made once.
            auto it = m_formats.constFind(m_runLook);
            if (it == m_formats.cend())
                it = m_formats.insert(m_runLook, formatOf(m_runLook));
            m_format = *it;
            m_formatLook = m_runLook;
            m_formatValid = true;
        }
        m_cursor.insertText(m_run, m_format);
        m_run.clear();
    }

    QTextCharFormat formatOf(const CharLook &look) const
    {
        QTextCharFormat format;
        const auto font = m_fonts.constFind(look.font < 0 ? m_defaultFont : look.font);
        if (font != m_fonts.cend() && !font->name.isEmpty())
            format.setFontFamilies({font->name});
        format.setFontPointSize(look.halfPoints / 2.0);
        if (look.bold)
            format.setFontWeight(QFont::Bold);
        if (look.italic)
            format.setFontItalic(true);
        if (look.strike)
            format.setFontStrikeOut(true);
        if (look.underline != QTextCharFormat::NoUnderline)
            format.setUnderlineStyle(QTextCharFormat::UnderlineStyle(look.underline));
        if (look.vertical != QTextCharFormat::AlignNormal)
            format.setVerticalAlignment(QTextCharFormat::VerticalAlignment(look.vertical));
        if (QColor c = colour(look.foreground); c.isValid())
            format.setForeground(c);
        if (QColor c = colour(look.background); c.isValid())
            format.setBackground(c);
        return format;
    }

    QColor colour(int index) const
    {
        if (index <= 0 || size_t(index) >= m_colours.size())
            return {};
        return m_colours[size_t(index)];
    }

    void commitFont()
    {
        if (!m_fontStarted)
            return;
        dropFormats();
        m_fonts.insert(m_fontNumber, {m_fontName.trimmed(), m_fontCharset});
        m_fontStarted = false;
        m_fontName.clear();
    }

    // Formats made before a font or colour was defined would show it wrongly.
    void dropFormats()
    {
        m_formats.clear();
        m_formatValid = false;
    }

    void commitColour()
    {
        dropFormats();
        if (m_colours.size() < 100000)
            m_colours.push_back(m_colourStarted ? QColor(m_rgb[0], m_rgb[1], m_rgb[2]) : QColor());
        m_colourStarted = false;
        m_rgb = {0, 0, 0};
    }

    void finish()
    {
        flushRun();
        if (!m_paragraphPending)
            applyAlignment();
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static int hexDigit(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    struct FontEntry
    {
        QString name;
        int charset = 0;
    };

    // Deeper nesting than any real document has; beyond it groups are only counted.
    static constexpr size_t kMaxDepth = 4096;

    const char *m_p;
    const char *m_end;
    QTextCursor m_cursor;
    const qsizetype m_maxChars;
    qsizetype m_count = 0;

    GroupState m_state;
    std::vector<GroupState> m_stack;
    qint64 m_overflow = 0;
    int m_skip = 0; // characters of a Unicode fallback still to skip

    int m_codePage = 1252;
    int m_defaultFont = 0;
    RtfCodePages m_codePages;
    QByteArray m_bytes; // bytes of a double-byte code page waiting to be decoded
    int m_bytesCodePage = 1252;

    QHash<int, FontEntry> m_fonts;
    bool m_fontStarted = false;
    int m_fontNumber = 0;
    int m_fontCharset = 0;
    QString m_fontName;

    std::vector<QColor> m_colours;
    bool m_colourStarted = false;
    std::array<int, 3> m_rgb = {0, 0, 0};

    QString m_run;
    CharLook m_runLook;
    QHash<CharLook, QTextCharFormat> m_formats;
    QTextCharFormat m_format;
    CharLook m_formatLook;
    bool m_formatValid = false;
    bool m_paragraphPending = false;
    quint8 m_blockAlign = 0;
};

} // namespace

bool ReadRtf(const QByteArray &bytes, QTextDocument &document, qsizetype maxChars)
{
    document.clear();
    if (!bytes.startsWith("{\\rtf"))
        return false;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    bool ok = true;
    {
        RtfReader reader(bytes, document, maxChars);
        try {
            reader.run();
        } catch (const TooLong &) {
            ok = false;
        }
    }
    if (!ok)
        document.clear();
    document.setUndoRedoEnabled(undo);
    return ok;
}
