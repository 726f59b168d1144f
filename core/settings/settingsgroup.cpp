#include "core/settings/settingsgroup.h"

#include <QStringList>
#include <QVariant>

const QString SettingsGroup::name = QStringLiteral("Settings");

SettingsGroup::SettingsGroup(QSettings &store) : m_store(store)
{
    m_store.beginGroup(name);
}

SettingsGroup::~SettingsGroup()
{
    m_store.endGroup();
}

QString SettingsGroup::storedSpelling(const QString &key) const
{
    QString found;
    for (const QString &stored : m_store.childKeys()) {
        if (stored == key)
            return stored;
        if (found.isEmpty() && stored.compare(key, Qt::CaseInsensitive) == 0)
            found = stored;
    }
    return found;
}

bool SettingsGroup::contains(const QString &key) const
{
    return !storedSpelling(key).isEmpty();
}

std::optional<QString> SettingsGroup::text(const QString &key) const
{
    const QString spelling = storedSpelling(key);
    if (spelling.isEmpty())
        return std::nullopt;
    const QVariant value = m_store.value(spelling);
    // An INI value with an unquoted comma ("10,5") comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return std::nullopt;
}

void SettingsGroup::setText(const QString &writeName, const QString &value)
{
    for (const QString &stored : m_store.childKeys()) {
        if (stored != writeName && stored.compare(writeName, Qt::CaseInsensitive) == 0)
            m_store.remove(stored);
    }
    m_store.setValue(writeName, value);
}
