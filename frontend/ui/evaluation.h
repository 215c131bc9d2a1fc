#pragma once
// The evaluation run: hands the saved data set to the engine, waits for its
// report and opens the results window. What to show and when is decided by
// evalflow::Flow; this class only wires it to the main window's 500 ms timer,
// the engine's process, the pointer and the windows.
//
// The engine runs in the data-set file's directory, so its report lands at
// `fa` beside the data set; the report counts as found only once the engine
// has ended, so a half-written report is never read. The end of the engine's
// process opens the results at once; the tick finds a report that comes in
// any other way and times the wait out.
#include "evalflow.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QProcess;
class QWidget;

namespace veldesk {

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

    QString fa; // where the report is expected
    bool esperando() const { return m_flow.esperando(); }
    int contador() const { return m_flow.contador(); }

private:
    void feed(evalflow::Event event, const evalflow::Facts& facts = {});
    bool startEngine(); // false when the engine could not be started
    void engineEnded();
    void resultados();
    void setBusy(bool busy);
    bool engineRunning() const;
    bool reportReadable() const;
    QString engineFileName() const;
    void stopEngine();

    evalflow::Flow m_flow;
    QPointer<QWidget> m_owner;
    std::function<QString()> m_dataSetPath;
    QString m_engine;
    QString m_runDataSet; // the data set of the run being waited for
    QProcess* m_process = nullptr;
    QByteArray m_diagnostic; // the start of what the engine wrote to its standard error
    bool m_busy = false;
};

} // namespace veldesk
