// SPDX-License-Identifier: GPL-3.0-or-later
#include "Error.h"

#include <QCoreApplication>
#include <cstring>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Error)
};

} // namespace

QString SystemErrorText(int errnoValue)
{
    return CleanSystemText(QString::fromLocal8Bit(std::strerror(errnoValue)));
}

QString CleanSystemText(QString text)
{
    text.truncate(255);
    qsizetype end = text.size();
    while (end > 0) {
        const QChar c = text.at(end - 1);
        if (c != u' ' && c != u'\r' && c != u'\n' && c != u'\t' && c != u'.')
            break;
        --end;
    }
    text.truncate(end);
    return text;
}

QString ErrorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void ThrowCannotOpen(const QString &path, const QString &systemText)
{
    throw CommandError(Tr::tr("Cannot open file \"%1\". %2").arg(path, systemText));
}

void ThrowCannotCreate(const QString &path, const QString &systemText)
{
    throw CommandError(Tr::tr("Cannot create file \"%1\". %2").arg(path, systemText));
}

void ThrowWriteError(const QString &text, const QString &systemText)
{
    throw CommandError(systemText.isEmpty() ? text : text + QStringLiteral(". ") + systemText);
}

void ThrowIndexOutOfBounds(qsizetype index)
{
    throw CommandError(Tr::tr("List index out of bounds (%1)").arg(index));
}
