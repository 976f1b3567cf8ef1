// The audit layer: where an event goes when the journal takes it, when it does not, and when the
// fallback file cannot be written either.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/audit/audit.h"

namespace {

namespace fs = std::filesystem;

const audit::Event kRemap = {{"MESSAGE", "Remap of input"},
                             {"TAVORA_EVENT", "remap"},
                             {"TAVORA_COMMENT", "tab\there\nback\\slash\x01"}};

class AuditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tav-audit-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        ::setenv("XDG_STATE_HOME", (m_dir / "state").c_str(), 1);
        ::unsetenv("TAVORA_AUDIT_JOURNAL");
    }
    void TearDown() override {
        audit::SetJournalSenderForTests(nullptr);
        ::unsetenv("XDG_STATE_HOME");
        fs::remove_all(m_dir);
    }
    // The journal: answers result and keeps what it was given.
    void Journal(int result) {
        audit::SetJournalSenderForTests([this, result](const std::vector<std::string>& fields) {
            m_sent.push_back(fields);
            return result;
        });
    }
    std::string LogText() const {
        std::ifstream in(m_dir / "state/tavora/audit.log", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path m_dir;
    std::vector<std::vector<std::string>> m_sent;
};

TEST_F(AuditTest, TheJournalTakesTheEventWithWhoAndWhereAndNoFileIsWritten) {
    Journal(0);
    audit::Record(kRemap);
    ASSERT_EQ(m_sent.size(), 1u);
    const auto& fields = m_sent[0];
    ASSERT_EQ(fields.size(), 6u);
    EXPECT_EQ(fields[0], "SYSLOG_IDENTIFIER=tavora");
    EXPECT_EQ(fields[1].rfind("TAVORA_USER=", 0), 0u);
    EXPECT_GT(fields[1].size(), 12u);
    EXPECT_EQ(fields[2].rfind("TAVORA_HOST=", 0), 0u);
    EXPECT_EQ(fields[5],
              "TAVORA_COMMENT=tab\there\nback\\slash\x01");  // the journal is 8-bit clean
    EXPECT_FALSE(fs::exists(m_dir / "state"));
}

TEST_F(AuditTest, WithoutAJournalEachEventIsOneEscapedLineOfAPrivateAppendOnlyFile) {
    for (const bool switchedOff : {false, true}) {
        SCOPED_TRACE(switchedOff);
        m_sent.clear();
        Journal(-ENOENT);
        if (switchedOff) {
            ::setenv("TAVORA_AUDIT_JOURNAL", "off", 1);  // the journal is not even asked
        }
        testing::internal::CaptureStderr();
        audit::Record(kRemap);
        audit::Record({{"TAVORA_EVENT", "select"}});
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(m_sent.size(), switchedOff ? 0u : 2u);

        std::istringstream lines(LogText());
        std::string first;
        std::string second;
        std::string third;
        ASSERT_TRUE(std::getline(lines, first) && std::getline(lines, second));
        EXPECT_FALSE(std::getline(lines, third));
        EXPECT_EQ(first.rfind("TAVORA_TIME=20", 0), 0u);
        EXPECT_NE(first.find("\tSYSLOG_IDENTIFIER=tavora\tTAVORA_USER="), std::string::npos);
        EXPECT_NE(first.find("\tMESSAGE=Remap of input\tTAVORA_EVENT=remap\t"
                             "TAVORA_COMMENT=tab\\there\\nback\\\\slash\\x01"),
                  std::string::npos);
        EXPECT_NE(second.find("\tTAVORA_EVENT=select"), std::string::npos);

        struct stat folder {};
        struct stat file {};
        ASSERT_EQ(::stat((m_dir / "state/tavora").c_str(), &folder), 0);
        ASSERT_EQ(::stat((m_dir / "state/tavora/audit.log").c_str(), &file), 0);
        EXPECT_EQ(folder.st_mode & 0777, 0700u);
        EXPECT_EQ(file.st_mode & 0777, 0600u);
        fs::remove(m_dir / "state/tavora/audit.log");
    }
}

TEST_F(AuditTest, AnEventNeitherJournalNorFileTakesGoesToStderrWithTheReasonOnce) {
    const fs::path elsewhere = m_dir / "elsewhere.log";
    const struct {
        const char* name;
        std::function<void()> spoil;
        const char* reason;
    } cases[] = {
        {"state folder is a file", [&] { std::ofstream(m_dir / "state") << "x"; },
         "Not a directory"},
        {"audit.log is a link",
         [&] {
             fs::create_directories(m_dir / "state/tavora");
             fs::create_symlink(elsewhere, m_dir / "state/tavora/audit.log");
         },
         "Too many levels of symbolic links"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(m_dir / "state");
        c.spoil();
        Journal(-ENOENT);
        testing::internal::CaptureStderr();
        audit::Record(kRemap);
        audit::Record({{"TAVORA_EVENT", "select"}});
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("tavora: the audit trail cannot be written: no journal (No such file "
                           "or directory), and " +
                           (m_dir / "state/tavora/audit.log").string() + ": " + c.reason),
                  std::string::npos)
            << err;
        EXPECT_EQ(err.find("cannot be written"), err.rfind("cannot be written")) << err;
        EXPECT_NE(err.find("tavora audit: TAVORA_TIME="), std::string::npos);
        EXPECT_NE(err.find("\tTAVORA_EVENT=remap\t"), std::string::npos);
        EXPECT_NE(err.find("\tTAVORA_EVENT=select\n"), std::string::npos);
        EXPECT_FALSE(fs::exists(elsewhere));
    }
}

TEST(AuditPath, AnAbsoluteStateFolderElseTheHomeFolder) {
    ::setenv("HOME", "/home/op", 1);
    ::setenv("XDG_STATE_HOME", "/var/st", 1);
    EXPECT_EQ(audit::AuditFilePath(), "/var/st/tavora/audit.log");
    ::setenv("XDG_STATE_HOME", "relative", 1);
    EXPECT_EQ(audit::AuditFilePath(), "/home/op/.local/state/tavora/audit.log");
    ::unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(audit::AuditFilePath(), "/home/op/.local/state/tavora/audit.log");
}

}  // namespace
