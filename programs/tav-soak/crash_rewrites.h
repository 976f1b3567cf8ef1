// Kills a process at random moments while it rewrites the System Definition file and both remap
// table files through the program's own save functions, many times over. After every kill each
// file must be whole (its old or its new content, byte for byte), and the next start of File
// Access must remove the replacements the broken-off rewrite left behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct CrashOptions {
    std::filesystem::path folder;  // the data folder the rewrites go to
    int kills = 100;
    std::uint32_t seed = 1;
};

struct CrashReport {
    int kills = 0;
    int insideRewrite = 0;     // kills that landed while a save function ran
    int filesChecked = 0;      // after each kill and again after the next start
    int tempFilesSeen = 0;     // replacements a kill left in the folder
    int tempFilesCleaned = 0;  // of those, removed by the next start
    std::vector<std::string> failures;
};

// Must be called from a process with one thread: each kill forks it.
CrashReport RunCrashRewrites(const CrashOptions& options);

// Each rewritten file by name, as it stands.
using FileContents = std::map<std::string, std::string>;

struct FolderCheck {
    FileContents found;
    int tempFiles = 0;                  // hidden replacements ".<name>.tav-XXXXXX"
    std::vector<std::string> problems;  // files that are neither of their two contents
};

FolderCheck CheckFolder(const std::filesystem::path& folder, const FileContents& one,
                        const FileContents& other);
