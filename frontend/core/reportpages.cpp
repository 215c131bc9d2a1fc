#include "reportpages.h"

#include <QRegularExpression>
#include <algorithm>

namespace veldesk {

namespace reportpages {

QList<TextPage> paginate(int lineCount, int linesPerPage)
{
    const int perPage = std::max(1, linesPerPage);
    QList<TextPage> pages;
    for (int first = 0; first < lineCount; first += perPage)
        pages.append({first, std::min(perPage, lineCount - first)});
    if (pages.isEmpty())
        pages.append({0, 0});
    return pages;
}

ChartPlace chartPlace(bool withChart, double roomUnderSummaryMm)
{
    if (!withChart)
        return ChartPlace::None;
    return roomUnderSummaryMm >= kChartMinHeightMm ? ChartPlace::SummaryPage : ChartPlace::OwnPage;
}

int totalPages(int textPages, ChartPlace chart) { return 1 + (chart == ChartPlace::OwnPage ? 1 : 0) + textPages; }

QString headerText(const QString& dataSetName) { return dataSetName; }

QString footerText(int page, int pageCount)
{
    return QStringLiteral("Page %1 of %2").arg(page).arg(pageCount);
}

QString engineVersion(const QStringList& reportLines)
{
    static const QRegularExpression word(QStringLiteral("(?:^|[\\s|])(v\\d[\\w.]*)"));
    const int bannerEnd = std::min<int>(16, reportLines.size());
    for (int i = 0; i < bannerEnd; ++i) {
        const auto m = word.match(reportLines[i]);
        if (m.hasMatch())
            return m.captured(1);
    }
    return {};
}

QString dataSetName(const QStringList& reportLines)
{
    if (reportLines.size() < 17)
        return {};
    static const QString prefix = QStringLiteral("Processed file:");
    QString path = reportLines[16];
    if (path.startsWith(prefix))
        path = path.mid(prefix.size());
    path = path.trimmed();
    const int cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    return path.mid(cut + 1);
}

QString description(const QStringList& reportLines)
{
    if (reportLines.size() < 18)
        return {};
    static const QString prefix = QStringLiteral(" Description:  ");
    QString text = reportLines[17];
    if (text.startsWith(prefix))
        text = text.mid(prefix.size());
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

QString pipeDimensions(const QStringList& reportLines)
{
    return reportLines.size() < 19 ? QString() : reportLines[18].trimmed();
}

int columnsToFit(const QStringList& reportLines)
{
    qsizetype widest = 80;
    for (const QString& line : reportLines)
        widest = std::max(widest, line.size());
    return int(widest);
}

} // namespace reportpages

} // namespace veldesk
