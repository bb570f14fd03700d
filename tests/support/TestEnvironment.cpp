// SPDX-License-Identifier: GPL-3.0-or-later
// Every test program gets settings, data and cache folders of its own, empty at its start and
// removed at its end: no test reads or writes the user's, and no run sees an earlier run's.
// The program speaks English, the language the tests compare its texts in, whatever the
// developer's locale; a test that wants another language sets LANGUAGE itself (Language.h).
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

namespace {

QTemporaryDir &folders()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/gl-test-XXXXXX"));
    return dir;
}

void isolate()
{
    const QByteArray root = QFile::encodeName(folders().path());
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    qputenv("LANGUAGE", "en");
    qputenv("LC_ALL", "C.UTF-8");
}

} // namespace

// Before main, so before anything reads a setting.
Q_CONSTRUCTOR_FUNCTION(isolate)
