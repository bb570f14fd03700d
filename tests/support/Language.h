// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A test that runs the program in another language: the languages as LANGUAGE lists them
// ("fr:de"), installed as the program installs them at start-up and removed at the end, so the
// next test speaks English again (TestEnvironment.cpp). Qt reads LANGUAGE itself only once, at
// start; tests/e2e/test_commandline.py starts the program with it.
#include "Translations.h"

#include <QByteArray>
#include <QString>

class LanguageScope
{
public:
    explicit LanguageScope(const QByteArray &languages)
        : m_translations(QString::fromLatin1(languages).split(u':'))
    { }

    QString language() const { return m_translations.language(); }

private:
    Translations m_translations;
};
