// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecentMenu.h"

#include "RecentFiles.h"

#include <QDir>

RecentMenu::RecentMenu(const QString &title, const RecentFiles &files,
                       std::function<void(const QString &)> open, QMenu *parent)
    : QMenu(title, parent), m_files(files), m_open(std::move(open))
{
    connect(parent, &QMenu::aboutToShow, this, &RecentMenu::fill);
    fill();
}

void RecentMenu::fill()
{
    clear();
    const QStringList &files = m_files.files();
    menuAction()->setEnabled(!files.isEmpty());
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        // "&1 /home/me/lists/web.gls": a number to pick it by, the path as the system writes it.
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(u'&', QStringLiteral("&&"));
        QAction *item = addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        connect(item, &QAction::triggered, this, [this, path] { m_open(path); });
    }
}
