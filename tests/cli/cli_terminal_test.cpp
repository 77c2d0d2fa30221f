// Passwords typed at a terminal: prompts on the terminal, no echo, echo back
// on afterwards (also after Ctrl+C), three tries for the archive password.
#include <gtest/gtest.h>

#include <csignal>

#include "cli_fixture.h"
#include "terminal_session.h"

namespace cli_test {
namespace {

constexpr const char* kPrompt = "Enter password: ";

class CliTerminalTest : public CliTest {
 protected:
  void SetUp() override {
    if (!TTerminalSession::Available()) GTEST_SKIP() << "no pseudo-terminal here";
    CliTest::SetUp();
    archive_ = MakeArchive("keys.zip", "s3cret");
    AddSite(archive_, "s3cret", {"Bank"}, "pw1");
  }
  TTerminalSession Start(const std::vector<std::string>& args) {
    std::vector<std::string> argv{VORNIX_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return TTerminalSession(argv, Path(""));
  }
  std::string archive_;
};

TEST_F(CliTerminalTest, PasswordIsTypedWithoutEcho) {
  TTerminalSession session = Start({"list", "keys.zip"});
  ASSERT_TRUE(session.WaitFor(kPrompt)) << session.Screen();
  session.Type("s3cret\n");
  EXPECT_EQ(session.Wait(), 0) << session.Screen();
  EXPECT_EQ(session.StandardOutput(), "Bank\n");
  EXPECT_EQ(session.Screen().find("s3cret"), std::string::npos) << session.Screen();
  EXPECT_TRUE(session.EchoIsOn());
}

TEST_F(CliTerminalTest, WrongPasswordIsAskedAgainUpToThreeTimes) {
  TTerminalSession session = Start({"list", "keys.zip"});
  for (const char* typed : {"one\n", "two\n"}) {
    ASSERT_TRUE(session.WaitFor(kPrompt)) << session.Screen();
    session.Type(typed);
  }
  ASSERT_TRUE(session.WaitFor(kPrompt)) << session.Screen();
  session.Type("s3cret\n");
  EXPECT_EQ(session.Wait(), 0) << session.Screen();
  EXPECT_EQ(session.StandardOutput(), "Bank\n");
}

TEST_F(CliTerminalTest, ThirdWrongPasswordEndsWithStatus2) {
  TTerminalSession session = Start({"dump", "keys.zip"});
  for (const char* typed : {"one\n", "two\n", "three\n"}) {
    ASSERT_TRUE(session.WaitFor(kPrompt)) << session.Screen();
    session.Type(typed);
  }
  EXPECT_EQ(session.Wait(), 2);
  EXPECT_TRUE(session.WaitFor("vornix-cli: Cannot extract file - invalid password"))
      << session.Screen();
  EXPECT_FALSE(session.WaitFor(kPrompt));  // no fourth prompt
  EXPECT_EQ(session.StandardOutput(), "");
}

TEST_F(CliTerminalTest, EmptyPasswordGivesUp) {
  TTerminalSession session = Start({"list", "keys.zip"});
  ASSERT_TRUE(session.WaitFor(kPrompt));
  session.Type("\n");
  EXPECT_EQ(session.Wait(), 2);
  EXPECT_FALSE(session.WaitFor(kPrompt));
}

TEST_F(CliTerminalTest, InterruptAtThePromptPutsTheEchoBack) {
  TTerminalSession session = Start({"list", "keys.zip"});
  ASSERT_TRUE(session.WaitFor(kPrompt));
  session.Signal(SIGINT);
  EXPECT_EQ(session.Wait(), 128 + SIGINT);
  EXPECT_TRUE(session.EchoIsOn());
}

TEST_F(CliTerminalTest, CreateAsksTwiceAndAddAsksForTheSitePassword) {
  TTerminalSession create = Start({"create", "new.zip"});
  ASSERT_TRUE(create.WaitFor("New password: "));
  create.Type("n3w\n");
  ASSERT_TRUE(create.WaitFor("Confirm password: "));
  create.Type("n3w\n");
  ASSERT_EQ(create.Wait(), 0) << create.Screen();

  TTerminalSession add = Start({"add", "new.zip", "Mail"});
  ASSERT_TRUE(add.WaitFor(kPrompt));
  add.Type("n3w\n");
  ASSERT_TRUE(add.WaitFor("Password for Mail: "));
  add.Type("m41l\n");
  ASSERT_EQ(add.Wait(), 0) << add.Screen();
  EXPECT_EQ(add.Screen().find("m41l"), std::string::npos);
  EXPECT_EQ(Dump(Path("new.zip"), "n3w"), "Mail=\tm41l\t\t\r\n");
}

}  // namespace
}  // namespace cli_test
