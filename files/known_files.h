// What this workstation last saw of the files it shares with other workstations: the exact bytes
// it last read from or wrote to each, so that a change made elsewhere in the meantime is noticed
// before anything is decided on the copy held here.
#pragma once

#include <map>
#include <optional>
#include <string>

// The file's bytes through File Access: true with *content (nullopt when there is no such file),
// false when it could not be read (the operator has been told).
bool ReadDataFile(const std::string& name, std::optional<std::string>& content);

class CKnownFiles {
  public:
    // nullopt in the inner optional: the file did not exist.
    using Content = std::optional<std::string>;

    void Remember(const std::string& name, Content content) { m_known[name] = std::move(content); }
    // Reads each file now and remembers it; a file that cannot be read is forgotten.
    void RememberNow(std::initializer_list<const char*> names);
    void Forget(const std::string& name) { m_known.erase(name); }
    // What was last seen of the file; nullopt when nothing is known of it.
    std::optional<Content> Known(const std::string& name) const;

  private:
    std::map<std::string, Content> m_known;
};
