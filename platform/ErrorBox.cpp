// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorBox.h"

#include "Error.h"
#include "MessageBoxes.h"

#include <QApplication>

void ShowErrorBox(QWidget *parent, const QString &message)
{
    PlainMessageBox box(QMessageBox::Critical, QApplication::applicationName(),
                        ErrorBoxText(message), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("errorBox"));
    // Application-modal: the program's other windows wait until it is answered.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
