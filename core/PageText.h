// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The text of a fetched page as hit rules read it (text:WORDS), without a browser: the bytes
// decoded, the markup of an HTML page dropped, its character references decoded.
#include <QByteArray>
#include <QString>
#include <QStringView>

// Every run of white space one blank; none at the ends.
QString CollapseWhiteSpace(QStringView text);

// The body decoded in its character set (a byte-order mark, else the Content-Type's charset,
// else an HTML page's <meta> charset, else UTF-8, or Windows-1252 where it is not valid UTF-8;
// labels as browsers read them). For HTML and XML the tags, comments, scripts, styles and
// templates are dropped (the title stays), a tag that is not inline counts as a blank, and
// character references (&amp; &#233; &#xE9; and HTML 4's names) are decoded; other content
// (JSON, plain text) stays as it is. White space collapsed as CollapseWhiteSpace does.
QString PageText(const QByteArray &body, const QByteArray &contentType);

// The title of an HTML page (its first <title>, read as PageText reads text); empty for other
// content. Looked for in the page's first 64 KiB.
QString PageTitle(const QByteArray &body, const QByteArray &contentType);
// The body decoded as PageText decodes it, with its markup as it came (what html: rules read),
// and its text.
struct PageContent
{
    QString markup;
    QString text;
};
PageContent ReadPage(const QByteArray &body, const QByteArray &contentType);

// HTML as text, by the rules of PageText.
QString HtmlText(QStringView html);
