#include "core/settings/settings.h"

#include <utility>

#include <QList>
#include <QStandardPaths>
#include <QVariant>

#include "core/settings/settingsgroup.h"
#include "core/settings/settingstext.h"
#include "core/settings/soundsettings.h"

namespace
{

// Reads keys of one group into values that already hold their defaults, and
// notes every stored value that had to be replaced by its default.
class SettingsReader
{
  public:
    explicit SettingsReader(QSettings &store) : m_group(store) {}

    void read(const QString &key, QString &value)
    {
        if (!m_group.contains(key))
            return;
        if (const std::optional<QString> text = m_group.text(key))
            value = *text;
        else
            m_problems << problem(key, QString());
    }

    template <typename T>
    void read(const QString &key, T &value, std::optional<T> (*parse)(const QString &))
    {
        const std::optional<QString> text = m_group.text(key);
        if (!text) {
            if (m_group.contains(key))
                m_problems << problem(key, QString());
            return;
        }
        if (const std::optional<T> parsed = parse(*text))
            value = *parsed;
        else
            m_problems << problem(key, *text);
    }

    void read(const QString &key, qint16 &value) { read(key, value, parseInt16); }
    void read(const QString &key, qint32 &value) { read(key, value, parseInt32); }
    void read(const QString &key, float &value) { read(key, value, parseFloat); }
    void read(const QString &key, double &value) { read(key, value, parseDouble); }
    void read(const QString &key, bool &value) { read(key, value, parseBool); }

    QStringList problems() const { return m_problems; }

  private:
    static QString problem(const QString &key, const QString &text)
    {
        return QStringLiteral("設定 %1 の値 \"%2\" を読めないため、既定値を使います。")
            .arg(key, text);
    }

    SettingsGroup m_group;
    QStringList m_problems;
};

QString withoutTrailingSlash(const QString &folder)
{
    if (folder.size() > 1 && folder.endsWith(u'/'))
        return folder.chopped(1);
    return folder;
}

// Before a write the store is rebuilt from the values that can be read back:
// a damaged file gives way to its sound lines, so that QSettings does not
// write back what the damage spread over the lines after them, and keys that
// QSettings lists but cannot look up ("/", "a/") are dropped, as it would
// write them in a form it cannot read. A file that cannot be read is not
// written over.
QStringList prepareForWriting(QSettings &store)
{
    const SoundSettings sound(store);
    if (!sound.values()) {
        return sound.problems() +
               QStringList{QStringLiteral("設定ファイル %1 を読めないため、書き込みません。")
                               .arg(store.fileName())};
    }
    QList<std::pair<QString, QVariant>> entries;
    for (const QString &key : sound.values()->allKeys()) {
        const QVariant value = sound.values()->value(key);
        if (value.isValid())
            entries.append({key, value});
    }
    store.clear();
    for (const auto &[key, value] : entries)
        store.setValue(key, value);
    return {};
}

void readStartUpOrder(SettingsReader &in, AppSettings &s)
{
    in.read(QStringLiteral("MainLeft"), s.placement.left);
    in.read(QStringLiteral("MainTop"), s.placement.top);
    in.read(QStringLiteral("MainWidth"), s.placement.width);
    in.read(QStringLiteral("MainHeight"), s.placement.height);

    in.read(QStringLiteral("FilePath"), s.filePath);

    GeneralSettings &g = s.general;
    in.read(QStringLiteral("InitDir"), g.InitDir);
    in.read(QStringLiteral("InitDirSW"), g.InitDirSW);
    in.read(QStringLiteral("gNoVisible"), g.gNoVisible);
    in.read(QStringLiteral("gVisibleMode"), g.gVisibleMode);
    in.read(QStringLiteral("gThumbSize"), g.gThumbSize);
    in.read(QStringLiteral("gAutoSizeFit"), g.gAutoSizeFit);
    in.read(QStringLiteral("Hottrack"), g.Hottrack);
    in.read(QStringLiteral("TabOrder"), g.TabOrder);
    in.read(QStringLiteral("Jpg2Exif"), g.Jpg2Exif);
    in.read(QStringLiteral("RotBackUp"), g.RotBackUp);
    in.read(QStringLiteral("RotBackUpFolder"), g.RotBackUpFolder);
    in.read(QStringLiteral("RotThumbVal"), g.RotThumbVal);
    in.read(QStringLiteral("RotThumbBackColor"), g.RotThumbBackColor);
    in.read(QStringLiteral("AutoOrient"), g.AutoOrient);

    ExProgramSettings &x = s.exProgram;
    for (int i = 0; i < int(x.ExProgram.size()); ++i)
        in.read(QStringLiteral("ExProgram%1").arg(i), x.ExProgram[i]);
    in.read(QStringLiteral("ExProDirect"), x.ExProDirect);
    in.read(QStringLiteral("ExProSW"), x.ExProSW);
    in.read(QStringLiteral("gDefExPro"), x.gDefExPro);

    in.read(QStringLiteral("DataWidth"), s.dataWidth);

    in.read(QStringLiteral("DataFont"), s.dataFont.name);
    in.read(QStringLiteral("DataSize"), s.dataFont.size);
    in.read(QStringLiteral("DataBold"), s.dataFont.bold);
    in.read(QStringLiteral("DataItalic"), s.dataFont.italic);

    ThumbListLook &t = s.thumbLook;
    in.read(QStringLiteral("gThumbLabelFont"), t.name);
    in.read(QStringLiteral("gThumbLabelSize"), t.size);
    in.read(QStringLiteral("gThumbLabelBold"), t.bold);
    in.read(QStringLiteral("gThumbLabelItalic"), t.italic);
    in.read(QStringLiteral("ThumbColor"), t.ThumbColor);

    SlideSettings &sl = s.slide;
    in.read(QStringLiteral("SlideAll"), sl.SlideAll);
    in.read(QStringLiteral("SlideEffectMain"), sl.SlideEffectMain);
    in.read(QStringLiteral("SlideEffectSub"), sl.SlideEffectSub);
    in.read(QStringLiteral("SlideEffectBias"), sl.SlideEffectBias);
    in.read(QStringLiteral("SlideInterval"), sl.SlideInterval);
    in.read(QStringLiteral("SlideOrder"), sl.SlideOrder);
    in.read(QStringLiteral("SlideBackColor"), sl.SlideBackColor);
    in.read(QStringLiteral("SlideFullScreen"), sl.SlideFullScreen);

    in.read(QStringLiteral("ExifColor"), t.ExifColor);
    in.read(QStringLiteral("NotExifColor"), t.NotExifColor);
}

// The start folder rule: with InitDirSW 0 the fixed folder replaces the last one.
void applyStartFolder(AppSettings &s)
{
    if (s.general.InitDirSW != 0)
        return;
    s.filePath = s.general.InitDir.isEmpty() ? QStringLiteral("/") : s.general.InitDir;
}

void put(SettingsGroup &out, const QString &key, const QString &value)
{
    out.setText(key, value);
}
void put(SettingsGroup &out, const QString &key, qint16 value)
{
    out.setText(key, QString::number(value));
}
void put(SettingsGroup &out, const QString &key, qint32 value)
{
    out.setText(key, QString::number(value));
}
void put(SettingsGroup &out, const QString &key, float value)
{
    out.setText(key, formatFloat(value));
}
void put(SettingsGroup &out, const QString &key, double value)
{
    out.setText(key, formatDouble(value));
}
void put(SettingsGroup &out, const QString &key, bool value)
{
    out.setText(key, formatBool(value));
}

void writePlacement(SettingsGroup &out, const MainWindowPlacement &p)
{
    put(out, QStringLiteral("MainLeft"), p.left);
    put(out, QStringLiteral("MainTop"), p.top);
    put(out, QStringLiteral("MainWidth"), p.width);
    put(out, QStringLiteral("MainHeight"), p.height);
}

void writeShutdownOrder(SettingsGroup &out, const AppSettings &s)
{
    const GeneralSettings &g = s.general;
    const ExProgramSettings &x = s.exProgram;
    const ThumbListLook &t = s.thumbLook;
    const SlideSettings &sl = s.slide;
    put(out, QStringLiteral("FilePath"), s.filePath);
    put(out, QStringLiteral("InitDir"), g.InitDir);
    put(out, QStringLiteral("InitDirSW"), g.InitDirSW);
    put(out, QStringLiteral("gNoVisible"), g.gNoVisible);
    put(out, QStringLiteral("gVisibleMode"), g.gVisibleMode);
    put(out, QStringLiteral("gThumbSize"), g.gThumbSize);
    put(out, QStringLiteral("gAutoSizeFit"), g.gAutoSizeFit);
    put(out, QStringLiteral("HotTrack"), g.Hottrack);
    for (int i = 0; i < int(x.ExProgram.size()); ++i)
        put(out, QStringLiteral("ExProgram%1").arg(i), x.ExProgram[i]);
    put(out, QStringLiteral("ExProDirect"), x.ExProDirect);
    put(out, QStringLiteral("ExProSW"), x.ExProSW);
    put(out, QStringLiteral("gDefExPro"), x.gDefExPro);
    put(out, QStringLiteral("SlideInterval"), sl.SlideInterval);
    put(out, QStringLiteral("SlideOrder"), sl.SlideOrder);
    put(out, QStringLiteral("DataWidth"), s.dataWidth);
    put(out, QStringLiteral("DataFont"), s.dataFont.name);
    put(out, QStringLiteral("DataSize"), s.dataFont.size);
    put(out, QStringLiteral("DataBold"), s.dataFont.bold);
    put(out, QStringLiteral("DataItalic"), s.dataFont.italic);
    put(out, QStringLiteral("gThumbLabelFont"), t.name);
    put(out, QStringLiteral("gThumbLabelSize"), t.size);
    put(out, QStringLiteral("gThumbLabelBold"), t.bold);
    put(out, QStringLiteral("gThumbLabelItalic"), t.italic);
    put(out, QStringLiteral("ThumbColor"), t.ThumbColor);
    put(out, QStringLiteral("TabOrder"), g.TabOrder);
    put(out, QStringLiteral("SlideAll"), sl.SlideAll);
    put(out, QStringLiteral("SlideEffectMain"), sl.SlideEffectMain);
    put(out, QStringLiteral("SlideEffectSub"), sl.SlideEffectSub);
    put(out, QStringLiteral("SlideEffectBias"), sl.SlideEffectBias);
    put(out, QStringLiteral("SlideBackColor"), sl.SlideBackColor);
    put(out, QStringLiteral("SlideFullScreen"), sl.SlideFullScreen);
    put(out, QStringLiteral("ExifColor"), t.ExifColor);
    put(out, QStringLiteral("NotExifColor"), t.NotExifColor);
    put(out, QStringLiteral("Jpg2Exif"), g.Jpg2Exif);
    put(out, QStringLiteral("RotBackUp"), g.RotBackUp);
    put(out, QStringLiteral("RotBackUpFolder"), g.RotBackUpFolder);
    put(out, QStringLiteral("RotThumbVal"), g.RotThumbVal);
    put(out, QStringLiteral("RotThumbBackColor"), g.RotThumbBackColor);
    put(out, QStringLiteral("AutoOrient"), g.AutoOrient);
}

} // namespace

AppSettings &appSettings()
{
    static AppSettings settings;
    return settings;
}

QSettings &settingsStore()
{
    // INI text under the user's configuration folder, named as the native
    // store would name it (Tabilo/Tabilo.conf) rather than QSettings' ".ini".
    static QSettings store(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                               QStringLiteral("/Tabilo/Tabilo.conf"),
                           QSettings::IniFormat);
    return store;
}

QStringList readSettings(QSettings &store, const QString &defaultFilePath, AppSettings &settings)
{
    settings = AppSettings();
    settings.filePath = withoutTrailingSlash(defaultFilePath);
    const SoundSettings sound(store);
    QStringList problems = sound.problems();
    if (sound.values()) {
        SettingsReader in(*sound.values());
        readStartUpOrder(in, settings);
        problems += in.problems();
    }
    applyStartFolder(settings);
    return problems;
}

QStringList writeSettings(QSettings &store, const AppSettings &settings,
                          const std::optional<MainWindowPlacement> &placement)
{
    const QStringList refused = prepareForWriting(store);
    if (!refused.isEmpty())
        return refused;
    {
        SettingsGroup out(store);
        if (placement)
            writePlacement(out, *placement);
        writeShutdownOrder(out, settings);
    }
    store.sync();
    // Only access fails a write; a format error is QSettings' view of the old text.
    if (store.status() == QSettings::AccessError)
        return {QStringLiteral("設定ファイル %1 に書き込めません。").arg(store.fileName())};
    return {};
}

qint16 readSettingInt16(QSettings &store, const QString &key, qint16 defaultValue)
{
    const SoundSettings sound(store);
    if (!sound.values())
        return defaultValue;
    const SettingsGroup group(*sound.values());
    const std::optional<QString> text = group.text(key);
    if (!text)
        return defaultValue;
    return parseInt16(*text).value_or(defaultValue);
}

void writeSettingInt16(QSettings &store, const QString &key, qint16 value)
{
    if (!prepareForWriting(store).isEmpty())
        return;
    {
        SettingsGroup group(store);
        group.setText(key, QString::number(value));
    }
    // Written at once, so that no change waits in memory on a damaged file.
    store.sync();
}
