// SPDX-License-Identifier: GPL-3.0-or-later
#include "StampAuthorityDialog.h"

#include "CaseStamp.h"
#include "GrowToFit.h"
#include "PlainText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

StampAuthorityDialog::StampAuthorityDialog(const QString &caseName, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("StampAuthorityDialog"));
    setWindowTitle(tr("Stamp Now - %1").arg(caseName));
    QLabel *intro = PlainLabel(tr("Only the hash of the case's last record is sent: to a "
                                  "time-stamp authority, which signs it with the time. Which "
                                  "authority?"),
                               this);
    intro->setWordWrap(true);
    txtAuthority = new QLineEdit(this);
    txtAuthority->setObjectName(QStringLiteral("txtAuthority"));
    txtAuthority->setPlaceholderText(QStringLiteral("https://"));
    QLabel *label = PlainLabel(tr("Time-stamp &authority:"), this);
    label->setBuddy(txtAuthority);
    chkKeep = new QCheckBox(tr("&Keep this address with the case"), this);
    chkKeep->setObjectName(QStringLiteral("chkKeep"));
    chkKeep->setChecked(true);
    lblProblem = PlainLabel({}, this);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    lblProblem->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Stamp"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &StampAuthorityDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &StampAuthorityDialog::reject);
    auto *form = new QFormLayout;
    form->addRow(label, txtAuthority);
    form->addRow(chkKeep);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(lblProblem);
    layout->addWidget(buttons);
    resize(520, sizeHint().height());
}

bool StampAuthorityDialog::keep() const
{
    return chkKeep->isChecked();
}

void StampAuthorityDialog::accept()
{
    try {
        m_address = Cases::CheckedAuthority(txtAuthority->text());
    } catch (const CommandError &error) {
        lblProblem->setText(error.message());
        GrowToFit(this);
        txtAuthority->setFocus();
        return;
    }
    QDialog::accept();
}
