#pragma once

#include <memory>

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

// The values of the store that can be trusted. A store file with damaged
// lines is read from a copy of its sound lines, so that one damaged line
// loses its own key alone.
class SoundSettings
{
  public:
    explicit SoundSettings(QSettings &store);
    SoundSettings(const SoundSettings &) = delete;
    SoundSettings &operator=(const SoundSettings &) = delete;

    // The store itself, or the copy of its sound lines when it has damaged
    // ones. Nothing when the file could not be read or copied.
    QSettings *values() const { return m_values; }
    // The damaged lines and what could not be read, for the error log.
    const QStringList &problems() const { return m_problems; }

  private:
    void copySoundLines(const QString &storeName, const QByteArray &text);

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QSettings> m_copy;
    QSettings *m_values = nullptr;
    QStringList m_problems;
};
