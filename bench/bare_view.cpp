// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for a step through a list: a list of terms beside a bare QWebEngineView that
// shows the page of the term the arrow keys reach, and nothing else.
//   bare_view <address with |s|> <term>...
#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QUrl>
#include <QWebEngineView>

#include <unistd.h>

int main(int argc, char *argv[])
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 3)
        return 2;
    const QString address = arguments.at(1);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare View"));
    window.setGeometry(191, 101, 616, 491);
    auto *list = new QListWidget;
    list->addItems(arguments.mid(2));
    list->setFixedWidth(105);
    auto *view = new QWebEngineView;
    auto *layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 24, 0, 23); // where the program has its menu and status bars
    layout->addWidget(list);
    layout->addWidget(view, 1);
    QObject::connect(list, &QListWidget::currentTextChanged, view, [&](const QString &term) {
        QString target = address;
        view->setUrl(QUrl(target.replace(QStringLiteral("|s|"), term)));
    });
    list->setFocus();
    window.show();
    return app.exec();
}
