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

namespace {

// The engine keeps the first 200 characters of its argument as the file name.
constexpr int kEngineArgumentLimit = 200;

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

QString Evaluation::engineArgument(const QString& absoluteDataSetPath)
{
    const QString native = QDir::toNativeSeparators(absoluteDataSetPath);
    return native.size() <= kEngineArgumentLimit ? native : QFileInfo(absoluteDataSetPath).fileName();
}

bool Evaluation::engineRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
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

void Evaluation::start()
{
    // An earlier engine still at work would write the same report.
    if (engineRunning()) {
        m_process->kill();
        m_process->waitForFinished(3000);
    }
    if (m_process) {
        m_process->deleteLater();
        m_process = nullptr;
    }

    contador = 1;
    m_runDataSet = m_dataSetPath();
    fa = report::reportPathFor(m_runDataSet);
    // A report left from an earlier run must not be taken for the new one.
    const QFileInfo stale(fa);
    if ((stale.exists() || stale.isSymLink()) && !QFile::remove(fa)) {
        contador = 0;
        esperando = false;
        setBusy(false);
        veldesk::showMessage(m_owner, QStringLiteral("Unable to delete the old report ")
                                          + QDir::toNativeSeparators(fa)
                                          + QStringLiteral(". Close the program that holds it or "
                                                           "check its permissions, then evaluate again."),
                             veldesk::MsgIcon::Critical);
        return;
    }
    esperando = true;
    setBusy(true);

    if (Module1::existe_archivo(m_runDataSet) == 0) {
        veldesk::showMessage(m_owner, QStringLiteral("File not found. Save File before data treatment"));
        return;
    }

    // The engine writes its report into its working directory: run it in the
    // data set's directory, where `fa` points.
    const QString dirPart = report::directoryPart(m_runDataSet);
    const QDir workDir(dirPart.isEmpty() ? QStringLiteral(".") : dirPart);
    const QString fileName = m_runDataSet.mid(dirPart.size());

    auto* process = new QProcess(this);
    process->setProgram(m_engine);
    process->setArguments({engineArgument(workDir.absoluteFilePath(fileName))});
    process->setWorkingDirectory(workDir.absolutePath());
    // No console: the root finder's wait for an answer ends at once, and
    // nothing the engine prints can fill a pipe.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
    process->setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= CREATE_NO_WINDOW; });
#endif
    process->start();
    if (!process->waitForStarted(10000)) {
        delete process;
        veldesk::showMessage(m_owner, QStringLiteral("Unable to Find ") + engineFileName()
                                          + QStringLiteral(" in ")
                                          + QDir::toNativeSeparators(QFileInfo(m_engine).absolutePath()));
        return;
    }
    m_process = process;
}

void Evaluation::tick()
{
    if (esperando && !engineRunning() && Module1::existe_archivo(fa) != 0) {
        esperando = false;
        contador = 0;
        setBusy(false);
        resultados();
    }
    if (contador > 0)
        ++contador;
    if (contador > kTimeoutTicks && esperando) {
        setBusy(false);
        contador = 0;
        veldesk::showMessage(m_owner, engineFileName() + QStringLiteral(" Not Found"),
                             veldesk::MsgIcon::Critical);
    }
}

void Evaluation::resultados()
{
    Form2 form(fa, m_runDataSet, m_owner);
    form.exec();
    esperando = false;
}
