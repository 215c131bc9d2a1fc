#include "evaluation.h"

#include "Form2.h"
#include "Module1.h"
#include "report.h"
#include "seam.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace veldesk {

using evalflow::Action;
using evalflow::Event;
using evalflow::Facts;

namespace {

// Enough of the engine's standard error for its diagnostic; more is read and dropped.
constexpr qsizetype kDiagnosticLimit = 4096;

QString defaultEngine()
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("VELPRA.EXE");
#else
    const QString name = QStringLiteral("velpra");
#endif
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

} // namespace

Evaluation::Evaluation(QWidget* owner, std::function<QString()> dataSetPath)
    : m_owner(owner), m_dataSetPath(std::move(dataSetPath)), m_engine(defaultEngine())
{
}

Evaluation::~Evaluation()
{
    setBusy(false);
}

void Evaluation::setEngineProgram(const QString& path)
{
    // The engine runs in another directory: a relative path would resolve there.
    m_engine = path.contains(QChar('/')) || path.contains(QChar('\\')) ? QFileInfo(path).absoluteFilePath()
                                                                         : path;
}

QString Evaluation::engineFileName() const
{
    return QFileInfo(m_engine).fileName();
}

bool Evaluation::engineRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

bool Evaluation::reportReadable() const
{
    return !fa.isEmpty() && Module1::existe_archivo(fa) != 0;
}

void Evaluation::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (!m_owner)
        return;
    if (busy)
        m_owner->setCursor(Qt::WaitCursor);
    else
        m_owner->unsetCursor();
}

void Evaluation::stopEngine()
{
    if (!m_process)
        return;
    // An earlier engine still at work would write the same report; its end
    // is no longer news.
    m_process->disconnect();
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(3000);
    }
    m_process->deleteLater();
    m_process = nullptr;
}

void Evaluation::start()
{
    stopEngine();
    m_runDataSet = m_dataSetPath();
    fa = report::reportPathFor(m_runDataSet);
    Facts facts;
    // A data set named as the report would be deleted as a stale report, and
    // the engine would write over it: it is never touched.
    facts.dataSetIsReport = report::hasReportName(m_runDataSet);
    // A report left from an earlier run must not be taken for the new one.
    const QFileInfo stale(fa);
    facts.staleReportKept = !facts.dataSetIsReport && (stale.exists() || stale.isSymLink()) && !QFile::remove(fa);
    facts.dataSetReadable = Module1::existe_archivo(m_runDataSet) != 0;
    feed(Event::Click, facts);
}

void Evaluation::tick()
{
    Facts facts;
    facts.engineRunning = engineRunning();
    facts.reportReadable = m_flow.esperando() && !facts.engineRunning && reportReadable();
    feed(Event::Tick, facts);
}

void Evaluation::engineEnded()
{
    m_diagnostic += m_process->readAllStandardError().left(kDiagnosticLimit - m_diagnostic.size());
    Facts facts;
    facts.reportReadable = reportReadable();
    facts.engineFailed = m_process->exitStatus() != QProcess::NormalExit || m_process->exitCode() != 0;
    feed(Event::EngineEnded, facts);
}

bool Evaluation::startEngine()
{
    // The engine writes its report into its working directory: run it in
    // the data set's directory, where `fa` points.
    const QString dirPart = report::directoryPart(m_runDataSet);
    const QDir workDir(dirPart.isEmpty() ? QStringLiteral(".") : dirPart);
    const QString fileName = m_runDataSet.mid(dirPart.size());

    auto* process = new QProcess(this);
    process->setProgram(m_engine);
    process->setArguments({evalflow::engineArgument(workDir.absoluteFilePath(fileName))});
    process->setWorkingDirectory(workDir.absolutePath());
    // No console: the root finder's wait for an answer ends at once.
    // Standard error comes through a pipe that is read as it fills, so
    // the engine never blocks on it; the rest of its console is dropped.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
    process->setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= CREATE_NO_WINDOW; });
#endif
    m_diagnostic.clear();
    connect(process, &QProcess::readyReadStandardError, this, [this, process] {
        const QByteArray chunk = process->readAllStandardError();
        m_diagnostic += chunk.left(kDiagnosticLimit - m_diagnostic.size());
    });
    // Queued: the results window is modal, and its event loop must not
    // run inside the process's own signal. Dropped with the process.
    connect(process, &QProcess::finished, process, [this, process] {
        if (process == m_process)
            engineEnded();
    }, Qt::QueuedConnection);
    process->start();
    if (!process->waitForStarted(10000)) {
        delete process;
        return false;
    }
    m_process = process;
    return true;
}

void Evaluation::feed(Event event, const Facts& facts)
{
    const Action action = m_flow.feed(event, facts);
    setBusy(m_flow.busy());
    switch (action) {
    case Action::None:
        break;
    case Action::StartEngine:
        if (!startEngine())
            feed(Event::EngineStartFailed);
        break;
    case Action::RefuseStaleReport:
        veldesk::showMessage(m_owner, QStringLiteral("Unable to delete the old report ")
                                          + QDir::toNativeSeparators(fa)
                                          + QStringLiteral(". Close the program that holds it or "
                                                           "check its permissions, then evaluate again."),
                             veldesk::MsgIcon::Critical);
        break;
    case Action::RefuseReportName:
        veldesk::showMessage(m_owner, QStringLiteral("File ") + QDir::toNativeSeparators(m_runDataSet)
                                          + QStringLiteral(" has the name of the report that evaluating writes in its "
                                                           "folder, which would replace it. Save the readings under "
                                                           "another name, then evaluate that file."),
                             veldesk::MsgIcon::Critical);
        break;
    case Action::SaveFirst:
        veldesk::showMessage(m_owner, QStringLiteral("File not found. Save File before data treatment"));
        break;
    case Action::EngineNotStarted:
        veldesk::showMessage(m_owner, QStringLiteral("Unable to Find ") + engineFileName()
                                          + QStringLiteral(" in ")
                                          + QDir::toNativeSeparators(QFileInfo(m_engine).absolutePath()));
        break;
    case Action::ShowResults:
        resultados();
        break;
    case Action::EngineFailed:
        veldesk::showMessage(m_owner,
                             evalflow::engineFailureText(engineFileName(), m_process->exitCode(),
                                                         m_process->exitStatus() != QProcess::NormalExit,
                                                         QString::fromLocal8Bit(m_diagnostic)),
                             veldesk::MsgIcon::Critical);
        break;
    case Action::TimedOut:
        veldesk::showMessage(m_owner, engineFileName() + QStringLiteral(" Not Found"),
                             veldesk::MsgIcon::Critical);
        break;
    }
}

void Evaluation::resultados()
{
    Form2 form(fa, m_runDataSet, m_owner);
    form.exec();
    feed(Event::ResultsClosed);
}

} // namespace veldesk
