#pragma once
// The evaluation run: hands the saved data set to the engine, waits for its
// report with the main window's 500 ms timer and opens the results window.
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

class Evaluation : public QObject {
    Q_OBJECT
public:
    // owner: the main window (owns the messages, shows the busy pointer).
    // dataSetPath: the text of the main window's file-name box, read when needed.
    Evaluation(QWidget* owner, std::function<QString()> dataSetPath);

    // The engine program; by default `velpra` (VELPRA.EXE on Windows) beside
    // the front end's own program file.
    void setEngineProgram(const QString& path);
    QString engineProgram() const;

    void start(); // the Evaluate button was clicked
    void tick();  // one tick of the main window's timer

    QString fa;             // where the report is expected
    int contador = 0;       // ticks since the click; above 20 the wait has timed out
    bool esperando = false; // a run is waiting for its report

private:
    QWidget* m_owner;
    std::function<QString()> m_dataSetPath;
    QString m_engine;
};
