// Another workstation on the run's data folder, played by the player itself: it holds a file's
// lock and writes files as a second workstation would, so that one scenario shows what the
// program does meanwhile (the wait window, a table read again) without a second player.
#pragma once

#include <filesystem>
#include <set>
#include <string>

#include "platform/control/files/folder_locks.h"
#include "platform/headless/script_parse.h"

class OtherWorkstation {
  public:
    explicit OtherWorkstation(std::filesystem::path dataDir) : m_dataDir(std::move(dataDir)) {}

    // lock NAME; unlock NAME; write-file NAME "CONTENT". False for any other line; throws
    // headless::ScriptFailure when the lock cannot be taken (or is not held here to let go) or
    // the file cannot be written.
    bool Run(const headless::ScriptLine& line);

  private:
    std::filesystem::path m_dataDir;
    control::FolderLocks m_locks;
    std::set<std::string> m_held;  // the names locked, as the script spells them
};
