// SPDX-License-Identifier: GPL-3.0-or-later
#include "Timestamp.h"

#include "Error.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QStringList>

#include <openssl/bn.h>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/pkcs7.h>
#include <openssl/ts.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

template<typename T, void (*Free)(T *)> struct Freer
{
    void operator()(T *p) const { Free(p); }
};
template<typename T, void (*Free)(T *)> using Owned = std::unique_ptr<T, Freer<T, Free>>;
using Request = Owned<TS_REQ, TS_REQ_free>;
using Response = Owned<TS_RESP, TS_RESP_free>;
using VerifyContext = Owned<TS_VERIFY_CTX, TS_VERIFY_CTX_free>;
using Bio = Owned<BIO, BIO_free_all>;

void freeCms(CMS_ContentInfo *cms)
{
    CMS_ContentInfo_free(cms);
}

// What libcrypto said went wrong, its queue emptied.
QString cryptoReason()
{
    QStringList reasons;
    const char *data = nullptr;
    int flags = 0;
    while (const unsigned long code = ERR_get_error_all(nullptr, nullptr, nullptr, &data, &flags)) {
        QString reason = QString::fromUtf8(ERR_reason_error_string(code));
        if (data && (flags & ERR_TXT_STRING) && *data)
            reason += QStringLiteral(" (%1)").arg(QString::fromUtf8(data));
        if (!reasons.contains(reason))
            reasons.append(reason);
    }
    return reasons.isEmpty() ? Tr::tr("libcrypto gave no reason") : reasons.join(QStringLiteral("; "));
}

Response readResponse(const QByteArray &answer)
{
    ERR_clear_error();
    const auto *bytes = reinterpret_cast<const unsigned char *>(answer.constData());
    Response response(d2i_TS_RESP(nullptr, &bytes, long(answer.size())));
    if (!response || bytes != reinterpret_cast<const unsigned char *>(answer.constData()) + answer.size()) {
        ERR_clear_error();
        throw CommandError(Tr::tr("the answer is no time-stamp response"));
    }
    return response;
}

QString textOf(BIO *bio)
{
    char *data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return QString::fromUtf8(data, length);
}

QString nameText(const X509_NAME *name)
{
    Bio bio(BIO_new(BIO_s_mem()));
    X509_NAME_print_ex(bio.get(), name, 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
    return textOf(bio.get());
}

// The authority's name as the token gives it, else its signer's subject.
QString authorityOf(TS_TST_INFO *info, PKCS7 *token)
{
    if (const GENERAL_NAME *tsa = TS_TST_INFO_get_tsa(info)) {
        if (tsa->type == GEN_DIRNAME)
            return nameText(tsa->d.directoryName);
        if (tsa->type == GEN_URI || tsa->type == GEN_DNS || tsa->type == GEN_EMAIL) {
            const ASN1_STRING *text = tsa->d.ia5;
            return QString::fromLatin1(reinterpret_cast<const char *>(ASN1_STRING_get0_data(text)),
                                       ASN1_STRING_length(text));
        }
    }
    STACK_OF(X509) *signers = PKCS7_get0_signers(token, nullptr, 0);
    QString name;
    if (signers && sk_X509_num(signers) > 0)
        name = nameText(X509_get_subject_name(sk_X509_value(signers, 0)));
    sk_X509_free(signers);
    ERR_clear_error();
    return name;
}

// genTime, YYYYMMDDhhmmss[.f...]Z, to the millisecond; its slack a second where it gives none.
bool readTime(TS_TST_INFO *info, Cases::StampFacts &facts)
{
    const ASN1_GENERALIZEDTIME *time = TS_TST_INFO_get_time(info);
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(ASN1_STRING_get0_data(time)),
                                             ASN1_STRING_length(time));
    if (text.size() < 15 || !text.endsWith(u'Z'))
        return false;
    const QDateTime local = QDateTime::fromString(text.left(14), QStringLiteral("yyyyMMddHHmmss"));
    const QDateTime when(local.date(), local.time(), Qt::UTC);
    const QString fraction = text.mid(14).chopped(1);
    if (!when.isValid() || (!fraction.isEmpty() && (!fraction.startsWith(u'.') || fraction.size() < 2)))
        return false;
    bool digits = true;
    const int millis = fraction.isEmpty() ? 0 : (fraction.mid(1) + QStringLiteral("00")).left(3).toInt(&digits);
    if (!digits)
        return false;
    facts.time = when.addMSecs(millis).toString(Qt::ISODateWithMs);
    facts.slackMs = fraction.isEmpty() ? 999 : 0;
    if (const TS_ACCURACY *accuracy = TS_TST_INFO_get_accuracy(info)) {
        const auto part = [](const ASN1_INTEGER *n) { return n ? ASN1_INTEGER_get(n) : 0; };
        facts.slackMs += part(TS_ACCURACY_get_seconds(accuracy)) * 1000
                + part(TS_ACCURACY_get_millis(accuracy)) + (part(TS_ACCURACY_get_micros(accuracy)) + 999) / 1000;
    }
    return true;
}

// The token's hash must be a SHA-256: libcrypto compares the bytes alone.
bool overSha256(TS_TST_INFO *info)
{
    const X509_ALGOR *algorithm = TS_MSG_IMPRINT_get_algo(TS_TST_INFO_get_msg_imprint(info));
    const ASN1_OBJECT *object = nullptr;
    X509_ALGOR_get0(&object, nullptr, nullptr, algorithm);
    return OBJ_obj2nid(object) == NID_sha256;
}

Cases::StampFacts factsOf(TS_RESP *response)
{
    TS_TST_INFO *info = TS_RESP_get_tst_info(response);
    Cases::StampFacts facts;
    if (!info || !readTime(info, facts))
        throw CommandError(Tr::tr("the token's time cannot be read"));
    if (!overSha256(info))
        throw CommandError(Tr::tr("the token is not over a SHA-256 hash"));
    facts.authority = authorityOf(info, TS_RESP_get_token(response));
    return facts;
}

// The signature over the token's content, with the certificate the token carries; whose that
// certificate is, verify asks later against the CA the user trusts.
void checkSignature(TS_RESP *response)
{
    PKCS7 *token = TS_RESP_get_token(response);
    unsigned char *der = nullptr;
    const int length = i2d_PKCS7(token, &der);
    const unsigned char *cursor = der;
    Owned<CMS_ContentInfo, freeCms> cms(length > 0 ? d2i_CMS_ContentInfo(nullptr, &cursor, length) : nullptr);
    OPENSSL_free(der);
    if (!cms || CMS_verify(cms.get(), nullptr, nullptr, nullptr, nullptr, CMS_NO_SIGNER_CERT_VERIFY) != 1)
        throw CommandError(Tr::tr("its signature does not hold: %1").arg(cryptoReason()));
}

QString statusText(TS_RESP *response)
{
    TS_STATUS_INFO *status = TS_RESP_get_status_info(response);
    QString text = QString::number(ASN1_INTEGER_get(TS_STATUS_INFO_get0_status(status)));
    if (const STACK_OF(ASN1_UTF8STRING) *words = TS_STATUS_INFO_get0_text(status)) {
        for (int i = 0; i < sk_ASN1_UTF8STRING_num(words); ++i) {
            const ASN1_UTF8STRING *word = sk_ASN1_UTF8STRING_value(words, i);
            text += u' ' + QString::fromUtf8(reinterpret_cast<const char *>(ASN1_STRING_get0_data(word)),
                                             ASN1_STRING_length(word));
        }
    }
    return text;
}

} // namespace

namespace Cases {

QByteArray MakeTimestampQuery(const QByteArray &sha256)
{
    Request request(TS_REQ_new());
    Owned<TS_MSG_IMPRINT, TS_MSG_IMPRINT_free> imprint(TS_MSG_IMPRINT_new());
    Owned<X509_ALGOR, X509_ALGOR_free> algorithm(X509_ALGOR_new());
    Owned<BIGNUM, BN_free> random(BN_new());
    Owned<ASN1_INTEGER, ASN1_INTEGER_free> nonce;
    bool ok = request && imprint && algorithm && random && sha256.size() == 32
            && X509_ALGOR_set0(algorithm.get(), OBJ_nid2obj(NID_sha256), V_ASN1_NULL, nullptr)
            && TS_MSG_IMPRINT_set_algo(imprint.get(), algorithm.get())
            && TS_MSG_IMPRINT_set_msg(imprint.get(),
                                      reinterpret_cast<unsigned char *>(const_cast<char *>(sha256.constData())),
                                      int(sha256.size()))
            && TS_REQ_set_version(request.get(), 1) && TS_REQ_set_msg_imprint(request.get(), imprint.get())
            && BN_rand(random.get(), 64, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY);
    if (ok) {
        nonce.reset(BN_to_ASN1_INTEGER(random.get(), nullptr));
        ok = nonce && TS_REQ_set_nonce(request.get(), nonce.get()) && TS_REQ_set_cert_req(request.get(), 1);
    }
    unsigned char *der = nullptr;
    const int length = ok ? i2d_TS_REQ(request.get(), &der) : -1;
    if (length <= 0)
        throw CommandError(Tr::tr("The time-stamp query cannot be made: %1").arg(cryptoReason()));
    const QByteArray query(reinterpret_cast<const char *>(der), length);
    OPENSSL_free(der);
    return query;
}

StampFacts CheckTimestampAnswer(const QByteArray &answer, const QByteArray &query)
{
    const Response response = readResponse(answer);
    const auto *bytes = reinterpret_cast<const unsigned char *>(query.constData());
    Request request(d2i_TS_REQ(nullptr, &bytes, long(query.size())));
    VerifyContext context(request ? TS_REQ_to_TS_VERIFY_CTX(request.get(), nullptr) : nullptr);
    if (!context)
        throw CommandError(cryptoReason());
    // Whose certificate signed is verify's question, asked against the CA the user trusts.
    TS_VERIFY_CTX_set_flags(context.get(), TS_VFY_VERSION | TS_VFY_IMPRINT | TS_VFY_NONCE);
    const long status = ASN1_INTEGER_get(TS_STATUS_INFO_get0_status(TS_RESP_get_status_info(response.get())));
    if (status != TS_STATUS_GRANTED && status != TS_STATUS_GRANTED_WITH_MODS)
        throw CommandError(Tr::tr("the authority refused (status %1)").arg(statusText(response.get())));
    if (TS_RESP_verify_response(context.get(), response.get()) != 1)
        throw CommandError(Tr::tr("the token is not the one asked for: %1").arg(cryptoReason()));
    checkSignature(response.get());
    return factsOf(response.get());
}

QString StampProblem(const QByteArray &answer, const QByteArray &sha256, const QString &caFile,
                     StampFacts &facts, bool trustChain)
{
    try {
        const Response response = readResponse(answer);
        VerifyContext context(TS_VERIFY_CTX_new());
        X509_STORE *store = X509_STORE_new();
        if (!context || !store) {
            X509_STORE_free(store);
            return cryptoReason();
        }
        TS_VERIFY_CTX_set_store(context.get(), store); // the context owns it from here
        const bool loaded = caFile.isEmpty() ? X509_STORE_set_default_paths(store)
                                             : X509_STORE_load_file(store, QFile::encodeName(caFile).constData());
        if (!loaded)
            return Tr::tr("the certificates of %1 cannot be read: %2").arg(caFile, cryptoReason());
        auto *imprint = static_cast<unsigned char *>(OPENSSL_memdup(sha256.constData(), size_t(sha256.size())));
        TS_VERIFY_CTX_set_imprint(context.get(), imprint, long(sha256.size()));
        TS_VERIFY_CTX_set_flags(context.get(), trustChain ? TS_VFY_VERSION | TS_VFY_IMPRINT | TS_VFY_SIGNATURE | TS_VFY_SIGNER
                                                          : TS_VFY_VERSION | TS_VFY_IMPRINT);
        if (TS_RESP_verify_response(context.get(), response.get()) != 1)
            return cryptoReason();
        if (!trustChain)
            checkSignature(response.get());
        facts = factsOf(response.get());
    } catch (const CommandError &error) {
        return error.message();
    }
    return {};
}

bool StampFollows(const StampFacts &facts, const QString &entryTime)
{
    const QDateTime stamp = QDateTime::fromString(facts.time, Qt::ISODateWithMs);
    const QDateTime entry = QDateTime::fromString(entryTime, Qt::ISODateWithMs);
    return stamp.isValid() && entry.isValid() && entry <= stamp.addMSecs(facts.slackMs);
}

} // namespace Cases
