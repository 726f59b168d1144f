#include "core/slideshow/slidetitle.h"

#include <array>

namespace
{

const std::array<QString, 3> kOrderLabels = {
    QStringLiteral(" [昇 順] "), QStringLiteral(" [降 順] "), QStringLiteral(" [ﾗﾝﾀﾞﾑ] ")};

} // namespace

QString slideTitleText(const SlideTitle &title)
{
    const QString order = title.order >= 0 && title.order < int(kOrderLabels.size())
                              ? kOrderLabels[size_t(title.order)]
                              : QString();
    const QString suffix = title.paused ? QStringLiteral("   [一時停止中]　") : QString(16, u' ');
    return QString::number(title.number) + order + QStringLiteral("/") +
           QString::number(title.total) + QStringLiteral(" ") + title.fileName +
           QStringLiteral("  ") + QString::number(title.natural.width()) + QStringLiteral(" X ") +
           QString::number(title.natural.height()) + QStringLiteral(" (") +
           QString::number(title.percent) + QStringLiteral("%)") + suffix;
}
