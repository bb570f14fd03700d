// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtPrompts.h"

#include "MessageBoxes.h"
#include "OpenCaseDialog.h"
#include "PlainText.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStyleFactory>
#include <QVBoxLayout>

#include <algorithm>

namespace {

struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(QtPrompts)
};

// Desktops order dialog buttons differently (GNOME puts Yes last); the program's boxes always
// read Yes, No, Cancel and OK, Cancel from left to right.
class FixedButtonOrder : public QProxyStyle
{
public:
    // Drawn like the application's own style when that is one of the built-in ones.
    FixedButtonOrder() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) { }

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_DialogButtonLayout)
            return QDialogButtonBox::WinLayout;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Qt's file dialog leaves two of its labels without their boxes: a screen reader then named
// the boxes by the folder and the filter they show.
void labelFileDialog(QFileDialog &dialog)
{
    for (const auto &[label, box] : {std::pair {"lookInLabel", "lookInCombo"},
                                     std::pair {"fileTypeLabel", "fileTypeCombo"},
                                     std::pair {"fileNameLabel", "fileNameEdit"}}) {
        auto *caption = dialog.findChild<QLabel *>(QLatin1StringView(label));
        auto *control = dialog.findChild<QWidget *>(QLatin1StringView(box));
        if (caption && control && !caption->buddy())
            caption->setBuddy(control);
    }
}

QWidget *dialogParent()
{
    return QApplication::activeWindow();
}

void keepButtonOrder(QMessageBox &box)
{
    if (auto *buttons = box.findChild<QDialogButtonBox *>()) {
        auto *style = new FixedButtonOrder;
        style->setParent(buttons);
        buttons->setStyle(style);
    }
}

QPushButton *addButton(QMessageBox &box, const QString &text, QMessageBox::ButtonRole role,
                       const char *name)
{
    QPushButton *button = box.addButton(text, role);
    button->setObjectName(QLatin1String(name));
    return button;
}

void centreOnScreen(QWidget &dialog)
{
    QScreen *screen = dialog.parentWidget() ? dialog.parentWidget()->screen()
                                            : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    dialog.adjustSize();
    dialog.winId(); // the native window knows its frame, which is part of what is centred
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    dialog.move(frame.topLeft());
}

// The text prompt: OK returns true with the edited text.
bool runTextDialog(const QString &title, const QString &prompt, QString &text)
{
    QDialog dialog(dialogParent());
    dialog.setObjectName(QStringLiteral("promptTextDialog"));
    dialog.setWindowTitle(title);
    dialog.setModal(true);

    auto *label = PlainLabel(prompt, &dialog);
    label->setObjectName(QStringLiteral("promptLabel"));
    auto *edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("promptEdit"));
    // A longer text handed in (a long web address) is kept whole rather than cut short.
    edit->setMaxLength(std::max(QtPrompts::MaxTextLength, int(text.size())));
    edit->setText(text);
    edit->selectAll();
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 40);
    label->setBuddy(edit);

    auto *ok = new QPushButton(Tr::tr("OK"), &dialog);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(Tr::tr("Cancel"), &dialog);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    edit->setFocus();
    centreOnScreen(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = edit->text();
    return true;
}

} // namespace

bool QtPrompts::PromptText(const QString &title, const QString &prompt, QString &text)
{
    return runTextDialog(title, prompt, text);
}

QString QtPrompts::PromptTextOrDefault(const QString &title, const QString &prompt,
                                       const QString &defaultText)
{
    QString text = defaultText;
    return runTextDialog(title, prompt, text) ? text : defaultText;
}

Prompts::Answer QtPrompts::AskYesNoCancel(const QString &message)
{
    PlainMessageBox box(QMessageBox::Question, Tr::tr("Confirm"), message, QMessageBox::NoButton,
                        dialogParent());
    box.setObjectName(QStringLiteral("confirmBox"));
    keepButtonOrder(box);
    QPushButton *yes = addButton(box, Tr::tr("&Yes"), QMessageBox::YesRole, "yesButton");
    QPushButton *no = addButton(box, Tr::tr("&No"), QMessageBox::NoRole, "noButton");
    QPushButton *cancel = addButton(box, Tr::tr("Cancel"), QMessageBox::RejectRole, "cancelButton");
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel); // Escape and the close box answer Cancel
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

void QtPrompts::ShowNotice(const QString &message)
{
    PlainMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), message,
                        QMessageBox::NoButton, dialogParent());
    box.setObjectName(QStringLiteral("noticeBox"));
    QPushButton *ok = addButton(box, Tr::tr("OK"), QMessageBox::AcceptRole, "okButton");
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

bool QtPrompts::AskOkCancel(const QString &message)
{
    PlainMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), message,
                        QMessageBox::NoButton, dialogParent());
    box.setObjectName(QStringLiteral("okCancelBox"));
    keepButtonOrder(box);
    QPushButton *ok = addButton(box, Tr::tr("OK"), QMessageBox::AcceptRole, "okButton");
    QPushButton *cancel = addButton(box, Tr::tr("Cancel"), QMessageBox::RejectRole, "cancelButton");
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

std::optional<QString> QtPrompts::ChooseFile(FileMode mode, const QString &filter,
                                             const QString &defaultExtension, const QString &title,
                                             const QString &startFolder)
{
    // Each kind of file starts where the last one of its kind was chosen, while that folder is
    // there.
    QSettings settings;
    const QString lastFolderKey = QStringLiteral("FileDialogs/") + filter.section(u'|', -1);
    const QString lastFolder = settings.value(lastFolderKey).toString();
    QFileDialog dialog(dialogParent(), title,
                       !lastFolder.isEmpty() && QFileInfo(lastFolder).isDir() ? lastFolder
                                                                              : startFolder);
    dialog.setObjectName(QStringLiteral("chooseFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Opening accepts the name of a file that is not there; the command decides what to do.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(mode == FileMode::Save ? QFileDialog::AcceptSave
                                                : QFileDialog::AcceptOpen);
    const QStringList filters = NameFilters(filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (mode == FileMode::Save) {
        // Added to a name typed without an extension; saving over a file asks first, as
        // QFileDialog does unless told otherwise.
        QString suffix = defaultExtension;
        if (suffix.startsWith(u'.'))
            suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
    }
    labelFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    settings.setValue(lastFolderKey, QFileInfo(chosen.first()).absolutePath());
    return chosen.first();
}

std::optional<QString> QtPrompts::SaveFileAs(const QString &title, const QString &suggestedPath)
{
    // In the suggested folder, or the home folder while the suggested one does not exist (a
    // download folder nobody has made yet).
    const QFileInfo suggested(suggestedPath);
    const QString folder = suggested.dir().exists() ? suggested.absolutePath() : QDir::homePath();
    QFileDialog dialog(dialogParent(), title, folder);
    dialog.setObjectName(QStringLiteral("saveFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave); // asks before it replaces a file
    dialog.selectFile(suggested.fileName());
    labelFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    return chosen.first();
}

bool QtPrompts::ConfirmRisk(const QString &title, const QString &message, const QString &acceptText)
{
    PlainMessageBox box(QMessageBox::Warning, title, message, QMessageBox::NoButton,
                        dialogParent());
    box.setObjectName(QStringLiteral("riskBox"));
    keepButtonOrder(box);
    QPushButton *accept = addButton(box, acceptText, QMessageBox::AcceptRole, "acceptButton");
    QPushButton *cancel = addButton(box, Tr::tr("Cancel"), QMessageBox::RejectRole, "cancelButton");
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == accept;
}

bool QtPrompts::AskLogin(const QString &title, const QString &message, QString &user,
                         QString &password)
{
    QDialog dialog(dialogParent());
    dialog.setObjectName(QStringLiteral("loginDialog"));
    dialog.setWindowTitle(title);
    auto *label = PlainLabel(message, &dialog);
    label->setObjectName(QStringLiteral("promptLabel"));
    label->setWordWrap(true);
    auto *userEdit = new QLineEdit(user, &dialog);
    userEdit->setObjectName(QStringLiteral("userEdit"));
    auto *passwordEdit = new QLineEdit(&dialog);
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    auto *form = new QFormLayout;
    form->addRow(Tr::tr("&User name:"), userEdit);
    form->addRow(Tr::tr("&Password:"), passwordEdit);
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *ok = buttons->addButton(Tr::tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(Tr::tr("Cancel"), QDialogButtonBox::RejectRole)
            ->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addLayout(form);
    layout->addWidget(buttons);
    (user.isEmpty() ? userEdit : passwordEdit)->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    user = userEdit->text();
    password = passwordEdit->text();
    return true;
}

bool QtPrompts::ChooseCase(const QStringList &recent,
                           const std::function<void(const QString &location)> &open)
{
    OpenCaseDialog dialog(
            recent,
            [this](const QString &start) { return ChooseFolder(Tr::tr("Case Folder"), start); },
            open, dialogParent());
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> QtPrompts::AskPassword(const QString &title, const QString &message)
{
    QInputDialog dialog(dialogParent());
    dialog.setObjectName(QStringLiteral("passwordDialog"));
    dialog.setWindowTitle(title);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setLabelText(message);
    dialog.setOkButtonText(Tr::tr("OK"));
    dialog.setCancelButtonText(Tr::tr("Cancel"));
    // The message carries the server's own words: shown as they are, never as markup.
    if (auto *label = dialog.findChild<QLabel *>()) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QStringList QtPrompts::NameFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    if (parts.size() == 1 && !filter.trimmed().isEmpty())
        filters.append(filter.trimmed()); // already written the Qt way
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts).join(u' ');
        // Qt reads the patterns from the parentheses at the end of the description.
        if (description.endsWith(QStringLiteral("(%1)").arg(patterns)))
            filters.append(description);
        else
            filters.append(QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return filters;
}

std::optional<QString> QtPrompts::ChooseFolder(const QString &title, const QString &startFolder)
{
    QFileDialog dialog(dialogParent(), title, startFolder);
    dialog.setObjectName(QStringLiteral("chooseFolderDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    // A name typed that is not there yet is taken too: a new case's folder is made for it.
    dialog.setFileMode(QFileDialog::Directory);
    labelFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
