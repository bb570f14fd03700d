// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditService.h"

#include "Error.h"
#include "GrowToFit.h"
#include "PlainText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *hint(const QString &text)
{
    QLabel *label = PlainLabel(text, nullptr);
    label->setWordWrap(true);
    label->setEnabled(false); // greyed, as a hint under a field is
    return label;
}

} // namespace

TfrmEditService::TfrmEditService(const QByteArray &line, LineCharset list, QWidget *parent)
    : QDialog(parent), m_line(line), m_list(list), m_read(ReadServiceFields(line))
{
    setObjectName(QStringLiteral("frmEditService"));
    setWindowTitle(tr("Edit Service"));
    auto *form = new QFormLayout;
    txtName = addField(form, tr("&Name:"), "txtName", m_read.name);
    txtAddress = addField(form, tr("&Address:"), "txtAddress", m_read.address);
    form->addRow(QString(), hint(tr("|s| in the address or the form's body stands for the term.")));
    txtGroups = addField(form, tr("&Groups:"), "txtGroups", m_read.groups);
    txtGroups->setPlaceholderText(tr("names between commas"));
    // Ticked, the search is sent as a form with the body beside it.
    chkPost = new QCheckBox(tr("Form (&POST) body:"));
    chkPost->setObjectName(QStringLiteral("chkPost"));
    chkPost->setChecked(m_read.post.has_value());
    txtPost = new QLineEdit(m_read.post.value_or(QString()));
    txtPost->setObjectName(QStringLiteral("txtPost"));
    txtPost->setAccessibleName(tr("Form body"));
    txtPost->setEnabled(chkPost->isChecked());
    connect(chkPost, &QCheckBox::toggled, txtPost, &QWidget::setEnabled);
    form->addRow(chkPost, txtPost);
    txtFound = addField(form, tr("&Found when:"), "txtFound", m_read.found);
    txtMissing = addField(form, tr("&Missing when:"), "txtMissing", m_read.missing);
    form->addRow(QString(), hint(tr("A rule: status:200, text:words or url:part; & joins what "
                                    "must all hold, | what may, ! turns one round.")));
    if (!m_read.others.isEmpty()) {
        QStringList others;
        for (const auto &[key, value] : std::as_const(m_read.others))
            others.append(key + u'=' + value);
        QLabel *kept = PlainLabel(others.join(u'\n'), nullptr);
        kept->setObjectName(QStringLiteral("lblOthers"));
        kept->setWordWrap(true);
        form->addRow(tr("Kept as they are:"), kept);
    }
    lblProblem = PlainLabel({}, this);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    lblProblem->setWordWrap(true);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &TfrmEditService::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    if (LineCharsetOf(line, list) == LineCharset::Windows1252)
        layout->addWidget(hint(tr("The list comes from Windows: the line stays in "
                                  "Windows-1252.")));
    layout->addWidget(lblProblem);
    layout->addWidget(m_buttons);
    for (QLineEdit *edit : {txtName, txtAddress, txtGroups, txtPost, txtFound, txtMissing})
        connect(edit, &QLineEdit::textChanged, this, &TfrmEditService::check);
    connect(chkPost, &QCheckBox::toggled, this, &TfrmEditService::check);
    check();
    resize(600, sizeHint().height());
}

QLineEdit *TfrmEditService::addField(QFormLayout *form, const QString &label, const char *name,
                                     const QString &text)
{
    auto *edit = new QLineEdit(text);
    edit->setObjectName(QString::fromLatin1(name));
    QLabel *caption = PlainLabel(label, nullptr);
    caption->setBuddy(edit);
    form->addRow(caption, edit);
    return edit;
}

ServiceFields TfrmEditService::typed() const
{
    ServiceFields fields = m_read;
    fields.name = txtName->text();
    fields.address = txtAddress->text();
    fields.groups = txtGroups->text();
    fields.post = chkPost->isChecked() ? std::optional(txtPost->text()) : std::nullopt;
    fields.found = txtFound->text();
    fields.missing = txtMissing->text();
    return fields;
}

bool TfrmEditService::check()
{
    QString problem;
    try {
        m_written = WriteServiceFields(m_line, typed(), m_list);
    } catch (const CommandError &error) {
        problem = error.message();
    }
    lblProblem->setText(problem);
    lblProblem->setVisible(!problem.isEmpty());
    GrowToFit(this);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
    return problem.isEmpty();
}

void TfrmEditService::accept()
{
    if (check())
        QDialog::accept();
}
