// Lines that keep two scenario players in step, for two workstations on one data folder: a player
// signals a name by creating a file of that name in a folder both see, and another awaits it.
#pragma once

#include <filesystem>

#include "platform/headless/script_parse.h"

class SyncLines {
  public:
    explicit SyncLines(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    // signal NAME; await NAME [MS] (in real time, default 20000 ms). False for any other line;
    // throws headless::ScriptFailure when an awaited name is not signalled in time.
    bool Run(const headless::ScriptLine& line) const;

  private:
    std::filesystem::path m_folder;
};
