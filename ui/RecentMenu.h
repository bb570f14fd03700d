// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>
#include <functional>

class RecentFiles;

// A submenu of the files a list was loaded from or saved to last; a click opens one. It fills
// itself from the recent files each time its parent menu opens.
class RecentMenu : public QMenu
{
    Q_OBJECT

public:
    RecentMenu(const QString &title, const RecentFiles &files,
               std::function<void(const QString &)> open, QMenu *parent);

private:
    void fill();

    const RecentFiles &m_files;
    std::function<void(const QString &)> m_open;
};
