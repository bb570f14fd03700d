// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadAhead.h"

#include <climits>

int LoadAheadScheduler::stepDirection(qsizetype from, qsizetype to, int previous)
{
    if (from < 0 || to == from)
        return previous;
    return to > from ? 1 : -1;
}

qsizetype LoadAheadScheduler::nextLine(qsizetype row, int direction, qsizetype count)
{
    const qsizetype next = row + direction;
    return row >= 0 && next >= 0 && next < count ? next : -1;
}

LoadAheadScheduler::Plan LoadAheadScheduler::plan(const HiddenPage &onView,
                                                   const QList<HiddenPage> &hidden) const
{
    Plan plan;
    // Nothing ahead while the page on view loads: it comes first.
    if (m_wanted.isEmpty() || onView.loading || onView.request.sameSearch(m_wanted))
        return plan;
    for (const HiddenPage &page : hidden) {
        if (page.request.sameSearch(m_wanted) && page.pristine)
            return plan; // ready, or on its way
    }
    // One load ahead at a time: one for a step no longer coming gives way.
    for (int i = 0; i < hidden.size(); ++i) {
        if (hidden.at(i).role == HiddenPage::Ahead && hidden.at(i).loading)
            plan.drop.append(i);
    }
    // Room for the new page.
    while (hidden.size() - plan.drop.size() >= MaxHiddenPages)
        plan.drop.append(leastNeeded(hidden, plan.drop));
    plan.load = true;
    return plan;
}

QList<int> LoadAheadScheduler::trim(const QList<HiddenPage> &hidden) const
{
    QList<int> drop;
    while (hidden.size() - drop.size() > MaxHiddenPages)
        drop.append(leastNeeded(hidden, drop));
    return drop;
}

QList<int> LoadAheadScheduler::dropAhead(const QList<HiddenPage> &hidden) const
{
    QList<int> drop;
    for (int i = 0; i < hidden.size(); ++i) {
        if (hidden.at(i).role == HiddenPage::Ahead)
            drop.append(i);
    }
    return drop;
}

int LoadAheadScheduler::ready(const QList<HiddenPage> &hidden, const PaneRequest &request) const
{
    for (HiddenPage::Role role : {HiddenPage::Ahead, HiddenPage::Kept}) {
        for (int i = 0; i < hidden.size(); ++i) {
            const HiddenPage &page = hidden.at(i);
            if (page.role == role && page.pristine && page.request.sameSearch(request))
                return i;
        }
    }
    return -1;
}

int LoadAheadScheduler::leastNeeded(const QList<HiddenPage> &hidden,
                                    const QList<int> &dropped) const
{
    // Pages loaded ahead for a step no longer coming go first, then kept pages far from the
    // one on view, then the page ahead, and the page just left last of all.
    int least = -1;
    int leastClaim = INT_MAX;
    for (int i = 0; i < hidden.size(); ++i) {
        if (dropped.contains(i))
            continue;
        const HiddenPage &page = hidden.at(i);
        int claim = 0;
        if (page.role == HiddenPage::Ahead)
            claim = page.request.sameSearch(m_wanted) ? 2000 : 0;
        else
            claim = page.distance == 1 ? 3000 : 1000 - page.distance;
        if (claim < leastClaim) {
            least = i;
            leastClaim = claim;
        }
    }
    return least;
}
