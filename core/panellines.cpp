#include "core/panellines.h"

#include <QFileInfo>

#include "core/numbertext.h"
#include "exif/exifdata.h"

namespace
{

// Captions, by line index.
const QString kWidthCaption = QStringLiteral("幅   : ");
const QString kHeightCaption = QStringLiteral("高さ : ");
const QString kFlashCaption = QStringLiteral("FLASH  : ");
const QString kShutterCaption = QStringLiteral("SHUTTER : ");
const QString kApertureCaption = QStringLiteral("F  : ");
const QString kQualityCaption = QStringLiteral("画像MODE    : ");
const QString kProgramCaption = QStringLiteral("露出ﾌﾟﾛｸﾞﾗﾑ : ");
const QString kMeteringCaption = QStringLiteral("測光方式    : ");
const QString kBiasCaption = QStringLiteral("露光補正    : ");
const QString kIsoCaption = QStringLiteral("ISO感度     :  ");
const QString kVersionCaption = QStringLiteral("Exif Ver.  ");
const QString kFileSizeCaption = QStringLiteral("FILE SIZE  : ");

enum Line {
    DateLine,
    WidthLine,
    HeightLine,
    FlashLine,
    ShutterLine,
    ApertureLine,
    FocalLengthLine,
    ZoomLine,
    QualityLine,
    ProgramLine,
    MeteringLine,
    BiasLine,
    IsoLine,
    VersionLine,
    FileSizeLine,
    MakeLine,
    ModelLine,
    SoftwareLine,
};

constexpr int kTagFieldDigits = 5;

QString tagField(qint32 value)
{
    // Only the last five digits fit in the field.
    return QStringLiteral("%1").arg(qAbs(value) % 100000, kTagFieldDigits, 10, QChar(u'0'));
}

} // namespace

PanelContent exifPanelContent(const ExifData &exif, qint64 fileSize, const CameraTable &table)
{
    PanelContent panel;
    QStringList &lines = panel.lines;
    lines[DateLine] = exif.DateExif();
    lines[WidthLine] = kWidthCaption + QString::number(exif.SizeExifX());
    lines[HeightLine] = kHeightCaption + QString::number(exif.SizeExifY());
    lines[FlashLine] = kFlashCaption + exif.FlashExif();
    lines[ShutterLine] = kShutterCaption + exif.ShutterSpeed() + QStringLiteral(" sec");
    lines[ApertureLine] = kApertureCaption + fixedDecimalText(exif.Fnumber(), 1);
    lines[QualityLine] = kQualityCaption + exif.PictureMode();
    lines[ProgramLine] = kProgramCaption + exif.RosyutsuProgram();
    lines[MeteringLine] = kMeteringCaption + exif.SokkouMode();
    lines[BiasLine] = kBiasCaption + exif.ExpBiasVal();
    lines[IsoLine] = kIsoCaption + QString::number(exif.ISOspeedRate());
    lines[VersionLine] = kVersionCaption + exif.VersionExif();
    lines[FileSizeLine] = fileSizeLine(fileSize);
    lines[MakeLine] = exif.MakerExif();
    lines[ModelLine] = exif.ModelExif();
    lines[SoftwareLine] = exif.SoftwearExif();

    const FocalLengthDisplay focal = table.lookup(exif.ModelExif(), exif.FocalLength());
    lines[FocalLengthLine] = focal.focalLengthLine;
    lines[ZoomLine] = focal.zoomLine;
    panel.sliderVisible = focal.sliderVisible;
    panel.sliderMinimum = focal.sliderMinimum;
    panel.sliderMaximum = focal.sliderMaximum;
    panel.sliderValue = focal.sliderValue;
    return panel;
}

PanelContent plainPanelContent(const QDateTime &modified, const JpegSize &size, qint64 fileSize,
                               const QLocale &locale)
{
    PanelContent panel;
    QStringList &lines = panel.lines;
    lines[DateLine] = locale.toString(modified, QLocale::ShortFormat);
    lines[WidthLine] = kWidthCaption + QString::number(size.width);
    lines[HeightLine] = kHeightCaption + QString::number(size.height);
    lines[FlashLine] = kFlashCaption;
    lines[ShutterLine] = kShutterCaption;
    lines[ApertureLine] = kApertureCaption;
    lines[FocalLengthLine] = QStringLiteral("f  =");
    lines[QualityLine] = kQualityCaption;
    lines[ProgramLine] = kProgramCaption;
    lines[MeteringLine] = kMeteringCaption;
    lines[BiasLine] = kBiasCaption;
    lines[IsoLine] = kIsoCaption;
    lines[VersionLine] = kVersionCaption;
    lines[FileSizeLine] = fileSizeLine(fileSize);
    return panel;
}

std::optional<PanelContent> panelContentForFile(const QString &path, const QString &tag,
                                                const CameraTable &table, const QLocale &locale)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    ExifData exif;
    exif.SetExif(path);
    if (exif.IsExif())
        return exifPanelContent(exif, info.size(), table);
    const std::optional<JpegSize> tagged = sizeFromTag(tag);
    const JpegSize size = tagged ? *tagged : GetJpegSize(path);
    return plainPanelContent(info.lastModified(), size, info.size(), locale);
}

QString sizeTag(qint32 width, qint32 height)
{
    return tagField(width) + tagField(height);
}

std::optional<JpegSize> sizeFromTag(const QString &tag)
{
    if (tag.size() != 2 * kTagFieldDigits)
        return std::nullopt;
    for (const QChar c : tag) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return JpegSize{tag.left(kTagFieldDigits).toInt(), tag.mid(kTagFieldDigits).toInt()};
}

QString fileSizeLine(qint64 fileSize)
{
    return kFileSizeCaption + fixedDecimalText(double(fileSize) / 1024.0, 0) +
           QStringLiteral(" KB");
}

QString visibilityText(bool hidden)
{
    return hidden ? QStringLiteral(" 非公開画像です。") : QStringLiteral(" 公開画像です。");
}
