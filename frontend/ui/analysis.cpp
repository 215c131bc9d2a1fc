#include "analysis.h"

#include "analysischarts.h"
#include "atomic_file.h"
#include "boxnumber.h"
#include "exportpath.h"
#include "figuretext.h"
#include "numberbox.h"
#include "report.h"
#include "seam.h"
#include "sitecsv.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace veldesk {

using namespace sitestats;

namespace {

const QColor kWMarked(220, 50, 100); // as the results window marks it
const QColor kFlaggedBack(255, 236, 160);
const QColor kLeftOutText(128, 128, 128);

// The operator's number format without digit grouping, so that a pasted
// figure reads back as one number in any spreadsheet.
QLocale numberLocale()
{
    QLocale l;
    l.setNumberOptions(l.numberOptions() | QLocale::OmitGroupSeparator);
    return l;
}

// A figure or a reading's Ks or Psi_m on screen, written as everywhere people
// read figures, in the operator's format.
QString shown(double v, figuretext::Kind kind = figuretext::Kind::Value)
{
    return figuretext::shown(v, kind, numberLocale());
}

// A reading as the report printed it, or a figure copied for a spreadsheet: up to 15 significant digits (all a double holds for certain),
// trailing zeros dropped.
QString asPrinted(double v)
{
    return std::isfinite(v) ? numberLocale().toString(v, 'g', 15) : QString();
}

// One reading's row, as the table shows it and as Copy gives it: point,
// dtheta, t 1/2 and t fin as the report printed them, Ks and Psi_m in the
// chosen units written by `figure`, the W mark, whether it is used, its flags.
QStringList readingCells(const Reading& r, const Options& o, QString (*figure)(double))
{
    return {QString::number(r.point),
            asPrinted(r.dtheta),
            asPrinted(r.tHalf),
            asPrinted(r.tFin),
            figure(units::fromSI(r.ks, o.ksUnit)),
            figure(units::fromSI(r.psiM, o.psiUnit)),
            r.w ? QStringLiteral("*") : QString(),
            r.used ? QStringLiteral("yes") : QStringLiteral("no"),
            flagNames(r.flags)};
}

QTableWidgetItem* item(const QString& text, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter)
{
    auto* it = new QTableWidgetItem(text);
    it->setTextAlignment(align);
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return it;
}

QSettings settings()
{
    return QSettings(QString::fromLatin1(AnalysisWindow::kSettingsOrganization),
                     QString::fromLatin1(AnalysisWindow::kSettingsApplication));
}

} // namespace

AnalysisWindow::AnalysisWindow(const QString& reportPath, const QString& dataSetPath, QWidget* parent)
    : QDialog(parent), m_report(reportPath), m_dataSet(dataSetPath)
{
    setObjectName(QStringLiteral("AnalysisWindow"));
    setWindowTitle(QStringLiteral("Site analysis"));
    chooseCsvPath = [](QWidget* p, const QString& proposed) {
        return QFileDialog::getSaveFileName(p, QStringLiteral("Export CSV"), proposed,
                                            QStringLiteral("CSV files (*.csv);;All files (*)"));
    };

    // The window reads what it can: a report cut short still gives the
    // readings written before the cut.
    report::readLines(m_report, &m_lines);
    const report::ParsedReport parsed = report::parseReport(m_lines);
    m_readings = readingsOf(parsed);

    buildControls();
    source->setText(parsed.header.mid(0, 2).join(QChar('\n')));
    // A row that is not a reading is one bad reading; only a table cut short
    // makes the report incomplete.
    notice->setVisible(!parsed.complete);
    loadSettings();
    m_loading = false;
    recompute();
    // The charts page, "Print..." and "Export PDF...".
    new AnalysisCharts(*this);
}

void AnalysisWindow::buildControls()
{
    resize(1000, 640);
    auto* outer = new QVBoxLayout(this);

    source = new QLabel(this);
    source->setObjectName(QStringLiteral("source"));
    source->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outer->addWidget(source);
    notice = new QLabel(QStringLiteral("The report is incomplete: the figures use the readings read before the "
                                       "fault."),
                        this);
    notice->setObjectName(QStringLiteral("notice"));
    notice->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0)"));
    outer->addWidget(notice);
    ruleNotice = new QLabel(this);
    ruleNotice->setObjectName(QStringLiteral("ruleNotice"));
    ruleNotice->setWordWrap(true);
    ruleNotice->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0)"));
    ruleNotice->hide();
    outer->addWidget(ruleNotice);

    // The choices, in one row above the pages: they apply to every page.
    auto* choices = new QHBoxLayout;
    const auto labelled = [this, choices](const QString& text, QWidget* w) {
        auto* l = new QLabel(text, this);
        l->setObjectName(w->objectName() + QStringLiteral("Label"));
        l->setBuddy(w);
        choices->addWidget(l);
        choices->addWidget(w);
        choices->addSpacing(10);
    };
    rule = new QComboBox(this);
    rule->setObjectName(QStringLiteral("rule"));
    for (Rule r : allRules())
        rule->addItem(ruleText(r), ruleKey(r));
    labelled(QStringLiteral("&Rule:"), rule);

    // Typed as the grid reads a number ("2,5" and "2.5" alike, whatever the
    // regional settings); a text that is no such number is refused visibly.
    safetyFactor = new NumberBox(
        [](const QString& t, QString* why) { return boxnumber::readSafetyFactor(t, why); }, QString(), this);
    safetyFactor->setObjectName(QStringLiteral("safetyFactor"));
    safetyFactor->setValue(1.0);
    safetyFactor->setMaximumWidth(80);
    labelled(QStringLiteral("&Safety factor:"), safetyFactor);

    ksUnit = new QComboBox(this);
    ksUnit->setObjectName(QStringLiteral("ksUnit"));
    for (units::Ks u : units::allKs())
        ksUnit->addItem(units::name(u), int(u));
    labelled(QStringLiteral("&Ks in:"), ksUnit);

    psiUnit = new QComboBox(this);
    psiUnit->setObjectName(QStringLiteral("psiUnit"));
    for (units::Psi u : units::allPsi())
        psiUnit->addItem(units::name(u), int(u));
    labelled(QStringLiteral("&Psi_m in:"), psiUnit);

    precision = new NumberBox(
        [](const QString& t, QString* why) { return boxnumber::readPrecisionPercent(t, why); }, QStringLiteral("%"),
        this);
    precision->setObjectName(QStringLiteral("precision"));
    precision->setValue(20.0);
    precision->setMaximumWidth(80);
    precision->setToolTip(QStringLiteral("Tests needed: readings that bring the geometric mean within \u00b1 this "
                                         "at 95 % confidence"));
    labelled(QStringLiteral("Precision \u00b1"), precision);

    includeFlagged = new QCheckBox(QStringLiteral("&Include W-marked readings"), this);
    includeFlagged->setObjectName(QStringLiteral("includeFlagged"));
    choices->addWidget(includeFlagged);
    choices->addStretch(1);
    outer->addLayout(choices);

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    auto* page = new QWidget(tabs);
    page->setObjectName(QStringLiteral("statisticsPage"));
    auto* split = new QHBoxLayout(page);

    statistics = new QTableWidget(0, 3, page);
    statistics->setObjectName(QStringLiteral("statistics"));
    statistics->setHorizontalHeaderLabels({QStringLiteral("Figure"), QStringLiteral("Value"), QStringLiteral("Unit")});
    statistics->verticalHeader()->hide();
    // Values and units always show whole: they take the room they need, and
    // the labels (which grow with the rule and the safety factor) wrap in what
    // is left.
    statistics->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    statistics->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    statistics->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    statistics->horizontalHeader()->setStretchLastSection(false);
    statistics->setWordWrap(true);
    statistics->setTextElideMode(Qt::ElideRight);
    statistics->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(statistics->horizontalHeader(), &QHeaderView::sectionResized, statistics,
            [this](int section) {
                if (section == 0)
                    statistics->resizeRowsToContents();
            });
    statistics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    split->addWidget(statistics, 5);

    readings = new QTableWidget(0, 9, page);
    readings->setObjectName(QStringLiteral("readings"));
    readings->verticalHeader()->hide();
    readings->horizontalHeader()->setStretchLastSection(true);
    readings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* right = new QVBoxLayout;
    right->addWidget(readings, 1);
    QStringList legend;
    for (unsigned f : kAllFlags)
        legend << flagName(Flag(f)) + QStringLiteral(": ") + flagText(Flag(f));
    flagLegend = new QLabel(QStringLiteral("Flags inform, they leave no reading out. ") + legend.join(QStringLiteral("; "))
                                + QChar('.'),
                            page);
    flagLegend->setObjectName(QStringLiteral("flagLegend"));
    flagLegend->setWordWrap(true);
    right->addWidget(flagLegend);
    split->addLayout(right, 6);
    tabs->addTab(page, QStringLiteral("Statistics"));
    outer->addWidget(tabs, 1);

    m_buttons = new QHBoxLayout;
    copy = new QPushButton(QStringLiteral("Copy"), this);
    copy->setObjectName(QStringLiteral("copy"));
    copy->setToolTip(QStringLiteral("Copy the statistics and the readings as tab-separated text"));
    exportCsv = new QPushButton(QStringLiteral("Export CSV\u2026"), this);
    exportCsv->setObjectName(QStringLiteral("exportCsv"));
    closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* b : {copy, exportCsv, closeButton})
        b->setAutoDefault(false);
    m_buttons->addWidget(copy);
    m_buttons->addWidget(exportCsv);
    m_buttons->addStretch(1);
    m_buttons->addWidget(closeButton);
    outer->addLayout(m_buttons);

    const auto changed = [this] { recompute(); };
    connect(rule, &QComboBox::currentIndexChanged, this, changed);
    connect(ksUnit, &QComboBox::currentIndexChanged, this, changed);
    connect(psiUnit, &QComboBox::currentIndexChanged, this, changed);
    connect(safetyFactor, &NumberBox::valueChanged, this, changed);
    connect(precision, &NumberBox::valueChanged, this, changed);
    connect(includeFlagged, &QCheckBox::toggled, this, changed);
    connect(copy, &QPushButton::clicked, this, &AnalysisWindow::copyToClipboard);
    connect(exportCsv, &QPushButton::clicked, this, &AnalysisWindow::exportToCsv);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

void AnalysisWindow::loadSettings()
{
    QSettings s = settings();
    s.beginGroup(QStringLiteral("analysis"));
    // Stored by name, so that a unit or rule added later does not shift them.
    const QString storedRule = s.value(QStringLiteral("rule")).toString();
    if (const auto r = parseRule(storedRule)) {
        rule->setCurrentIndex(rule->findData(ruleKey(*r)));
    } else if (const QString why = retiredRule(storedRule); !why.isEmpty()) {
        // The median gives the same figure the retired rule gave.
        rule->setCurrentIndex(rule->findData(ruleKey(Rule::Median)));
        ruleNotice->setText(QStringLiteral("The rule kept from an earlier session, \"%1\", is no longer offered: %2. "
                                           "The median is shown.")
                                .arg(storedRule, why));
        ruleNotice->show();
    }
    if (const auto u = units::parseKs(s.value(QStringLiteral("ksUnit")).toString()))
        ksUnit->setCurrentIndex(ksUnit->findData(int(*u)));
    if (const auto u = units::parsePsi(s.value(QStringLiteral("psiUnit")).toString()))
        psiUnit->setCurrentIndex(psiUnit->findData(int(*u)));
    // A stored value the boxes would refuse (edited by hand) gives the default.
    const QString sf = s.value(QStringLiteral("safetyFactor"), 1.0).toString();
    safetyFactor->setValue(boxnumber::readSafetyFactor(sf).value_or(1.0));
    const QString pc = s.value(QStringLiteral("precisionPercent"), 20.0).toString();
    precision->setValue(boxnumber::readPrecisionPercent(pc).value_or(20.0));
    includeFlagged->setChecked(s.value(QStringLiteral("includeFlagged"), false).toBool());
}

void AnalysisWindow::saveSettings() const
{
    QSettings s = settings();
    s.beginGroup(QStringLiteral("analysis"));
    s.setValue(QStringLiteral("rule"), ruleKey(m_options.rule));
    s.setValue(QStringLiteral("ksUnit"), units::name(m_options.ksUnit));
    s.setValue(QStringLiteral("psiUnit"), units::name(m_options.psiUnit));
    s.setValue(QStringLiteral("safetyFactor"), m_options.safetyFactor);
    s.setValue(QStringLiteral("precisionPercent"), m_options.precision * 100.0);
    s.setValue(QStringLiteral("includeFlagged"), m_options.includeFlagged);
}

void AnalysisWindow::recompute()
{
    if (m_loading)
        return;
    m_options.rule = parseRule(rule->currentData().toString()).value_or(Rule::GeometricMean);
    m_options.ksUnit = units::Ks(ksUnit->currentData().toInt());
    m_options.psiUnit = units::Psi(psiUnit->currentData().toInt());
    m_options.safetyFactor = safetyFactor->value();
    m_options.precision = precision->value() / 100.0;
    m_options.includeFlagged = includeFlagged->isChecked();
    m_analysis = analyse(m_readings, m_options);
    fillStatistics();
    fillReadings();
    saveSettings();
    emit analysisChanged();
}

void AnalysisWindow::fillStatistics()
{
    const QList<Figure> list = figures(m_analysis, m_options);
    statistics->setRowCount(int(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        const Figure& f = list.at(i);
        statistics->setItem(i, 0, item(labelWithNote(f), Qt::AlignLeft | Qt::AlignVCenter));
        statistics->setItem(i, 1, item(shown(f.value, f.kind)));
        statistics->setItem(i, 2, item(f.unit, Qt::AlignLeft | Qt::AlignVCenter));
        if (f.key == QLatin1String("design_value"))
            for (int c = 0; c < 3; ++c) {
                QFont bold = statistics->font();
                bold.setBold(true);
                statistics->item(i, c)->setFont(bold);
            }
    }
    statistics->resizeRowsToContents();
}

void AnalysisWindow::fillReadings()
{
    const QString ku = units::name(m_options.ksUnit), pu = units::name(m_options.psiUnit);
    readings->setHorizontalHeaderLabels({QStringLiteral("Point"), QStringLiteral("\u0394\u03b8"),
                                         QStringLiteral("t 1/2 (s)"), QStringLiteral("t fin (s)"),
                                         QStringLiteral("Ks (%1)").arg(ku), QStringLiteral("Psi_m (%1)").arg(pu),
                                         QStringLiteral("W"), QStringLiteral("Used"), QStringLiteral("Flags")});
    const QList<Reading>& list = m_analysis.readings;
    readings->setRowCount(int(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        const Reading& r = list.at(i);
        const QStringList cells = readingCells(r, m_options, [](double v) { return shown(v); });
        QStringList why;
        for (unsigned f : kAllFlags)
            if (r.flags & f)
                why << flagText(Flag(f));
        for (int c = 0; c < cells.size(); ++c) {
            QTableWidgetItem* it = item(cells[c], c >= 6 ? Qt::AlignLeft | Qt::AlignVCenter
                                                          : Qt::AlignRight | Qt::AlignVCenter);
            if (!r.used)
                it->setForeground(kLeftOutText);
            readings->setItem(i, c, it);
        }
        if (r.w)
            readings->item(i, 6)->setBackground(kWMarked);
        if (r.flags) {
            readings->item(i, 8)->setBackground(kFlaggedBack);
            readings->item(i, 8)->setToolTip(why.join(QChar('\n')));
        }
    }
    readings->resizeColumnsToContents();
    readings->resizeRowsToContents();
}

QString AnalysisWindow::copyText() const
{
    QStringList lines;
    for (const Figure& f : figures(m_analysis, m_options))
        lines << QStringList{labelWithNote(f).trimmed(),
                             figuretext::defined(f.value, f.kind) ? asPrinted(f.value) : QString(), f.unit}
                     .join(QChar('\t'));
    lines << QString();
    lines << QStringList{QStringLiteral("Point"), QStringLiteral("dtheta"), QStringLiteral("t 1/2 (s)"),
                         QStringLiteral("t fin (s)"), QStringLiteral("Ks (%1)").arg(units::name(m_options.ksUnit)),
                         QStringLiteral("Psi_m (%1)").arg(units::name(m_options.psiUnit)), QStringLiteral("W"),
                         QStringLiteral("Used"), QStringLiteral("Flags")}
                 .join(QChar('\t'));
    for (const Reading& r : m_analysis.readings)
        lines << readingCells(r, m_options, asPrinted).join(QChar('\t'));
    return lines.join(QChar('\n')) + QChar('\n');
}

void AnalysisWindow::copyToClipboard()
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(copyText());
}

void AnalysisWindow::exportToCsv()
{
    const QString path = chooseCsvPath(this, proposedExportPath(m_dataSet, QStringLiteral("_analysis.csv")));
    if (path.isEmpty())
        return;
    QString why;
    if (!writeAtomically(path, sitecsv::siteFile(m_report, m_analysis, m_options), &why))
        veldesk::showMessage(this, QStringLiteral("Unable to export the analysis to ") + path + QStringLiteral("\n") + why,
                             veldesk::MsgIcon::Critical);
}

} // namespace veldesk
