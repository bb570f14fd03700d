// SPDX-License-Identifier: GPL-3.0-or-later
#include "QLaunch.h"

#include "DefaultBrowser.h"
#include "MetaSearch.h"
#include "PlainText.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStyle>

#include <algorithm>
#include <climits>

namespace {

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// The widths of the two columns of search types. The box has a fixed size; where the desktop's
// font is too large for every item to show whole, the box's font is made smaller.
QList<int> fitColumns(QGroupBox *box, const QList<SearchType> &types, int perColumn)
{
    const int indicator = box->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth)
            + box->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) + 4;
    const int available = box->width() - 12;
    QFont font = box->font();
    QList<int> widths;
    for (;;) {
        const QFontMetrics metrics(font);
        widths = {0, 0};
        for (int i = 0; i < types.size(); ++i) {
            int &width = widths[i / perColumn];
            width = std::max(width,
                             metrics.horizontalAdvance(SearchTypeCaption(types.at(i))) + indicator);
        }
        if (widths.at(0) + widths.at(1) <= available || font.pointSizeF() <= 6)
            break;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    box->setFont(font);
    widths[1] = available - widths.at(0); // the second column takes the rest
    return widths;
}

const QString kSearchTypeKey = QStringLiteral("QuickLauncher/searchType");

} // namespace

TfrmQLaunch::TfrmQLaunch(Opener opener, MessageShower showMessage, QWidget *parent)
    : QDialog(parent), m_opener(std::move(opener)), m_showMessage(std::move(showMessage))
{
    setObjectName(QStringLiteral("frmQLaunch"));
    setWindowTitle(tr("Quick Launch"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(536, 76);
    move(242, 168);

    lblSearch = PlainLabel(tr("Enter Your Search Term"), this);
    lblSearch->setObjectName(QStringLiteral("lblSearch"));
    lblSearch->move(8, 0);
    lblSearch->adjustSize();

    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setGeometry(8, 16, 200, 19);
    txtSearch->installEventFilter(this);
    // A text longer than a browser can be given is never sent, so the box holds no more; a
    // paste that reaches the end is cut, and the user is told.
    txtSearch->setMaxLength(int(std::min<qsizetype>(LongestProgramArgument(), INT_MAX)));
    connect(txtSearch, &QLineEdit::textEdited, this, &TfrmQLaunch::txtSearchEdited);
    lblSearch->setBuddy(txtSearch); // a screen reader names the box by its label

    rgSearchType = new QGroupBox(tr("Search Type"), this);
    rgSearchType->setObjectName(QStringLiteral("rgSearchType"));
    rgSearchType->setGeometry(216, 0, 257, 73);
    rgSearchType->setFlat(true);
    rgSearchTypeButtons = new QButtonGroup(this);
    // Two columns filled top to bottom, each button a share of the box below its caption.
    const QList<SearchType> &types = SearchTypes();
    const int columns = 2;
    const int perColumn = int((types.size() + columns - 1) / columns);
    const QList<int> widths = fitColumns(rgSearchType, types, perColumn);
    const int textHeight = rgSearchType->fontMetrics().height();
    const int room = rgSearchType->height() - textHeight - 5;
    const int buttonHeight = room / perColumn;
    const int top = textHeight + 1 + (room % perColumn) / 2;
    for (int i = 0; i < types.size(); ++i) {
        auto *button = new QRadioButton(SearchTypeCaption(types.at(i)), rgSearchType);
        button->setObjectName(QStringLiteral("rbSearchType%1").arg(i));
        const int column = i / perColumn;
        const int left = 8 + (column == 0 ? 0 : widths.at(0));
        button->setGeometry(left, (i % perColumn) * buttonHeight + top, widths.at(column),
                            buttonHeight);
        rgSearchTypeButtons->addButton(button, i);
    }
    // The search type chosen last, else the first.
    const int remembered = QSettings().value(kSearchTypeKey, 0).toInt();
    SetSearchTypeIndex(remembered >= 0 && remembered < types.size() ? remembered : 0);
    connect(rgSearchTypeButtons, &QButtonGroup::idToggled, this, [](int id, bool checked) {
        if (checked)
            QSettings().setValue(kSearchTypeKey, id);
    });

    btnGo = new QPushButton(tr("Go!"), this);
    btnGo->setObjectName(QStringLiteral("btnGo"));
    btnGo->setGeometry(480, 8, 50, 25);
    // Enter is handled here, never by a default button: it must neither close the window nor
    // launch twice.
    btnGo->setAutoDefault(false);
    btnGo->setDefault(false);
    connect(btnGo, &QPushButton::clicked, this, &TfrmQLaunch::btnGoClick);

    setTabOrder(btnGo, txtSearch);
    setTabOrder(txtSearch, rgSearchTypeButtons->button(0));
    for (int i = 1; i < types.size(); ++i)
        setTabOrder(rgSearchTypeButtons->button(i - 1), rgSearchTypeButtons->button(i));
}

int TfrmQLaunch::SearchTypeIndex() const
{
    return rgSearchTypeButtons->checkedId();
}

void TfrmQLaunch::SetSearchTypeIndex(int index)
{
    rgSearchTypeButtons->button(index)->setChecked(true);
}

QString TfrmQLaunch::Address() const
{
    return MetaSearchAddress(txtSearch->text(), SearchTypes().at(SearchTypeIndex()).code);
}

void TfrmQLaunch::btnGoClick()
{
    // Only an empty box is nothing to search: blanks are sent as they are.
    if (txtSearch->text().isEmpty())
        return;
    // The window stays as it is; a browser that could not be started is reported.
    QString why;
    if (!m_opener(Address(), &why))
        m_showMessage(this, why.isEmpty() ? tr("The web browser could not be started") : why);
}

void TfrmQLaunch::txtSearchEdited()
{
    if (txtSearch->text().size() >= txtSearch->maxLength())
        m_showMessage(this,
                      tr("The search text was cut at %1 characters, the most "
                         "a web browser can be sent")
                              .arg(txtSearch->maxLength()));
}

void TfrmQLaunch::txtSearchKeyDown(QKeyEvent *event)
{
    if (isEnter(event))
        btnGoClick();
}

bool TfrmQLaunch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtSearch && event->type() == QEvent::KeyPress)
        txtSearchKeyDown(static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

void TfrmQLaunch::keyPressEvent(QKeyEvent *event)
{
    // Enter reaches the window when the edit box or the button leaves it unhandled. On the
    // button it presses the button; it never closes the window.
    if (isEnter(event)) {
        if (focusWidget() == btnGo)
            btnGoClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmQLaunch::showEvent(QShowEvent *event)
{
    // Ready for typing as soon as it appears, the text and choice as they were left.
    txtSearch->setFocus();
    QDialog::showEvent(event);
}
