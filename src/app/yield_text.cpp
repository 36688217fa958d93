#include "app/yield_text.h"

#include <QDateTime>
#include <QStringList>

namespace qlx {

QString YieldText(const YieldCounts& y)
{
    QStringList parts;
    if (y.total == 0)
        parts << QStringLiteral("判定された記録はありません");
    else
        parts << QStringLiteral("OK %1 / %2 台 (%3%)").arg(y.ok).arg(y.total).arg(y.Percent(), 0, 'f', 1);
    for (std::size_t i = 0; i < kNgVerdicts.size(); ++i)
        parts << QStringLiteral("%1 %2").arg(QString::fromLatin1(kNgVerdicts[i])).arg(y.ng[i]);
    parts << QStringLiteral("リファレンスなし %1").arg(y.noReference);
    parts << QStringLiteral("中止 %1").arg(y.cancelled);
    parts << QStringLiteral("失敗 %1").arg(y.failed);
    return parts.join(QStringLiteral("　"));
}

QString SinceResetHeading(const std::optional<std::int64_t>& resetAtMs)
{
    if (!resetAtMs)
        return QStringLiteral("カウンター (リセットなし):");
    const QString at = QDateTime::fromMSecsSinceEpoch(*resetAtMs).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    return QStringLiteral("カウンター (%1 にリセット):").arg(at);
}

}  // namespace qlx
