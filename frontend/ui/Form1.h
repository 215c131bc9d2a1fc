#pragma once
// The main window: the data set being edited (file name, description, pipe
// dimensions, up to 100 readings in the grid Gr1) and the buttons for every
// command of the front end.
//
// The grid has no editor of its own: characters typed into it collect in the
// hidden buffer Text2, and every key release writes the buffer, read as a
// number, into the grid's current cell.
#include <QLocale>
#include <QWidget>
#include <array>
#include <memory>

#include "evaluation.h"

class FlexGrid;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;
class QPushButton;

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Loads a data-set file into the description, pipe-dimension boxes and grid.
    void abrir_archivo(const QString& nom);
    // Opens a data set named from outside the window (the command line, a
    // dropped file) as Open does with the file its dialog returns; a file
    // that cannot be read is refused with a message.
    void openDataSetFile(const QString& name);
    // Asked before the data set in the window is replaced: true to go ahead.
    bool confirmDiscardOrSave();
    // Draws headings, widths and numbering; makes cell (1, 1) current.
    void pinta_rejilla();
    // Moves the highlight to (row, column) and loads the edit buffer from it.
    void selecciona_celda(int col, int row);
    // Moves to the next cell in reading order (row 100, column 3 stays).
    void avanza_celda();

    Evaluation& evaluation() { return *m_evaluation; }

    // Controls, by the names the rest of the front end knows them by.
    std::array<QLabel*, 2> desc{};
    std::array<QLineEdit*, 4> Text1{};     // description, ri, h0, file name
    std::array<QLabel*, 5> Label1{};
    QLineEdit* Text2 = nullptr;            // the grid's edit buffer, never shown
    QToolButton* Command1 = nullptr;       // Evaluate
    QToolButton* Command2 = nullptr;       // Exit
    QPushButton* Command3 = nullptr;       // "..." data directory
    QToolButton* Command4 = nullptr;       // Save
    QToolButton* Command5 = nullptr;       // Open
    QToolButton* Command6 = nullptr;       // Help
    QToolButton* Command7 = nullptr;       // Copy
    QToolButton* Command8 = nullptr;       // Paste
    QToolButton* Command9 = nullptr;       // Clear
    QGroupBox* Frame1 = nullptr;
    FlexGrid* Gr1 = nullptr;
    QLabel* Label2 = nullptr;              // "modified" marker
    QTimer* Timer1 = nullptr;

    // Editing state of the grid.
    bool editando = false;
    int fila_actual = 1, col_actual = 1;
    int fila_previa = -1, col_previa = 0;  // -1: no highlight yet

private:
    void vuelve_a_celda_resaltada();
    void gridKeyTyped(int charCode);
    void gridKeyReleased(int keyCode);
    void gridSelectionChanged();
    void fileNameChanged();
    void setMarkerModified();
    void clearMarker();

    void copyGrid();
    void pasteGrid();
    void clearGrid();
    void saveDataSet();
    void openDataSet();

    // The operator's regional settings for numbers shown in the grid.
    static QLocale operatorLocale() { return QLocale(); }

    std::unique_ptr<Evaluation> m_evaluation;
};
