// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LineCharset.h"
#include "ServiceEdit.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;

// Services > Edit Service: one service line's name, address, groups, form body and hit rules as
// fields, the attributes the program does not know shown and kept as they are. OK is greyed
// while the fields make no line, and the reason is shown; what the user did not change keeps
// its bytes, what they typed goes in the line's own encoding.
class TfrmEditService : public QDialog
{
    Q_OBJECT

public:
    TfrmEditService(const QByteArray &line, LineCharset list, QWidget *parent = nullptr);

    // The line the fields make, once accepted.
    QByteArray line() const { return m_written; }
    void accept() override;

private:
    QLineEdit *addField(QFormLayout *form, const QString &label, const char *name,
                        const QString &text);
    ServiceFields typed() const;
    // Whether the fields make a line; the reason beside them when not.
    bool check();

    QByteArray m_line;
    LineCharset m_list;
    ServiceFields m_read;
    QByteArray m_written;
    QLineEdit *txtName = nullptr;
    QLineEdit *txtAddress = nullptr;
    QLineEdit *txtGroups = nullptr;
    QCheckBox *chkPost = nullptr;
    QLineEdit *txtPost = nullptr;
    QLineEdit *txtFound = nullptr;
    QLineEdit *txtMissing = nullptr;
    QLabel *lblProblem = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
