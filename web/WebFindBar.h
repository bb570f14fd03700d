// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The find bar under the browser pane (engine plugin): matches are found as the user types,
// Enter and F3 go to the next one, Shift with them to the one before, Escape closes the bar.
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QWebEngineFindTextResult;
class QWebEnginePage;

class FindBar : public QWidget
{
    Q_OBJECT

public:
    explicit FindBar(QWidget *parent = nullptr);

    // The page searched: the one on view.
    void setPage(QWebEnginePage *page);
    void open();
    // F3 and Shift+F3: with the bar closed they open it and search again.
    void findAgain(bool backward);
    void close();

Q_SIGNALS:
    void closed();

private:
    void find(bool backward);
    void showResult(const QWebEngineFindTextResult &result);

    QLineEdit *m_edit;
    QLabel *m_result;
    QPointer<QWebEnginePage> m_page;
    int m_searches = 0;
    QTimer m_typing; // a pause in typing before the search starts
};
