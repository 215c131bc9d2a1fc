#include "sitecharts.h"

#include "chartdata.h"

#include <QAreaSeries>
#include <QChart>
#include <QFontMetricsF>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <cmath>

namespace veldesk {

namespace sitecharts {

namespace {

bool drawable(double v) { return std::isfinite(v) && v > 0.0; }

QScatterSeries* markers(const char* name, QScatterSeries::MarkerShape shape, QColor colour, qreal size)
{
    auto* s = new QScatterSeries;
    s->setName(QString::fromUtf8(name));
    s->setMarkerShape(shape);
    s->setMarkerSize(size);
    s->setColor(colour);
    s->setBorderColor(colour.darker(140));
    return s;
}

QLineSeries* level(const QString& name, double y, double x0, double x1, QPen pen)
{
    auto* s = new QLineSeries;
    s->setName(name);
    s->append(x0, y);
    s->append(x1, y);
    s->setPen(pen);
    return s;
}

void attach(QChart* chart, QAbstractSeries* s, QAbstractAxis* x, QAbstractAxis* y)
{
    chart->addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
}

// The design line's legend entry names the rule and the safety factor and is
// often wider than the column the chart gives its legend, which would cut it
// short. It is broken into lines no wider than the widest of the other
// entries' names instead: it then shows whole wherever they do, and the plot
// keeps its width. The series keeps its name in one line.
void wrapLegendEntry(QChart* chart, QAbstractSeries* s)
{
    const QFontMetricsF fm(chart->legend()->font());
    const auto width = [&fm](const QString& text) { return fm.horizontalAdvance(text); };
    double widest = 0;
    for (const char* name : {kReadings, kFlagged, kWMarked, kGeometricMean, kBand})
        widest = std::max(widest, width(QString::fromUtf8(name)));
    QStringList lines = chartdata::wrapWords(s->name(), widest, width);
    for (QString& line : lines)
        line = line.toHtmlEscaped(); // the legend takes its labels as rich text
    for (QLegendMarker* m : chart->legend()->markers(s))
        m->setLabel(lines.join(QStringLiteral("<br>")));
}

QChart* newChart(const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setBackgroundRoundness(0);
    return chart;
}

} // namespace

QChart* ksChart(const KsInput& in)
{
    QChart* chart = newChart(QStringLiteral("Ks per reading"));
    // Six entries do not fit one row under the plot: a column beside it.
    chart->legend()->setAlignment(Qt::AlignRight);

    // Every value that must be in view decides the decades of the axis.
    std::vector<double> inView;
    int lastPoint = 1;
    for (const Reading& r : in.readings) {
        if (drawable(r.ks))
            inView.push_back(r.ks);
        lastPoint = std::max(lastPoint, r.point);
    }
    for (const auto& v : {in.geometricMean, in.ciLow, in.ciHigh, in.designValue})
        if (v)
            inView.push_back(*v);
    const auto decades = chartdata::decadeRange(inView).value_or(chartdata::Decades{1e-7, 1e-3});
    const chartdata::LogAxis ks = chartdata::logAxis(decades);

    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("Reading"));
    x->setLabelFormat(QStringLiteral("%d"));
    x->setRange(0.5, lastPoint + 0.5);
    if (lastPoint <= 20) {
        x->setTickType(QValueAxis::TicksDynamic);
        x->setTickAnchor(1);
        x->setTickInterval(lastPoint <= 10 ? 1 : 2);
    }
    // A label at every power of the base: 10, or 10^step where the decades
    // are too many to label each. Every label writes its power of ten, so the
    // step reads from the labels themselves (a note of it in the title would
    // not fit beside the smallest chart). The minor ticks mark 2 to 9 times a
    // power of ten; between labels decades apart they would bunch at the top,
    // and are left out. Qt labels from the first whole power of the base at
    // or above the minimum, found as the ceiling of a computed logarithm: a
    // minimum a hair below the power keeps rounding from skipping that label.
    auto* y = new QLogValueAxis;
    y->setBase(std::pow(10.0, ks.step));
    y->setTitleText(QStringLiteral("Ks (%1)").arg(in.unit));
    y->setLabelFormat(QStringLiteral("%.0e"));
    y->setRange(ks.range.min * (1 - 1e-9), ks.range.max);
    y->setMinorTickCount(ks.step == 1 ? 8 : 0);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    const double x0 = 0.5, x1 = lastPoint + 0.5;
    // The band first, so that lines and markers are drawn over it.
    if (in.ciLow && in.ciHigh && drawable(*in.ciLow) && drawable(*in.ciHigh)) {
        auto* upper = new QLineSeries(chart);
        auto* lower = new QLineSeries(chart);
        upper->append(x0, *in.ciHigh);
        upper->append(x1, *in.ciHigh);
        lower->append(x0, *in.ciLow);
        lower->append(x1, *in.ciLow);
        auto* band = new QAreaSeries(upper, lower);
        band->setName(QString::fromUtf8(kBand));
        band->setColor(QColor(70, 130, 180, 60));
        band->setBorderColor(QColor(70, 130, 180, 120));
        attach(chart, band, x, y);
    }
    if (in.geometricMean && drawable(*in.geometricMean))
        attach(chart, level(QString::fromUtf8(kGeometricMean), *in.geometricMean, x0, x1, QPen(QColor(30, 90, 160), 2)),
               x, y);
    if (in.designValue && drawable(*in.designValue)) {
        QPen pen(QColor(200, 30, 30), 2, Qt::DashLine);
        QLineSeries* design = level(in.designLabel.isEmpty() ? QStringLiteral("Design value") : in.designLabel,
                                    *in.designValue, x0, x1, pen);
        attach(chart, design, x, y);
        wrapLegendEntry(chart, design);
    }

    auto* plain = markers(kReadings, QScatterSeries::MarkerShapeCircle, QColor(40, 100, 200), 9);
    auto* flagged = markers(kFlagged, QScatterSeries::MarkerShapeRectangle, QColor(240, 150, 0), 10);
    auto* wMarked = markers(kWMarked, QScatterSeries::MarkerShapeTriangle, QColor(220, 50, 100), 12);
    // Build the point lists first and hand them over at once: one change
    // signal per series instead of one per reading.
    QList<QPointF> pPlain, pFlagged, pW;
    for (const Reading& r : in.readings) {
        if (!drawable(r.ks))
            continue;
        (r.wMarked ? pW : r.flagged ? pFlagged : pPlain).append(QPointF(r.point, r.ks));
    }
    plain->replace(pPlain);
    flagged->replace(pFlagged);
    wMarked->replace(pW);
    for (QScatterSeries* s : {plain, flagged, wMarked}) {
        attach(chart, s, x, y);
        // An empty kind of reading needs no legend entry.
        if (s->count() == 0)
            for (QLegendMarker* m : chart->legend()->markers(s))
                m->setVisible(false);
    }
    return chart;
}

QChart* probabilityChart(const ProbabilityInput& in)
{
    QChart* chart = newChart(QStringLiteral("Normal probability plot of ln Ks"));
    std::vector<double> lnKs;
    for (double v : in.ks)
        if (drawable(v))
            lnKs.push_back(std::log(v));
    const chartdata::ProbabilityPlot plot = chartdata::probabilityPlot(std::move(lnKs));

    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("Standard normal quantile"));
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("ln Ks (Ks in %1)").arg(in.unit));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    auto* points = markers("ln Ks, sorted", QScatterSeries::MarkerShapeCircle, QColor(40, 100, 200), 9);
    points->replace(plot.points);
    const QList<QPointF> line = chartdata::fittedLine(plot);
    if (!line.isEmpty()) {
        auto* fit = new QLineSeries;
        fit->setName(QStringLiteral("Fitted log-normal (mean + SD \u00d7 quantile)"));
        fit->replace(line);
        fit->setPen(QPen(QColor(200, 30, 30), 2));
        attach(chart, fit, x, y);
    }
    attach(chart, points, x, y);

    // Ranges with a little room around the points; a single point or none
    // still gets a sensible window.
    double xmin = -2, xmax = 2, ymin = -1, ymax = 1;
    if (!plot.points.isEmpty()) {
        xmin = std::min(-1.0, plot.points.front().x());
        xmax = std::max(1.0, plot.points.back().x());
        ymin = plot.points.front().y();
        ymax = plot.points.back().y();
        for (const QPointF& p : line) {
            ymin = std::min(ymin, p.y());
            ymax = std::max(ymax, p.y());
        }
        const double pad = std::max(0.25, 0.08 * (ymax - ymin));
        ymin -= pad;
        ymax += pad;
    }
    // Symmetric about 0, ticks on the half quantiles.
    const double reach = std::ceil(std::max(-xmin, xmax) * 2) / 2 + 0.25;
    x->setRange(-reach, reach);
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0.0);
    x->setTickInterval(reach > 3 ? 1.0 : 0.5);
    x->setLabelFormat(QStringLiteral("%.1f"));
    y->setRange(ymin, ymax);
    y->applyNiceNumbers();
    return chart;
}

} // namespace sitecharts

} // namespace veldesk
