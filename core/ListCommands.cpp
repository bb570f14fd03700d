// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListCommands.h"

#include "Prompts.h"
#include "TextRules.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(ListCommands)
};

// Loading fails with the list as it was; a loaded file becomes the list's file and recent.
void loadInto(ListDocument &doc, const QString &path)
{
    doc.list.LoadFile(path);
    doc.file = path;
    doc.changed = false;
    doc.recent.add(path);
}

} // namespace

ListKind ListKind::services()
{
    return {
            Tr::tr("Glen Lantern Services (*.gls)|*.gls"),
            QStringLiteral(".gls"),
            Tr::tr("Select Services File"),
            Tr::tr("Save Services File"),
            Tr::tr("Save changes to service list?"),
            true,
    };
}

ListKind ListKind::terms()
{
    return {
            Tr::tr("Glen Lantern Terms (*.glt)|*.glt"),
            QStringLiteral(".glt"),
            Tr::tr("Select Terms File"),
            Tr::tr("Save Term File"),
            Tr::tr("Save changes to term list?"),
            false,
    };
}

ListCommands::ListCommands(ListDocument &document, ListKind (*kind)(), Prompts &prompts)
    : m_doc(document), m_prompts(prompts), m_kind(kind)
{ }

void ListCommands::Remove()
{
    const qsizetype selected = m_doc.list.SelectedIndex();
    if (selected >= 0)
        m_doc.list.Remove(selected);
    // The command counts as an edit even when nothing was selected.
    m_doc.changed = true;
}

void ListCommands::New()
{
    if (!ConfirmDiscard())
        return;
    m_doc.file.clear();
    m_doc.list.Clear();
    m_doc.list.SetFileEncoding(ListFileEncoding::Bytes); // a new file, written as typed
    m_doc.changed = true;
}

void ListCommands::Load()
{
    if (!ConfirmDiscard())
        return;
    const ListKind kind = m_kind();
    const std::optional<QString> path = m_prompts.ChooseFile(
            Prompts::FileMode::Open, kind.filter, QString(), kind.openTitle, ProgramFolder());
    if (!path || path->isEmpty())
        return;
    const QFileInfo info(*path);
    if (kind.passOverMissing && (!info.exists() || info.isDir()))
        return;
    loadInto(m_doc, *path);
}

void ListCommands::LoadRecent(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        m_doc.recent.remove(path);
        m_prompts.ShowNotice(Tr::tr("\"%1\" no longer exists; it was removed from the "
                                    "recent lists.")
                                     .arg(path));
        return;
    }
    if (ConfirmDiscard())
        loadInto(m_doc, path);
}

bool ListCommands::Save()
{
    if (m_doc.file.isEmpty())
        return SaveAs();
    m_doc.list.SaveFile(m_doc.file);
    m_doc.changed = false;
    return true;
}

// Save As writes the list but keeps the document's file name: a later Save goes to the
// earlier file, or asks again when there is none.
bool ListCommands::SaveAs()
{
    const ListKind kind = m_kind();
    const std::optional<QString> path = m_prompts.ChooseFile(
            Prompts::FileMode::Save, kind.filter, kind.extension, kind.saveTitle, ProgramFolder());
    if (!path || path->isEmpty())
        return false;
    m_doc.list.SaveFile(*path);
    m_doc.changed = false;
    m_doc.recent.add(*path);
    return true;
}

void ListCommands::Sort()
{
    m_doc.list.SortOnce();
    m_doc.changed = true;
}

void ListCommands::Clear()
{
    m_doc.list.Clear();
    m_doc.changed = true;
}

// Asked also for a list that has no file yet: a list typed from scratch is work too. False when
// the caller must stop: the user cancelled, or asked for a save that did not happen.
bool ListCommands::ConfirmDiscard()
{
    if (!m_doc.changed)
        return true;
    switch (m_prompts.AskYesNoCancel(m_kind().saveQuestion)) {
    case Prompts::Answer::Yes:
        return Save();
    case Prompts::Answer::No:
        return true;
    case Prompts::Answer::Cancel:
        break;
    }
    return false;
}

ServiceCommands::ServiceCommands(ListDocument &document, Prompts &prompts)
    : ListCommands(document, &ListKind::services, prompts)
{ }

void ServiceCommands::Add()
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
        m_doc.list.SetByName(EncodeLine(TrimBlanks(name)), EncodeLine(TrimBlanks(serviceString)));
        m_doc.changed = true;
    }
}

void ServiceCommands::Replace()
{
    const qsizetype selected = m_doc.list.SelectedIndex();
    const QByteArray current = m_doc.list.ServiceStringAt(selected);
    const QString start = DecodeLine(current);
    // A cancelled prompt answers with the text it started with.
    const QString answer = m_prompts.PromptTextOrDefault(
            Tr::tr("Service String"), Tr::tr("Enter New Service String:"), start);
    if (IsBlank(answer))
        return;
    // An untouched answer keeps the stored bytes, so a line in another encoding survives.
    const QByteArray serviceString
            = answer == start ? TrimBlanks(current) : EncodeLine(TrimBlanks(answer));
    m_doc.list.SetServiceStringAt(selected, serviceString);
    m_doc.changed = true;
}

bool ServiceCommands::LoadUntitled(const QString &path)
{
    if (!ConfirmDiscard())
        return false;
    m_doc.list.LoadFile(path);
    m_doc.file.clear();
    m_doc.changed = false;
    return true;
}

qsizetype ServiceCommands::AddFrom(const QString &path)
{
    const QList<QByteArray> lines = ReadListLines(path);
    QSet<QByteArray> present(m_doc.list.Lines().cbegin(), m_doc.list.Lines().cend());
    qsizetype added = 0;
    for (const QByteArray &line : lines) {
        if (TrimBlanks(line).isEmpty() || present.contains(line))
            continue;
        present.insert(line);
        m_doc.list.Append(line);
        ++added;
    }
    if (added > 0)
        m_doc.changed = true;
    return added;
}

TermCommands::TermCommands(ListDocument &document, Prompts &prompts)
    : ListCommands(document, &ListKind::terms, prompts)
{ }

void TermCommands::Add()
{
    QString text;
    for (;;) {
        if (!m_prompts.PromptText(Tr::tr("Add New Term"), Tr::tr("Enter Term:"), text)
            || IsBlank(text))
            return;
        m_doc.list.Append(EncodeLine(TrimBlanks(text)));
        m_doc.changed = true;
    }
}

void TermCommands::Replace()
{
    const qsizetype selected = m_doc.list.SelectedIndex();
    const QByteArray current = m_doc.list.LineAt(selected); // no selection: index error
    const QString start = DecodeLine(current);
    QString text = start;
    if (m_prompts.PromptText(Tr::tr("Enter New Term"), Tr::tr("Enter Term:"), text)
        && !IsBlank(text)) {
        // Stored as typed, blanks and all.
        m_doc.list.ReplaceLine(selected, text == start ? current : EncodeLine(text));
    }
    m_doc.changed = true;
}

void TermCommands::RemoveDuplicates()
{
    m_doc.list.CopyFrom(RemoveDuplicateLines(m_doc.list.Lines()));
    m_doc.changed = true;
}

bool TermCommands::AddAndSelect()
{
    QString text;
    if (!m_prompts.PromptText(Tr::tr("Add New Term"), Tr::tr("Enter Term:"), text))
        return false;
    return AddAndSelect(text);
}

bool TermCommands::AddAndSelect(const QString &text)
{
    if (IsBlank(text))
        return false;
    m_doc.list.Append(EncodeLine(TrimBlanks(text)));
    m_doc.list.SelectLine(m_doc.list.Count() - 1);
    m_doc.changed = true;
    return true;
}

bool ConfirmClose(ListCommands &services, ListCommands &terms)
{
    // Cancel, or a save that did not happen, keeps the program open with nothing lost.
    return terms.ConfirmDiscard() && services.ConfirmDiscard();
}
