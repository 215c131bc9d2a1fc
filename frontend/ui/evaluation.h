#pragma once
// The evaluation run: hands the saved data set to the engine, waits for its
// report with the main window's 500 ms timer and opens the results window.
//
// The engine runs in the data-set file's directory, so its report lands at
// `fa` beside the data set; the report counts as found only once the engine
// has ended, so a half-written report is never read.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QProcess;
class QWidget;

class Evaluation : public QObject {
    Q_OBJECT
public:
    // owner: the main window (owns the messages, shows the busy pointer).
    // dataSetPath: the text of the main window's file-name box, read when needed.
    Evaluation(QWidget* owner, std::function<QString()> dataSetPath);
    ~Evaluation() override;

    // The engine program; by default `velpra` (VELPRA.EXE on Windows) beside
    // the front end's own program file.
    void setEngineProgram(const QString& path);

    void start(); // the Evaluate button was clicked
    void tick();  // one tick of the main window's timer

    QString fa;             // where the report is expected
    int contador = 0;       // ticks since the click; above 20 the wait has timed out
    bool esperando = false; // a run is waiting for its report

    // Ticks after which an unanswered wait times out (about 10 s).
    static constexpr int kTimeoutTicks = 20;

    // The engine argument for a data set: the absolute path while the engine
    // can take it whole (it keeps at most 200 characters), otherwise the bare
    // file name, valid from the data set's directory where the engine runs.
    static QString engineArgument(const QString& absoluteDataSetPath);

private:
    void resultados();
    void setBusy(bool busy);
    bool engineRunning() const;
    QString engineFileName() const;

    QPointer<QWidget> m_owner;
    std::function<QString()> m_dataSetPath;
    QString m_engine;
    QString m_runDataSet; // the data set of the run being waited for
    QProcess* m_process = nullptr;
    bool m_busy = false;
};
