// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Interop.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;

// Services > Import Services...: the search engines found in the user's browsers, KDE and
// OpenSearch files, grouped by where they were found. Each row that can be imported has a check
// box; a row that cannot (or whose address is in the list already) is greyed with the reason.
class TfrmImport : public QDialog
{
    Q_OBJECT

public:
    // chooseFile asks for one more file or profile to read ("Read File..."); nothing: cancelled.
    TfrmImport(const ImportReport &found, const QList<QByteArray> &serviceLines,
               std::function<std::optional<QString>()> chooseFile, QWidget *parent = nullptr);

    // The service lines of the rows checked, in their order.
    QList<QByteArray> CheckedLines() const;

    QTreeWidget *tvFound = nullptr;
    QLabel *lblProblems = nullptr;
    QLabel *lblSummary = nullptr;
    QPushButton *btnReadFile = nullptr;
    QPushButton *btnImport = nullptr;

private:
    void add(const ImportReport &found);
    void readFile();
    void updateButtons();

    QList<QByteArray> m_serviceLines;
    QList<FoundService> m_found; // every row, in the order shown
    QStringList m_problems;
    std::function<std::optional<QString>()> m_chooseFile;
};
