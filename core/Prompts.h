// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The modal dialogs the commands ask through. The program shows real dialogs (QtPrompts);
// tests answer from a script.
class Prompts
{
public:
    enum class Answer { Yes, No, Cancel };
    enum class FileMode { Open, Save };

    virtual ~Prompts() = default;

    // OK returns true with the edited text; Cancel returns false and leaves the text alone.
    virtual bool PromptText(const QString &title, const QString &prompt, QString &text) = 0;
    // The edited text on OK, the default on Cancel.
    virtual QString PromptTextOrDefault(const QString &title, const QString &prompt,
                                        const QString &defaultText)
            = 0;
    // "Confirm", with the buttons Yes (the default), No and Cancel.
    virtual Answer AskYesNoCancel(const QString &message) = 0;
    // The application's title, the message and one OK button.
    virtual void ShowNotice(const QString &message) = 0;
    // The application's title, the message, OK and Cancel; true for OK.
    virtual bool AskOkCancel(const QString &message) = 0;
    // The filter is written "Description (*.ext)|*.ext"; the default extension carries its dot.
    virtual std::optional<QString> ChooseFile(FileMode mode, const QString &filter,
                                              const QString &defaultExtension, const QString &title,
                                              const QString &startFolder)
            = 0;
    // A folder, chosen or typed (it need not exist yet); nothing when the user cancels.
    virtual std::optional<QString> ChooseFolder(const QString &title, const QString &startFolder)
            = 0;
    // The file a download is saved to: the save dialog starting at the suggested path, asking
    // before it replaces a file; nothing when the user cancels.
    virtual std::optional<QString> SaveFileAs(const QString &title, const QString &suggestedPath)
            = 0;
    // A warning where refusing is the default: true only when the user presses the button
    // named acceptText; Cancel, Escape and closing the box refuse.
    virtual bool ConfirmRisk(const QString &title, const QString &message,
                             const QString &acceptText)
            = 0;
    // A user name and a password, for a site that asks for them; false when the user cancels.
    virtual bool AskLogin(const QString &title, const QString &message, QString &user,
                          QString &password)
            = 0;
    // File > Open Case...: a case's folder or a server case's address, the fields starting at
    // the cases opened last (`recent`, newest first). `open` opens what was chosen and throws
    // CommandError when it cannot: the dialog then stays, with what was typed and the reason.
    // False when the user cancels.
    virtual bool ChooseCase(const QStringList &recent,
                            const std::function<void(const QString &location)> &open)
            = 0;
    // A password, typed unseen; nothing when the user cancels. The caller keeps it in memory only.
    virtual std::optional<QString> AskPassword(const QString &title, const QString &message) = 0;
};

// The folder of the program's executable, where the file dialogs start.
QString ProgramFolder();
