// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

RecentFiles::RecentFiles(QString settingsKey) : m_key(std::move(settingsKey))
{
    if (!m_key.isEmpty())
        m_files = QSettings().value(m_key).toStringList().mid(0, MaxFiles);
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    if (m_files.size() > MaxFiles)
        m_files.resize(MaxFiles);
    store();
}

void RecentFiles::remove(const QString &path)
{
    if (m_files.removeAll(path) > 0)
        store();
}

void RecentFiles::store() const
{
    if (!m_key.isEmpty())
        QSettings().setValue(m_key, m_files);
}
