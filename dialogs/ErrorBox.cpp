// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorBox.h"

#include "Error.h"
#include "MessageBoxes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace {

// The later errors listed under Show Details; the rest are only counted.
constexpr int kListedLater = 50;

class ErrorBox : public PlainMessageBox
{
    Q_DECLARE_TR_FUNCTIONS(ErrorBox)

public:
    ErrorBox(QWidget *parent, const QString &message)
        : PlainMessageBox(Critical, QApplication::applicationName(), ErrorBoxText(message), Ok,
                          parent),
          m_first(ErrorBoxText(message))
    {
        setObjectName(QStringLiteral("errorBox"));
    }

    void add(const QString &message)
    {
        ++m_more;
        if (m_more <= kListedLater)
            m_later.append(ErrorBoxText(message));
        // Thousands may come at once: the box is laid out again once they are in.
        if (!m_updatePending) {
            m_updatePending = true;
            QTimer::singleShot(0, this, [this] { showLater(); });
        }
    }

private:
    void showLater()
    {
        m_updatePending = false;
        setText(m_first + QStringLiteral("\n\n") + tr("and %Ln more", nullptr, m_more));
        QStringList details = m_later;
        if (m_more > kListedLater)
            details.append(QStringLiteral("\u2026"));
        setDetailedText(details.join(u'\n'));
    }

    QString m_first;
    QStringList m_later;
    int m_more = 0;
    bool m_updatePending = false;
};

QPointer<ErrorBox> &openBox()
{
    static QPointer<ErrorBox> box;
    return box;
}

} // namespace

void ShowErrorBox(QWidget *parent, const QString &message)
{
    if (openBox())
        return openBox()->add(message);
    ErrorBox box(parent, message);
    openBox() = &box;
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void ShowErrorNotice(QWidget *parent, const QString &message)
{
    if (openBox())
        return openBox()->add(message);
    auto *box = new ErrorBox(parent, message);
    openBox() = box;
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}
