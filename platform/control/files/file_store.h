// The File Access server's state: the data folder, the open handles and the listings in
// progress. One store serves every File Access object, as one server process would.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/com/hresult.h"
#include "platform/control/files/folder_locks.h"
#include "platform/control/files/open_file.h"

namespace control {

class FileStore {
  public:
    explicit FileStore(std::filesystem::path folder);

    std::filesystem::path Folder() const;
    void SetFolder(std::filesystem::path folder);

    // name must be a bare name (kFileOpenGeneral otherwise); it is matched without regard to case.
    com::HRESULT Open(const std::string& name, std::uint32_t access, std::uint32_t& handle);
    com::HRESULT Read(std::uint32_t handle, std::uint32_t wanted, std::vector<std::uint8_t>& data);
    com::HRESULT Write(std::uint32_t handle, std::span<const std::uint8_t> bytes,
                       std::uint32_t& written);
    com::HRESULT Seek(std::uint32_t handle, std::int64_t offset, std::uint32_t origin,
                      std::int64_t& position);
    // Handle 0 names nothing and closing it succeeds, so a caller that closes after a failed open
    // sees no error; any other unknown handle gives E_HANDLE.
    com::HRESULT Close(std::uint32_t handle);
    // A write through the handle failed before it reached the file (a fault on demand).
    void MarkWriteFailed(std::uint32_t handle);
    std::size_t OpenCount() const;

    // Fills the listing record (file_access_codes.h) with the first match; kFileNothingFound when
    // there is none. Entries with the hidden, system or directory attribute are listed only when
    // `attributes` has that bit.
    com::HRESULT FindFirst(const std::string& pattern, std::uint32_t attributes,
                           std::span<std::uint8_t> record);
    // The next match of the listing the record came from; kFileNothingFound at the end (the
    // listing is then finished).
    com::HRESULT FindNext(std::span<std::uint8_t> record);

    // The lock of a file name (folder_locks.h): S_OK held here, S_FALSE held elsewhere, or a
    // failure with *why.
    com::HRESULT TryLock(const std::string& name, std::string* why);
    void Unlock(const std::string& name);
    std::size_t LockCount() const;

    // Drops every handle (replacements not closed are abandoned), listing and lock.
    void CloseAll();

  private:
    struct Found {
        std::string name;
        std::uint32_t attributes = 0;
        std::uint64_t size = 0;
        std::int64_t modified = 0;
    };
    struct Listing {
        std::vector<Found> entries;
        std::size_t next = 0;
    };
    static void Fill(std::span<std::uint8_t> record, std::uint32_t listing, const Found& found);
    std::vector<Found> List(const std::string& pattern, std::uint32_t attributes) const;

    mutable std::mutex m_mutex;
    std::filesystem::path m_folder;
    std::map<std::uint32_t, std::unique_ptr<OpenFile>> m_files;
    std::map<std::uint32_t, Listing> m_listings;
    FolderLocks m_locks;
    std::uint32_t m_nextHandle = 1;
    std::uint32_t m_nextListing = 1;
};

}  // namespace control
