// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A time-stamp authority of the test's own: a throw-away CA and a time-stamping certificate it
// issued, made by the openssl program in a temporary folder, and answers made by
// `openssl ts -reply`, so that the program's queries and checks meet tokens it did not write.
// Behind LocalWebServer it answers on 127.0.0.1 as an authority does.
#include "LocalWebServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class LocalTimestampAuthority
{
public:
    // How the authority answers a query: as asked; over another hash than the query's; to
    // another query with the same hash (so another nonce); with a refusal of its own (a query
    // for SHA-1, which it does not take); or not at all (HTTP 500).
    enum class Answer { Good, OtherHash, OtherNonce, Refusal, ServerError };

    LocalTimestampAuthority()
    {
        QVERIFY(m_dir.isValid());
        // EC keys: made at once where RSA keys take a while.
        const QStringList key = {QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                                 QStringLiteral("ec_paramgen_curve:P-256"), QStringLiteral("-nodes")};
        for (const char *ca : {"ca", "other-ca"}) {
            const QString name = QString::fromLatin1(ca);
            run(QStringList {QStringLiteral("req"), QStringLiteral("-x509")} + key
                + QStringList {QStringLiteral("-keyout"), path(name + QStringLiteral(".key")), QStringLiteral("-out"),
                               path(name + QStringLiteral(".pem")), QStringLiteral("-days"), QStringLiteral("2"),
                               QStringLiteral("-subj"), QStringLiteral("/CN=Throw-away %1").arg(name)});
        }
        write(QStringLiteral("tsa.ext"), "basicConstraints = CA:FALSE\n"
                                         "keyUsage = critical, digitalSignature\n"
                                         "extendedKeyUsage = critical, timeStamping\n");
        run(QStringList {QStringLiteral("req")} + key
            + QStringList {QStringLiteral("-keyout"), path(QStringLiteral("tsa.key")), QStringLiteral("-out"),
                           path(QStringLiteral("tsa.csr")), QStringLiteral("-subj"),
                           QStringLiteral("/O=Glen Lantern tests/CN=Local TSA")});
        run({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), path(QStringLiteral("tsa.csr")),
             QStringLiteral("-CA"), caFile(), QStringLiteral("-CAkey"), path(QStringLiteral("ca.key")),
             QStringLiteral("-CAcreateserial"), QStringLiteral("-days"), QStringLiteral("2"),
             QStringLiteral("-extfile"), path(QStringLiteral("tsa.ext")), QStringLiteral("-out"),
             path(QStringLiteral("tsa.pem"))});
        write(QStringLiteral("serial"), "01\n");
        write(QStringLiteral("tsa.cnf"),
              "[tsa]\ndefault_tsa = local\n[local]\n"
              "serial = " + path(QStringLiteral("serial")).toUtf8() + "\n"
              "signer_cert = " + path(QStringLiteral("tsa.pem")).toUtf8() + "\n"
              "signer_key = " + path(QStringLiteral("tsa.key")).toUtf8() + "\n"
              "certs = " + caFile().toUtf8() + "\n"
              "signer_digest = sha256\ndefault_policy = 1.3.6.1.4.1.55555.1\n"
              "digests = sha256, sha512\naccuracy = secs:1\nclock_precision_digits = 3\n"
              "tsa_name = yes\ness_cert_id_alg = sha256\n");
    }

    QString caFile() const { return path(QStringLiteral("ca.pem")); }
    QString otherCaFile() const { return path(QStringLiteral("other-ca.pem")); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // openssl's own answer to a query.
    QByteArray reply(const QByteArray &query)
    {
        const QString in = path(QStringLiteral("query-%1.tsq").arg(++m_count));
        const QString out = path(QStringLiteral("reply-%1.tsr").arg(m_count));
        write(QFileInfo(in).fileName(), query);
        run({QStringLiteral("ts"), QStringLiteral("-reply"), QStringLiteral("-config"), path(QStringLiteral("tsa.cnf")),
             QStringLiteral("-queryfile"), in, QStringLiteral("-out"), out});
        return read(out);
    }

    // openssl's own query over a hash given in hex, with a nonce of its own.
    QByteArray query(const QByteArray &hexDigest, const char *algorithm = "-sha256")
    {
        const QString out = path(QStringLiteral("own-%1.tsq").arg(++m_count));
        run({QStringLiteral("ts"), QStringLiteral("-query"), QStringLiteral("-digest"), QString::fromLatin1(hexDigest),
             QString::fromLatin1(algorithm), QStringLiteral("-cert"), QStringLiteral("-out"), out});
        return read(out);
    }

    // The answer an authority of this kind gives to the program's query.
    QByteArray answer(const QByteArray &query, Answer kind)
    {
        const QByteArray digest = imprintOf(query);
        switch (kind) {
        case Answer::Good: return reply(query);
        case Answer::OtherHash: return reply(this->query(QByteArray(64, 'a')));
        case Answer::OtherNonce: return reply(this->query(digest));
        case Answer::Refusal: return reply(this->query(digest.left(40), "-sha1"));
        case Answer::ServerError: return {};
        }
        return {};
    }

    // A server on 127.0.0.1 answering each POSTed query in the way asked.
    std::unique_ptr<LocalWebServer> serve(Answer kind)
    {
        return std::make_unique<LocalWebServer>([this, kind](const LocalWebServer::Request &request) {
            LocalWebServer::Response response;
            response.contentType = "application/timestamp-reply";
            if (kind == Answer::ServerError) {
                response.status = "500 Internal Server Error";
                return response;
            }
            response.body = answer(request.body, kind);
            return response;
        });
    }

    // The hash a query asks about, in hex, as openssl reads it.
    QByteArray imprintOf(const QByteArray &query)
    {
        const QString in = path(QStringLiteral("asked-%1.tsq").arg(++m_count));
        write(QFileInfo(in).fileName(), query);
        const QByteArray text = run({QStringLiteral("ts"), QStringLiteral("-query"), QStringLiteral("-in"), in,
                                     QStringLiteral("-text")});
        const qsizetype at = text.indexOf("Message data:");
        QByteArray hex;
        for (const QByteArray &line : text.mid(at).split('\n').mid(1, 2)) {
            // "    0000 - 9f 86 d0 ...   ....": the bytes between the offset and the text
            const QByteArray bytes = line.mid(line.indexOf(" - ") + 3, 47);
            hex += QByteArray(bytes).replace(' ', "").replace('-', "");
        }
        return hex;
    }

    // Runs openssl; the test fails when it does.
    QByteArray run(const QStringList &arguments)
    {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"), arguments);
        openssl.closeWriteChannel();
        [&] {
            QVERIFY2(openssl.waitForFinished(60000), "openssl did not end");
            QVERIFY2(openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0,
                     qPrintable(arguments.join(u' ') + u'\n' + QString::fromLocal8Bit(openssl.readAllStandardError())));
        }();
        return openssl.readAllStandardOutput();
    }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    static QByteArray read(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
    int m_count = 0;
};
