// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusArgument>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

class QDBusConnection;
class SessionBus;
struct BusNames;

// A result as KRunner takes it: id, text, icon name, kind, relevance and properties.
struct RemoteMatch
{
    QString id;
    QString text;
    QString iconName;
    int type = 0;
    double relevance = 0;
    QVariantMap properties;
};
// An action KRunner may offer beside a result; this program offers none.
struct RemoteAction
{
    QString id;
    QString text;
    QString iconName;
};
Q_DECLARE_METATYPE(RemoteMatch)
Q_DECLARE_METATYPE(RemoteAction)

// GNOME Shell's search provider (org.gnome.Shell.SearchProvider2).
class GnomeSearchProvider : public QObject
{
    Q_OBJECT

public:
    explicit GnomeSearchProvider(SessionBus &bus) : m_bus(bus) { }

public Q_SLOTS:
    Q_SCRIPTABLE QStringList GetInitialResultSet(const QStringList &terms);
    Q_SCRIPTABLE QStringList GetSubsearchResultSet(const QStringList &previousResults,
                                                   const QStringList &terms);
    Q_SCRIPTABLE QList<QVariantMap> GetResultMetas(const QStringList &identifiers);
    Q_SCRIPTABLE void ActivateResult(const QString &identifier, const QStringList &terms,
                                     uint timestamp);
    Q_SCRIPTABLE void LaunchSearch(const QStringList &terms, uint timestamp);

private:
    SessionBus &m_bus;
};

// KDE's runner (org.kde.krunner1).
class KRunnerProvider : public QObject
{
    Q_OBJECT

public:
    explicit KRunnerProvider(SessionBus &bus) : m_bus(bus) { }

public Q_SLOTS:
    Q_SCRIPTABLE QList<RemoteMatch> Match(const QString &query);
    Q_SCRIPTABLE void Run(const QString &matchId, const QString &actionId);
    Q_SCRIPTABLE QList<RemoteAction> Actions();
    Q_SCRIPTABLE void Teardown();

private:
    SessionBus &m_bus;
};

// Both providers, on the paths below the program's object.
class DesktopSearchProviders
{
public:
    explicit DesktopSearchProviders(SessionBus *bus);
    bool registerOn(QDBusConnection &connection, const BusNames &names);

private:
    GnomeSearchProvider m_gnome;
    KRunnerProvider m_krunner;
};
