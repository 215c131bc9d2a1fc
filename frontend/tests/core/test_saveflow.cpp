// Save's refusals and questions, in the order the operator meets them.
#include "saveflow.h"

#include "test_support.h"

using namespace veldesk;

namespace {

// The plan as words: "refuse:<start of text>", "ask:<start of text>" with
// "/no" when No is the default, then "write" when writing follows.
QString outline(const saveflow::Plan& plan)
{
    QStringList words;
    for (const saveflow::Step& s : plan.steps)
        words << (s.kind == saveflow::Step::Refuse ? QStringLiteral("refuse:") : QStringLiteral("ask:"))
                + s.text.section(' ', 0, 1) + (s.defaultNo ? QStringLiteral("/no") : QString());
    if (plan.write)
        words << QStringLiteral("write");
    return words.join(' ');
}

} // namespace

TEST(SaveFlow, RefusalsComeBeforeQuestionsAndEndTheCommand)
{
    datafile::Extent leftOut;
    leftOut.saved = 2;
    leftOut.leftOutWithData = 3;
    leftOut.firstLeftOut = 5;
    datafile::Extent marked;
    marked.saved = 4;
    marked.notNumbers = {{2, 2, "12abc"}};
    const struct {
        QString path, problem;
        bool exists;
        QString unshown;
        datafile::Extent extent;
        const char* outline;
    } cases[] = {
        {"", "bad", true, "x", marked, ""}, // no name: nothing at all
        {"a.pd", "", false, "", {}, "write"},
        {"a.pd", "", true, "", {}, "ask:File a.pd write"},
        {"a.pd", "The description is empty.", true, "", marked, "refuse:The description"},
        {"a.pd", "", true, "holds more", marked, "refuse:This cell"},
        {"a.pd", "", true, "holds more", leftOut, "ask:File a.pd ask:File a.pd/no ask:Row 3/no write"},
        {"a.pd", "", false, "", leftOut, "ask:Row 3/no write"},
    };
    for (const auto& c : cases) {
        saveflow::Facts f;
        f.path = c.path;
        f.descriptionProblem = c.problem;
        f.fileExists = c.exists;
        f.unshown = c.unshown;
        f.extent = c.extent;
        EXPECT_EQ(outline(saveflow::plan(f)), c.outline) << c.path.toStdString() << " " << c.outline;
    }
}

TEST(SaveFlow, TheRefusalNamesTheFirstCellsThatAreNotNumbers)
{
    saveflow::Facts f;
    f.path = "a.pd";
    f.extent.notNumbers = {{1, 1, "1,2,3"}, {2, 2, "12abc"}, {3, 3, "0.2 0.3"}, {4, 1, "x"}, {5, 1, "y"}};
    const saveflow::Plan p = saveflow::plan(f);
    ASSERT_EQ(p.steps.size(), 1);
    EXPECT_FALSE(p.write);
    EXPECT_EQ(p.steps[0].text,
              QString::fromUtf8("These cells of the readings are not one number each: row 1, column \u0394\u03b8 "
                                "(\"1,2,3\"); row 2, column t 1/2 (\"12abc\"); row 3, column t fin (\"0.2 0.3\"); "
                                "and 2 more.\nCorrect them before saving. Nothing was saved."));
    f.extent.notNumbers = {{7, 3, "12abc"}};
    EXPECT_EQ(saveflow::plan(f).steps[0].text,
              "This cell of the readings is not one number: row 7, column t fin (\"12abc\").\n"
              "Correct it before saving. Nothing was saved.");
}
