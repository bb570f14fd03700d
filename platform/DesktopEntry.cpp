#include "DesktopEntry.h"

#include <QStandardPaths>

XdgFolders XdgFoldersFromEnvironment()
{
    // QStandardPaths reads the XDG variables with their defaults; the first location of each
    // list is the user's own folder.
    XdgFolders folders;
    folders.configDirs = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    folders.configHome = folders.configDirs.takeFirst();
    folders.dataDirs = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    folders.dataHome = folders.dataDirs.takeFirst();
    for (const QString &desktop :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        folders.desktops.append(desktop.toLower());
    return folders;
}

std::optional<QString> KeyFileValue(const QByteArray &content, const QString &group,
                                    const QString &key)
{
    const QByteArray wantedGroup = '[' + group.toUtf8() + ']';
    const QByteArray wantedKey = key.toUtf8();
    std::optional<QString> value;
    bool inGroup = false;
    for (QByteArray line : content.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('[')) {
            inGroup = line.trimmed() == wantedGroup;
            continue;
        }
        if (!inGroup || line.startsWith('#'))
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.left(eq).trimmed() != wantedKey)
            continue;
        qsizetype begin = eq + 1;
        while (begin < line.size() && (line.at(begin) == ' ' || line.at(begin) == '\t'))
            ++begin;
        value = QString::fromUtf8(line.mid(begin));
    }
    return value;
}

QString UnescapeString(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case u's':
            out += u' ';
            break;
        case u'n':
            out += u'\n';
            break;
        case u't':
            out += u'\t';
            break;
        case u'r':
            out += u'\r';
            break;
        case u'\\':
            out += u'\\';
            break;
        default:
            out += c;
            out += next;
        }
    }
    return out;
}

QStringList SplitStringList(const QString &value)
{
    QStringList items;
    QString item;
    auto finish = [&] {
        if (!item.isEmpty())
            items.append(UnescapeString(item));
        item.clear();
    };
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value.at(++i);
            if (next == u';') {
                item += next;
            } else {
                item += c;
                item += next;
            }
        } else if (c == u';') {
            finish();
        } else {
            item += c;
        }
    }
    finish();
    return items;
}

std::optional<QStringList> SplitExec(const QString &exec)
{
    QStringList args;
    QString arg;
    bool inArg = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inArg)
                args.append(arg);
            arg.clear();
            inArg = false;
            continue;
        }
        inArg = true;
        if (c == u'"') {
            for (++i;; ++i) {
                if (i == exec.size())
                    return std::nullopt;
                const QChar q = exec.at(i);
                if (q == u'"')
                    break;
                if (q == u'\\' && i + 1 < exec.size()) {
                    const QChar next = exec.at(i + 1);
                    if (next == u'"' || next == u'`' || next == u'$' || next == u'\\') {
                        arg += next;
                        ++i;
                        continue;
                    }
                }
                arg += q;
            }
        } else if (c == u'\'') {
            const qsizetype end = exec.indexOf(u'\'', i + 1);
            if (end < 0)
                return std::nullopt;
            arg += QStringView(exec).mid(i + 1, end - i - 1);
            i = end;
        } else if (c == u'\\' && i + 1 < exec.size()) {
            arg += exec.at(++i);
        } else {
            arg += c;
        }
    }
    if (inArg)
        args.append(arg);
    return args;
}

DesktopEntry ParseDesktopEntry(const QByteArray &content)
{
    const QString group = QStringLiteral("Desktop Entry");
    auto value = [&](const char *key) {
        return UnescapeString(KeyFileValue(content, group, QLatin1String(key)).value_or(QString()));
    };
    DesktopEntry entry;
    entry.exec = value("Exec");
    entry.tryExec = value("TryExec");
    entry.icon = value("Icon");
    entry.name = value("Name");
    entry.path = value("Path");
    entry.hidden = value("Hidden") == u"true";
    entry.application = value("Type") == u"Application";
    return entry;
}

std::optional<QStringList> LaunchCommand(const DesktopEntry &entry, const QString &desktopFilePath,
                                         const QString &address)
{
    const std::optional<QStringList> args = SplitExec(entry.exec);
    if (!args)
        return std::nullopt;
    QStringList command;
    bool addressPlaced = false;
    for (const QString &arg : *args) {
        // %i stands for two arguments, so only as an argument of its own.
        if (arg == u"%i") {
            if (!entry.icon.isEmpty())
                command << QStringLiteral("--icon") << entry.icon;
            continue;
        }
        QString expanded;
        bool hadCode = false;
        bool addressHere = false;
        for (qsizetype i = 0; i < arg.size(); ++i) {
            if (arg.at(i) != u'%' || i + 1 == arg.size()) {
                expanded += arg.at(i);
                continue;
            }
            hadCode = true;
            switch (arg.at(++i).unicode()) {
            case u'%':
                expanded += u'%';
                break;
            case u'u':
            case u'U':
            case u'f':
            case u'F':
                // The address goes in as it is, after the split: it can never become two
                // arguments or be read as a field code itself.
                expanded += address;
                addressHere = true;
                break;
            case u'c':
                expanded += entry.name;
                break;
            case u'k':
                expanded += desktopFilePath;
                break;
            default:
                break; // deprecated and unknown codes are dropped
            }
        }
        if (hadCode && expanded.isEmpty())
            continue; // a code that expands to nothing leaves no empty argument behind
        if (addressHere && command.isEmpty())
            return std::nullopt; // the address is never the program
        addressPlaced = addressPlaced || addressHere;
        command.append(expanded);
    }
    if (command.isEmpty() || command.first().isEmpty())
        return std::nullopt;
    if (!addressPlaced)
        command.append(address);
    return command;
}

QStringList MimeAppsEntries(const QByteArray &content, const QString &group,
                            const QString &mimeType)
{
    const std::optional<QString> value = KeyFileValue(content, group, mimeType);
    return value ? SplitStringList(*value) : QStringList();
}
