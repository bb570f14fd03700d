// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace {

// Where lrelease's output is compiled in (core/CMakeLists.txt).
const QString kProgramFolder = QStringLiteral(":/i18n");

bool isEnglish(const QString &language)
{
    return language == u"C" || language == u"POSIX" || language == u"en"
            || language.startsWith(u"en_");
}

} // namespace

Translations::Translations(const QStringList &languages)
{
    for (QString language : languages) {
        language.replace(u'-', u'_');
        if (isEnglish(language))
            return;
        // "de_AT" finds glenlantern_de when there is no glenlantern_de_AT.
        if (m_program.load(QStringLiteral("glenlantern_") + language, kProgramFolder)) {
            m_language = m_program.language();
            break;
        }
    }
    if (m_language.isEmpty())
        return;
    QCoreApplication::installTranslator(&m_program);
    if (m_qt.load(QStringLiteral("qtbase_") + m_language,
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qt);
}

Translations::~Translations()
{
    QCoreApplication::removeTranslator(&m_qt);
    QCoreApplication::removeTranslator(&m_program);
}
