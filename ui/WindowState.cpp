// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowState.h"

#include <QSettings>
#include <QSplitter>
#include <QWidget>

// Nothing saved leaves each as it was built.

void RestoreGeometry(QWidget *window, const QString &key)
{
    const QByteArray geometry = QSettings().value(key).toByteArray();
    if (!geometry.isEmpty())
        window->restoreGeometry(geometry);
}

void SaveGeometry(const QWidget *window, const QString &key)
{
    QSettings().setValue(key, window->saveGeometry());
}

void RestoreSize(QWidget *window, const QString &key)
{
    const QSize size = QSettings().value(key).toSize();
    if (size.isValid())
        window->resize(size);
}

void SaveSize(const QWidget *window, const QString &key)
{
    QSettings().setValue(key, window->size());
}

void RestoreSplitter(QSplitter *splitter, const QString &key)
{
    const QByteArray state = QSettings().value(key).toByteArray();
    if (!state.isEmpty())
        splitter->restoreState(state);
}

void SaveSplitter(const QSplitter *splitter, const QString &key)
{
    QSettings().setValue(key, splitter->saveState());
}
