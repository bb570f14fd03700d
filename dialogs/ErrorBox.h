// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The application's error box: its title, the stop icon, the text and one OK button. There is
// never more than one: an error that comes while the box is open is added to it ("and 3 more",
// listed under Show Details) instead of opening a box inside it.
//
// For the user's own commands: application-modal, the program's other windows wait until it is
// answered.
void ShowErrorBox(QWidget *parent, const QString &message);
// For what a caller asked (a later start, the desktop's search): the same box, not modal and
// returning at once, so that nothing a caller sends waits in a loop of its own.
void ShowErrorNotice(QWidget *parent, const QString &message);
