// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A main window with scripted dialogs, a recording browser pane and a test clock, started in
// a temporary current folder so that the default lists come from the test.
#include "FakeBrowserPane.h"
#include "FakePrompts.h"
#include "FakeTrayIcon.h"
#include "Error.h"
#include "Main.h"
#include "StampSender.h"

#include <QDir>
#include <QPointer>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

struct MainWindowFixture
{
    explicit MainWindowFixture(const QByteArray &services = {}, const QByteArray &terms = {})
    {
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        if (!services.isNull())
            writeFile(QStringLiteral("Default.gls"), services);
        if (!terms.isNull())
            writeFile(QStringLiteral("Default.glt"), terms);
        start();
    }
    ~MainWindowFixture()
    {
        window.reset();
        if (browser && !browser->parent())
            delete browser;
        QDir::setCurrent(previousFolder);
    }

    void start()
    {
        window.reset();
        if (browser && !browser->parent())
            delete browser;
        MainWindowParts parts;
        parts.prompts = std::make_unique<FakePrompts>();
        prompts = static_cast<FakePrompts *>(parts.prompts.get());
        browser = new FakeBrowserPane; // the window takes it with its first need of a pane
        parts.createBrowser = [this](QWidget *parent, const PaneSetup &) {
            browser->setParent(parent);
            return browser.data();
        };
        parts.trayIcon = std::make_unique<FakeTrayIcon>();
        tray = static_cast<FakeTrayIcon *>(parts.trayIcon.get());
        parts.showError = [this](QWidget *, const QString &message) { errors.append(message); };
        parts.showCallerError = callerErrors;
        parts.clockMs = [this] { return nowMs; };
        parts.openInDefaultBrowser = [this](const QString &address, QString *) {
            launched.append(address);
            return true;
        };
        parts.createPageLoader = [this] {
            if (!pageLoader)
                throw CommandError(QStringLiteral("This test loads no pages"));
            return pageLoader();
        };
        parts.createStampSender = [this](const ProxySetting &proxy) {
            if (!stampSender)
                throw CommandError(QStringLiteral("This test sends no stamps"));
            return stampSender(proxy);
        };
        parts.matrixLimits.pauseMs = 0;
        parts.route = route;
        parts.startProgram = [this](const QStringList &arguments, const QString &folder) {
            started.append({arguments, folder});
        };
        parts.leaveBus = [this] { ++busLeft; };
        parts.engineFolders = UserFoldersUnder(folder.filePath(QStringLiteral("home")));
        window = std::make_unique<TfrmMain>(std::move(parts));
    }

    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString &name) const
    {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    QString previousFolder;
    // The window owns its parts; these point at them.
    FakePrompts *prompts = nullptr;
    QPointer<FakeBrowserPane> browser;
    FakeTrayIcon *tray = nullptr;
    QStringList launched; // addresses sent to the default browser
    QStringList errors;
    CommandSet::ErrorSink callerErrors; // set before start(); errors when none
    qint64 nowMs = 100000;
    std::function<std::unique_ptr<PageLoader>()> pageLoader; // for the result matrix
    std::function<std::unique_ptr<StampSender>(const ProxySetting &)> stampSender;
    ProgramRoute route; // set before start(): the program without a proxy when none is
    QList<std::pair<QStringList, QString>> started; // programs started: arguments, folder
    int busLeft = 0;
    std::unique_ptr<TfrmMain> window;
};
