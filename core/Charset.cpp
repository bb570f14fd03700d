// SPDX-License-Identifier: GPL-3.0-or-later
#include "Charset.h"

#include "CharsetIndex.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <vector>

namespace {

// The encoders with an algorithm of their own. Every other encoding of the label table is a
// single-byte one over the index of its name.
enum class Kind { Utf8, SingleByte, Gbk, Gb18030, Big5, EucJp, Iso2022Jp, ShiftJis, EucKr, User };

struct Encoding
{
    QString name;
    Kind kind = Kind::SingleByte;
};

Kind kindOf(const QString &name)
{
    // Forms go out in UTF-8 where the page asks for UTF-16 or for "replacement".
    // clang-format off
    static const QHash<QString, Kind> kinds = {
        {QStringLiteral("UTF-8"), Kind::Utf8}, {QStringLiteral("UTF-16BE"), Kind::Utf8},
        {QStringLiteral("UTF-16LE"), Kind::Utf8}, {QStringLiteral("replacement"), Kind::Utf8},
        {QStringLiteral("GBK"), Kind::Gbk}, {QStringLiteral("gb18030"), Kind::Gb18030},
        {QStringLiteral("Big5"), Kind::Big5}, {QStringLiteral("EUC-KR"), Kind::EucKr},
        {QStringLiteral("EUC-JP"), Kind::EucJp}, {QStringLiteral("ISO-2022-JP"), Kind::Iso2022Jp},
        {QStringLiteral("Shift_JIS"), Kind::ShiftJis}, {QStringLiteral("x-user-defined"), Kind::User},
    };
    // clang-format on
    return kinds.value(name, Kind::SingleByte);
}

struct LabelTable
{
    std::vector<Encoding> encodings;
    QHash<QString, int> byLabel;
};

// encodings.txt: "Name<TAB>label label ..." a line.
LabelTable readLabels()
{
    LabelTable table;
    QFile file(QStringLiteral(":/charset/encodings.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype tab = line.indexOf('\t');
        if (line.startsWith('#') || tab < 0)
            continue;
        const QString name = QString::fromLatin1(line.left(tab));
        for (const QByteArray &label : line.mid(tab + 1).split(' ')) {
            if (!label.isEmpty())
                table.byLabel.insert(QString::fromLatin1(label), int(table.encodings.size()));
        }
        table.encodings.push_back({name, kindOf(name)});
    }
    return table;
}

const Encoding *encodingOf(QStringView label)
{
    static const LabelTable table = readLabels();
    auto blank = [](QChar c) { return QStringView(u"\t\n\f\r ").contains(c); };
    while (!label.isEmpty() && blank(label.front()))
        label = label.mid(1);
    while (!label.isEmpty() && blank(label.back()))
        label.chop(1);
    QString key(label.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < label.size(); ++i) {
        const char16_t u = label[i].unicode();
        key[i] = QChar(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u); // ASCII letters only
    }
    const auto it = table.byLabel.constFind(key);
    return it == table.byLabel.cend() ? nullptr : &table.encodings[size_t(*it)];
}

const ReverseIndex *reverseFor(const Encoding &encoding)
{
    switch (encoding.kind) {
    case Kind::User:
    case Kind::Utf8:
        return nullptr;
    case Kind::Gbk:
    case Kind::Gb18030:
        // GB18030-2022 moved 18 pointers off the private use area; those code points keep
        // their bytes.
        return &ReverseIndex::get(QStringLiteral("gb18030"), 0, -1, {},
                                  QStringLiteral("gb18030-pua"));
    case Kind::Big5:
        // Not the Hong Kong extensions below lead 0xA1; six duplicates take their last pointer.
        return &ReverseIndex::get(QStringLiteral("big5"), 0, (0xA1 - 0x81) * 157 - 1,
                                  {0x2550, 0x255E, 0x2561, 0x256A, 0x5341, 0x5345});
    case Kind::ShiftJis:
        // The NEC-selected copy of the IBM rows is left out: its characters go as IBM's.
        return &ReverseIndex::get(QStringLiteral("jis0208"), 8272, 8835);
    case Kind::EucJp:
    case Kind::Iso2022Jp:
        return &ReverseIndex::get(QStringLiteral("jis0208"));
    case Kind::EucKr:
        return &ReverseIndex::get(QStringLiteral("euc-kr"));
    default:
        break;
    }
    // ISO-8859-8-I differs from ISO-8859-8 in its direction of writing only.
    const QString index = encoding.name == u"ISO-8859-8-I" ? QStringLiteral("iso-8859-8")
                                                           : encoding.name.toLower();
    return &ReverseIndex::get(index);
}

// One encoder at work: the standard's algorithms, a code point at a time, in its HTML mode
// (a character it cannot hold goes as "&#N;", itself passed through the encoder).
class Encoder
{
public:
    Encoder(Kind kind, const ReverseIndex *reverse) : m_kind(kind), m_reverse(reverse) { }

    QByteArray encode(QStringView text)
    {
        QByteArray out;
        out.reserve(text.size() * 2);
        for (qsizetype i = 0; i < text.size(); ++i) {
            char32_t cp = text[i].unicode();
            if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                cp = QChar::surrogateToUcs4(char16_t(cp), text[++i].unicode());
            else if (QChar::isSurrogate(cp))
                cp = 0xFFFD;
            if (!put(cp, out))
                putReference(cp, out);
        }
        if (m_state != State::Ascii)
            out.append("\x1B(B", 3);
        return out;
    }

private:
    enum class State { Ascii, Roman, Jis0208 };

    // "&#N;" for a character the encoding lacks, itself through the encoder.
    void putReference(char32_t cp, QByteArray &out)
    {
        char reference[16];
        char *const end = reference + sizeof reference;
        char *p = end;
        *--p = ';';
        do {
            *--p = char('0' + cp % 10);
            cp /= 10;
        } while (cp != 0);
        *--p = '#';
        *--p = '&';
        for (; p != end; ++p) {
            char32_t ascii = uchar(*p);
            put(ascii, out);
        }
    }

    // Appends the code point's bytes; false (and in `cp` the code point to write as a
    // reference) when the encoding cannot hold it.
    bool put(char32_t &cp, QByteArray &out)
    {
        if (cp < 0x80 && m_kind != Kind::Iso2022Jp) {
            out.append(char(cp));
            return true;
        }
        switch (m_kind) {
        case Kind::Gbk:
        case Kind::Gb18030:
            return putGb18030(cp, out);
        case Kind::Big5:
            return putTwo(m_reverse->pointer(cp), 157, out);
        case Kind::EucJp:
            return putEucJp(cp, out);
        case Kind::Iso2022Jp:
            return putIso2022Jp(cp, out);
        case Kind::ShiftJis:
            return putShiftJis(cp, out);
        case Kind::EucKr:
            return putTwo(m_reverse->pointer(cp), 190, out);
        case Kind::User:
            if (cp < 0xF780 || cp > 0xF7FF)
                return false;
            out.append(char(cp - 0xF780 + 0x80));
            return true;
        default:
            break;
        }
        const int pointer = m_reverse->pointer(cp);
        if (pointer < 0)
            return false;
        out.append(char(pointer + 0x80));
        return true;
    }

    // Big5's and EUC-KR's two bytes of a pointer; -1 is none.
    bool putTwo(int pointer, int rowSize, QByteArray &out) const
    {
        if (pointer < 0)
            return false;
        const int trail = pointer % rowSize;
        out.append(char(pointer / rowSize + 0x81));
        if (rowSize == 157)
            out.append(char(trail + (trail < 0x3F ? 0x40 : 0x62)));
        else
            out.append(char(trail + 0x41));
        return true;
    }

    bool putGb18030(char32_t cp, QByteArray &out) const
    {
        if (cp == 0xE5E5) // its bytes read back as U+3000
            return false;
        if (cp == 0x20AC && m_kind == Kind::Gbk) {
            out.append(char(0x80));
            return true;
        }
        if (const int pointer = m_reverse->pointer(cp); pointer >= 0) {
            const int trail = pointer % 190;
            out.append(char(pointer / 190 + 0x81));
            out.append(char(trail + (trail < 0x3F ? 0x40 : 0x41)));
            return true;
        }
        if (m_kind == Kind::Gbk)
            return false;
        int pointer = 7457; // U+E7C7, out of the ranges' order
        if (cp != 0xE7C7) {
            const auto &ranges = CharsetIndex::get(QStringLiteral("gb18030-ranges")).entries();
            const auto after = std::upper_bound(
                    ranges.cbegin(), ranges.cend(), cp,
                    [](char32_t c, const CharsetIndex::Entry &e) { return c < e.second; });
            pointer = after == ranges.cbegin()
                    ? 0
                    : std::prev(after)->first + int(cp - std::prev(after)->second);
        }
        const char bytes[4] = {char(pointer / 12600 + 0x81), char(pointer / 1260 % 10 + 0x30),
                               char(pointer / 10 % 126 + 0x81), char(pointer % 10 + 0x30)};
        out.append(bytes, 4);
        return true;
    }

    // What EUC-JP, ISO-2022-JP and Shift_JIS do alike: the minus sign as the full-width one.
    static char32_t jisCodePoint(char32_t cp) { return cp == 0x2212 ? 0xFF0D : cp; }

    bool putEucJp(char32_t cp, QByteArray &out) const
    {
        if (cp == 0xA5 || cp == 0x203E) {
            out.append(cp == 0xA5 ? '\x5C' : '\x7E');
        } else if (cp >= 0xFF61 && cp <= 0xFF9F) {
            out.append('\x8E');
            out.append(char(cp - 0xFF61 + 0xA1));
        } else {
            const int pointer = m_reverse->pointer(jisCodePoint(cp));
            if (pointer < 0)
                return false;
            out.append(char(pointer / 94 + 0xA1));
            out.append(char(pointer % 94 + 0xA1));
        }
        return true;
    }

    bool putShiftJis(char32_t cp, QByteArray &out) const
    {
        if (cp == 0x80 || cp == 0xA5 || cp == 0x203E) {
            out.append(cp == 0x80 ? '\x80' : cp == 0xA5 ? '\x5C' : '\x7E');
        } else if (cp >= 0xFF61 && cp <= 0xFF9F) {
            out.append(char(cp - 0xFF61 + 0xA1));
        } else {
            const int pointer = m_reverse->pointer(jisCodePoint(cp));
            if (pointer < 0)
                return false;
            const int lead = pointer / 188;
            const int trail = pointer % 188;
            out.append(char(lead + (lead < 0x1F ? 0x81 : 0xC1)));
            out.append(char(trail + (trail < 0x3F ? 0x40 : 0x41)));
        }
        return true;
    }

    // Switches to a state, writing its escape sequence.
    void shift(State state, QByteArray &out)
    {
        m_state = state;
        out.append(state == State::Ascii           ? "\x1B(B"
                           : state == State::Roman ? "\x1B(J"
                                                   : "\x1B$B",
                   3);
    }

    bool putIso2022Jp(char32_t &cp, QByteArray &out)
    {
        const bool ascii = cp < 0x80;
        if (m_state != State::Jis0208 && (cp == 0x0E || cp == 0x0F || cp == 0x1B)) {
            cp = 0xFFFD; // no escape of the text's own
            return false;
        }
        const bool roman = (ascii && cp != 0x5C && cp != 0x7E) || cp == 0xA5 || cp == 0x203E;
        if ((m_state == State::Ascii && ascii) || (m_state == State::Roman && roman)) {
            out.append(cp == 0xA5 ? '\x5C' : cp == 0x203E ? '\x7E' : char(cp));
            return true;
        }
        if (ascii || cp == 0xA5 || cp == 0x203E) {
            shift(ascii ? State::Ascii : State::Roman, out);
            return putIso2022Jp(cp, out);
        }
        cp = jisCodePoint(cp);
        if (cp >= 0xFF61 && cp <= 0xFF9F) // half-width katakana as full-width ones
            cp = CharsetIndex::get(QStringLiteral("iso-2022-jp-katakana"))
                         .codePoint(int(cp - 0xFF61));
        const int pointer = m_reverse->pointer(cp);
        if (pointer < 0) {
            if (m_state == State::Jis0208)
                shift(State::Ascii, out);
            return false;
        }
        if (m_state != State::Jis0208)
            shift(State::Jis0208, out);
        out.append(char(pointer / 94 + 0x21));
        out.append(char(pointer % 94 + 0x21));
        return true;
    }

    const Kind m_kind;
    const ReverseIndex *m_reverse; // none for x-user-defined
    State m_state = State::Ascii;
};

} // namespace

std::optional<QString> CharsetName(QStringView label)
{
    const Encoding *encoding = encodingOf(label);
    return encoding ? std::optional<QString>(encoding->name) : std::nullopt;
}

std::optional<QByteArray> EncodeInCharset(const QString &text, const QString &label)
{
    const Encoding *encoding = encodingOf(label);
    if (!encoding)
        return std::nullopt;
    if (encoding->kind == Kind::Utf8)
        return text.toUtf8();
    return Encoder(encoding->kind, reverseFor(*encoding)).encode(text);
}
