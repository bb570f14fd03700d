// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the window asks the browser pane to show, and what became of it (QtCore only: the
// load-ahead scheduler reads them without the engine).
#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

// A search for the pane: its address and, for a service that sends its searches as a form, the
// body to post there.
struct PaneRequest
{
    PaneRequest() = default;
    PaneRequest(const QUrl &url, const QByteArray &postData = {}, const QString &title = {},
                int id = 0)
        : url(url), postData(postData), title(title), id(id)
    {
    }

    QUrl url;
    // Null for GET; else sent by POST as application/x-www-form-urlencoded (an empty body is an
    // empty array that is not null).
    QByteArray postData;
    // A tab's name (Search All); empty for the page's own title.
    QString title;
    // The window's number for the search, told back with what became of it.
    int id = 0;
    // The service's own request headers (header=), sent with the search.
    QList<std::pair<QByteArray, QByteArray>> headers;

    bool isEmpty() const { return url.isEmpty(); }
    // A form sent by POST: sent again only when the user agrees.
    bool isPost() const { return !postData.isNull(); }
    // The same search: the same address with the same body.
    bool sameSearch(const PaneRequest &other) const
    {
        return url == other.url && isPost() == other.isPost() && postData == other.postData;
    }
};

// A search's page as the user sees it: when it comes on view, and when its load ends there.
struct PaneOutcome
{
    enum State { Loading, Loaded, Failed };
    int id = 0;
    QUrl requested;
    // Where the page is after its redirects.
    QUrl url;
    QString title;
    State state = Loading;
    // The HTTP status of a page that came (Loaded), also when it says 404 or 500; 0 else.
    int status = 0;
};

// What a capture of a page writes: the whole page as MHTML, the page printed to PDF, or a PNG
// of what the pane shows.
enum class CaptureFormat { Mhtml, Pdf, Png };

struct CaptureFile
{
    CaptureFormat format = CaptureFormat::Mhtml;
    QString path;
};

// One file of a capture, written or not.
struct CaptureOutcome
{
    int id = 0; // the search whose page was captured
    CaptureFormat format = CaptureFormat::Mhtml;
    QString path;
    QString error; // why nothing was written; empty when the file is there
};
