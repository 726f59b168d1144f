#include "core/scan/scantexts.h"

namespace ScanTexts
{

QString progress(int index, int total)
{
    return QString::number(index) + QStringLiteral(" / ") + QString::number(total) +
           QStringLiteral(" ﾌｧｲﾙ");
}

QString howToStop()
{
    return QStringLiteral("[ESC]ｷｰで中断できます。");
}

QString finished(int listed, bool stopped)
{
    if (stopped)
        return QStringLiteral(" ﾌｧｲﾙの読み込みを中断しました。");
    return QStringLiteral(" ") + QString::number(listed) +
           QStringLiteral(" ﾌｧｲﾙを読み込みました。");
}

QString undecodableNames(int count)
{
    if (count == 0)
        return QString();
    return QStringLiteral(" 名前を読めない ") + QString::number(count) +
           QStringLiteral(" ﾌｧｲﾙは表示していません。");
}

QString caption(const QString &folderPath)
{
    return QStringLiteral("Tabilo - ") + folderPath;
}

QString outOfMemory(int listed)
{
    return QStringLiteral("メモリが不足しています。") + QString::number(listed) +
           QStringLiteral("ファイルまで読み込みました。");
}

QString conversionTitle()
{
    return QStringLiteral("JPG→Exif変換");
}

QString conversionQuestion()
{
    const QString paragraphBreak = QStringLiteral("\r\r");
    return QStringLiteral("ﾌｫﾙﾀﾞ内に非Exifﾌｧｲﾙがあります｡") + paragraphBreak +
           QStringLiteral("Exifﾌｧｲﾙに変換すると次回からの読み込みが格段に速くなります｡") +
           paragraphBreak + QStringLiteral("後で手動で変換することも可能です｡") + paragraphBreak +
           QStringLiteral("今、変換しますか？");
}

} // namespace ScanTexts
