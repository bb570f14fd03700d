// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The search a page offers: the OpenSearch description its <link rel="search"> names, found in
// the page on view and fetched (engine plugin).
#include "BrowserPane.h"

class QObject;
class QWebEnginePage;

// Calls `done` once, with the document or the reason there is none. Only an http or https
// description of at most 1 MB is fetched, without the page's cookies.
void FetchSiteSearch(QWebEnginePage *page, QObject *context, SiteSearchDone done);
