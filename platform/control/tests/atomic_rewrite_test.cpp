// A process killed while it rewrites a file through File Access leaves the old content or the new
// one, never a mix: the child rewrites a table over and over, the parent kills it at varying
// moments and then reads the file.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "platform/control/tests/fixture.h"

namespace control::testing {
namespace {

// Version v of the table: a header naming v, then lines that all carry v, long enough that a
// rewrite takes many writes.
std::string Version(int v) {
    std::string text = "CONFIGCRC(" + std::to_string(v) + ")\r\n";
    for (int line = 0; line < 400; ++line) {
        text += "14:05:09,March 03 2002,MAIN,VIDEO,0," + std::to_string(v) + "," +
                std::to_string(line) + ",120,120,version " + std::to_string(v) + "\r\n";
    }
    return text;
}

[[noreturn]] void RewriteForever(int readyFd) {
    com::ComPtr<IFileAccess> files;
    com::CoCreateInstance(CLSID_FileAccess, nullptr, com::CLSCTX_LOCAL_SERVER, IFileAccess::kIid,
                          files.ReleaseAndGetVoidAddressOf());
    for (int v = 1;; ++v) {
        std::uint32_t handle = 0;
        files->Open(8, "TAV.IXT", kAccessReplace, kShareDefault, &handle);
        const std::string text = Version(v);
        for (std::size_t at = 0; at < text.size(); at += 97) {
            auto count = static_cast<std::uint32_t>(std::min<std::size_t>(97, text.size() - at));
            files->Write(handle, &count, reinterpret_cast<const std::uint8_t*>(text.data() + at));
            if (v == 1 && at == 0) {
                const char ready = 1;
                (void)!::write(readyFd, &ready, 1);
            }
        }
        files->Close(handle);
    }
}

class AtomicRewrite : public SimulationTest {};

TEST_F(AtomicRewrite, KilledWriterLeavesACompleteFile) {
    StartDefault();
    WriteFile(DataDir() / "TAV.IXT", Version(0));
    std::mt19937 random(12345);
    for (int round = 0; round < 8; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            RewriteForever(ready[1]);
        }
        ::close(ready[1]);
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);  // the first rewrite has begun
        ::close(ready[0]);
        ::usleep(static_cast<useconds_t>(random() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const std::string text = ReadFile(DataDir() / "TAV.IXT");
        const auto open = text.find('(');
        const auto close = text.find(')');
        ASSERT_NE(open, std::string::npos) << "round " << round;
        const int v = std::stoi(text.substr(open + 1, close - open - 1));
        EXPECT_EQ(text, Version(v)) << "round " << round << ": a mixed or cut file";
    }
}

}  // namespace
}  // namespace control::testing
