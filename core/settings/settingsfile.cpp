#include "core/settings/settingsfile.h"

#include <QFile>
#include <QStringDecoder>

namespace
{
// A settings file is a few kilobytes; anything this large is not one.
constexpr qint64 maximumStoreSize = 1024 * 1024;

bool isWholeLine(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('#'))
        return true;
    if (trimmed.startsWith('['))
        return trimmed.endsWith(']');
    return trimmed.contains('=');
}
} // namespace

QString damageOfSettingsText(const QByteArray &text)
{
    if (text.isEmpty())
        return QString();
    if (text.contains('\0'))
        return QStringLiteral("設定ファイルに文字以外のデータが含まれています。");
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(text);
    if (decoder.hasError())
        return QStringLiteral("設定ファイルの文字コードが正しくありません。");
    if (!text.endsWith('\n'))
        return QStringLiteral("設定ファイルが途中で切れています。");
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray &line : lines) {
        if (!isWholeLine(line))
            return QStringLiteral("設定ファイルに読めない行があります: %1")
                .arg(QString::fromUtf8(line.trimmed()));
    }
    return QString();
}

QString damageOfSettingsStore(QSettings &store)
{
    const QString name = store.fileName();
    switch (store.status()) {
    case QSettings::NoError:
        break;
    case QSettings::AccessError:
        return QStringLiteral("設定ファイル %1 を読み書きできません。").arg(name);
    case QSettings::FormatError:
        return QStringLiteral("設定ファイル %1 の形式が正しくありません。").arg(name);
    }
    QFile file(name);
    if (store.format() != QSettings::IniFormat || !file.exists())
        return QString();
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("設定ファイル %1 を読めません: %2").arg(name, file.errorString());
    if (file.size() > maximumStoreSize)
        return QStringLiteral("設定ファイル %1 が大きすぎます。").arg(name);
    const QString damage = damageOfSettingsText(file.readAll());
    if (damage.isEmpty())
        return QString();
    return QStringLiteral("%1 (%2)").arg(damage, name);
}
