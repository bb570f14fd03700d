// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The application's error box: its title, the stop icon, the text and one OK button.
void ShowErrorBox(QWidget *parent, const QString &message);
