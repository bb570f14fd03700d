// List files: plain text, CR LF after every line; reading accepts CR LF, CR and LF.
#include "EntryList.h"

#include "Error.h"
#include "TextRules.h"

#include <QCollator>
#include <QFileInfo>
#include <QHashFunctions>
#include <QLocale>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <numeric>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

// A large buffer about to be filled whole is better mapped in huge pages, where the system
// allows it: a list of a million lines then costs far fewer page faults.
void adviseHugePages(const void *data, size_t bytes)
{
#ifdef MADV_HUGEPAGE
    constexpr quintptr huge = 2 * 1024 * 1024;
    const quintptr begin = (quintptr(data) + huge - 1) & ~(huge - 1);
    const quintptr end = (quintptr(data) + bytes) & ~(huge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

} // namespace

QList<QByteArray> SplitLines(QByteArray text)
{
    std::vector<quint32> heads;
    return SplitLines(std::move(text), heads);
}

QList<QByteArray> SplitLines(QByteArray text, std::vector<quint32> &heads)
{
    heads.clear();
    // Reading stops at the first NUL; every line end found becomes a NUL in turn, so that each
    // line can share the text's buffer and still end in a NUL as a QByteArray's bytes must.
    text.truncate(qstrnlen(text.constData(), text.size()));
    if (text.isEmpty())
        return {};
    char *const data = text.data();
    const qsizetype size = text.size();
    QList<QByteArray> lines;
    lines.reserve(countLineEnds(data, size) + 1);
    adviseHugePages(lines.constData(), size_t(lines.capacity()) * sizeof(QByteArray));
    lines.resize(lines.capacity());
    heads.reserve(size_t(lines.capacity()));
    qsizetype count = 0;
    auto *const buffer = text.data_ptr().d_ptr();
    auto addLine = [&](qsizetype start, qsizetype length) {
        if (count == lines.size())
            lines.resize(lines.size() * 2 + 1); // never needed when the count above is right
        if (length > 0) {
            // Each line holds a reference to the text's buffer from the moment it exists.
            buffer->ref();
            lines[count] = QByteArray(QByteArray::DataPointer(buffer, data + start, length));
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

static QString fullPath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

namespace {

// Closes the file however the reading ends.
struct FileDescriptor
{
    int fd;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

QByteArray ReadFileBytes(const QString &path, const QString &readErrorText)
{
    const auto readFailed = [&](int error) {
        if (!readErrorText.isEmpty())
            throw CommandError(readErrorText);
        ThrowCannotOpen(fullPath(path), SystemErrorText(error));
    };
    const FileDescriptor file {::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        ThrowCannotOpen(fullPath(path), SystemErrorText(errno));
    struct stat info;
    if (::fstat(file.fd, &info) != 0)
        ThrowCannotOpen(fullPath(path), SystemErrorText(errno));
    if (S_ISDIR(info.st_mode))
        ThrowCannotOpen(fullPath(path), SystemErrorText(EISDIR));

    QByteArray bytes;
    try {
        qsizetype used = 0;
        const qsizetype capacity = S_ISREG(info.st_mode) ? qsizetype(info.st_size) + 1 : 64 * 1024;
        bytes.resize(capacity);
        adviseHugePages(bytes.constData(), size_t(capacity));
        for (;;) {
            if (used == bytes.size())
                bytes.resize(bytes.size() * 2);
            const ssize_t got = ::read(file.fd, bytes.data() + used, size_t(bytes.size() - used));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                readFailed(errno);
            if (got == 0)
                break;
            used += got;
        }
        bytes.truncate(used);
    } catch (const std::bad_alloc &) {
        // A file larger than the memory left: an error the user can read, not a crash.
        readFailed(ENOMEM);
    }
    return bytes;
}

QByteArray ReadWholeFile(const QString &path)
{
    QByteArray bytes = ReadFileBytes(path);
    const void *nul = std::memchr(bytes.constData(), 0, size_t(bytes.size()));
    if (nul)
        bytes.truncate(static_cast<const char *>(nul) - bytes.constData());
    return bytes;
}

void WriteFileWith(const QString &path, const std::function<bool(QIODevice &)> &write,
                   const QString &writeErrorText)
{
    // Written beside the old file and renamed over it: a failed save leaves the old file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        // QSaveFile words these two cases itself; the system's words read like the others.
        const QFileInfo target(path);
        QString reason = CleanSystemText(file.errorString());
        if (target.isDir())
            reason = SystemErrorText(EISDIR);
        else if (target.exists() && !target.isWritable())
            reason = SystemErrorText(EACCES);
        ThrowCannotCreate(fullPath(path), reason);
    }
    if (!write(file) || !file.commit()) {
        file.cancelWriting();
        if (!writeErrorText.isEmpty())
            throw CommandError(writeErrorText);
        ThrowStreamWriteError();
    }
}

void WriteLines(const QString &path, const QList<QByteArray> &lines)
{
    // The lines go out through one small buffer instead of being joined whole first.
    WriteFileWith(path, [&](QIODevice &file) {
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
