#include "saveflow.h"

namespace veldesk {

namespace saveflow {

QString columnName(int col)
{
    switch (col) {
    case 1: return QString::fromUtf8("\u0394\u03b8");
    case 2: return QStringLiteral("t 1/2");
    case 3: return QStringLiteral("t fin");
    }
    return QString::number(col);
}

namespace {

// Naming a handful of cells is enough to find them; the rest are counted.
constexpr int kCellsNamed = 3;

QString notNumbersText(const QList<datafile::CellAt>& cells)
{
    QStringList named;
    for (qsizetype i = 0; i < cells.size() && i < kCellsNamed; ++i)
        named << QStringLiteral("row %1, column %2 (\"%3\")")
                     .arg(cells.at(i).row)
                     .arg(columnName(cells.at(i).col), cells.at(i).text);
    QString text = cells.size() == 1
        ? QStringLiteral("This cell of the readings is not one number: ")
        : QStringLiteral("These cells of the readings are not one number each: ");
    text += named.join(QStringLiteral("; "));
    if (cells.size() > kCellsNamed)
        text += QStringLiteral("; and %1 more").arg(cells.size() - kCellsNamed);
    text += QStringLiteral(".\nCorrect %1 before saving. Nothing was saved.")
                .arg(cells.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"));
    return text;
}

} // namespace

Plan plan(const Facts& f)
{
    Plan p;
    if (f.path.isEmpty())
        return p;
    // A description the engine would misread or that the file cannot hold.
    if (!f.descriptionProblem.isEmpty()) {
        p.steps << Step{Step::Refuse, f.descriptionProblem + QStringLiteral("\nNothing was saved.")};
        return p;
    }
    // A cell that is not a number would be written as some number.
    if (!f.extent.notNumbers.isEmpty()) {
        p.steps << Step{Step::Refuse, notNumbersText(f.extent.notNumbers)};
        return p;
    }
    if (f.fileExists)
        p.steps << Step{Step::Ask, QStringLiteral("File ") + f.path + QStringLiteral(" exists. Overwrite?")};
    // Readings the grid never showed would be lost with the file they are in.
    if (!f.unshown.isEmpty())
        p.steps << Step{Step::Ask,
                        QStringLiteral("File ") + f.path + QLatin1Char(' ') + f.unshown
                            + QStringLiteral(". Saving replaces it with the %1 readings of the grid; the"
                                             " others will be lost. Save anyway?")
                                  .arg(f.extent.saved),
                        true};
    // Save ends the readings at the first row with an empty or zero cell;
    // rows with data below it are named before they are lost.
    if (f.extent.leftOutWithData > 0)
        p.steps << Step{Step::Ask,
                        QStringLiteral("Row %1 has an empty, zero or non-numeric cell, and the readings"
                                       " saved end before it: %2 row(s) holding data, from row %3 on,"
                                       " will not be saved. Save the first %4 reading(s) anyway?")
                            .arg(f.extent.saved + 1)
                            .arg(f.extent.leftOutWithData)
                            .arg(f.extent.firstLeftOut)
                            .arg(f.extent.saved),
                        true};
    p.write = true;
    return p;
}

} // namespace saveflow

} // namespace veldesk
