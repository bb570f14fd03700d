// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A browser pane that records the addresses it was asked to show, and lets a test play the
// engine's loading events.
#include "BrowserPane.h"

#include <QStringList>

class FakeBrowserPane : public BrowserPane
{
public:
    using BrowserPane::BrowserPane;

    void NavigateTo(const QString &address) override
    {
        addresses.append(address);
        Q_EMIT BeforeNavigate2();
    }

    // The events of a page that loads completely, in the order the engine raises them.
    void finishLoading()
    {
        Q_EMIT DownloadBegin();
        Q_EMIT NavigateComplete2();
        Q_EMIT DownloadComplete();
        Q_EMIT DocumentComplete();
    }

    QStringList addresses;
};
