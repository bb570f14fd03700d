// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts of a page saved as MHTML (multipart/related, as Qt WebEngine writes it): each with
// its address (Content-Location), its type and its bytes decoded, so that an archive can serve
// the page, its images and its styles each under its own address.
#include <QByteArray>
#include <QList>
#include <QString>

namespace Cases {

struct MhtmlPart
{
    QString address;  // Content-Location: an http or https address
    QByteArray type;  // Content-Type, checked to be a media type; application/octet-stream else
    QByteArray bytes; // the body, its transfer encoding undone
};

// The parts with an http or https address, in the file's order; none when the bytes are not
// MHTML. A part that cannot be read is passed over: the file itself stays whole elsewhere.
QList<MhtmlPart> MhtmlParts(const QByteArray &mhtml);

// A media type as a header may carry it (type/subtype and parameters, printable ASCII); empty
// when the text is anything else.
QByteArray CheckedMediaType(const QByteArray &text);

} // namespace Cases
