#include "core/settings/soundsettings.h"

#include <QFile>

#include "core/settings/settingsfile.h"

SoundSettings::SoundSettings(QSettings &store)
{
    const QString name = store.fileName();
    QFile file(name);
    if (store.format() != QSettings::IniFormat || !file.exists()) {
        m_values = &store;
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_problems
            << QStringLiteral("設定ファイル %1 を読めません: %2").arg(name, file.errorString());
        return;
    }
    const SoundSettingsText sound = soundSettingsText(file.readAll());
    for (int line : sound.damagedLines) {
        m_problems << QStringLiteral("設定ファイル %1 の %2 行目を読めないため、無視します。")
                          .arg(name)
                          .arg(line);
    }
    if (sound.damagedLines.isEmpty())
        m_values = &store;
    else
        copySoundLines(name, sound.text);
}

void SoundSettings::copySoundLines(const QString &storeName, const QByteArray &text)
{
    m_folder = std::make_unique<QTemporaryDir>();
    QFile copy(m_folder->filePath(QStringLiteral("Tabilo.conf")));
    if (!m_folder->isValid() || !copy.open(QIODevice::WriteOnly) ||
        copy.write(text) != text.size() || !copy.flush()) {
        m_problems << QStringLiteral("設定ファイル %1 の読める行を写せません: %2")
                          .arg(storeName, copy.errorString());
        return;
    }
    copy.close();
    m_copy = std::make_unique<QSettings>(copy.fileName(), QSettings::IniFormat);
    m_values = m_copy.get();
}
