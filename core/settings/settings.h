#pragma once

#include <array>
#include <optional>

#include <QSettings>
#include <QString>
#include <QStringList>

// The program-wide settings records. Every window reads and changes them
// directly; only start-up (readSettings) and shutdown (writeSettings) touch
// the store: ~/.config/Tabilo/Tabilo.conf, group [Settings].
// Lengths are twips, colours 0x00BBGGRR (0x800000nn: system colour nn).

struct MainWindowPlacement {
    float left = 100;    // MainLeft
    float top = 100;     // MainTop
    float width = 5600;  // MainWidth
    float height = 6500; // MainHeight

    bool operator==(const MainWindowPlacement &) const = default;
};

struct GeneralSettings {
    QString currentPicture; // full path of the picture last chosen; not stored
    qint16 gNoVisible = 1;
    qint16 gVisibleMode = 0; // 0 all, 1 public only, 2 private only
    qint16 gThumbSize = 1;   // 0 large, 1 standard, 2 small
    qint32 Hottrack = 1;
    qint16 TabOrder = 0;
    qint16 gAutoSizeFit = 1;
    qint16 InitDirSW = 1; // 1: start in FilePath; 0: start in InitDir
    QString InitDir = QStringLiteral("/");
    qint16 Jpg2Exif = 0;
    qint32 RotBackUp = 1;
    QString RotBackUpFolder = QStringLiteral("Original");
    qint32 RotThumbVal = 0;
    qint32 RotThumbBackColor = 0;
    qint16 AutoOrient = 1; // 1: pictures are shown as their Exif Orientation says; 0: as stored

    bool operator==(const GeneralSettings &) const = default;
};

struct ExProgramSettings {
    std::array<QString, 3> ExProgram; // ExProgram0..ExProgram2
    qint16 ExProDirect = 0;
    qint16 ExProSW = 0;
    bool gDefExPro = false;

    bool operator==(const ExProgramSettings &) const = default;
};

// The information panel's font (DataFont, DataSize, DataBold, DataItalic).
struct FontSetting {
    QString name = QStringLiteral("ＭＳ Ｐゴシック");
    double size = 10;
    bool bold = false;
    bool italic = false;

    bool operator==(const FontSetting &) const = default;
};

// The thumbnail list's font (gThumbLabel*) and colours.
struct ThumbListLook {
    QString name = QStringLiteral("ＭＳ Ｐゴシック");
    double size = 10;
    bool bold = false;
    bool italic = false;
    qint32 ThumbColor = qint32(0x80000014u); // system colour 20, the 3-D highlight
    qint32 ExifColor = 0;
    qint32 NotExifColor = 255;

    bool operator==(const ThumbListLook &) const = default;
};

struct SlideSettings {
    qint32 SlideInterval = 1;
    qint16 SlideOrder = 0; // 0 ascending, 1 descending, 2 random
    qint16 startItem = 0;  // list index the slide show starts at; not stored
    qint16 SlideAll = 1;
    QString mainEffectName; // derived from SlideEffectMain; not stored
    qint32 SlideEffectMain = 0;
    QString variantName; // derived from SlideEffectSub; not stored
    qint32 SlideEffectSub = 0;
    qint32 SlideEffectBias = 80;
    qint32 SlideBackColor = 0;
    bool SlideFullScreen = true;

    bool operator==(const SlideSettings &) const = default;
};

struct AppSettings {
    MainWindowPlacement placement;
    QString filePath;       // folder of the last scan, without a trailing "/"
    float dataWidth = 3000; // DataWidth: width of the information panel
    GeneralSettings general;
    ExProgramSettings exProgram;
    FontSetting dataFont;
    ThumbListLook thumbLook;
    SlideSettings slide;

    bool operator==(const AppSettings &) const = default;
};

// The one instance the whole program shares.
AppSettings &appSettings();

// The user's settings store: INI text in ~/.config/Tabilo/Tabilo.conf.
QSettings &settingsStore();

// Reads every stored value in start-up order into `settings`, starting from
// the defaults. A missing key keeps its default; a value that does not
// convert, or a damaged line, gives that key alone its default, an
// unreadable store every key, each with a problem text in the result for the
// caller to log. `defaultFilePath` is the
// default of FilePath. Applies the start-folder rule: with InitDirSW 0,
// filePath becomes InitDir, or "/" when InitDir is empty.
QStringList readSettings(QSettings &store, const QString &defaultFilePath, AppSettings &settings);

// Writes every stored value in shutdown order: the window rectangle first,
// unless `placement` is empty (the window was minimised; the stored rectangle
// then stays as it was), then all other keys. Each key is written once under
// its write name, replacing any stored spelling that differs only in case.
// The damaged lines of the file are dropped, every sound one is kept; a file
// that cannot be read is left as it is. Returns the problems met (an
// unreadable or unwritable store), empty on success.
QStringList writeSettings(QSettings &store, const AppSettings &settings,
                          const std::optional<MainWindowPlacement> &placement);

// Single int16 keys of the same group that only one dialog uses
// ("J2Eback", "J2Evalue"). A missing or unconvertible value gives the default.
// A write reaches the file at once and, as writeSettings, leaves an unreadable
// file as it is.
qint16 readSettingInt16(QSettings &store, const QString &key, qint16 defaultValue);
void writeSettingInt16(QSettings &store, const QString &key, qint16 value);
