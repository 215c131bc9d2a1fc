#include "evalflow.h"
#include "test_support.h"

using namespace veldesk;

using namespace evalflow;

namespace {

// Runs a script of events through a fresh flow. Words are separated by
// blanks: an event (click, startfail, tick, end, closed), optionally "*n" to
// repeat it, and ":" with facts joined by "+" (isreport, stale, nofile,
// report, running, fail). Returns the actions other than None, each followed by the
// step number (1-based, repetitions counted) at which it came, and the state.
struct Outcome {
    QString actions;
    QString state;
};

Outcome run(const QString& script)
{
    static const QMap<QString, Event> events{{"click", Event::Click},
                                             {"startfail", Event::EngineStartFailed},
                                             {"tick", Event::Tick},
                                             {"end", Event::EngineEnded},
                                             {"closed", Event::ResultsClosed}};
    static const QMap<Action, QString> names{{Action::StartEngine, "start"},
                                             {Action::RefuseStaleReport, "refuse"},
                                             {Action::RefuseReportName, "reportname"},
                                             {Action::SaveFirst, "savefirst"},
                                             {Action::EngineNotStarted, "notstarted"},
                                             {Action::ShowResults, "results"},
                                             {Action::EngineFailed, "failed"},
                                             {Action::TimedOut, "timeout"}};
    Flow flow;
    QStringList actions;
    int step = 0;
    for (const QString& word : script.split(' ', Qt::SkipEmptyParts)) {
        const QString head = word.section(':', 0, 0);
        const QStringList facts = word.section(':', 1).split('+', Qt::SkipEmptyParts);
        Facts f;
        f.staleReportKept = facts.contains("stale");
        f.dataSetIsReport = facts.contains("isreport");
        f.dataSetReadable = !facts.contains("nofile");
        f.reportReadable = facts.contains("report");
        f.engineRunning = facts.contains("running");
        f.engineFailed = facts.contains("fail");
        const int times = head.contains('*') ? head.section('*', 1).toInt() : 1;
        const Event e = events.value(head.section('*', 0, 0));
        for (int i = 0; i < times; ++i) {
            ++step;
            const Action a = flow.feed(e, f);
            if (a != Action::None)
                actions << QStringLiteral("%1@%2").arg(names.value(a)).arg(step);
        }
    }
    const QString state = !flow.esperando() ? (flow.contador() == 0 ? "idle" : "counting?")
                          : flow.contador() == 0 ? "timedout"
                                                 : QStringLiteral("counting%1").arg(flow.contador());
    EXPECT_EQ(flow.busy(), state.startsWith("counting")) << script.toStdString();
    return {actions.join(' '), state};
}

struct Case {
    const char* what;
    const char* script;
    const char* actions;
    const char* state;
};

const Case kCases[] = {
    // The report found by a tick, then the window closed: idle, no time-out follows.
    {"report at first tick", "click tick:report closed tick*30", "start@1 results@2", "idle"},
    {"engine ends with its report", "click end:report closed tick*30", "start@1 results@2", "idle"},
    {"report still being written", "click tick*3:report+running tick*2 end:report", "start@1 results@7", "idle"},
    {"a report counts when the engine has ended, also at a tick", "click end tick:report", "start@1 results@3",
     "idle"},
    // The 20th tick after the click times out, once; a late report still opens the results.
    {"time-out then late report", "click tick*19 tick tick*30 tick:report closed",
     "start@1 timeout@21 results@52", "idle"},
    {"counting before the time-out", "click tick*19", "start@1", "counting20"},
    // The messages of the click leave the wait armed: the time-out follows.
    {"data set not saved", "click:nofile tick*20", "savefirst@1 timeout@21", "timedout"},
    {"engine not started", "click startfail tick*20", "start@1 notstarted@2 timeout@22", "timedout"},
    {"stale report kept", "click:stale tick*25", "refuse@1", "idle"},
    {"data set named as the report", "click:isreport tick*25 end:report", "reportname@1", "idle"},
    {"named as the report, unsaved too", "click:isreport+nofile+stale tick*25", "reportname@1", "idle"},
    // A failing engine is answered at once, and the run is over.
    {"engine fails", "click end:fail tick*25", "start@1 failed@2", "idle"},
    {"engine fails after the time-out", "click tick*20 end:fail", "start@1 timeout@21 failed@22", "idle"},
    {"engine fails but left a report", "click end:fail+report", "start@1 results@2", "idle"},
    {"engine ends well without a report", "click end tick*20", "start@1 timeout@22", "timedout"},
    // A new click starts counting again, also while a timed-out run is waited for.
    {"click again after time-out", "click tick*20 click tick*19", "start@1 timeout@21 start@22", "counting20"},
    {"click again while counting", "click tick*10 click tick*19 tick", "start@1 start@12 timeout@32", "timedout"},
    // The end of a process nobody waits for changes nothing.
    {"engine end while idle", "end:report end:fail tick*3", "", "idle"},
    {"results already shown", "click tick:report closed end:report", "start@1 results@2", "idle"},
};

} // namespace

TEST(EvalFlow, DecisionsAfterEachEvent)
{
    for (const Case& c : kCases) {
        const Outcome o = run(c.script);
        EXPECT_EQ(o.actions, c.actions) << c.what;
        EXPECT_EQ(o.state, c.state) << c.what;
    }
}

TEST(EvalFlow, EngineArgumentFitsTheProcessedFileLine)
{
    const QString dir = "/data/";
    const QString fits = dir + QString(kProcessedFileWidth - dir.size() - 3, 'x') + ".pd";
    const QString tooLong = dir + QString(kProcessedFileWidth - dir.size() - 2, 'x') + ".pd";
    ASSERT_EQ(fits.size(), 65);
    EXPECT_EQ(engineArgument(fits), fits);
    EXPECT_EQ(engineArgument(tooLong), tooLong.mid(dir.size()));
    // The engine counts bytes: 40 characters of two bytes each do not fit.
    const QString wide = "/" + QString(40, QChar(0xE4)) + "/set.pd";
    EXPECT_EQ(engineArgument(wide), "set.pd");
    EXPECT_EQ(engineArgument("/a b/set one.pd"), "/a b/set one.pd");
}

TEST(EvalFlow, FailureTextCarriesTheEngineDiagnostic)
{
    EXPECT_EQ(engineFailureText("velpra", 1, false, "velpra: open failed (Permission denied), unit 2, file 'pd.out'\n"),
              "velpra ended without writing its report (exit status 1).\n\n"
              "velpra: open failed (Permission denied), unit 2, file 'pd.out'");
    EXPECT_EQ(engineFailureText("velpra", 0, true, "  \n"), "velpra stopped abnormally without writing its report.");
}
