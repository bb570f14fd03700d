// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's search fields reach the program's lists here: GNOME Shell and KRunner ask for
// results as the user types and open the one picked.
#include "SearchProviders.h"

#include "DesktopSearch.h"
#include "SessionBus.h"

#include <QDBusConnection>
#include <QDBusMetaType>

namespace {

const QString kIcon = QStringLiteral("glenlantern");

// KRunner's kinds of match.
constexpr int kPossibleMatch = 30;
constexpr int kExactMatch = 100;

QString groupOf(const BusProgram &program)
{
    return program.group ? program.group() : QString();
}

QList<DesktopSearchResult> resultsFor(SessionBus &bus, const QString &text)
{
    Q_EMIT bus.activity();
    const BusProgram &program = bus.program();
    if (!program.services || !program.terms)
        return {};
    return DesktopSearch(*program.services, *program.terms, text, groupOf(program));
}

QStringList idsOf(const QList<DesktopSearchResult> &results)
{
    QStringList ids;
    for (const DesktopSearchResult &result : results)
        ids.append(result.id);
    return ids;
}

} // namespace

QDBusArgument &operator<<(QDBusArgument &argument, const RemoteMatch &match)
{
    argument.beginStructure();
    argument << match.id << match.text << match.iconName << match.type << match.relevance
             << match.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, RemoteMatch &match)
{
    argument.beginStructure();
    argument >> match.id >> match.text >> match.iconName >> match.type >> match.relevance
            >> match.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const RemoteAction &action)
{
    argument.beginStructure();
    argument << action.id << action.text << action.iconName;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, RemoteAction &action)
{
    argument.beginStructure();
    argument >> action.id >> action.text >> action.iconName;
    argument.endStructure();
    return argument;
}

// --- GNOME Shell -----------------------------------------------------------------------------

QStringList GnomeSearchProvider::GetInitialResultSet(const QStringList &terms)
{
    // The shell splits what was typed into words.
    return idsOf(resultsFor(m_bus, terms.join(u' ')));
}

QStringList GnomeSearchProvider::GetSubsearchResultSet(const QStringList &previousResults,
                                                       const QStringList &terms)
{
    Q_UNUSED(previousResults); // the lists are small enough to ask again
    return GetInitialResultSet(terms);
}

QList<QVariantMap> GnomeSearchProvider::GetResultMetas(const QStringList &identifiers)
{
    Q_EMIT m_bus.activity();
    QList<QVariantMap> metas;
    if (!m_bus.program().services)
        return metas;
    // No more than the results a search gives: the reply stays small whatever is asked.
    for (const QString &id : identifiers.mid(0, kDesktopSearchServices + kDesktopSearchTerms)) {
        if (const auto result = DescribeDesktopResult(*m_bus.program().services, id,
                                                      groupOf(m_bus.program()))) {
            metas.append({{QStringLiteral("id"), id},
                          {QStringLiteral("name"), result->title},
                          {QStringLiteral("description"), result->description},
                          {QStringLiteral("gicon"), kIcon}});
        }
    }
    return metas;
}

void GnomeSearchProvider::ActivateResult(const QString &identifier, const QStringList &terms,
                                         uint timestamp)
{
    Q_UNUSED(terms);
    Q_UNUSED(timestamp);
    Q_EMIT m_bus.activity();
    if (const std::optional<CommandLine> request = DesktopResultRequest(identifier))
        m_bus.open(*request);
}

void GnomeSearchProvider::LaunchSearch(const QStringList &terms, uint timestamp)
{
    Q_UNUSED(timestamp);
    Q_EMIT m_bus.activity();
    CommandLine request;
    request.fromDesktopSearch = true;
    request.term = terms.join(u' ');
    m_bus.open(request);
}

// --- KRunner ---------------------------------------------------------------------------------

QList<RemoteMatch> KRunnerProvider::Match(const QString &query)
{
    const QList<DesktopSearchResult> results = resultsFor(m_bus, query);
    QList<RemoteMatch> matches;
    for (qsizetype i = 0; i < results.size(); ++i) {
        const DesktopSearchResult &result = results.at(i);
        // In list order: each result a little less relevant than the one before.
        const double relevance = result.exact ? 1.0 : 0.8 - 0.01 * double(i);
        matches.append({result.id,
                        result.title,
                        kIcon,
                        result.exact ? kExactMatch : kPossibleMatch,
                        relevance,
                        {{QStringLiteral("subtext"), result.description},
                         {QStringLiteral("actions"), QStringList()}}});
    }
    return matches;
}

void KRunnerProvider::Run(const QString &matchId, const QString &actionId)
{
    Q_UNUSED(actionId); // no actions are offered
    Q_EMIT m_bus.activity();
    if (const std::optional<CommandLine> request = DesktopResultRequest(matchId))
        m_bus.open(*request);
}

QList<RemoteAction> KRunnerProvider::Actions()
{
    return {};
}

void KRunnerProvider::Teardown() { }

// --- both ------------------------------------------------------------------------------------

DesktopSearchProviders::DesktopSearchProviders(SessionBus *bus) : m_gnome(*bus), m_krunner(*bus)
{
    qDBusRegisterMetaType<RemoteMatch>();
    qDBusRegisterMetaType<QList<RemoteMatch>>();
    qDBusRegisterMetaType<RemoteAction>();
    qDBusRegisterMetaType<QList<RemoteAction>>();
    qDBusRegisterMetaType<QList<QVariantMap>>();
}

bool DesktopSearchProviders::registerOn(QDBusConnection &connection, const BusNames &names)
{
    return connection.registerObject(names.gnomeSearchPath(),
                                     QStringLiteral("org.gnome.Shell.SearchProvider2"), &m_gnome,
                                     QDBusConnection::ExportScriptableSlots)
            && connection.registerObject(names.krunnerPath(), QStringLiteral("org.kde.krunner1"),
                                         &m_krunner, QDBusConnection::ExportScriptableSlots);
}
