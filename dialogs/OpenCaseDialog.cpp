// SPDX-License-Identifier: GPL-3.0-or-later
#include "OpenCaseDialog.h"

#include "CaseSettings.h"
#include "CaseStore.h"
#include "PlainText.h"
#include "GrowToFit.h"
#include "ServerAddress.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <new>

namespace {

// libpq's modes in words, its own word in brackets, as its documentation names them.
constexpr std::pair<const char *, const char *> kTlsModes[] = {
        {"disable", QT_TRANSLATE_NOOP("OpenCaseDialog", "No encryption (disable)")},
        {"allow", QT_TRANSLATE_NOOP("OpenCaseDialog", "Encryption only when the server asks for it (allow)")},
        {"prefer", QT_TRANSLATE_NOOP("OpenCaseDialog", "Encryption when the server offers it (prefer)")},
        {"require", QT_TRANSLATE_NOOP("OpenCaseDialog", "Require encryption (require)")},
        {"verify-ca", QT_TRANSLATE_NOOP("OpenCaseDialog", "Verify the server's certificate (verify-ca)")},
        {"verify-full", QT_TRANSLATE_NOOP("OpenCaseDialog", "Verify the certificate and the server's name (verify-full)")},
};

QLineEdit *field(QFormLayout *form, const QString &label, const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    form->addRow(label, edit);
    return edit;
}

// A server reached without leaving this machine: a socket folder, or a loopback address.
bool isThisMachine(const QString &host)
{
    return host.isEmpty() || host.startsWith(u'/') || host.compare(u"localhost", Qt::CaseInsensitive) == 0
            || host.startsWith(QStringLiteral("127.")) || host == u"::1";
}

// The server's message as the dialog shows it: libpq indents its second line with a TAB.
QString tidied(const QString &message)
{
    QStringList lines;
    for (const QString &line : message.split(u'\n')) {
        if (const QString text = line.trimmed(); !text.isEmpty())
            lines.append(text);
    }
    return lines.join(u'\n');
}

} // namespace

OpenCaseDialog::OpenCaseDialog(const QStringList &recent, FolderChooser chooseFolder,
                               CaseOpener open, QWidget *parent)
    : QDialog(parent), m_chooseFolder(std::move(chooseFolder)), m_open(std::move(open))
{
    setObjectName(QStringLiteral("OpenCaseDialog"));
    setWindowTitle(tr("Open Case"));
    tabsCase = new QTabWidget(this);
    tabsCase->setObjectName(QStringLiteral("tabsCase"));
    tabsCase->setAccessibleName(tr("Where the case is kept"));
    tabsCase->addTab(buildFolderTab(), tr("&Folder"));
    tabsCase->addTab(buildServerTab(), tr("PostgreSQL &server"));
    // What the case keeps of its proxy, before it opens: with one it opens in a program of its own.
    lblProxy = PlainLabel({}, this);
    lblProxy->setObjectName(QStringLiteral("lblProxy"));
    lblProxy->setWordWrap(true);
    for (QLineEdit *edit : {txtFolder, txtUser, txtHost, txtDatabase, txtCaseName})
        connect(edit, &QLineEdit::textChanged, this, &OpenCaseDialog::showProxy);
    connect(tabsCase, &QTabWidget::currentChanged, this, &OpenCaseDialog::showProxy);
    showProxy();
    lblProblem = PlainLabel({}, this);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    lblProblem->setWordWrap(true);
    lblProblem->setTextInteractionFlags(Qt::TextSelectableByMouse); // the server's words copied
    lblProblem->hide();
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *openButton = buttons->addButton(tr("&Open"), QDialogButtonBox::AcceptRole);
    openButton->setObjectName(QStringLiteral("okButton"));
    openButton->setDefault(true);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole)
            ->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &OpenCaseDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OpenCaseDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabsCase);
    layout->addWidget(lblProxy);
    layout->addWidget(lblProblem);
    layout->addWidget(buttons);

    QString folder = QDir::homePath();
    for (const QString &location : recent) {
        if (!Cases::IsServerAddress(location)) {
            folder = location;
            break;
        }
    }
    txtFolder->setText(QDir::toNativeSeparators(folder));
    for (const QString &location : recent) {
        if (Cases::IsServerAddress(location)) {
            fillServerFields(location);
            break;
        }
    }
    tabsCase->setCurrentIndex(!recent.isEmpty() && Cases::IsServerAddress(recent.constFirst()) ? 1 : 0);
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
    auto *layout = new QVBoxLayout(tab);
    QLabel *about = PlainLabel(tr("A case kept in a database on a PostgreSQL server, which a "
                                  "team can share."),
                               tab);
    about->setWordWrap(true);
    layout->addWidget(about);
    m_serverForm = new QFormLayout;
    layout->addLayout(m_serverForm);
    QFormLayout *form = m_serverForm;
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
    cboSslMode->addItem(QString(), QString()); // the default, in words that follow the host
    for (const auto &[mode, words] : kTlsModes)
        cboSslMode->addItem(tr(words), QString::fromLatin1(mode));
    form->addRow(tr("&TLS encryption:"), cboSslMode);
    connect(txtHost, &QLineEdit::textChanged, this, &OpenCaseDialog::describeDefaultTls);
    describeDefaultTls();
    QLabel *password = PlainLabel(
            tr("The password: PGPASSWORD when it is set, else the matching line of ~/.pgpass "
               "(or of the file PGPASSFILE names). When neither has it, it is asked once and "
               "kept only while the program runs."),
            tab);
    password->setObjectName(QStringLiteral("lblPassword"));
    password->setWordWrap(true);
    layout->addWidget(password);
    layout->addStretch();
    return tab;
}

// With no mode chosen the case's store requires encryption of a server elsewhere and takes it
// when offered on this machine.
void OpenCaseDialog::describeDefaultTls()
{
    cboSslMode->setItemText(0, isThisMachine(txtHost->text().trimmed())
                                       ? tr("Encryption when the server offers it (default on "
                                            "this machine: prefer)")
                                       : tr("Require encryption (default: require)"));
}

void OpenCaseDialog::fillServerFields(const QString &address)
{
    try {
        const Cases::ServerAddress server = Cases::ParseServerAddress(address);
        txtUser->setText(server.user);
        txtHost->setText(server.host);
        spnPort->setValue(server.port);
        txtDatabase->setText(server.database);
        txtCaseName->setText(server.caseName);
        cboSslMode->setCurrentIndex(std::max(0, cboSslMode->findData(server.sslMode)));
    } catch (const CommandError &) {
        // A recent entry that no longer reads leaves the fields as they start.
    }
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

void OpenCaseDialog::showProblem(const QString &text)
{
    lblProblem->setText(text);
    lblProblem->setVisible(!text.isEmpty());
    GrowToFit(this);
}

void OpenCaseDialog::showProxy()
{
    QString text;
    try {
        const QString location = tabsCase->currentIndex() == 0
                ? QDir::fromNativeSeparators(txtFolder->text().trimmed())
                : serverLocation();
        const ProxySetting proxy = location.isEmpty() ? ProxySetting() : Cases::CaseProxy(location);
        if (!location.isEmpty())
            text = proxy.isNone() ? tr("Proxy: none, its pages go out directly")
                                  : tr("Proxy: %1 (the case opens in a program of its own)")
                                            .arg(proxy.text());
    } catch (const CommandError &error) {
        if (tabsCase->currentIndex() == 0)
            text = error.message(); // a server case's fields are still being typed
    }
    lblProxy->setText(text);
}

void OpenCaseDialog::accept()
{
    try {
        QString location;
        if (tabsCase->currentIndex() == 0) {
            const QString folder = txtFolder->text().trimmed();
            if (folder.isEmpty())
                throw Cases::CaseOpenError(tr("Choose the case's folder"));
            location = QDir::fromNativeSeparators(folder);
        }
        else
            location = serverLocation();
        showProblem(tabsCase->currentIndex() == 0 ? tr("Opening the case...")
                                                  : tr("Connecting to the server..."));
        lblProblem->repaint();
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
        m_open(location);
        m_location = location;
    } catch (const CommandError &error) {
        showProblem(tidied(error.message()));
        return;
    } catch (const std::bad_alloc &) {
        // Nothing may leave a handler of Qt's event loop; the dialog says it and stays.
        showProblem(tr("Out of memory"));
        return;
    }
    showProblem({});
    QDialog::accept();
}
