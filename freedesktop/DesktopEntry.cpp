// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopEntry.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(DesktopEntry)
};

} // namespace

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

namespace {

// An argument of an Exec line, and whether any of it was quoted or escaped.
struct ExecArg
{
    QString text;
    bool quoted = false;
};

std::optional<QList<ExecArg>> splitExecArgs(const QString &exec)
{
    QList<ExecArg> args;
    ExecArg arg;
    bool inArg = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inArg)
                args.append(arg);
            arg = {};
            inArg = false;
            continue;
        }
        inArg = true;
        if (c == u'"') {
            arg.quoted = true;
            for (++i;; ++i) {
                if (i == exec.size())
                    return std::nullopt;
                const QChar q = exec.at(i);
                if (q == u'"')
                    break;
                if (q == u'\\' && i + 1 < exec.size()) {
                    const QChar next = exec.at(i + 1);
                    if (next == u'"' || next == u'`' || next == u'$' || next == u'\\') {
                        arg.text += next;
                        ++i;
                        continue;
                    }
                }
                arg.text += q;
            }
        } else if (c == u'\'') {
            const qsizetype end = exec.indexOf(u'\'', i + 1);
            if (end < 0)
                return std::nullopt;
            arg.quoted = true;
            arg.text += QStringView(exec).mid(i + 1, end - i - 1);
            i = end;
        } else if (c == u'\\' && i + 1 < exec.size()) {
            arg.quoted = true;
            arg.text += exec.at(++i);
        } else {
            arg.text += c;
        }
    }
    if (inArg)
        args.append(arg);
    return args;
}

} // namespace

std::optional<QStringList> SplitExec(const QString &exec)
{
    const std::optional<QList<ExecArg>> args = splitExecArgs(exec);
    if (!args)
        return std::nullopt;
    QStringList texts;
    for (const ExecArg &arg : *args)
        texts.append(arg.text);
    return texts;
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

namespace {

enum class Expansion { Argument, Nothing, Refused };

// One argument with its field codes expanded (the address, the name, the file's path), counting
// the codes that stand for the address. Refused, with the reason, for a code in a quoted part;
// nothing when its codes expand to nothing.
Expansion expandArg(const ExecArg &arg, const DesktopEntry &entry, const QString &desktopFilePath,
                    const QString &address, QString &expanded, int &addressCodes, QString &problem)
{
    expanded.clear();
    bool hadCode = false;
    for (qsizetype i = 0; i < arg.text.size(); ++i) {
        if (arg.text.at(i) != u'%' || i + 1 == arg.text.size()) {
            expanded += arg.text.at(i);
            continue;
        }
        const QChar code = arg.text.at(++i);
        if (code == u'%') {
            expanded += u'%';
            continue;
        }
        // Quotes around a field code would let the address become part of a command line
        // (sh -c "browser %u"): the freedesktop rules forbid it, and so does this program.
        if (arg.quoted) {
            problem = Tr::tr("puts the field code %%1 inside a quoted argument, which the "
                             "desktop entry rules forbid")
                              .arg(code);
            return Expansion::Refused;
        }
        hadCode = true;
        switch (code.unicode()) {
        case u'u':
        case u'U':
        case u'f':
        case u'F':
            // The address goes in as it is, after the split: it can never become two
            // arguments or be read as a field code itself.
            expanded += address;
            ++addressCodes;
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
    // A code that expands to nothing leaves no empty argument behind.
    return hadCode && expanded.isEmpty() ? Expansion::Nothing : Expansion::Argument;
}

} // namespace

std::optional<QStringList> LaunchCommand(const DesktopEntry &entry, const QString &desktopFilePath,
                                         const QString &address, QString *problem)
{
    QString why;
    auto refuse = [&](const QString &reason) {
        if (problem)
            *problem = reason;
        return std::nullopt;
    };
    const std::optional<QList<ExecArg>> args = splitExecArgs(entry.exec);
    if (!args)
        return refuse(Tr::tr("leaves a quote open in its Exec line"));
    QStringList command;
    int addressCodes = 0;
    for (const ExecArg &arg : *args) {
        // %i stands for two arguments, so only as an argument of its own.
        if (arg.text == u"%i" && !arg.quoted) {
            if (!entry.icon.isEmpty())
                command << QStringLiteral("--icon") << entry.icon;
            continue;
        }
        const int before = addressCodes;
        QString expanded;
        const Expansion expansion
                = expandArg(arg, entry, desktopFilePath, address, expanded, addressCodes, why);
        if (expansion == Expansion::Refused)
            return refuse(why);
        if (addressCodes > 1)
            return refuse(Tr::tr("holds more than one of the field codes %f %F %u %U"));
        if (addressCodes > before && command.isEmpty())
            return refuse(Tr::tr("would start the address itself as a program"));
        if (expansion == Expansion::Argument)
            command.append(expanded);
    }
    if (command.isEmpty() || command.first().isEmpty())
        return refuse(Tr::tr("names no program to start"));
    if (addressCodes == 0)
        command.append(address);
    return command;
}

QStringList MimeAppsEntries(const QByteArray &content, const QString &group,
                            const QString &mimeType)
{
    const std::optional<QString> value = KeyFileValue(content, group, mimeType);
    return value ? SplitStringList(*value) : QStringList();
}
