// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseSettingsDialog.h"

#include "CaseStamp.h"
#include "Error.h"
#include "PlainText.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("CaseSettingsDialog", text);
}

QString keptProxy(const QString &text)
{
    const ProxySetting proxy = ParseProxy(text);
    return proxy.isNone() ? QString() : proxy.text();
}

QString keptAuthority(const QString &text)
{
    return text.isEmpty() ? QString() : Cases::CheckedAuthority(text);
}

// What the rows together cannot mean, or empty: stamps asked for from no authority.
QString settingsProblem(const Cases::CaseSettings &settings)
{
    if (settings.flag(QLatin1StringView(Cases::kStampOnCloseSetting))
        && settings.value(QLatin1StringView(Cases::kAuthoritySetting)).isEmpty())
        return CaseSettingsDialog::tr("Stamping the case when it is closed and exported needs the "
                                      "time-stamp authority's address");
    return {};
}

} // namespace

const QList<CaseSettingRow> &CaseSettingRows()
{
    // clang-format off
    static const QList<CaseSettingRow> rows = {
        {Cases::kProxySetting, "txtProxy", QT_TRANSLATE_NOOP("CaseSettingsDialog", "&Proxy:"), QT_TRANSLATE_NOOP("CaseSettingsDialog", "socks5://HOST:PORT or http://HOST:PORT; empty for none. The case then runs in a program of its own."), CaseSettingRow::Kind::Text, keptProxy},
        {Cases::kUserAgentSetting, "txtUserAgent", QT_TRANSLATE_NOOP("CaseSettingsDialog", "&User agent:"), QT_TRANSLATE_NOOP("CaseSettingsDialog", "What the case's pages tell sites they are; empty for the web engine's own"), CaseSettingRow::Kind::Text, CheckedUserAgent},
        {Cases::kAuthoritySetting, "txtAuthority", QT_TRANSLATE_NOOP("CaseSettingsDialog", "Time-stamp &authority:"), QT_TRANSLATE_NOOP("CaseSettingsDialog", "http:// or https:// address of an RFC 3161 time-stamp authority, which Case > Stamp Now asks; empty for none"), CaseSettingRow::Kind::Text, keptAuthority},
        {Cases::kStampOnCloseSetting, "chkStampOnClose", QT_TRANSLATE_NOOP("CaseSettingsDialog", "&Stamp the case when it is closed and when it is exported"), QT_TRANSLATE_NOOP("CaseSettingsDialog", "Asks the time-stamp authority for a stamp over the case's last record first; a close waits for it a few seconds at most"), CaseSettingRow::Kind::Check, {}},
    };
    // clang-format on
    return rows;
}

CaseSettingsDialog::CaseSettingsDialog(const QString &caseName, Cases::CaseSettings settings,
                                       QWidget *parent)
    : QDialog(parent), m_settings(std::move(settings))
{
    setObjectName(QStringLiteral("CaseSettingsDialog"));
    setWindowTitle(tr("Case Settings - %1").arg(caseName));
    auto *form = new QFormLayout;
    for (const CaseSettingRow &row : CaseSettingRows()) {
        const QString key = QLatin1StringView(row.key);
        QWidget *field = nullptr;
        if (row.kind == CaseSettingRow::Kind::Check) {
            auto *box = new QCheckBox(translated(row.label), this);
            box->setChecked(m_settings.flag(QLatin1StringView(row.key)));
            form->addRow(box);
            field = box;
        } else {
            auto *edit = new QLineEdit(m_settings.value(QLatin1StringView(row.key)), this);
            edit->setPlaceholderText(translated(row.help));
            QLabel *label = PlainLabel(translated(row.label), this);
            label->setBuddy(edit);
            form->addRow(label, edit);
            field = edit;
        }
        field->setObjectName(QLatin1StringView(row.objectName));
        field->setToolTip(PlainToolTip(translated(row.help)));
        m_fields.append(field);
    }
    lblProblem = PlainLabel({}, this);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    lblProblem->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CaseSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CaseSettingsDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lblProblem);
    layout->addWidget(buttons);
    resize(560, sizeHint().height());
}

void CaseSettingsDialog::accept()
{
    Cases::CaseSettings settings = m_settings;
    const QList<CaseSettingRow> &rows = CaseSettingRows();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QLatin1StringView key(rows.at(i).key);
        if (auto *box = qobject_cast<QCheckBox *>(m_fields.at(i))) {
            settings.setFlag(key, box->isChecked());
            continue;
        }
        auto *edit = static_cast<QLineEdit *>(m_fields.at(i));
        try {
            const QString text = edit->text().trimmed();
            settings.setValue(key, rows.at(i).check ? rows.at(i).check(text) : text);
        } catch (const CommandError &error) {
            lblProblem->setText(error.message());
            edit->setFocus();
            return;
        }
    }
    if (const QString problem = settingsProblem(settings); !problem.isEmpty()) {
        lblProblem->setText(problem);
        return;
    }
    m_settings = settings;
    QDialog::accept();
}
