#pragma once
// The decisions of an evaluation run, free of windows, timers and processes:
// which message or window comes after the Evaluate click, a timer tick, the
// end of the engine's process or the closing of the results window.
//
// The caller observes the world (can the report at `fa` be opened, is the
// engine still running, how did it end), feeds one event with those facts,
// sets the pointer from busy() and then carries out the one action returned.
//
//   idle            esperando false, contador 0
//   counting        esperando true,  contador 1..20   (busy pointer)
//   timed out       esperando true,  contador 0       (a late report still opens the results)
//   showing results esperando false, until ResultsClosed
#include <QString>

namespace veldesk {

namespace evalflow {

enum class Event {
    Click,             // Evaluate clicked; the stale report has been dealt with
    EngineStartFailed, // the engine program could not be started
    Tick,              // one tick of the main window's 500 ms timer
    EngineEnded,       // the engine's process has ended
    ResultsClosed,     // the results window has been closed
};

struct Facts {
    bool dataSetIsReport = false; // Click: the data set bears the report's name (nothing deleted)
    bool staleReportKept = false; // Click: an old report at `fa` could not be deleted
    bool dataSetReadable = true;  // Click: the data-set file can be opened for reading
    bool reportReadable = false;  // Tick, EngineEnded: the report at `fa` can be opened for reading
    bool engineRunning = false;   // Tick: the engine's process has not ended yet
    bool engineFailed = false;    // EngineEnded: non-zero exit status or a crash
};

enum class Action {
    None,
    StartEngine,       // start the engine on the data set
    RefuseReportName,  // the data set is named as the report: say so, nothing is deleted or started
    RefuseStaleReport, // the old report cannot be deleted: say so, nothing is started
    SaveFirst,         // "File not found. Save File before data treatment"
    EngineNotStarted,  // "Unable to Find <engine> in <directory>"
    ShowResults,       // open the results window, modally
    EngineFailed,      // the engine ended without a report: its own diagnostic, critical
    TimedOut,          // "<engine> Not Found", critical
};

// Ticks after which an unanswered wait times out (about 10 s).
inline constexpr int kTimeoutTicks = 20;

class Flow {
public:
    Action feed(Event event, const Facts& facts = {});

    bool esperando() const { return m_esperando; }
    int contador() const { return m_contador; }
    // The busy pointer is shown from the click until the report is found, the
    // time-out message is due or the engine is known to have failed.
    bool busy() const { return m_esperando && m_contador > 0; }

private:
    Action tick(const Facts& facts);
    Action engineEnded(const Facts& facts);

    bool m_esperando = false;
    int m_contador = 0;
};

// The engine's argument for a data set: the absolute path while the report's
// "Processed file:" line holds it whole (kProcessedFileWidth bytes as passed),
// otherwise the bare file name, valid in the data set's directory where the
// engine runs.
inline constexpr int kProcessedFileWidth = 65;
QString engineArgument(const QString& absoluteDataSetPath);

// The critical message for an engine that ended without a report: what ended
// and how, then its own diagnostic from standard error when it gave one.
QString engineFailureText(const QString& engineName, int exitStatus, bool crashed,
                          const QString& diagnostic);

} // namespace evalflow

} // namespace veldesk
