// The fixture guards every application test: what a test scripts and the program never takes
// fails that test.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "app/tests/app_fixture.h"

namespace apptest {
namespace {

class FixtureTest : public AppTest {
  public:
    // EXPECT_NONFATAL_FAILURE runs its statement where the test's members cannot be named.
    static FixtureTest* current;
    void ScriptAndCheck(bool answer, bool action) {
        if (answer) {
            driver.Answer(fw::IDYES);
        }
        if (action) {
            driver.Then([](fw::CWnd&) {});
        }
        ExpectScriptUsed();
    }
};

FixtureTest* FixtureTest::current = nullptr;

TEST_F(FixtureTest, AnswersAndActionsLeftUnusedFailTheTest) {
    current = this;
    EXPECT_NONFATAL_FAILURE(current->ScriptAndCheck(true, false),
                            "1 message box answer(s) scripted but never used");
    EXPECT_NONFATAL_FAILURE(current->ScriptAndCheck(true, true),
                            "1 action(s), 1 message box answer(s) scripted but never used");
}

TEST_F(FixtureTest, AnAnswerTheProgramTookPasses) {
    driver.Answer(fw::IDNO);
    EXPECT_EQ(fw::AfxMessageBox("Go on?", fw::MB_YESNO), fw::IDNO);
}

}  // namespace
}  // namespace apptest
