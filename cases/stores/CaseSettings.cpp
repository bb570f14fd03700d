// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseSettings.h"

#include "CaseStore.h"
#include "FileIo.h"
#include "ServerAddress.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The context of this file's texts in the translations.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Cases)
};

constexpr char kSettingsFile[] = "settings.json";
constexpr qint64 kLargestSettings = 64 * 1024;

[[noreturn]] void unreadable(const QString &file, const QString &reason)
{
    throw Cases::CaseOpenError(
            Tr::tr("The case's settings \"%1\" cannot be read: %2").arg(file, reason));
}

// The file's bytes, never through a link and only from a regular file of a sensible size; null
// when there is no file.
QByteArray readSettingsFile(const QString &file)
{
    const int fd = ::open(QFile::encodeName(file).constData(),
                          O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return {};
        unreadable(file, error == ELOOP ? Tr::tr("it is a link") : SystemErrorText(error));
    }
    QFile device;
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        unreadable(file, Tr::tr("it is not a regular file"));
    }
    if (info.st_size > kLargestSettings) {
        ::close(fd);
        unreadable(file, Tr::tr("it is larger than %1 KiB").arg(kLargestSettings / 1024));
    }
    device.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    QByteArray bytes = device.read(kLargestSettings + 1);
    if (device.error() != QFileDevice::NoError)
        unreadable(file, device.errorString());
    return bytes.isNull() ? QByteArray("") : bytes;
}

} // namespace

namespace Cases {

QString CaseSettingsFile(const QString &location)
{
    if (!IsServerAddress(location))
        return QDir(location).filePath(QLatin1StringView(kSettingsFile));
    // Beside the records that wait for the server, under the same name made from the address.
    const QByteArray key = QCryptographicHash::hash(ParseServerAddress(location).text().toUtf8(),
                                                    QCryptographicHash::Sha256);
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/glenlantern/cases/") + QString::fromLatin1(key.toHex().left(24))
            + u'/' + QLatin1StringView(kSettingsFile);
}

CaseSettings CaseSettings::read(const QString &location)
{
    CaseSettings settings;
    settings.m_file = CaseSettingsFile(location);
    settings.m_makeFolder = IsServerAddress(location);
    const QByteArray bytes = readSettingsFile(settings.m_file);
    if (bytes.isNull())
        return settings;
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        unreadable(settings.m_file, Tr::tr("it holds no JSON object"));
    settings.m_values = document.object();
    return settings;
}

QString CaseSettings::value(QLatin1StringView key) const
{
    return m_values.value(key).toString();
}

void CaseSettings::setValue(QLatin1StringView key, const QString &value)
{
    if (value.isEmpty())
        m_values.remove(key);
    else
        m_values.insert(key, value);
}

bool CaseSettings::flag(QLatin1StringView key, bool fallback) const
{
    const QString text = value(key);
    return text.isEmpty() ? fallback : text == u"true";
}

void CaseSettings::setFlag(QLatin1StringView key, bool on)
{
    setValue(key, on ? QStringLiteral("true") : QStringLiteral("false"));
}

void CaseSettings::save() const
{
    // A server case's folder here is this program's to make; a case folder is never made here.
    if (m_makeFolder) {
        if (const std::optional<QString> problem
            = MakeWritableFolder(QFileInfo(m_file).absolutePath()))
            throw CommandError(*problem);
    }
    // Qt's save writes through a link to where it points: a case from elsewhere could point it
    // out of the folder.
    struct stat info = {};
    if (::lstat(QFile::encodeName(m_file).constData(), &info) == 0 && !S_ISREG(info.st_mode))
        throw CommandError(Tr::tr("The case's settings \"%1\" were not written: it is not a "
                                  "regular file")
                                   .arg(m_file));
    QSaveFile file(m_file);
    const auto fail = [&] {
        throw CommandError(Tr::tr("The case's settings \"%1\" were not written: %2")
                                   .arg(m_file, file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray bytes = QJsonDocument(m_values).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0)
        fail();
    if (!file.commit())
        fail();
}

ProxySetting CaseProxy(const QString &location)
{
    const QString text = CaseSettings::read(location).value(QLatin1StringView(kProxySetting));
    try {
        return ParseProxy(text);
    } catch (const CommandError &error) {
        throw CommandError(Tr::tr("The case's proxy cannot be used: %1").arg(error.message()));
    }
}

QString CaseUserAgent(const QString &location)
{
    return CheckedUserAgent(
            CaseSettings::read(location).value(QLatin1StringView(kUserAgentSetting)));
}

void KeepCaseSettings(const QString &location, const std::optional<ProxySetting> &proxy,
                      const std::optional<QString> &userAgent)
{
    if (!proxy && !userAgent)
        return;
    CaseSettings settings = CaseSettings::read(location);
    if (proxy)
        settings.setValue(QLatin1StringView(kProxySetting),
                          proxy->isNone() ? QString() : proxy->text());
    if (userAgent)
        settings.setValue(QLatin1StringView(kUserAgentSetting), *userAgent);
    settings.save();
}

} // namespace Cases
