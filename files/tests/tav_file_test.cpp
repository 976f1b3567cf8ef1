// The text file class over the File Access component.
#include "files/tav_file.h"
#include "app/tests/app_fixture.h"
#include "platform/com/com.h"
#include "res/resource.h"

namespace apptest {
namespace {

class TavFileTest : public AppTest {
  protected:
    void SetUp() override {
        ::setenv("TZ", "UTC0", 1);
        ::tzset();
        Connect();
    }
    std::vector<std::string> ReadAll(const std::string& name) {
        CTavFile file(name, CTavFile::kRead);
        EXPECT_EQ(file.m_nError, 0u);
        std::vector<std::string> lines;
        std::string line;
        while (file.ReadLine(line)) {
            lines.push_back(line);
        }
        return lines;
    }
};

TEST_F(TavFileTest, ReadsLinesAsWritten) {
    struct Case {
        const char* name;
        std::string content;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"CR stays before the LF", "A\r\nB\n", {"A\r", "B"}},
        {"last line without LF loses its last character", "ABC", {"AB"}},
        {"empty file", "", {}},
        {"empty line", "\n", {""}},
        {"no LF, one character", "A", {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Put("T.TXT", c.content);
        EXPECT_EQ(ReadAll("t.txt"), c.lines);  // names match without regard to case
    }
}

TEST_F(TavFileTest, LinesCrossingTheBufferAndLongerThanItReadWhole) {
    std::vector<std::string> lines;
    std::string content;
    for (int i = 0; i < 200; ++i) {
        lines.push_back(
            std::string(static_cast<std::size_t>(i % 53), static_cast<char>('a' + i % 26)) +
            std::to_string(i));
    }
    lines.push_back(std::string(3000, 'L'));  // longer than the 1024-byte buffer
    lines.push_back(std::string(1023, 'M'));  // the line and its LF fill the buffer exactly
    lines.push_back("tail");
    for (const auto& l : lines) {
        content += l + "\n";
    }
    Put("BIG.IXT", content);
    EXPECT_EQ(ReadAll("BIG.IXT"), lines);
    Put("LONG.IXT", std::string(2050, 'Z'));  // no LF at all: read whole, less the last character
    EXPECT_EQ(ReadAll("LONG.IXT"), std::vector<std::string>{std::string(2049, 'Z')});
}

TEST_F(TavFileTest, WritesRawLinesAndTimeStampedLines) {
    clock.Advance((1026396187 - clock.Now()) * 1000);  // July 11 2002, 14:03:07 UTC
    {
        CTavFile file("W.TXT", CTavFile::kReplace | CTavFile::kTimeStamp);
        file.WriteLine("x");
        file.WriteLine("");  // nothing, not even a line break
        file.WriteRaw("");
        file.WriteRaw("CONFIGCRC(1)");
    }
    EXPECT_EQ(Get("W.TXT"), "14:03:07,July 11 2002,x\nCONFIGCRC(1)\r\n");
    {
        CTavFile file("W.TXT", CTavFile::kReplace);
        file.WriteLine("plain");
    }
    EXPECT_EQ(Get("W.TXT"), "plain\n");
    {
        CTavFile file("W.TXT", CTavFile::kAppend | CTavFile::kTimeStamp);
        file.WriteLine("more");
        ASSERT_TRUE(file.Rewind());
        std::string line;
        ASSERT_TRUE(file.ReadLine(line));
        EXPECT_EQ(line, "plain");
    }
    EXPECT_EQ(Get("W.TXT"), "plain\n14:03:07,July 11 2002,more\n");
}

TEST_F(TavFileTest, OpenFailuresAreSilentAndKeepTheCode) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"MISSING.SDF", 0x206u},
        {"../escape.txt", 0x204u},
        {"a/b.txt", 0x204u},
    };
    for (const auto& [name, code] : cases) {
        CTavFile file(name, CTavFile::kRead);
        EXPECT_EQ(file.m_nError, code) << name;
        EXPECT_EQ(file.m_pBuffer, nullptr);
        std::string line;
        EXPECT_EQ(file.ReadLine(line), 0);
    }
    EXPECT_TRUE(Transcript().empty());  // no message: the callers decide
}

TEST_F(TavFileTest, WriteFailureReportsAndThrows) {
    control::InjectFault(
        control::Fault(control::ComponentId::FileAccess, "Write", com::HRESULT_FROM_WIN32(112)));
    CTavFile file("F.TXT", CTavFile::kReplace);
    driver.Then([](fw::CWnd& w) {
        EXPECT_NE(headless::Item(w, IDC_ERROR_DETAIL).GetWindowText().find("File: TavFile"),
                  std::string::npos);
        headless::Item(w, fw::IDOK).UserClick();
    });
    EXPECT_THROW(file.WriteLine("x"), CUserException);
    EXPECT_EQ(Transcript().front(), R"(open 143 "Error")");
}

}  // namespace
}  // namespace apptest
