#include "evalflow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace veldesk {

namespace evalflow {

Action Flow::feed(Event event, const Facts& facts)
{
    switch (event) {
    case Event::Click:
        m_contador = 1;
        if (facts.dataSetIsReport || facts.staleReportKept) {
            // Nothing is started, so there is nothing to wait for.
            m_contador = 0;
            m_esperando = false;
            return facts.dataSetIsReport ? Action::RefuseReportName : Action::RefuseStaleReport;
        }
        // Armed before either test: after "File not found" or "Unable to
        // Find" the busy pointer stays and the time-out follows.
        m_esperando = true;
        return facts.dataSetReadable ? Action::StartEngine : Action::SaveFirst;
    case Event::EngineStartFailed:
        return Action::EngineNotStarted;
    case Event::Tick:
        return tick(facts);
    case Event::EngineEnded:
        return engineEnded(facts);
    case Event::ResultsClosed:
        m_esperando = false;
        return Action::None;
    }
    return Action::None;
}

Action Flow::tick(const Facts& facts)
{
    Action action = Action::None;
    // A report counts only once the engine has ended: a half-written one is never read.
    if (m_esperando && !facts.engineRunning && facts.reportReadable) {
        m_esperando = false;
        m_contador = 0;
        action = Action::ShowResults;
    }
    if (m_contador > 0)
        ++m_contador;
    if (m_contador > kTimeoutTicks && m_esperando) {
        // Only the counting stops: a report that arrives later still opens the results.
        m_contador = 0;
        action = Action::TimedOut;
    }
    return action;
}

Action Flow::engineEnded(const Facts& facts)
{
    if (!m_esperando)
        return Action::None;
    // The same test as a tick's, only without waiting for the tick.
    if (facts.reportReadable) {
        m_esperando = false;
        m_contador = 0;
        return Action::ShowResults;
    }
    // A failed engine writes no report later: the run is over.
    if (facts.engineFailed) {
        m_esperando = false;
        m_contador = 0;
        return Action::EngineFailed;
    }
    // Ended normally without a report (for example after its usage text):
    // the wait runs on to the time-out, as before.
    return Action::None;
}

QString engineArgument(const QString& absoluteDataSetPath)
{
    const QString native = QDir::toNativeSeparators(absoluteDataSetPath);
    // The engine cuts the name by bytes, as it receives it.
    return QFile::encodeName(native).size() <= kProcessedFileWidth ? native
                                                                    : QFileInfo(absoluteDataSetPath).fileName();
}

QString engineFailureText(const QString& engineName, int exitStatus, bool crashed,
                          const QString& diagnostic)
{
    QString text = crashed ? engineName + QStringLiteral(" stopped abnormally without writing its report.")
                           : engineName + QStringLiteral(" ended without writing its report (exit status %1).")
                                              .arg(exitStatus);
    const QString said = diagnostic.trimmed();
    if (!said.isEmpty())
        text += QStringLiteral("\n\n") + said;
    return text;
}

} // namespace evalflow

} // namespace veldesk
