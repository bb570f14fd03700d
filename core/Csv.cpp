// SPDX-License-Identifier: GPL-3.0-or-later
#include "Csv.h"

QByteArray CsvField(const QString &text)
{
    QByteArray cell = text.toUtf8();
    if (!cell.isEmpty() && QByteArrayView("=+-@\t\r").contains(cell.front()))
        cell.prepend('\'');
    if (cell.contains(',') || cell.contains('"') || cell.contains('\n') || cell.contains('\r'))
        cell = '"' + cell.replace("\"", "\"\"") + '"';
    return cell;
}

QByteArray CsvRecord(const QStringList &fields)
{
    QByteArray record;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += ',';
        record += CsvField(fields.at(i));
    }
    return record + "\r\n";
}
