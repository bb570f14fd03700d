// SPDX-License-Identifier: GPL-3.0-or-later
#include "DownloadName.h"

#include <QDir>
#include <QRegularExpression>

namespace {

bool unwanted(char32_t c)
{
    // Other_Control: C0, DEL, C1; Other_Format: the direction marks and overrides, zero widths.
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_Format
            || category == QChar::Separator_Line || category == QChar::Separator_Paragraph
            || category == QChar::Other_NotAssigned || category == QChar::Other_Surrogate;
}

QString withoutUnwanted(const QString &text)
{
    QList<uint> kept = text.toUcs4();
    kept.removeIf([](uint c) { return unwanted(c); });
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(kept.constData()), kept.size());
}

bool dotOrBlank(QChar c)
{
    return c == u'.' || c.isSpace();
}

QString trimmedOfDotsAndBlanks(QString name)
{
    qsizetype start = 0;
    while (start < name.size() && dotOrBlank(name.at(start)))
        ++start;
    qsizetype end = name.size();
    while (end > start && dotOrBlank(name.at(end - 1)))
        --end;
    return name.mid(start, end - start);
}

// The longest start of the text of whole characters whose UTF-8 form fits.
QString cutToBytes(const QString &text, qsizetype bytes)
{
    qsizetype used = 0;
    qsizetype end = 0;
    for (const char32_t c : text.toUcs4()) {
        used += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (used > bytes)
            break;
        end += QChar::requiresSurrogates(c) ? 2 : 1;
    }
    return text.left(end);
}

QString shortened(const QString &name)
{
    if (name.toUtf8().size() <= kLongestDownloadName)
        return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot > 0 && name.size() - dot <= 16 ? name.mid(dot) : QString();
    const QString stem = name.left(name.size() - extension.size());
    return trimmedOfDotsAndBlanks(
                   cutToBytes(stem, kLongestDownloadName - extension.toUtf8().size()))
            + extension;
}

} // namespace

QString SafeDownloadName(const QString &offered)
{
    static const QRegularExpression separator(QStringLiteral(R"([/\\]|%2F|%5C)"),
                                              QRegularExpression::CaseInsensitiveOption);
    QString last = offered.split(separator).constLast();
    // Qt's own question before it replaces a file would read the name as markup.
    last.replace(u'<', u'_').replace(u'>', u'_');
    const QString name = shortened(trimmedOfDotsAndBlanks(withoutUnwanted(last)));
    return name.isEmpty() ? QStringLiteral("download") : name;
}

QString DownloadTarget(const QString &downloadFolder, const QString &offered)
{
    return QDir(downloadFolder).filePath(SafeDownloadName(offered));
}
