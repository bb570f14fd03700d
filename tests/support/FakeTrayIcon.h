// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A notification area that a test can take away, and whose mouse events the test plays.
#include "TrayIcon.h"

class FakeTrayIcon : public TrayIcon
{
public:
    bool isAvailable() const override { return available; }
    void add() override
    {
        shown = true;
        ++adds;
    }
    void remove() override
    {
        shown = false;
        ++removes;
    }
    void click(Click click) { Q_EMIT TrayMessage(click, QPoint(10, 10)); }

    bool available = true;
    bool shown = false;
    int adds = 0;
    int removes = 0;
};
