// SPDX-License-Identifier: GPL-3.0-or-later
// The window's result matrix, timed from its start until its last cell is filled: run by
// matrix.py against its local servers. Arguments: the service list and the term list.
#include "EntryList.h"
#include "MatrixJob.h"
#include "NetworkPageLoader.h"
#include "QtPrompts.h"
#include "ResultMatrix.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: matrix_window SERVICES TERMS\n");
        return 2;
    }
    MatrixSearch search;
    search.services = MatrixServices(ReadListLines(QString::fromLocal8Bit(argv[1])), {});
    search.terms = MatrixTerms(ReadListLines(QString::fromLocal8Bit(argv[2])));
    for (qsizetype i = 0; i < search.services.size(); ++i)
        search.serviceRows.append(i);
    for (qsizetype i = 0; i < search.terms.size(); ++i)
        search.termRows.append(i);
    QtPrompts prompts;
    MatrixLimits limits;
    limits.pauseMs = 0; // as the job without a window is timed: the limits at once stay
    TfrmMatrix window(search, std::make_unique<NetworkPageLoader>(), prompts, {}, limits);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    QElapsedTimer clock;
    QObject::connect(&window, &TfrmMatrix::finished, &app, [&] {
        std::printf("%lld %lld\n", clock.elapsed(), qlonglong(window.Model().doneCount()));
        app.quit();
    });
    clock.start();
    window.Start();
    return app.exec();
}
