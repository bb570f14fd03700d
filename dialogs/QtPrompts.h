// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Prompts.h"

// The program's dialogs drawn with Qt widgets. Each is modal over the active window and carries
// object names, so tests can find and answer it:
// - text prompt: QDialog "promptTextDialog" with QLabel "promptLabel", QLineEdit "promptEdit",
//   QPushButtons "okButton" and "cancelButton";
// - question: QMessageBox "confirmBox" with "yesButton", "noButton", "cancelButton";
// - notice: QMessageBox "noticeBox" with "okButton";
// - OK/Cancel box: QMessageBox "okCancelBox" with "okButton", "cancelButton";
// - file choice: QFileDialog "chooseFileDialog" (Qt's own, not the desktop's, so it behaves
//   the same everywhere); a download's file: QFileDialog "saveFileDialog";
// - warning: QMessageBox "riskBox" with "acceptButton" and "cancelButton" (the default);
// - login: QDialog "loginDialog" with QLabel "promptLabel", QLineEdits "userEdit" and
//   "passwordEdit", "okButton" and "cancelButton".
class QtPrompts : public Prompts
{
public:
    bool PromptText(const QString &title, const QString &prompt, QString &text) override;
    QString PromptTextOrDefault(const QString &title, const QString &prompt,
                                const QString &defaultText) override;
    Answer AskYesNoCancel(const QString &message) override;
    void ShowNotice(const QString &message) override;
    bool AskOkCancel(const QString &message) override;
    std::optional<QString> ChooseFile(FileMode mode, const QString &filter,
                                      const QString &defaultExtension, const QString &title,
                                      const QString &startFolder) override;
    std::optional<QString> SaveFileAs(const QString &title, const QString &suggestedPath) override;
    std::optional<QString> ChooseFolder(const QString &title, const QString &startFolder) override;
    bool ConfirmRisk(const QString &title, const QString &message,
                     const QString &acceptText) override;
    bool AskLogin(const QString &title, const QString &message, QString &user,
                  QString &password) override;
    bool ChooseCase(const QStringList &recent,
                    const std::function<void(const QString &location)> &open) override;
    std::optional<QString> AskPassword(const QString &title, const QString &message) override;

    // "Description (*.ext)|*.ext|..." as Qt writes name filters: one "Description (patterns)"
    // per pair.
    static QStringList NameFilters(const QString &filter);

    // The most a user can type into a text prompt.
    static constexpr int MaxTextLength = 255;
};
