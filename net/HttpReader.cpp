// SPDX-License-Identifier: GPL-3.0-or-later
#include "HttpReader.h"

#include <QCoreApplication>

#include <zlib.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(HttpReader)
};

bool isToken(const QByteArray &name)
{
    if (name.isEmpty())
        return false;
    for (const char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
        if (!ok)
            return false;
    }
    return true;
}

// Decimal digits alone, at most 18 of them (no overflow); -1 for anything else.
qint64 decimal(const QByteArray &text)
{
    if (text.isEmpty() || text.size() > 18)
        return -1;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The line without its CR.
QByteArray chopCr(QByteArray line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

} // namespace

// gzip and deflate inflated as the bytes come.
struct HttpReader::Inflater
{
    z_stream stream {};
    bool started = false;
    bool ended = false;
    bool deflate = false; // "deflate": zlib's wrapping, or raw as some servers send it

    ~Inflater()
    {
        if (started)
            inflateEnd(&stream);
    }
};

HttpReader::HttpReader(bool noBody) : m_noBody(noBody) { }

HttpReader::~HttpReader() = default;

void HttpReader::fail(const QString &reason)
{
    m_state = State::Failed;
    m_error = reason;
    m_pending.clear();
    m_body.clear();
    m_inflater.reset();
}

QByteArray HttpReader::header(const QByteArray &name) const
{
    for (const auto &[key, value] : m_headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

void HttpReader::feed(const char *data, qint64 size)
{
    if (m_state == State::Done || m_state == State::Failed || size <= 0)
        return;
    m_pending.append(data, size);
    while (m_state == State::Head) {
        if (!readHead())
            return;
    }
    if (m_state == State::Body)
        readBody();
}

// One head, if the whole of it is there; false when more bytes are needed or it failed.
bool HttpReader::readHead()
{
    // The head ends at the first empty line (CRLF or a bare LF, as browsers take it).
    qint64 end = -1;
    qint64 endLength = 0;
    for (qint64 i = std::max<qint64>(0, m_scanned - 2); i < m_pending.size(); ++i) {
        if (m_pending.at(i) != '\n')
            continue;
        if (i + 1 < m_pending.size() && m_pending.at(i + 1) == '\n') {
            end = i + 1;
            endLength = 1;
        } else if (i + 2 < m_pending.size() && m_pending.at(i + 1) == '\r'
                   && m_pending.at(i + 2) == '\n') {
            end = i + 1;
            endLength = 2;
        }
        if (end >= 0)
            break;
    }
    m_scanned = m_pending.size();
    if (end < 0) {
        if (m_headBytes + m_pending.size() > kMostHeadBytes)
            fail(Tr::tr("the site's headers are larger than %1 KB").arg(kMostHeadBytes / 1024));
        return false;
    }
    m_headBytes += end + endLength;
    if (m_headBytes > kMostHeadBytes) {
        fail(Tr::tr("the site's headers are larger than %1 KB").arg(kMostHeadBytes / 1024));
        return false;
    }
    const QByteArray head = m_pending.left(end);
    m_pending.remove(0, end + endLength);
    m_scanned = 0;
    if (!parseHead(head))
        return false;
    if (m_status >= 100 && m_status < 200) {
        // An interim answer (100 Continue, 103 Early Hints): the real one follows.
        m_headers.clear();
        return true;
    }
    startBody();
    return true;
}

bool HttpReader::parseHead(const QByteArray &head)
{
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> statusLine = chopCr(lines.first()).split(' ');
    const qint64 status = decimal(statusLine.value(1));
    if (!statusLine.first().startsWith("HTTP/1.") || status < 100 || status > 599) {
        fail(Tr::tr("the site's answer is not HTTP"));
        return false;
    }
    m_status = int(status);
    if (m_status == 101) {
        fail(Tr::tr("the site switched to another protocol"));
        return false;
    }
    const bool http10 = statusLine.first() == "HTTP/1.0";
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = chopCr(lines.at(i));
        if ((line.startsWith(' ') || line.startsWith('\t')) && !m_headers.isEmpty()) {
            m_headers.last().second += ' ' + line.trimmed(); // an old-style folded line
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = line.left(colon);
        if (colon > 0 && isToken(name))
            m_headers.append({name, line.mid(colon + 1).trimmed()});
    }
    const QByteArray connection = header("Connection").toLower();
    m_keepAlive = http10 ? connection.contains("keep-alive") : !connection.contains("close");
    return true;
}

void HttpReader::startBody()
{
    const QByteArray coding = header("Transfer-Encoding").toLower();
    const QByteArray length = header("Content-Length");
    if (m_noBody || m_status == 204 || m_status == 304) {
        m_framing = Framing::None;
    } else if (!coding.isEmpty()) {
        m_framing = coding.trimmed().endsWith("chunked") ? Framing::Chunked : Framing::UntilClose;
    } else if (!length.isEmpty()) {
        // Several lengths that differ, or one that is no number, leave the body's end unknown.
        for (const auto &[key, value] : std::as_const(m_headers)) {
            if (key.compare("Content-Length", Qt::CaseInsensitive) == 0 && value != length)
                return fail(Tr::tr("the site sent two different lengths for its page"));
        }
        m_left = decimal(length);
        if (m_left < 0)
            return fail(Tr::tr("the site's Content-Length is not a number"));
        m_framing = Framing::Length;
    } else {
        m_framing = Framing::UntilClose;
    }
    if (m_framing == Framing::UntilClose)
        m_keepAlive = false;

    const QByteArray encoding = header("Content-Encoding").toLower().trimmed();
    if (encoding == "gzip" || encoding == "x-gzip" || encoding == "deflate") {
        m_inflater = std::make_unique<Inflater>();
        m_inflater->deflate = encoding == "deflate";
    } else if (!encoding.isEmpty() && encoding != "identity") {
        return fail(Tr::tr("the site sent its page encoded as \"%1\", which this program does "
                           "not read")
                            .arg(QString::fromLatin1(encoding.left(40))));
    }
    m_state = State::Body;
    if (m_framing == Framing::None || (m_framing == Framing::Length && m_left == 0))
        finishBody();
}

void HttpReader::readBody()
{
    switch (m_framing) {
    case Framing::None:
        return finishBody();
    case Framing::Length: {
        const qint64 take = std::min<qint64>(m_left, m_pending.size());
        append(m_pending.constData(), take);
        if (m_state != State::Body)
            return;
        m_left -= take;
        m_pending.remove(0, take);
        if (m_left == 0)
            finishBody();
        return;
    }
    case Framing::UntilClose:
        append(m_pending.constData(), m_pending.size());
        m_pending.clear();
        return;
    case Framing::Chunked:
        while (m_state == State::Body && readChunked()) { }
        return;
    }
}

// One step through a chunked body; false when more bytes are needed, or it ended.
bool HttpReader::readChunked()
{
    const auto malformed = [this] {
        fail(Tr::tr("the site's page is cut into chunks in a way HTTP does not allow"));
        return false;
    };
    switch (m_chunkPart) {
    case ChunkPart::Size:
    case ChunkPart::Trailer: {
        const qsizetype newline = m_pending.indexOf('\n');
        const qint64 most = m_chunkPart == ChunkPart::Size ? kMostChunkLine
                                                           : kMostHeadBytes - m_headBytes;
        if (newline < 0 ? m_pending.size() > most : newline > most)
            return malformed();
        if (newline < 0)
            return false;
        QByteArray line = chopCr(m_pending.left(newline));
        m_pending.remove(0, newline + 1);
        if (m_chunkPart == ChunkPart::Trailer) {
            m_headBytes += newline + 1;
            if (line.isEmpty())
                finishBody();
            return m_state == State::Body;
        }
        if (const qsizetype extension = line.indexOf(';'); extension >= 0)
            line.truncate(extension);
        line = line.trimmed();
        bool ok = line.size() <= 15 && !line.isEmpty();
        m_left = ok ? line.toLongLong(&ok, 16) : -1;
        if (!ok || m_left < 0 || line.startsWith('+') || line.startsWith('-'))
            return malformed();
        m_chunkPart = m_left == 0 ? ChunkPart::Trailer : ChunkPart::Data;
        return true;
    }
    case ChunkPart::Data: {
        const qint64 take = std::min<qint64>(m_left, m_pending.size());
        append(m_pending.constData(), take);
        if (m_state != State::Body)
            return false;
        m_left -= take;
        m_pending.remove(0, take);
        if (m_left > 0)
            return false;
        m_chunkPart = ChunkPart::DataEnd;
        return true;
    }
    case ChunkPart::DataEnd:
        if (m_pending.startsWith("\r\n") || m_pending.startsWith('\n')) {
            m_pending.remove(0, m_pending.startsWith('\n') ? 1 : 2);
            m_chunkPart = ChunkPart::Size;
            return true;
        }
        if (m_pending.isEmpty() || m_pending == "\r")
            return false;
        return malformed();
    }
    return false;
}

// Body bytes as they came over the wire: inflated when encoded, then kept up to the cap.
void HttpReader::append(const char *data, qint64 size)
{
    if (size <= 0)
        return;
    const auto keep = [this](const char *bytes, qint64 count) {
        if (m_body.size() + count > kMostBodyBytes) {
            fail(Tr::tr("the page is larger than %1 MB").arg(kMostBodyBytes / (1024 * 1024)));
            m_overCap = true;
            return false;
        }
        // Grown by hand so that a page near the cap never holds twice the cap.
        if (m_body.size() + count > m_body.capacity())
            m_body.reserve(std::min(kMostBodyBytes,
                                    std::max<qint64>(2 * m_body.capacity(), m_body.size() + count)));
        m_body.append(bytes, count);
        return true;
    };
    if (!m_inflater) {
        keep(data, size);
        return;
    }
    Inflater &z = *m_inflater;
    if (z.ended)
        return; // what follows the compressed stream is no part of the page
    if (!z.started) {
        // zlib's header: its first two bytes make a multiple of 31, compression method 8.
        const auto first = static_cast<unsigned char>(data[0]);
        const bool zlibWrapped = size < 2
                || ((first & 0x0f) == 8
                    && ((first << 8) | static_cast<unsigned char>(data[1])) % 31 == 0);
        const int windowBits = z.deflate ? (zlibWrapped ? 15 : -15) : 15 + 32;
        if (inflateInit2(&z.stream, windowBits) != Z_OK)
            return fail(Tr::tr("the site's compressed page could not be read"));
        z.started = true;
    }
    z.stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
    z.stream.avail_in = uInt(size);
    char out[64 * 1024];
    // Inflate takes all the input unless the output is full: go on while it fills it.
    do {
        z.stream.next_out = reinterpret_cast<Bytef *>(out);
        z.stream.avail_out = sizeof out;
        const int result = inflate(&z.stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            return fail(Tr::tr("the site's compressed page is damaged"));
        if (!keep(out, qint64(sizeof out - z.stream.avail_out)))
            return;
        z.ended = result == Z_STREAM_END;
        if (result == Z_BUF_ERROR)
            break;
    } while (!z.ended && z.stream.avail_out == 0);
}

void HttpReader::finishBody()
{
    m_state = State::Done;
    m_pending.clear();
    m_inflater.reset();
}

void HttpReader::closed()
{
    if (m_state == State::Head)
        return fail(m_pending.isEmpty() && m_status == 0
                            ? Tr::tr("the site closed the connection without an answer")
                            : Tr::tr("the site closed the connection in the middle of its answer"));
    if (m_state != State::Body)
        return;
    if (m_framing == Framing::UntilClose)
        return finishBody();
    fail(Tr::tr("the site closed the connection before the whole page came"));
}
