// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every message box and question of the program is built here. Its text is plain: what a page,
// a file, a list or a caller on the bus wrote shows as written, never as markup that could
// dress a question up as another. Only the program's own About text is rich text.
#include <QMessageBox>

class PlainMessageBox : public QMessageBox
{
    Q_OBJECT

public:
    PlainMessageBox(Icon icon, const QString &title, const QString &text,
                    StandardButtons buttons = NoButton, QWidget *parent = nullptr);

    // The About box, the one box whose text the program writes as markup itself.
    static void aboutProgram(QWidget *parent, const QString &title, const QString &ownRichText);
};
