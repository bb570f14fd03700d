// SPDX-License-Identifier: GPL-3.0-or-later
// Legacy character sets as browsers send them: the bytes of every encoding of the web's encoding
// standard against those Debian's chromium sent in forms (tests/data/charset, recorded by
// make_chromium_forms.py), and the labels that name them.
#include "Charset.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

class TestCharset : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chromium_data();
    void chromium();
    void labels();
};

void TestCharset::chromium_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("sent");
    QFile file(QStringLiteral(GL_TEST_DATA "/charset/chromium-forms.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject data = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonArray texts = data.value(u"texts").toArray();
    const QJsonObject forms = data.value(u"forms").toObject();
    QCOMPARE(forms.size(), 39); // every encoding but UTF-8
    for (auto it = forms.begin(); it != forms.end(); ++it) {
        const QJsonArray sent = it.value().toArray();
        QCOMPARE(sent.size(), texts.size());
        for (qsizetype i = 0; i < texts.size(); ++i) {
            QTest::addRow("%s %lld", qPrintable(it.key()), qlonglong(i))
                    << it.key() << texts[i].toString()
                    << QByteArray::fromHex(sent[i].toString().toLatin1());
        }
    }
    // Every label, over a text that tells the encodings apart.
    const QJsonObject labels = data.value(u"labels").toObject();
    QVERIFY(labels.size() > 200);
    for (auto it = labels.begin(); it != labels.end(); ++it) {
        QTest::addRow("label %s", qPrintable(it.key()))
                << it.key() << data.value(u"fingerprint").toString()
                << QByteArray::fromHex(it.value().toString().toLatin1());
    }
}

void TestCharset::chromium()
{
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(QByteArray, sent);
    QCOMPARE(EncodeInCharset(text, label).value_or("(unknown label)"), sent);
}

// Labels as the standard reads them: ASCII case and ASCII blanks around them ignored, nothing
// else; a name only some converter knows is no label.
void TestCharset::labels()
{
    // clang-format off
    const std::pair<QString, const char *> cases[] = {
        {QStringLiteral(" \tSJIS\r\n\f"), "Shift_JIS"}, {QStringLiteral("Latin1"), "windows-1252"},
        {QStringLiteral("ISO-8859-8-I"), "ISO-8859-8-I"}, {QStringLiteral("HZ-GB-2312"), "replacement"},
        {QStringLiteral("cp932"), nullptr}, {QStringLiteral("utf-7"), nullptr}, {QStringLiteral("sjis//TRANSLIT"), nullptr},
        {QStringLiteral(u"\u212Aoi8-r"), nullptr}, {QStringLiteral(u"\u00A0sjis"), nullptr}, {QString(), nullptr},
    };
    // clang-format on
    for (const auto &[label, name] : cases)
        QCOMPARE(CharsetName(label).value_or(QStringLiteral("none")),
                 QLatin1String(name ? name : "none"));
    // A lone surrogate goes as the replacement character, as a form field's text does.
    QCOMPARE(EncodeInCharset(QString(QChar(0xD800)) + u'a', QStringLiteral("koi8-r")).value(),
             QByteArray("&#65533;a"));
}

QTEST_APPLESS_MAIN(TestCharset)
#include "tst_charset.moc"
