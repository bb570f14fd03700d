// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tabs of the browser pane (engine plugin): a tab bar once two pages are open, a middle click
// or Ctrl+W closing a tab (the last page stays), and tabs opened together loading a few at a
// time in their order, the one the user looks at first.
#include "PaneRequest.h"

#include <QPointer>
#include <QSet>
#include <QTabWidget>

#include <functional>

class WebTab;
class WebView;

class WebTabWidget : public QTabWidget
{
    Q_OBJECT

public:
    // The most tabs loading at once when many open together.
    static constexpr int MaxTabLoads = 4;
    // Makes a view for a page of the tab.
    using ViewMaker = std::function<WebView *(WebTab *tab)>;

    WebTabWidget(ViewMaker makeView, QWidget *parent);

    WebTab *currentTab() const;
    WebTab *tabAt(int index) const;
    WebTab *addWebTab(const QString &title, bool show);
    // A tab each, waiting for its turn to load; the first of them shown.
    void openWaiting(const QList<PaneRequest> &requests);
    void closeTab(int index);
    void closeAllTabs();
    // The next (1) or previous (-1) tab, round the end.
    void stepTab(int by);
    // The tab's name: the program's for it, else its page's title, else its address.
    void updateTitle(WebTab *tab);

Q_SIGNALS:
    // The page on view changed within the current tab: a step, a page loaded ahead shown.
    void pageOnViewChanged();
    // A tab opened with openWaiting ended its first load.
    void tabLoaded(WebView *view);

private:
    void startTabLoads();

    ViewMaker m_makeView;
    QList<QPointer<WebTab>> m_waiting;
    QSet<QObject *> m_tabLoads;
};
