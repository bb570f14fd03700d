// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF writer behind notes.
#include "Rtf.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

// What one run of text looks like, in the terms RTF writes.
struct RunLook
{
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
    int foreground = 0; // colour table index, 0 for the automatic colour
    int background = 0;
    bool operator==(const RunLook &) const = default;
};

class RtfWriter
{
public:
    explicit RtfWriter(const QTextDocument &document)
        : m_document(document), m_base(document.defaultFont())
    { }

    QByteArray write()
    {
        collectTables();
        m_out.reserve(qsizetype(m_document.characterCount()) + 4096);
        m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\r\n{\\fonttbl";
        for (qsizetype i = 0; i < m_fonts.size(); ++i) {
            m_out += "{\\f";
            number(int(i));
            m_out += "\\fnil\\fcharset0 ";
            QString name = m_fonts.at(i);
            name.remove(u';'); // ';' ends a font table entry and has no escape
            text(name);
            m_out += ";}";
        }
        m_out += "}\r\n{\\colortbl ;";
        for (QRgb rgb : std::as_const(m_colours)) {
            m_out += "\\red";
            number(qRed(rgb));
            m_out += "\\green";
            number(qGreen(rgb));
            m_out += "\\blue";
            number(qBlue(rgb));
            m_out += ';';
        }
        m_out += "}\r\n{\\*\\generator GlenLantern;}\\viewkind4\\uc1\r\n";

        bool first = true;
        RunLook last;
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            m_out += "\\pard";
            const Qt::Alignment align = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
            if (align & Qt::AlignHCenter)
                m_out += "\\qc";
            else if (align & Qt::AlignJustify)
                m_out += "\\qj";
            else if (align & Qt::AlignRight)
                m_out += "\\qr";
            m_out += ' '; // ends the control word before the text that follows
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (!fragment.isValid())
                    continue;
                const QTextCharFormat format = fragment.charFormat();
                const RunLook look = m_looks.value(fragment.charFormatIndex());
                if (first || !(look == last)) {
                    characterFormat(look);
                    last = look;
                    first = false;
                }
                const bool object = format.objectType() != QTextFormat::NoObject;
                text(fragment.text(), object);
            }
            m_out += "\\par\r\n";
        }
        m_out += "}\r\n";
        return m_out;
    }

private:
    RunLook lookOf(const QTextCharFormat &format)
    {
        RunLook look;
        const QFont font = format.font().resolve(m_base);
        look.font = int(m_fontIndex.value(font.family(), 0));
        qreal points = font.pointSizeF();
        if (points <= 0)
            points = font.pixelSize() > 0 ? font.pixelSize() * 0.75 : 12.0;
        look.halfPoints = std::clamp(qRound(points * 2), 2, 3276);
        look.bold = font.weight() > QFont::Medium;
        look.italic = font.italic();
        look.strike = font.strikeOut();
        look.underline = format.underlineStyle();
        if (look.underline == QTextCharFormat::NoUnderline && font.underline())
            look.underline = QTextCharFormat::SingleUnderline;
        look.vertical = format.verticalAlignment();
        if (std::optional<QRgb> c = solidColour(format, QTextFormat::ForegroundBrush))
            look.foreground = int(m_colourIndex.value(*c));
        if (std::optional<QRgb> c = solidColour(format, QTextFormat::BackgroundBrush))
            look.background = int(m_colourIndex.value(*c));
        return look;
    }

    static std::optional<QRgb> solidColour(const QTextCharFormat &format, int property)
    {
        if (!format.hasProperty(property))
            return std::nullopt;
        const QBrush brush = format.brushProperty(property);
        if (brush.style() == Qt::NoBrush)
            return std::nullopt;
        return brush.color().rgb() | 0xFF000000u;
    }

    void collectTables()
    {
        m_fontIndex.insert(m_base.family(), 0);
        m_fonts.append(m_base.family());
        // Runs of one format share a format index: each format is looked at once, and only
        // those the text uses make it into the tables.
        for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const int index = it.fragment().charFormatIndex();
                if (m_looks.contains(index))
                    continue;
                const QTextCharFormat format = it.fragment().charFormat();
                const QString family = format.font().resolve(m_base).family();
                if (!m_fontIndex.contains(family)) {
                    m_fontIndex.insert(family, m_fonts.size());
                    m_fonts.append(family);
                }
                for (int property :
                     {int(QTextFormat::ForegroundBrush), int(QTextFormat::BackgroundBrush)}) {
                    const std::optional<QRgb> rgb = solidColour(format, property);
                    if (rgb && !m_colourIndex.contains(*rgb)) {
                        m_colours.append(*rgb);
                        m_colourIndex.insert(*rgb, m_colours.size()); // 0 is the automatic colour
                    }
                }
                m_looks.insert(index, lookOf(format));
            }
        }
    }

    void characterFormat(const RunLook &look)
    {
        m_out += "\\plain\\f";
        number(look.font);
        m_out += "\\fs";
        number(look.halfPoints);
        if (look.bold)
            m_out += "\\b";
        if (look.italic)
            m_out += "\\i";
        switch (look.underline) {
        case QTextCharFormat::NoUnderline:
            break;
        case QTextCharFormat::DashUnderline:
            m_out += "\\uldash";
            break;
        case QTextCharFormat::DotLine:
            m_out += "\\uld";
            break;
        case QTextCharFormat::DashDotLine:
            m_out += "\\uldashd";
            break;
        case QTextCharFormat::DashDotDotLine:
            m_out += "\\uldashdd";
            break;
        case QTextCharFormat::WaveUnderline:
            m_out += "\\ulwave";
            break;
        default:
            m_out += "\\ul";
            break;
        }
        if (look.strike)
            m_out += "\\strike";
        if (look.vertical == QTextCharFormat::AlignSuperScript)
            m_out += "\\super";
        else if (look.vertical == QTextCharFormat::AlignSubScript)
            m_out += "\\sub";
        if (look.foreground) {
            m_out += "\\cf";
            number(look.foreground);
        }
        if (look.background) {
            // Word and LibreOffice read \highlight; WordPad and older readers read \cb.
            m_out += "\\highlight";
            number(look.background);
            m_out += "\\cb";
            number(look.background);
        }
        m_out += ' ';
    }

    void text(const QString &s, bool object = false)
    {
        for (const QChar qc : s) {
            const char16_t c = qc.unicode();
            if (c >= 0x20 && c < 0x80) {
                if (c == u'\\' || c == u'{' || c == u'}')
                    m_out += '\\';
                m_out += char(c);
            } else if (c == u'\t') {
                m_out += "\\tab ";
            } else if (c == 0x2028) {
                m_out += "\\line ";
            } else if (c < 0x20) {
                m_out += "\\'";
                m_out += "0123456789abcdef"[c >> 4];
                m_out += "0123456789abcdef"[c & 15];
            } else if (c == QChar::ObjectReplacementCharacter && object) {
                // An image or other object: not kept in notes.
            } else {
                // The '?' is written as \'3f: some readers take a literal '?' and the word
                // after it for the parameter's tail and drop both.
                m_out += "\\u";
                number(int(int16_t(c)));
                m_out += "\\'3f";
            }
        }
    }

    void number(int n)
    {
        char buffer[16];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
        m_out.append(buffer, result.ptr - buffer);
    }

    const QTextDocument &m_document;
    const QFont m_base;
    QStringList m_fonts;
    QHash<QString, qsizetype> m_fontIndex;
    QList<QRgb> m_colours;
    QHash<QRgb, qsizetype> m_colourIndex;
    QHash<int, RunLook> m_looks; // by format index
    QByteArray m_out;
};

} // namespace

QByteArray WriteRtf(const QTextDocument &document)
{
    return RtfWriter(document).write();
}
