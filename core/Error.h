// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <exception>

// The error that ends a running command; the command's handler shows its text in the error box.
class CommandError : public std::exception
{
public:
    explicit CommandError(QString message) : m_message(std::move(message)) { }
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return "CommandError"; }

private:
    QString m_message;
};

// The operating system's text for an error: at most 255 characters, without trailing blanks,
// line ends and full stops.
QString SystemErrorText(int errnoValue);
QString CleanSystemText(QString text);

// The text as the error box shows it: a full stop is added when the last character sorts
// after "." (so a text ending in ")" or "?" gets none, one ending in a letter does).
QString ErrorBoxText(const QString &message);

[[noreturn]] void ThrowCannotOpen(const QString &path, const QString &systemText);
[[noreturn]] void ThrowCannotCreate(const QString &path, const QString &systemText);
// The text of a read or write that stopped short, with the system's reason after it where
// there is one: "Stream write error in file "/home/me/terms.glt". No space left on device".
[[noreturn]] void ThrowWriteError(const QString &text, const QString &systemText);
[[noreturn]] void ThrowIndexOutOfBounds(qsizetype index);
