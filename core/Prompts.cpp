// SPDX-License-Identifier: GPL-3.0-or-later
#include "Prompts.h"

#include <QCoreApplication>

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}
