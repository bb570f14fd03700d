// SPDX-License-Identifier: GPL-3.0-or-later
// The browser engine plugin: Qt WebEngine.
#include "BrowserPane.h"
#include "WebPane.h"

class WebEngineFactory : public QObject, public BrowserPaneFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BrowserPaneFactory_iid)
    Q_INTERFACES(BrowserPaneFactory)

public:
    BrowserPane *create(QWidget *parent, const PaneSetup &setup) override
    {
        return new WebPane(parent, setup);
    }
};

#include "WebEngine.moc"
