#include "optionslogic.h"

#include "settingtext.h"
#include "units.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace {
constexpr qsizetype LongestWholePath = 50;
constexpr qsizetype KeptPrefix = 10;
} // namespace

QString FileCaption(const QString& path)
{
    if (path.isEmpty())
        return optionstext::NoFileSelected;
    if (path.size() <= LongestWholePath)
        return path;
    const QFileInfo file(path);
    const QString name = file.isFile() ? file.fileName() : QString();
    return path.left(KeptPrefix) + QStringLiteral(" ...\\") + name;
}

int clampShotClockResetTime(int seconds)
{
    return std::clamp(seconds, ShotClockResetTimeMin, ShotClockResetTimeMax);
}

int clampLEDSelectedWidth(int width)
{
    return std::clamp(width, LEDSelectedWidthMin, LEDSelectedWidthMax);
}

int clampLEDType(int type)
{
    return std::clamp(type, LEDTypeMin, LEDTypeMax);
}

qint16 wholePartOfCaption(const QString& caption, qint16 fallback)
{
    const std::optional<double> number = settingtext::numberFromText(caption);
    return number ? units::toInt16(std::trunc(*number)) : fallback;
}

qint16 roundedCaption(const QString& caption, qint16 fallback)
{
    const std::optional<double> number = settingtext::numberFromText(caption);
    return number ? units::toInt16(*number) : fallback;
}

QString feedOverlayUrl(const QString& listenAddress, int port, const QStringList& ownAddresses)
{
    QString host = listenAddress;
    if (listenAddress == QLatin1String("0.0.0.0")) {
        host = QStringLiteral("127.0.0.1");
        for (const QString& address : ownAddresses) {
            if (!address.startsWith(QLatin1String("127.")) && !address.contains(u':')) {
                host = address;
                break;
            }
        }
    }
    return QStringLiteral("http://%1:%2/overlay").arg(host).arg(port);
}

QString feedControlUrl(const QString& listenAddress, int port, const QStringList& ownAddresses, const QString& token)
{
    QString url = feedOverlayUrl(listenAddress, port, ownAddresses);
    url.chop(int(QStringLiteral("/overlay").size()));
    return url + QStringLiteral("/control#token=") + token;
}

QString newControlToken()
{
    QByteArray bytes(24, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return QString::fromLatin1(bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}
