// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListCommands.h"

#include "Prompts.h"
#include "TextRules.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>

#include <functional>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(ListCommands)
};

} // namespace

namespace {

struct ListFiles
{
    QString filter;
    QString extension;
    QString openTitle;
    QString saveTitle;
    QString saveQuestion;
};

// Made at each use, so that the texts are in the language of the moment.
ListFiles servicesFiles()
{
    return {
            Tr::tr("Glen Lantern Services (*.gls)|*.gls"),
            QStringLiteral(".gls"),
            Tr::tr("Select Services File"),
            Tr::tr("Save Services File"),
            Tr::tr("Save changes to service list?"),
    };
}

ListFiles termsFiles()
{
    return {
            Tr::tr("Glen Lantern Terms (*.glt)|*.glt"),
            QStringLiteral(".glt"),
            Tr::tr("Select Terms File"),
            Tr::tr("Save Term File"),
            Tr::tr("Save changes to term list?"),
    };
}

// Save As writes the list but keeps the document's file name: a later Save goes to the
// earlier file, or asks again when there is none.
bool saveListAs(Prompts &prompts, ListDocument &doc, const ListFiles &files)
{
    const std::optional<QString> path
            = prompts.ChooseFile(Prompts::FileMode::Save, files.filter, files.extension,
                                 files.saveTitle, ProgramFolder());
    if (!path || path->isEmpty())
        return false;
    doc.list.SaveFile(*path);
    doc.changed = false;
    doc.recent.add(*path);
    return true;
}

bool saveList(Prompts &prompts, ListDocument &doc, const ListFiles &files)
{
    if (doc.file.isEmpty())
        return saveListAs(prompts, doc, files);
    doc.list.SaveFile(doc.file);
    doc.changed = false;
    return true;
}

// False when the caller must stop: the user cancelled, or asked for a save that did not happen.
bool confirmDiscard(Prompts &prompts, const ListDocument &doc, const ListFiles &files,
                    const std::function<bool()> &save)
{
    if (!doc.changed)
        return true;
    switch (prompts.AskYesNoCancel(files.saveQuestion)) {
    case Prompts::Answer::Yes:
        return save();
    case Prompts::Answer::No:
        return true;
    case Prompts::Answer::Cancel:
        break;
    }
    return false;
}

std::optional<QString> chooseListToOpen(Prompts &prompts, const ListFiles &files)
{
    std::optional<QString> path = prompts.ChooseFile(Prompts::FileMode::Open, files.filter,
                                                     QString(), files.openTitle, ProgramFolder());
    if (path && path->isEmpty())
        return std::nullopt;
    return path;
}

// Loading fails with the list as it was; a loaded file becomes the list's file and recent.
void loadInto(ListDocument &doc, const QString &path)
{
    doc.list.LoadFile(path);
    doc.file = path;
    doc.changed = false;
    doc.recent.add(path);
}

void removeSelected(ListDocument &doc)
{
    const qsizetype selected = doc.list.SelectedIndex();
    if (selected >= 0)
        doc.list.Remove(selected);
    // The command counts as an edit even when nothing was selected.
    doc.changed = true;
}

} // namespace

ListCommands::ListCommands(ListDocument &services, ListDocument &terms, Prompts &prompts)
    : m_services(services), m_terms(terms), m_prompts(prompts)
{ }

void ListCommands::AddService()
{
    // Every pass starts with the name exactly as typed in the pass before, blanks included.
    QString name;
    for (;;) {
        if (!m_prompts.PromptText(Tr::tr("Add New Service"), Tr::tr("Enter Service Name:"), name)
            || IsBlank(name))
            return;
        const QString serviceString = m_prompts.PromptTextOrDefault(
                Tr::tr("Service String"), Tr::tr("Enter Service String:"), QString());
        if (IsBlank(serviceString))
            continue;
        m_services.list.SetByName(EncodeLine(TrimBlanks(name)),
                                  EncodeLine(TrimBlanks(serviceString)));
        m_services.changed = true;
    }
}

void ListCommands::ReplaceService()
{
    const qsizetype selected = m_services.list.SelectedIndex();
    const QByteArray current = m_services.list.ServiceStringAt(selected);
    const QString start = DecodeLine(current);
    // A cancelled prompt answers with the text it started with.
    const QString answer = m_prompts.PromptTextOrDefault(
            Tr::tr("Service String"), Tr::tr("Enter New Service String:"), start);
    if (IsBlank(answer))
        return;
    // An untouched answer keeps the stored bytes, so a line in another encoding survives.
    const QByteArray serviceString
            = answer == start ? TrimBlanks(current) : EncodeLine(TrimBlanks(answer));
    m_services.list.SetServiceStringAt(selected, serviceString);
    m_services.changed = true;
}

void ListCommands::RemoveService()
{
    removeSelected(m_services);
}

void ListCommands::NewServices()
{
    if (!ConfirmDiscardServices())
        return;
    m_services.file.clear();
    m_services.list.Clear();
    m_services.list.SetFileEncoding(ListFileEncoding::Bytes); // a new file, written as typed
    m_services.changed = true;
}

void ListCommands::LoadServices()
{
    if (!ConfirmDiscardServices())
        return;
    const std::optional<QString> path = chooseListToOpen(m_prompts, servicesFiles());
    if (!path)
        return;
    // A name typed for a file that is not there is passed over without a word.
    const QFileInfo info(*path);
    if (!info.exists() || info.isDir())
        return;
    loadInto(m_services, *path);
}

bool ListCommands::LoadServicesUntitled(const QString &path)
{
    if (!ConfirmDiscardServices())
        return false;
    m_services.list.LoadFile(path);
    m_services.file.clear();
    m_services.changed = false;
    return true;
}

qsizetype ListCommands::AddServicesFrom(const QString &path)
{
    const QList<QByteArray> lines = ReadListLines(path);
    QSet<QByteArray> present(m_services.list.Lines().cbegin(), m_services.list.Lines().cend());
    qsizetype added = 0;
    for (const QByteArray &line : lines) {
        if (TrimBlanks(line).isEmpty() || present.contains(line))
            continue;
        present.insert(line);
        m_services.list.Append(line);
        ++added;
    }
    if (added > 0)
        m_services.changed = true;
    return added;
}

bool ListCommands::SaveServices()
{
    return saveList(m_prompts, m_services, servicesFiles());
}

bool ListCommands::SaveServicesAs()
{
    return saveListAs(m_prompts, m_services, servicesFiles());
}

void ListCommands::SortServices()
{
    m_services.list.SortOnce();
    m_services.changed = true;
}

void ListCommands::AddTerm()
{
    QString text;
    for (;;) {
        if (!m_prompts.PromptText(Tr::tr("Add New Term"), Tr::tr("Enter Term:"), text)
            || IsBlank(text))
            return;
        m_terms.list.Append(EncodeLine(TrimBlanks(text)));
        m_terms.changed = true;
    }
}

void ListCommands::ReplaceTerm()
{
    const qsizetype selected = m_terms.list.SelectedIndex();
    const QByteArray current = m_terms.list.LineAt(selected); // no selection: index error
    const QString start = DecodeLine(current);
    QString text = start;
    if (m_prompts.PromptText(Tr::tr("Enter New Term"), Tr::tr("Enter Term:"), text)
        && !IsBlank(text)) {
        // Stored as typed, blanks and all.
        m_terms.list.ReplaceLine(selected, text == start ? current : EncodeLine(text));
    }
    m_terms.changed = true;
}

void ListCommands::RemoveTerm()
{
    removeSelected(m_terms);
}

void ListCommands::RemoveDuplicates()
{
    m_terms.list.CopyFrom(RemoveDuplicateLines(m_terms.list.Lines()));
    m_terms.changed = true;
}

void ListCommands::ClearTerms()
{
    m_terms.list.Clear();
    m_terms.changed = true;
}

void ListCommands::NewTerms()
{
    if (!ConfirmDiscardTerms())
        return;
    m_terms.file.clear();
    m_terms.list.Clear();
    m_terms.list.SetFileEncoding(ListFileEncoding::Bytes); // a new file, written as typed
    m_terms.changed = true;
}

void ListCommands::LoadTerms()
{
    if (!ConfirmDiscardTerms())
        return;
    const std::optional<QString> path = chooseListToOpen(m_prompts, termsFiles());
    if (!path)
        return;
    // A missing file ends in the open error, which leaves everything as it was.
    loadInto(m_terms, *path);
}

void ListCommands::LoadRecentServices(const QString &path)
{
    loadRecent(m_services, path, [this] { return ConfirmDiscardServices(); });
}

void ListCommands::LoadRecentTerms(const QString &path)
{
    loadRecent(m_terms, path, [this] { return ConfirmDiscardTerms(); });
}

void ListCommands::loadRecent(ListDocument &doc, const QString &path,
                              const std::function<bool()> &confirmDiscard)
{
    if (!QFileInfo(path).isFile()) {
        doc.recent.remove(path);
        m_prompts.ShowNotice(Tr::tr("\"%1\" no longer exists; it was removed from the "
                                    "recent lists.")
                                     .arg(path));
        return;
    }
    if (confirmDiscard())
        loadInto(doc, path);
}

bool ListCommands::SaveTerms()
{
    return saveList(m_prompts, m_terms, termsFiles());
}

bool ListCommands::SaveTermsAs()
{
    return saveListAs(m_prompts, m_terms, termsFiles());
}

void ListCommands::SortTerms()
{
    m_terms.list.SortOnce();
    m_terms.changed = true;
}

bool ListCommands::AddTermAndSelect()
{
    QString text;
    if (!m_prompts.PromptText(Tr::tr("Add New Term"), Tr::tr("Enter Term:"), text))
        return false;
    return AddTermAndSelect(text);
}

bool ListCommands::AddTermAndSelect(const QString &text)
{
    if (IsBlank(text))
        return false;
    m_terms.list.Append(EncodeLine(TrimBlanks(text)));
    m_terms.list.SelectLine(m_terms.list.Count() - 1);
    m_terms.changed = true;
    return true;
}

bool ListCommands::ConfirmClose()
{
    // Cancel, or a save that did not happen, keeps the program open with nothing lost.
    return ConfirmDiscardTerms() && ConfirmDiscardServices();
}

bool ListCommands::ConfirmDiscardServices()
{
    return confirmDiscard(m_prompts, m_services, servicesFiles(),
                          [this] { return SaveServices(); });
}

bool ListCommands::ConfirmDiscardTerms()
{
    // Asked also for a list that has no file yet: a list typed from scratch is work too.
    return confirmDiscard(m_prompts, m_terms, termsFiles(), [this] { return SaveTerms(); });
}
