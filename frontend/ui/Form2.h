#pragma once
// The results window: one finished engine run. On opening it writes the
// results copy beside the data set, shows the report's processed-file,
// description and pipe-dimensions lines and cuts the table into the grid;
// the operator copies the table as text or picture, saves it under another
// name, and returns with OK.
#include "report.h"

#include <QDialog>
#include <QString>

class QLabel;
class QAbstractButton;

namespace veldesk {

class FlexGrid;

class Form2 : public QDialog {
    Q_OBJECT
public:
    // reportPath: the engine's report (`fa`); dataSetPath: the data-set file.
    Form2(const QString& reportPath, const QString& dataSetPath, QWidget* parent = nullptr);

    QLabel* Label1[4] = {};
    QLabel* Label2 = nullptr;
    FlexGrid* Gr2 = nullptr;
    QAbstractButton* Command1 = nullptr; // OK
    QAbstractButton* Command2 = nullptr; // Data to Clipboard
    QAbstractButton* Command3 = nullptr; // Image to Clipboard
    QAbstractButton* Command4 = nullptr; // Save as...
    QAbstractButton* Command5 = nullptr; // Analysis...: the site's statistics

    // The grid's rows while loading: headings, units and the readings.
    static constexpr int kLoadingRows = 2 + report::kResultsGridReadings;

private:
    void buildControls();
    void cargar(); // loads the report; stops at the first failure
    bool setHeadings();
    void datosAlPortapapeles();
    void imagenAlPortapapeles();
    void guardarComo();
    void analisis();

    QString m_report;
    QString m_dataSet;
    QString m_resultsCopy;
};

} // namespace veldesk
