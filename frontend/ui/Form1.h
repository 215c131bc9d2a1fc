#pragma once
// The main window: the data set being edited (file name, description, pipe
// dimensions, up to 100 readings in the grid Gr1) and the buttons for every
// command of the front end.
//
// The grid has no editor of its own: characters typed into it collect in the
// hidden buffer Text2, and a key release writes the buffer, read as a number,
// into the grid's current cell. Those rules live in gridedit::Editor; this
// window passes the grid's events to it and applies what comes back.
#include <QLocale>
#include <QWidget>
#include <array>
#include <memory>

#include "evaluation.h"
#include "gridedit.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;
class QPushButton;

namespace veldesk {

class FlexGrid;

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Loads a data-set file into the description, pipe-dimension boxes and grid.
    // A file that is not a data set is refused with a message and changes
    // nothing; false then, and when the file cannot be read.
    bool abrir_archivo(const QString& nom);
    // Opens a data set named from outside the window (the command line, a
    // dropped file) as Open does with the file its dialog returns; a file
    // that cannot be read is refused with a message.
    void openDataSetFile(const QString& name);
    // Draws headings, widths and numbering; makes cell (1, 1) current.
    void pinta_rejilla();

    Evaluation& evaluation() { return *m_evaluation; }

    // Before the data set in the window is replaced or the program ends: true
    // when that may go ahead, either because nothing is unsaved or because the
    // operator chose Save (and the save completed) or Discard; false after
    // Cancel or a save that did not complete.
    bool confirmDiscardOrSave();

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

    // Editing state of the grid, kept by the editor under these names.
    gridedit::Editor editor;
    bool& editando = editor.editando;
    int& fila_actual = editor.fila_actual;
    int& col_actual = editor.col_actual;
    int& fila_previa = editor.fila_previa;  // -1: no highlight yet
    int& col_previa = editor.col_previa;

private:
    void buildControls();
    void apply(const gridedit::Changes& ch);
    gridedit::Cell gridCurrent() const;
    void gridKeyTyped(int charCode);
    void gridKeyReleased(int keyCode);
    void gridSelectionChanged();
    void fileNameChanged();
    void setMarkerModified();
    void clearMarker();
    void showModified();
    void updateEvaluateState();
    QColor restingColor(gridedit::Cell c) const;

    void copyGrid();
    void pasteGrid();
    struct Pasted {
        int attention = 0; // cells that need the operator's attention
        int leftOut = 0;   // rows of text beyond the grid's last row
    };
    Pasted layPaste();
    void clearGrid();
    void saveDataSet();
    void openDataSet();

    // The file last opened and, when it held data the grid does not show
    // (more than 100 readings, data after where loading stopped), what that
    // is: saving over the file would drop it, so Save asks first.
    QString m_openedPath;
    QString m_openedUnshown;

    // The operator's regional settings for numbers shown in the grid.
    static QLocale operatorLocale() { return QLocale(); }

    std::unique_ptr<Evaluation> m_evaluation;
    bool m_modified = false;
    bool m_nameGiven = false; // the file-name box was changed, or a data set saved or opened

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace veldesk
