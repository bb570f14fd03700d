// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QTranslator>

// The program's texts and Qt's own (the standard buttons) in the user's language, installed
// for as long as this object lives. The language is the first of the user's languages (the
// locale's: LANGUAGE, LC_ALL, LC_MESSAGES, LANG, which Qt reads once at start) that is English,
// the language the texts are written in, or one the program has a translation for. Needs a
// QCoreApplication.
class Translations
{
public:
    explicit Translations(const QStringList &languages = QLocale().uiLanguages());
    ~Translations();
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // The language chosen ("de"), empty for English.
    QString language() const { return m_language; }

private:
    QTranslator m_program;
    QTranslator m_qt;
    QString m_language;
};
