// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Loading ahead of the user's steps: which line loads next, which hidden pages stay and which
// go. Decisions only (QtCore): the pane's tabs carry them out.
#include "PaneRequest.h"

#include <QList>

// A page of a tab other than the one on view, as the scheduler weighs it.
struct HiddenPage
{
    enum Role { Ahead, Kept }; // loaded for a step to come, or kept for a step back
    Role role = Ahead;
    int distance = 0; // kept pages: how many steps from the one on view
    PaneRequest request;
    bool loading = false;
    // Still on the page it was asked for: nothing clicked or typed there took it away.
    bool pristine = true;
};

class LoadAheadScheduler
{
public:
    // The most hidden pages at once, loaded ahead or kept for a step back.
    static constexpr int MaxHiddenPages = 2;

    // The direction of the steps through a list: that of the last step that moved, down at
    // first.
    static int stepDirection(qsizetype from, qsizetype to, int previous);
    // The line to load ahead: the next one in the direction of the steps; -1 past an end.
    static qsizetype nextLine(qsizetype row, int direction, qsizetype count);

    // The search to load ahead; an empty one keeps nothing ahead, and so does a form sent by
    // POST: a form is sent only when the user asks for it.
    void setWanted(const PaneRequest &wanted)
    {
        m_wanted = wanted.isPost() ? PaneRequest() : wanted;
    }
    const PaneRequest &wanted() const { return m_wanted; }

    // What to do once the page on view is ready: the hidden pages that go (by index) and
    // whether the wanted search starts loading in a new one.
    struct Plan
    {
        QList<int> drop;
        bool load = false;
    };
    Plan plan(const HiddenPage &onView, const QList<HiddenPage> &hidden) const;
    // The hidden pages that go so that at most MaxHiddenPages stay.
    QList<int> trim(const QList<HiddenPage> &hidden) const;
    // The pages loaded ahead that go when nothing is wanted ahead any more.
    QList<int> dropAhead(const QList<HiddenPage> &hidden) const;
    // A hidden page that shows the request at once (a page loaded ahead first), or -1.
    int ready(const QList<HiddenPage> &hidden, const PaneRequest &request) const;

private:
    // The page with the least claim to stay, among those not dropped yet.
    int leastNeeded(const QList<HiddenPage> &hidden, const QList<int> &dropped) const;

    PaneRequest m_wanted;
};
