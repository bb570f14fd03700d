#include "Prompts.h"

#include <QCoreApplication>

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}
