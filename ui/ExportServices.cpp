// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExportServices.h"

#include "FillText.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

QString openSearchFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QStringLiteral("Glen Lantern search engines"));
}

} // namespace

QString KdeWebShortcutsFolder()
{
    // KDE Frameworks 5 reads this folder of the user's data (Frameworks 6 reads kf6/ beside it).
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
            .filePath(QStringLiteral("kservices5/searchproviders"));
}

TfrmExport::TfrmExport(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(tr("Export Services"));

    rbOpenSearch = new QRadioButton(tr("&OpenSearch descriptions, for web browsers (.xml)"), this);
    rbOpenSearch->setObjectName(QStringLiteral("rbOpenSearch"));
    rbKde = new QRadioButton(tr("&KDE web shortcuts (.desktop)"), this);
    rbKde->setObjectName(QStringLiteral("rbKde"));
    rbOpenSearch->setChecked(true);
    txtFolder = new QLineEdit(openSearchFolder(), this);
    txtFolder->setObjectName(QStringLiteral("txtFolder"));
    btnBrowse = new QPushButton(tr("&Browse..."), this);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    connect(rbKde, &QRadioButton::toggled, this, &TfrmExport::formatChosen);
    connect(btnBrowse, &QPushButton::clicked, this, &TfrmExport::browse);

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(txtFolder, 1);
    folderRow->addWidget(btnBrowse);
    auto *form = new QFormLayout;
    form->addRow(tr("Format:"), rbOpenSearch);
    form->addRow(QString(), rbKde);
    form->addRow(tr("&Folder:"), folderRow);
    // Alt+F and a screen reader reach the folder's box, not the row around it.
    if (auto *folderLabel = qobject_cast<QLabel *>(form->labelForField(folderRow)))
        folderLabel->setBuddy(txtFolder);
    txtFolder->setAccessibleName(tr("Folder"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->addButton(tr("&Export"), QDialogButtonBox::AcceptRole)
            ->setObjectName(QStringLiteral("btnExport"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(560, sizeHint().height());
}

ExportFormat TfrmExport::Format() const
{
    return rbKde->isChecked() ? ExportFormat::Kde : ExportFormat::OpenSearch;
}

QString TfrmExport::Folder() const
{
    return txtFolder->text().trimmed();
}

// Each format starts in the folder its readers look in, unless the user chose another.
void TfrmExport::formatChosen()
{
    const QString other = rbKde->isChecked() ? openSearchFolder() : KdeWebShortcutsFolder();
    if (Folder().isEmpty() || Folder() == other)
        txtFolder->setText(rbKde->isChecked() ? KdeWebShortcutsFolder() : openSearchFolder());
}

void TfrmExport::browse()
{
    const QString folder
            = QFileDialog::getExistingDirectory(this, tr("Export to Folder"), Folder());
    if (!folder.isEmpty())
        txtFolder->setText(folder);
}

QString ExportSummary(const ExportReport &report, const QString &folder)
{
    QStringList lines {FillText(TfrmExport::tr("Services written to \"%1\": %2."),
                                QDir::toNativeSeparators(folder), report.written.size())};
    if (!report.skipped.isEmpty())
        lines << TfrmExport::tr("Not exported, as this format cannot hold them:") << report.skipped;
    if (!report.problems.isEmpty())
        lines << TfrmExport::tr("Not written:") << report.problems;
    return lines.join(u'\n');
}
