#include "reportprinter.h"

#include "atomic_file.h"
#include "reportpages.h"
#include "version.h"

#include <QBuffer>
#include <QDate>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <memory>

#ifndef VELDESK_NO_CHARTS
#include <QChart>
#include <QGraphicsScene>
#endif

namespace veldesk {

namespace reportprinter {

QString frontEndVersion() { return QStringLiteral(VELDESK_VERSION); }

namespace {

// Everything measured on the device in its own pixels.
struct Geometry {
    double dpi;
    QRectF page;   // the paintable area, origin at its top left
    QRectF body;   // between the running header and footer
    double mm(double v) const { return v * dpi / 25.4; }
    double inMm(double pixels) const { return pixels * 25.4 / dpi; }
};

Geometry measure(QPagedPaintDevice& device)
{
    Geometry g;
    g.dpi = device.logicalDpiY();
    const QRect paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
    g.page = QRectF(0, 0, paint.width(), paint.height());
    g.body = g.page.adjusted(0, g.mm(10), 0, -g.mm(10));
    return g;
}

QFont sans(double points, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    // No "fi" ligatures: the PDF's text must be searchable as typed.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

// The fixed-pitch face of the report pages. Kerning off: every character
// takes exactly one column.
QFont fixedPitch(double points)
{
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setKerning(false);
    f.setStyleStrategy(QFont::PreferNoShaping);
    f.setPointSizeF(points);
    return f;
}

void runningHeadAndFoot(QPainter& p, const Geometry& g, const QString& name, const QString& date, int page,
                        int pages)
{
    p.save();
    p.setFont(sans(8));
    p.setPen(Qt::black);
    const QRectF head(g.page.left(), g.page.top(), g.page.width(), g.mm(6));
    p.drawText(head, Qt::AlignLeft | Qt::AlignVCenter, reportpages::headerText(name));
    p.drawText(head, Qt::AlignRight | Qt::AlignVCenter, date);
    p.setPen(QPen(Qt::gray, g.mm(0.2)));
    p.drawLine(QPointF(head.left(), head.bottom()), QPointF(head.right(), head.bottom()));
    const QRectF foot(g.page.left(), g.page.bottom() - g.mm(6), g.page.width(), g.mm(6));
    p.drawLine(QPointF(foot.left(), foot.top()), QPointF(foot.right(), foot.top()));
    p.setPen(Qt::black);
    p.drawText(foot, Qt::AlignCenter, reportpages::footerText(page, pages));
    p.restore();
}

#ifndef VELDESK_NO_CHARTS
// A chart drawn as vectors into the given rectangle of the page. The chart is
// laid out at a screen-like size so that its type keeps its proportions.
void paintChart(QPainter& p, const QRectF& target, QChart* chart)
{
    QGraphicsScene scene;
    scene.addItem(chart); // the scene owns and deletes the chart
    const double w = 760.0;
    const QRectF source(0, 0, w, w * target.height() / target.width());
    chart->setGeometry(source);
    scene.setSceneRect(source);
    scene.render(&p, target, source);
}
#endif

struct Fit {
    QFont font;
    double advance;
    double lineSpacing;
    int linesPerPage;
};

// The largest type up to 10 pt in which the widest report line fits the page.
Fit fitText(QPagedPaintDevice& device, const Geometry& g, int columns)
{
    double points = 10.0;
    QFont font = fixedPitch(points);
    QFontMetricsF fm(font, &device);
    const double needed = fm.horizontalAdvance(QString(columns, QLatin1Char('0')));
    if (needed > g.body.width()) {
        points *= g.body.width() / needed * 0.995;
        font = fixedPitch(points);
        fm = QFontMetricsF(font, &device);
    }
    const double spacing = fm.lineSpacing();
    return {font, fm.horizontalAdvance(QLatin1Char('0')), spacing,
            std::max(1, int((g.body.height() - g.mm(3)) / spacing))};
}

double summaryPage(QPainter& p, const Geometry& g, const SiteReport& r, const QString& name)
{
    const double left = g.body.left();
    double y = g.body.top() + g.mm(4);
    auto line = [&](const QFont& f, const QString& text, double gapAfterMm = 1.0) {
        p.setFont(f);
        const QRectF box(left, y, g.body.width(), g.body.bottom() - y);
        const QRectF used = p.boundingRect(box, Qt::TextWordWrap, text);
        p.drawText(box, Qt::TextWordWrap, text);
        y += used.height() + g.mm(gapAfterMm);
    };
    line(sans(15, true), QStringLiteral("Site report: %1").arg(name), 2);
    const QString engine = reportpages::engineVersion(r.reportLines);
    line(sans(10), QStringLiteral("Description: %1").arg(reportpages::description(r.reportLines)));
    line(sans(10), reportpages::pipeDimensions(r.reportLines));
    line(sans(10), QStringLiteral("Date: %1").arg(r.date));
    line(sans(10),
         QStringLiteral("Programs: VELPRA %1 (engine), VELDESK %2 (front end)")
             .arg(engine.isEmpty() ? QStringLiteral("(version not stated)") : engine, r.frontEndVersion),
         4);

    // The statistics as two columns: labels, then their values.
    if (!r.statistics.isEmpty()) {
        line(sans(11, true), QStringLiteral("Statistics of Ks and Psi_m"), 1.5);
        const QFont f = sans(9);
        p.setFont(f);
        QFontMetricsF fm(f, p.device());
        double labelWidth = 0;
        for (const auto& [label, value] : r.statistics)
            labelWidth = std::max(labelWidth, fm.horizontalAdvance(label));
        const double valueLeft = left + g.mm(4) + labelWidth + g.mm(6);
        for (const auto& [label, value] : r.statistics) {
            p.drawText(QPointF(left + g.mm(4), y + fm.ascent()), label);
            p.drawText(QPointF(valueLeft, y + fm.ascent()), value);
            y += fm.lineSpacing();
        }
        y += g.mm(3);
    }
    if (!r.designValue.isEmpty())
        line(sans(11, true), QStringLiteral("Design value: %1").arg(r.designValue), 0.5);
    if (!r.designRule.isEmpty())
        line(sans(9), QStringLiteral("Rule: %1").arg(r.designRule), 3);
    return y;
}

} // namespace

int paint(const SiteReport& r, QPagedPaintDevice& device)
{
    QPainter p;
    if (!p.begin(&device))
        return 0;
    p.setRenderHint(QPainter::Antialiasing);
    const Geometry g = measure(device);
    const QString name = r.dataSetName.isEmpty() ? reportpages::dataSetName(r.reportLines) : r.dataSetName;
    const Fit fit = fitText(device, g, reportpages::columnsToFit(r.reportLines));
    const QList<reportpages::TextPage> pages = reportpages::paginate(int(r.reportLines.size()), fit.linesPerPage);

    // The summary first: how much room it leaves decides whether the chart
    // stays on page 1, and so how many pages the footer counts.
    const double chartTop = summaryPage(p, g, r, name);
    const QRectF underSummary(g.body.left(), chartTop, g.body.width(), g.body.bottom() - chartTop - g.mm(2));
#ifndef VELDESK_NO_CHARTS
    const bool withChart = true;
#else
    const bool withChart = false;
#endif
    const reportpages::ChartPlace place = reportpages::chartPlace(withChart, g.inMm(underSummary.height()));
    const int pageCount = reportpages::totalPages(int(pages.size()), place);
    runningHeadAndFoot(p, g, name, r.date, 1, pageCount);
    int pageNumber = 1;
#ifndef VELDESK_NO_CHARTS
    if (place == reportpages::ChartPlace::SummaryPage) {
        paintChart(p, underSummary, sitecharts::ksChart(r.chart));
    } else if (place == reportpages::ChartPlace::OwnPage) {
        device.newPage();
        ++pageNumber;
        runningHeadAndFoot(p, g, name, r.date, pageNumber, pageCount);
        paintChart(p, g.body.adjusted(0, g.mm(4), 0, -g.mm(2)), sitecharts::ksChart(r.chart));
    }
#endif

    // The report, one page after another, each line drawn whole in the fixed
    // face from the left margin so that the columns line up as in the file.
    for (const reportpages::TextPage& page : pages) {
        device.newPage();
        ++pageNumber;
        runningHeadAndFoot(p, g, name, r.date, pageNumber, pageCount);
        p.setFont(fit.font);
        p.setPen(Qt::black);
        QFontMetricsF fm(fit.font, &device);
        double baseline = g.body.top() + g.mm(3) + fm.ascent();
        for (int i = page.first; i < page.first + page.count; ++i) {
            p.drawText(QPointF(g.body.left(), baseline), r.reportLines[i]);
            baseline += fit.lineSpacing;
        }
    }
    p.end();
    return pageCount;
}

bool writePdf(const SiteReport& report, const QString& path, QString* error)
{
    // Painted into memory, then written by the one writer of whole files: a
    // failed export leaves an older PDF of that name as it was, and a short
    // write (a full disk) is never taken for a complete file.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("VELDESK %1").arg(frontEndVersion()));
        writer.setTitle(QStringLiteral("Site report: %1")
                            .arg(report.dataSetName.isEmpty() ? reportpages::dataSetName(report.reportLines)
                                                              : report.dataSetName));
        writer.setResolution(600);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(18, 15, 15, 15), QPageLayout::Millimeter));
        paint(report, writer); // the writer finishes the document when painting ends
    }
    QString why;
    if (!writeAtomically(path, bytes, &why)) {
        // The writer names the path; the message names it once, in full.
        if (why.startsWith(path + QStringLiteral(": ")))
            why.remove(0, path.size() + 2);
        if (error)
            *error = QStringLiteral("cannot write the PDF file %1: %2").arg(QFileInfo(path).absoluteFilePath(), why);
        return false;
    }
    return true;
}

} // namespace reportprinter

} // namespace veldesk
