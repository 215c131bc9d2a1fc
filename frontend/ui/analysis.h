#pragma once
// The analysis window: a site's figures from one engine report. The operator
// chooses the rule of the design value, the safety factor, the units, whether
// W-marked readings count and the precision aimed at; the window shows the
// statistics (4 significant digits) and every reading with its quality flags,
// copies both as tab-separated text in the operator's number format and
// exports them as CSV. The choices are remembered across runs.
//
// The figures live on the "Statistics" page of `tabs`; further pages (charts)
// are added there, and further buttons to buttonRow(). analysisChanged() is
// emitted whenever a choice changes the figures.
#include "sitestats.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTabWidget;

namespace veldesk {

class NumberBox;

class AnalysisWindow : public QDialog {
    Q_OBJECT
public:
    // reportPath: the engine report to analyse; dataSetPath: the data set it
    // came from, which names the proposed CSV file.
    AnalysisWindow(const QString& reportPath, const QString& dataSetPath, QWidget* parent = nullptr);

    const sitestats::Analysis& analysis() const { return m_analysis; }
    const sitestats::Options& options() const { return m_options; }
    QString reportPath() const { return m_report; }
    QString dataSetPath() const { return m_dataSet; }
    QStringList reportLines() const { return m_lines; } // the report as read, line by line
    QBoxLayout* buttonRow() const { return m_buttons; }

    // The text "Copy" puts on the clipboard: the statistics, an empty line,
    // then the readings, cells joined by tabs and rows by line feeds.
    QString copyText() const;

    // Where the CSV goes; asks with a file dialog unless a test replaces it.
    // An empty answer cancels.
    std::function<QString(QWidget* parent, const QString& proposed)> chooseCsvPath;

    // Where the choices are kept, under the group "analysis".
    static constexpr const char* kSettingsOrganization = "VELDESK";
    static constexpr const char* kSettingsApplication = "VELDESK";

    QTabWidget* tabs = nullptr;
    QLabel* source = nullptr;  // the report's processed-file and description lines
    QLabel* notice = nullptr;  // shown when the report was incomplete
    QLabel* ruleNotice = nullptr; // shown when the settings held a rule no longer offered
    QComboBox* rule = nullptr;
    NumberBox* safetyFactor = nullptr;
    QComboBox* ksUnit = nullptr;
    QComboBox* psiUnit = nullptr;
    QCheckBox* includeFlagged = nullptr;
    NumberBox* precision = nullptr; // X in percent
    QTableWidget* statistics = nullptr;
    QTableWidget* readings = nullptr;
    QLabel* flagLegend = nullptr; // the flags' short names explained
    QPushButton* copy = nullptr;
    QPushButton* exportCsv = nullptr;
    QPushButton* closeButton = nullptr;

signals:
    void analysisChanged();

private:
    void buildControls();
    void loadSettings();
    void saveSettings() const;
    void recompute();
    void fillStatistics();
    void fillReadings();
    void copyToClipboard();
    void exportToCsv();

    QString m_report;
    QString m_dataSet;
    QStringList m_lines;
    QList<sitestats::Reading> m_readings;
    sitestats::Options m_options;
    sitestats::Analysis m_analysis;
    QBoxLayout* m_buttons = nullptr;
    bool m_loading = true;
};

} // namespace veldesk
