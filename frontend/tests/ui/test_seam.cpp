// The scripted stand-in for the person at the desk must make a question no
// test expected fail that test, naming it; answering it silently would hide a
// question the program should not ask, or a test that missed one.
#include "scripted_ui.h"
#include "seam.h"

#include <gtest/gtest-spi.h>

using namespace veldesk;

TEST(ScriptedSeam, AnUnscriptedQuestionFailsTheTestAndIsAnsweredSafely)
{
    static MsgAnswer yesNo, saveDiscard;
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedSeam ui;
            yesNo = showMessage(nullptr, "File x.pd exists. Overwrite?", MsgIcon::Question, MsgButtons::YesNo);
        },
        "a question no test scripted: File x.pd exists. Overwrite?");
    EXPECT_EQ(yesNo, MsgAnswer::No);
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedSeam ui;
            saveDiscard = showMessage(nullptr, "Save them?", MsgIcon::Question, MsgButtons::SaveDiscardCancel);
        },
        "a question no test scripted: Save them?");
    EXPECT_EQ(saveDiscard, MsgAnswer::Cancel);
}

TEST(ScriptedSeam, ScriptedAnswersAndPlainMessagesPass)
{
    ScriptedSeam ui;
    ui.answers = {MsgAnswer::Yes, MsgAnswer::Discard};
    EXPECT_EQ(showMessage(nullptr, "Done", MsgIcon::Information), MsgAnswer::Ok); // needs no script
    EXPECT_EQ(showMessage(nullptr, "Overwrite?", MsgIcon::Question, MsgButtons::YesNo), MsgAnswer::Yes);
    EXPECT_EQ(showMessage(nullptr, "Save?", MsgIcon::Question, MsgButtons::SaveDiscardCancel), MsgAnswer::Discard);
    EXPECT_EQ(ui.texts(), QStringList({"Done", "Overwrite?", "Save?"}));
}
