// SPDX-License-Identifier: GPL-3.0-or-later
// List files: plain text, CR LF after every line; reading accepts CR LF, CR and LF. UTF-16
// files are read as text and written back as UTF-16.
#include "EntryList.h"

#include "Error.h"
#include "FileIo.h"
#include "PrefixMatcher.h"
#include "TextRules.h"

#include <QCollator>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHashFunctions>
#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string_view>
#include <vector>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(ListFile)
};

} // namespace

// Line ends are found eight bytes at a time. In a mask, the high bit of a byte is set exactly
// where the word holds CR or LF.
namespace {

constexpr quint64 kOnes = 0x0101010101010101ULL;

inline quint64 lineEndMask(const char *at)
{
    constexpr quint64 low7 = 0x7F7F7F7F7F7F7F7FULL;
    auto zeroBytes = [](quint64 word) { return ~(((word & low7) + low7) | word | low7); };
    const quint64 word = qFromLittleEndian<quint64>(at);
    return zeroBytes(word ^ ('\r' * kOnes)) | zeroBytes(word ^ ('\n' * kOnes));
}

inline bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

qsizetype countLineEnds(const char *data, qsizetype size)
{
    qsizetype count = 0, i = 0;
    while (i + 8 <= size) {
        // Byte-wise sums of at most 255 words cannot overflow a byte.
        quint64 sums = 0;
        for (int words = 0; words < 255 && i + 8 <= size; ++words, i += 8)
            sums += lineEndMask(data + i) >> 7;
        // The eight byte sums together may pass 255: add them in 16-bit lanes.
        constexpr quint64 evenBytes = 0x00FF00FF00FF00FFULL;
        const quint64 pairs = (sums & evenBytes) + ((sums >> 8) & evenBytes);
        count += qsizetype((pairs * 0x0001000100010001ULL) >> 48);
    }
    for (; i < size; ++i)
        count += isLineEnd(data[i]);
    return count;
}

qsizetype nextLineEnd(const char *data, qsizetype from, qsizetype size)
{
    qsizetype i = from;
    for (; i + 8 <= size; i += 8) {
        if (const quint64 mask = lineEndMask(data + i))
            return i + qCountTrailingZeroBits(mask) / 8;
    }
    while (i < size && !isLineEnd(data[i]))
        ++i;
    return i;
}

} // namespace

// Each line shares the text's buffer rather than holding a copy of its own: a million lines then
// load about four times as fast (glbench lists, "load"). That takes a reference on the buffer
// through Qt's array data, declared in its headers but not documented; it is used with the
// Qt 6 versions it was checked against, and any other Qt copies every line.
#if QT_VERSION >= QT_VERSION_CHECK(6, 2, 0) && QT_VERSION < QT_VERSION_CHECK(7, 0, 0)
#    define GL_LINES_SHARE_THE_TEXT 1
#else
#    define GL_LINES_SHARE_THE_TEXT 0
#endif

QList<QByteArray> SplitLines(QByteArray text, std::vector<quint32> &heads)
{
    heads.clear();
    if (text.isEmpty())
        return {};
    // Every line end found becomes a NUL in turn, so that each line can share the text's
    // buffer and still end in a NUL as a QByteArray's bytes must.
    char *const data = text.data();
    const qsizetype size = text.size();
    QList<QByteArray> lines;
    lines.reserve(countLineEnds(data, size) + 1);
    AdviseHugePages(lines.constData(), size_t(lines.capacity()) * sizeof(QByteArray));
    lines.resize(lines.capacity());
    heads.reserve(size_t(lines.capacity()));
    qsizetype count = 0;
#if GL_LINES_SHARE_THE_TEXT
    auto *const buffer = text.data_ptr().d_ptr();
#endif
    auto addLine = [&](qsizetype start, qsizetype length) {
        if (count == lines.size())
            lines.resize(lines.size() * 2 + 1); // never needed when the count above is right
        if (length > 0) {
#if GL_LINES_SHARE_THE_TEXT
            // Each line holds a reference to the text's buffer from the moment it exists.
            buffer->ref();
            lines[count] = QByteArray(QByteArray::DataPointer(buffer, data + start, length));
#else
            lines[count] = QByteArray(data + start, length);
#endif
        }
        heads.push_back(PrefixMatcher::HeadOf(lines.at(count)));
        ++count;
    };
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = nextLineEnd(data, start, size);
        if (end == size)
            break;
        const bool crlf = data[end] == '\r' && data[end + 1] == '\n';
        data[end] = '\0';
        addLine(start, end - start);
        start = end + (crlf ? 2 : 1);
    }
    if (start < size)
        addLine(start, size - start);
    lines.resize(count);
    return lines;
}

QByteArray JoinLines(const QList<QByteArray> &lines)
{
    qsizetype total = 0;
    for (const QByteArray &line : lines)
        total += line.size() + 2;
    QByteArray text(total, Qt::Uninitialized);
    char *out = text.data();
    for (const QByteArray &line : lines) {
        std::memcpy(out, line.constData(), size_t(line.size()));
        out += line.size();
        *out++ = '\r';
        *out++ = '\n';
    }
    return text;
}

namespace {

// The number, counted from 1, of the line that holds the byte at `at`.
qsizetype lineNumberAt(const QByteArray &text, qsizetype at)
{
    qsizetype line = 1;
    for (qsizetype i = 0; i < at; ++i) {
        const char c = text.at(i);
        if (c == '\n' || (c == '\r' && text.at(i + 1) != '\n'))
            ++line;
    }
    return line;
}

bool isUtf16(QByteArrayView bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

// Where the first NUL of a list file's bytes is, looking from `from`: a NUL byte, or in UTF-16
// a NUL character (two zero bytes at a character's place); -1 when there is none.
qsizetype nulAt(QByteArrayView bytes, qsizetype from)
{
    if (!isUtf16(bytes)) {
        const void *nul = std::memchr(bytes.data() + from, 0, size_t(bytes.size() - from));
        return nul ? static_cast<const char *>(nul) - bytes.data() : -1;
    }
    for (qsizetype i = std::max<qsizetype>(2, from & ~qsizetype(1)); i + 1 < bytes.size(); i += 2) {
        if (bytes[i] == 0 && bytes[i + 1] == 0)
            return i;
    }
    return -1;
}

// A list file's bytes, read until the block that shows a NUL, or only its first block: a
// sparse file of gigabytes is refused as soon as its first block is read.
QByteArray readListBytes(const QString &path, bool firstBlockOnly)
{
    qsizetype nul = -1;
    QByteArray bytes = ReadFileBytes(path, {}, [&](QByteArrayView read, qsizetype from) {
        nul = nulAt(read, from);
        return nul < 0 && !firstBlockOnly;
    });
    if (nul < 0)
        return bytes;
    if (isUtf16(bytes)) {
        // Counted in the text before the NUL, as the lines read.
        QStringDecoder decoder(bytes.startsWith("\xFF") ? QStringDecoder::Utf16LE
                                                        : QStringDecoder::Utf16BE);
        bytes = QString(decoder.decode(QByteArrayView(bytes).sliced(2, nul - 2))).toUtf8();
        nul = bytes.size();
        bytes.append('\0');
    }
    ThrowCannotOpen(
            QFileInfo(path).absoluteFilePath(),
            Tr::tr("Not a text file: line %1 holds a NUL byte").arg(lineNumberAt(bytes, nul)));
}

// The text of a list file: UTF-16 (known by its byte-order mark) becomes UTF-8, as typed text
// is stored; any other file is taken byte for byte. NULs were refused while it was read.
QByteArray listText(const QString &path, QByteArray bytes, ListFileEncoding &encoding)
{
    encoding = bytes.startsWith("\xFF\xFE") ? ListFileEncoding::Utf16LE
            : bytes.startsWith("\xFE\xFF")  ? ListFileEncoding::Utf16BE
                                            : ListFileEncoding::Bytes;
    if (encoding != ListFileEncoding::Bytes) {
        // The mark was read; a second one is text (a zero-width no-break space).
        QStringDecoder decoder(encoding == ListFileEncoding::Utf16LE ? QStringDecoder::Utf16LE
                                                                     : QStringDecoder::Utf16BE,
                               QStringDecoder::Flag::ConvertInitialBom);
        const QString text = decoder.decode(QByteArrayView(bytes).sliced(2));
        if (decoder.hasError() || bytes.size() % 2 != 0 || !QStringView(text).isValidUtf16())
            ThrowCannotOpen(QFileInfo(path).absoluteFilePath(), Tr::tr("Not valid UTF-16 text"));
        bytes = text.toUtf8();
    }
    return bytes;
}

// The lines as UTF-16 with its byte-order mark, each line read as the list reads it, except
// that a zero-width no-break space at its start stays.
bool writeUtf16Lines(QIODevice &file, const QList<QByteArray> &lines, ListFileEncoding encoding)
{
    const bool little = encoding == ListFileEncoding::Utf16LE;
    const auto keepMarks
            = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    QStringDecoder utf8(QStringDecoder::Utf8, keepMarks);
    QStringEncoder encoder(little ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE, keepMarks);
    if (file.write(little ? "\xFF\xFE" : "\xFE\xFF", 2) != 2)
        return false;
    QString chunk;
    auto flush = [&] {
        const QByteArray bytes = encoder.encode(chunk);
        chunk.clear();
        return file.write(bytes) == bytes.size();
    };
    for (const QByteArray &line : lines) {
        if (IsValidUtf8(line))
            chunk += utf8.decode(line);
        else
            chunk += DecodeWindows1252(line.constData(), line.size());
        chunk += u"\r\n";
        if (chunk.size() >= 128 * 1024 && !flush())
            return false;
    }
    return flush();
}

// The lines as they are, through one small buffer instead of being joined whole first.
bool writeByteLines(QIODevice &file, const QList<QByteArray> &lines)
{
    constexpr qsizetype capacity = 256 * 1024;
    std::vector<char> buffer(capacity);
    qsizetype used = 0;
    auto flush = [&] {
        const bool written = file.write(buffer.data(), used) == used;
        used = 0;
        return written;
    };
    for (const QByteArray &line : lines) {
        if (used + line.size() + 2 > capacity) {
            if (!flush())
                return false;
            if (line.size() + 2 > capacity) {
                if (file.write(line) != line.size())
                    return false;
                buffer[0] = '\r';
                buffer[1] = '\n';
                used = 2;
                continue;
            }
        }
        std::memcpy(buffer.data() + used, line.constData(), size_t(line.size()));
        used += line.size();
        buffer[size_t(used++)] = '\r';
        buffer[size_t(used++)] = '\n';
    }
    return flush();
}

} // namespace

QList<QByteArray> ReadListFile(const QString &path, ListFileEncoding &encoding,
                               std::vector<quint32> &heads)
{
    return SplitLines(listText(path, readListBytes(path, false), encoding), heads);
}

void CheckListFileStart(const QString &path)
{
    readListBytes(path, true);
}

QList<QByteArray> ReadListLines(const QString &path)
{
    ListFileEncoding encoding;
    std::vector<quint32> heads;
    return ReadListFile(path, encoding, heads);
}

void WriteLines(const QString &path, const QList<QByteArray> &lines, ListFileEncoding encoding)
{
    WriteFileWith(path, [&](QIODevice &file) {
        return encoding == ListFileEncoding::Bytes ? writeByteLines(file, lines)
                                                   : writeUtf16Lines(file, lines, encoding);
    });
}

namespace {

// The folded keys of many lines, end to end in one buffer: one allocation, not one a line.
class FoldedKeys
{
public:
    explicit FoldedKeys(const QList<QByteArray> &lines)
    {
        qsizetype total = 0;
        for (const QByteArray &line : lines)
            total += line.size();
        m_bytes.reserve(total + total / 8);
        m_ends.reserve(size_t(lines.size()));
        for (const QByteArray &line : lines) {
            AppendFoldedKey(m_bytes, line);
            m_ends.push_back(m_bytes.size());
        }
    }

    std::string_view at(qsizetype i) const
    {
        const qsizetype start = i == 0 ? 0 : m_ends[size_t(i - 1)];
        return {m_bytes.constData() + start, size_t(m_ends[size_t(i)] - start)};
    }

private:
    QByteArray m_bytes;
    std::vector<qsizetype> m_ends;
};

} // namespace

QList<QByteArray> RemoveDuplicateLines(const QList<QByteArray> &lines)
{
    const FoldedKeys keys(lines);
    // Open addressing over the keys' hashes; a slot holds the position of a kept line plus one.
    struct Slot
    {
        quint32 hash = 0;
        quint32 line = 0;
    };
    size_t capacity = 16;
    while (capacity < size_t(lines.size()) * 2)
        capacity *= 2;
    std::vector<Slot> table(capacity);
    const size_t seed = QHashSeed::globalSeed();

    QList<QByteArray> kept;
    kept.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::string_view key = keys.at(i);
        const size_t hash = qHashBits(key.data(), key.size(), seed);
        for (size_t s = hash & (capacity - 1);; s = (s + 1) & (capacity - 1)) {
            Slot &slot = table[s];
            if (slot.line == 0) {
                slot = {quint32(hash), quint32(i + 1)};
                kept.append(lines.at(i));
                break;
            }
            if (slot.hash == quint32(hash) && keys.at(slot.line - 1) == key)
                break;
        }
    }
    return kept;
}

// Code-point order of the folded texts, which is the byte order of their keys. Each entry
// carries its key's first sixteen bytes, which settle most comparisons without a look at the
// keys themselves.
static std::vector<qsizetype> codePointOrder(const QList<QByteArray> &lines)
{
    const FoldedKeys keys(lines);
    struct Entry
    {
        quint64 head[2];
        qsizetype line;
    };
    std::vector<Entry> entries(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::string_view key = keys.at(i);
        uchar head[16] = {};
        std::memcpy(head, key.data(), std::min<size_t>(16, key.size()));
        entries[size_t(i)]
                = {{qFromBigEndian<quint64>(head), qFromBigEndian<quint64>(head + 8)}, i};
    }
    std::sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1];
        const std::string_view keyA = keys.at(a.line), keyB = keys.at(b.line);
        const int rest = keyA.substr(std::min<size_t>(16, keyA.size()))
                                 .compare(keyB.substr(std::min<size_t>(16, keyB.size())));
        if (rest != 0)
            return rest < 0;
        if (keyA.size() != keyB.size()) // a key that ends in the zero padding of another
            return keyA.size() < keyB.size();
        return a.line < b.line;
    });
    std::vector<qsizetype> order;
    order.reserve(entries.size());
    for (const Entry &entry : entries)
        order.push_back(entry.line);
    return order;
}

static std::vector<qsizetype> collatedOrder(const QList<QByteArray> &lines, const QLocale &locale)
{
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QList<QCollatorSortKey> keys;
    keys.reserve(lines.size());
    for (const QByteArray &line : lines)
        keys.append(collator.sortKey(DecodeLine(line)));
    std::vector<qsizetype> order(size_t(lines.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = keys.at(a).compare(keys.at(b));
        return byKey != 0 ? byKey < 0 : a < b;
    });
    return order;
}

void SortLines(QList<QByteArray> &lines)
{
    // Equal lines keep their order, so that sorting twice changes nothing.
    const QLocale locale;
    const std::vector<qsizetype> order = locale.language() == QLocale::C
            ? codePointOrder(lines)
            : collatedOrder(lines, locale);
    QList<QByteArray> sorted;
    sorted.reserve(lines.size());
    for (qsizetype i : order)
        sorted.append(std::move(lines[i]));
    lines = std::move(sorted);
}
