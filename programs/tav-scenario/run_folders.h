// The folders of one scenario run (runtime, data, state), under one parent that nothing outlives:
// the player removes it when the run ends, and a guard process of its own removes it when the
// player is killed, aborts or crashes.
#pragma once

#include <filesystem>

class RunFolders {
  public:
    // Creates "tavora-scenario-XXXXXX" in the temporary folder ($TMPDIR) with run/, data/,
    // state/ and sync/ in it, and starts its guard. Call it while the player has no other thread:
    // the guard is forked. Throws std::runtime_error when the folders or the guard cannot be made.
    RunFolders();
    ~RunFolders();
    RunFolders(const RunFolders&) = delete;
    RunFolders& operator=(const RunFolders&) = delete;

    const std::filesystem::path& Parent() const { return m_parent; }
    std::filesystem::path Runtime() const { return m_parent / "run"; }
    std::filesystem::path Data() const { return m_parent / "data"; }
    std::filesystem::path State() const { return m_parent / "state"; }
    // Where this player's signal and await lines meet when no --sync-dir names a shared one.
    std::filesystem::path Sync() const { return m_parent / "sync"; }

  private:
    std::filesystem::path m_parent;
    int m_guardPipe = -1;  // the guard wakes when the last copy of this end closes
};
