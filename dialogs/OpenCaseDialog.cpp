// SPDX-License-Identifier: GPL-3.0-or-later
#include "OpenCaseDialog.h"

#include "CaseStore.h"
#include "PlainText.h"
#include "ServerAddress.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLineEdit *field(QFormLayout *form, const QString &label, const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    form->addRow(label, edit);
    return edit;
}

} // namespace

OpenCaseDialog::OpenCaseDialog(const QString &startFolder,
                               std::function<std::optional<QString>(const QString &)> chooseFolder,
                               QWidget *parent)
    : QDialog(parent), m_chooseFolder(std::move(chooseFolder))
{
    setObjectName(QStringLiteral("OpenCaseDialog"));
    setWindowTitle(tr("Open Case"));
    tabsCase = new QTabWidget(this);
    tabsCase->setObjectName(QStringLiteral("tabsCase"));
    tabsCase->addTab(buildFolderTab(), tr("&Folder"));
    tabsCase->addTab(buildServerTab(), tr("&Server"));
    txtFolder->setText(QDir::toNativeSeparators(startFolder));
    lblProblem = PlainLabel({}, this);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    lblProblem->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *open = buttons->addButton(tr("&Open"), QDialogButtonBox::AcceptRole);
    open->setObjectName(QStringLiteral("okButton"));
    open->setDefault(true);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole)
            ->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &OpenCaseDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OpenCaseDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabsCase);
    layout->addWidget(lblProblem);
    layout->addWidget(buttons);
}

QWidget *OpenCaseDialog::buildFolderTab()
{
    auto *tab = new QWidget;
    txtFolder = new QLineEdit(tab);
    txtFolder->setObjectName(QStringLiteral("txtFolder"));
    auto *browse = new QPushButton(tr("&Browse..."), tab);
    browse->setObjectName(QStringLiteral("btnBrowse"));
    connect(browse, &QPushButton::clicked, this, [this] {
        if (const std::optional<QString> folder = m_chooseFolder(txtFolder->text()))
            txtFolder->setText(QDir::toNativeSeparators(*folder));
    });
    QLabel *label = PlainLabel(tr("Case &folder:"), tab);
    label->setBuddy(txtFolder);
    auto *row = new QHBoxLayout;
    row->addWidget(txtFolder, 1);
    row->addWidget(browse);
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addStretch();
    return tab;
}

QWidget *OpenCaseDialog::buildServerTab()
{
    auto *tab = new QWidget;
    auto *form = new QFormLayout(tab);
    txtUser = field(form, tr("&User:"), "txtUser");
    txtUser->setText(qEnvironmentVariable("PGUSER", qEnvironmentVariable("USER")));
    txtHost = field(form, tr("&Host:"), "txtHost");
    txtHost->setPlaceholderText(tr("a name, an address or a socket folder"));
    spnPort = new QSpinBox(tab);
    spnPort->setObjectName(QStringLiteral("spnPort"));
    spnPort->setRange(1, 65535);
    spnPort->setValue(5432);
    form->addRow(tr("&Port:"), spnPort);
    txtDatabase = field(form, tr("&Database:"), "txtDatabase");
    txtCaseName = field(form, tr("&Case name:"), "txtCaseName");
    cboSslMode = new QComboBox(tab);
    cboSslMode->setObjectName(QStringLiteral("cboSslMode"));
    // libpq's own modes; the first leaves it to the program (ServerAddress::effectiveSslMode).
    cboSslMode->addItem(tr("default: require, prefer on this computer"), QString());
    for (const char *mode : {"disable", "allow", "prefer", "require", "verify-ca", "verify-full"})
        cboSslMode->addItem(QString::fromLatin1(mode), QString::fromLatin1(mode));
    form->addRow(tr("&TLS (sslmode):"), cboSslMode);
    return tab;
}

QString OpenCaseDialog::serverLocation() const
{
    Cases::ServerAddress address;
    address.user = txtUser->text().trimmed();
    address.host = txtHost->text().trimmed();
    address.port = spnPort->value();
    address.database = txtDatabase->text().trimmed();
    address.caseName = txtCaseName->text().trimmed();
    address.sslMode = cboSslMode->currentData().toString();
    for (const auto &[value, name] : {std::pair {&address.user, tr("user")},
                                      std::pair {&address.host, tr("host")},
                                      std::pair {&address.database, tr("database")},
                                      std::pair {&address.caseName, tr("case name")}}) {
        if (value->isEmpty())
            throw Cases::CaseOpenError(tr("The %1 is missing").arg(name));
    }
    // Read back as any address is: what the fields cannot say is refused with the reason.
    return Cases::ParseServerAddress(address.text()).text();
}

void OpenCaseDialog::accept()
{
    try {
        if (tabsCase->currentIndex() == 0) {
            const QString folder = txtFolder->text().trimmed();
            if (folder.isEmpty())
                throw Cases::CaseOpenError(tr("Choose the case's folder"));
            m_location = QDir::fromNativeSeparators(folder);
        }
        else
            m_location = serverLocation();
    } catch (const CommandError &error) {
        lblProblem->setText(error.message());
        return;
    }
    QDialog::accept();
}
