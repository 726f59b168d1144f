#pragma once

#include <optional>

#include <QSettings>
#include <QString>

// The [Settings] group of the store, with keys matched without regard to
// case (an INI file's keys are case-sensitive on this platform).
class SettingsGroup
{
  public:
    // The only group the program keeps its keys in.
    static const QString name;

    explicit SettingsGroup(QSettings &store);
    ~SettingsGroup();
    SettingsGroup(const SettingsGroup &) = delete;
    SettingsGroup &operator=(const SettingsGroup &) = delete;

    // The stored text of `key` in any spelling; the exact spelling wins when
    // several are stored. Nothing when the key is missing or holds a value
    // that is not text.
    std::optional<QString> text(const QString &key) const;
    bool contains(const QString &key) const;

    // Stores `value` under `writeName` and removes every other spelling.
    void setText(const QString &writeName, const QString &value);

  private:
    QString storedSpelling(const QString &key) const;

    QSettings &m_store;
};
