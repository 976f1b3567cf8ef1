// The audit layer: where an event goes when the journal takes it, when it does not, and when the
// fallback file cannot be written either.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/audit/audit.h"

namespace {

namespace fs = std::filesystem;

const audit::Event kRemap = {{"TAVORA_EVENT", "remap"}, {"TAVORA_COMMENT", "a\tb\nc\\d\x01"}};

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
        fs::remove_all(m_dir);
    }
    // The journal answers result and keeps what it was given.
    void Journal(int result) {
        audit::SetJournalSenderForTests([this, result](const std::vector<std::string>& fields) {
            m_sent.push_back(fields);
            return result;
        });
    }
    // Records two events; gives what went to stderr.
    std::string RecordTwo() {
        testing::internal::CaptureStderr();
        m_recorded = {audit::Record(kRemap), audit::Record({{"TAVORA_EVENT", "select"}})};
        return testing::internal::GetCapturedStderr();
    }
    fs::path Log() const { return m_dir / "state/tavora/audit.log"; }
    fs::path m_dir;
    std::vector<std::vector<std::string>> m_sent;
    std::vector<audit::Recorded> m_recorded;
};

TEST_F(AuditTest, TheJournalTakesTheEventWithWhoAndWhereAndNoFileIsWritten) {
    Journal(0);
    EXPECT_EQ(RecordTwo(), "");
    ASSERT_EQ(m_sent.size(), 2u);
    const auto& f = m_sent[0];
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0], "SYSLOG_IDENTIFIER=tavora");
    EXPECT_TRUE(f[1].starts_with("TAVORA_USER=") && f[1].size() > 12) << f[1];
    EXPECT_TRUE(f[2].starts_with("TAVORA_HOST=") && f[2].size() > 12) << f[2];
    EXPECT_EQ(f[4], "TAVORA_COMMENT=a\tb\nc\\d\x01");  // the journal is 8-bit clean
    EXPECT_TRUE(m_recorded.at(0).kept && m_recorded.at(1).kept);
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
        EXPECT_EQ(RecordTwo(), "");
        EXPECT_TRUE(m_recorded.at(0).kept && m_recorded.at(1).kept);
        EXPECT_EQ(m_sent.size(), switchedOff ? 0u : 2u);
        std::ifstream in(Log());
        std::string first;
        std::string second;
        std::string third;
        ASSERT_TRUE(std::getline(in, first) && std::getline(in, second));
        EXPECT_FALSE(std::getline(in, third));
        EXPECT_TRUE(first.starts_with("TAVORA_TIME=20")) << first;
        EXPECT_TRUE(first.ends_with("\tTAVORA_EVENT=remap\tTAVORA_COMMENT=a\\tb\\nc\\\\d\\x01"));
        EXPECT_NE(first.find("\tSYSLOG_IDENTIFIER=tavora\tTAVORA_USER="), std::string::npos);
        EXPECT_TRUE(second.ends_with("\tTAVORA_EVENT=select")) << second;
        struct stat folder {};
        struct stat file {};
        ASSERT_EQ(::stat(Log().parent_path().c_str(), &folder), 0);
        ASSERT_EQ(::stat(Log().c_str(), &file), 0);
        EXPECT_EQ(folder.st_mode & 0777, 0700u);
        EXPECT_EQ(file.st_mode & 0777, 0600u);
        fs::remove(Log());
    }
}

// A FIFO in the file's place would hold the program in the open until someone reads it (the
// case without a reader hangs without the check), or swallow the events (with one).
TEST_F(AuditTest, AnEventNeitherJournalNorFileTakesGoesToStderrWithTheReasonOnce) {
    const fs::path elsewhere = m_dir / "elsewhere.log";
    int reader = -1;
    const auto fifo = [&](bool withReader) {
        fs::create_directories(Log().parent_path());
        ASSERT_EQ(::mkfifo(Log().c_str(), 0600), 0);
        if (withReader) {
            reader = ::open(Log().c_str(), O_RDONLY | O_NONBLOCK);
            ASSERT_GE(reader, 0);
        }
    };
    const struct {
        std::function<void()> spoil;
        const char* reason;
    } cases[] = {
        {[&] { std::ofstream(m_dir / "state") << "x"; }, "Not a directory"},
        {[&] {
             fs::create_directories(Log().parent_path());
             fs::create_symlink(elsewhere, Log());
         },
         "Too many levels of symbolic links"},
        {[&] { fifo(false); }, "not a regular file"},
        {[&] { fifo(true); }, "not a regular file"},
        {[&] { fs::create_directories(Log()); }, "Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        fs::remove_all(m_dir / "state");
        c.spoil();
        Journal(-ENOENT);
        const std::string err = RecordTwo();
        const std::string problem =
            "no journal (No such file or directory), and " + Log().string() + ": " + c.reason;
        EXPECT_TRUE(err.starts_with("tavora: the audit trail cannot be written: " + problem))
            << err;
        EXPECT_EQ(err.find("cannot be written"), err.rfind("cannot be written")) << err;
        EXPECT_NE(err.find("\ntavora audit: TAVORA_TIME="), std::string::npos);
        EXPECT_NE(err.find("\tTAVORA_EVENT=remap\t"), std::string::npos);
        EXPECT_TRUE(err.ends_with("\tTAVORA_EVENT=select\n"));
        EXPECT_FALSE(fs::exists(elsewhere));
        for (const audit::Recorded& r : m_recorded) {
            EXPECT_FALSE(r.kept);
            EXPECT_EQ(r.problem, problem);
        }
        if (reader >= 0) {
            char byte = 0;
            EXPECT_EQ(::read(reader, &byte, 1), 0) << "an event went into the FIFO";
            ::close(reader);
            reader = -1;
        }
    }
}

// libsystemd reports a message sent when no journal runs at all (no socket) as taken: the trail
// must see that for itself, or every event of a machine without a journal is lost.
TEST_F(AuditTest, OnlyASocketAtTheJournalsPlaceCountsAsAJournal) {
    const fs::path socketPath = m_dir / "socket";
    EXPECT_FALSE(audit::JournalReachable(socketPath.string()));  // nothing there
    std::ofstream(socketPath) << "x";
    EXPECT_FALSE(audit::JournalReachable(socketPath.string()));  // a plain file
    fs::remove(socketPath);
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.string().size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_TRUE(audit::JournalReachable(socketPath.string()));
    ::close(fd);
    // The real journal's place, on this machine with or without a journal: the real send path
    // then leaves the event in the file whenever the socket is missing.
    if (!audit::JournalReachable(audit::kJournalSocket)) {
        EXPECT_EQ(RecordTwo(), "");
        EXPECT_TRUE(fs::exists(Log()));
    }
}

TEST(AuditPath, AnAbsoluteStateFolderElseTheHomeFolder) {
    ::setenv("HOME", "/home/op", 1);
    ::setenv("XDG_STATE_HOME", "/var/st", 1);
    EXPECT_EQ(audit::AuditFilePath(), "/var/st/tavora/audit.log");
    ::setenv("XDG_STATE_HOME", "relative", 1);
    EXPECT_EQ(audit::AuditFilePath(), "/home/op/.local/state/tavora/audit.log");
}

}  // namespace
