// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The texts of the readers and writers: one context in the translations, and the error of a
// file that cannot be read.
#include <QCoreApplication>
#include <QString>

struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Interop)
};

namespace Interop {

// "Cannot read "FILE": WHAT", the file named as given.
QString CannotRead(const QString &file, const QString &what);
[[noreturn]] void ThrowCannotRead(const QString &file, const QString &what);

} // namespace Interop
