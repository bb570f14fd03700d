// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An HTTP/1.1 answer read from the bytes as they come, with bounds a site cannot push past: the
// status line and headers together at most kMostHeadBytes (a flood of header lines, or one
// endless line, ends the read at once), the body at most kMostBodyBytes once decoded (gzip and
// deflate are inflated as they come, so a small answer that inflates without end is cut too).
// Nothing here touches a socket: the fetch feeds it, the tests feed it bytes of their own.
#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

class HttpReader
{
public:
    static constexpr qint64 kMostHeadBytes = 256 * 1024;
    static constexpr qint64 kMostBodyBytes = 4 * 1024 * 1024;
    static constexpr qint64 kMostChunkLine = 4096;

    enum class State { Head, Body, Done, Failed };

    // noBody: the answer to a HEAD request, which has none whatever its headers say.
    explicit HttpReader(bool noBody = false);
    ~HttpReader();

    // Reads the bytes that came; what follows the answer (there should be none) is ignored.
    void feed(const char *data, qint64 size);
    void feed(const QByteArray &data) { feed(data.constData(), data.size()); }
    // The server closed the connection: an answer whose body runs until then is done, any
    // other that is not complete has failed.
    void closed();

    State state() const { return m_state; }
    // Why the read failed, as a phrase: "the site's headers are larger than 256 KB".
    const QString &error() const { return m_error; }
    // The body was larger than kMostBodyBytes: the read failed with that reason.
    bool overCap() const { return m_overCap; }

    int status() const { return m_status; }
    // The first header of that name (compared ignoring case), its value trimmed; empty if none.
    QByteArray header(const QByteArray &name) const;
    // The body, decoded from its content encoding, once the state is Done.
    const QByteArray &body() const { return m_body; }
    // The connection may carry another request after this answer.
    bool keepAlive() const { return m_keepAlive; }

private:
    enum class Framing { None, Length, Chunked, UntilClose };
    enum class ChunkPart { Size, Data, DataEnd, Trailer };
    struct Inflater;

    void fail(const QString &reason);
    bool readHead();
    bool parseHead(const QByteArray &head);
    void startBody();
    void readBody();
    bool readChunked();
    void append(const char *data, qint64 size);
    void finishBody();

    State m_state = State::Head;
    bool m_noBody = false;
    QByteArray m_pending; // bytes not read yet: the head so far, a chunk's size line
    qint64 m_scanned = 0;   // of m_pending, searched for the head's end already
    qint64 m_headBytes = 0; // of the heads and trailers read so far
    int m_status = 0;
    QList<std::pair<QByteArray, QByteArray>> m_headers;
    Framing m_framing = Framing::None;
    qint64 m_left = 0; // of the body (Length) or of the chunk (Chunked)
    ChunkPart m_chunkPart = ChunkPart::Size;
    std::unique_ptr<Inflater> m_inflater;
    QByteArray m_body;
    bool m_keepAlive = false;
    bool m_overCap = false;
    QString m_error;
};
