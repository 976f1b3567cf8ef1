#include "platform/control/files/file_store.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/control/file_access_codes.h"
#include "platform/control/files/file_names.h"

namespace control {

namespace {

namespace fs = std::filesystem;

// As many handles as the platform's file server offered; beyond that opens fail with 0x208.
constexpr std::size_t kMaxOpenFiles = 64;
// Listings a caller abandoned are dropped oldest first beyond this many.
constexpr std::size_t kMaxListings = 16;

void PutLe(std::span<std::uint8_t> record, std::size_t offset, std::uint64_t value,
           std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) {
        record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t GetLe32(std::span<const std::uint8_t> record, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
    }
    return value;
}

std::uint32_t AttributesOf(const std::string& name, const struct stat& st) {
    std::uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode)) {
        attributes |= kAttrDirectory;
    } else if (S_ISREG(st.st_mode)) {
        attributes |= kAttrArchive;
    } else {
        attributes |= kAttrSystem;
    }
    if ((st.st_mode & S_IWUSR) == 0) {
        attributes |= kAttrReadOnly;
    }
    if (!name.empty() && name.front() == '.') {
        attributes |= kAttrHidden;
    }
    return attributes;
}

std::uint32_t NextId(std::uint32_t& counter) {
    const std::uint32_t id = counter++;
    if (counter == 0) {
        counter = 1;
    }
    return id;
}

}  // namespace

FileStore::FileStore(fs::path folder) : m_folder(std::move(folder)) {
    RemoveAbandonedReplacements(m_folder);
}

fs::path FileStore::Folder() const {
    std::lock_guard lock(m_mutex);
    return m_folder;
}

void FileStore::SetFolder(fs::path folder) {
    std::lock_guard lock(m_mutex);
    m_folder = std::move(folder);
}

com::HRESULT FileStore::Open(const std::string& name, std::uint32_t access, std::uint32_t& handle) {
    handle = 0;
    // The lock file is the workstations' meeting point: replaced or emptied through a handle, it
    // would no longer be the file every workstation locks.
    if (!IsBareName(name) || EqualsNoCase(name, kLockFileName)) {
        return kFileOpenGeneral;
    }
    std::lock_guard lock(m_mutex);
    if (m_files.size() >= kMaxOpenFiles) {
        return kFileNoHandles;
    }
    const std::string stored = FindEntryNoCase(m_folder, name).value_or(name);
    std::unique_ptr<OpenFile> file;
    if (const com::HRESULT hr = OpenFile::Open(m_folder, stored, access, file); com::FAILED(hr)) {
        return hr;
    }
    handle = NextId(m_nextHandle);
    m_files.emplace(handle, std::move(file));
    return com::S_OK;
}

com::HRESULT FileStore::Read(std::uint32_t handle, std::uint32_t wanted,
                             std::vector<std::uint8_t>& data) {
    std::lock_guard lock(m_mutex);
    const auto found = m_files.find(handle);
    return found == m_files.end() ? com::E_HANDLE : found->second->Read(wanted, data);
}

com::HRESULT FileStore::Write(std::uint32_t handle, std::span<const std::uint8_t> bytes,
                              std::uint32_t& written) {
    std::lock_guard lock(m_mutex);
    written = 0;
    const auto found = m_files.find(handle);
    if (found == m_files.end()) {
        return com::E_HANDLE;
    }
    const com::HRESULT hr = found->second->Write(bytes, written);
    // Another handle on the same file must not hand out what it read before this write.
    for (const auto& [other, file] : m_files) {
        if (other != handle) {
            file->DropReadAhead();
        }
    }
    return hr;
}

com::HRESULT FileStore::Seek(std::uint32_t handle, std::int64_t offset, std::uint32_t origin,
                             std::int64_t& position) {
    std::lock_guard lock(m_mutex);
    const auto found = m_files.find(handle);
    return found == m_files.end() ? com::E_HANDLE : found->second->Seek(offset, origin, position);
}

void FileStore::MarkWriteFailed(std::uint32_t handle) {
    std::lock_guard lock(m_mutex);
    if (const auto found = m_files.find(handle); found != m_files.end()) {
        found->second->MarkWriteFailed();
    }
}

com::HRESULT FileStore::Close(std::uint32_t handle) {
    if (handle == 0) {
        return com::S_OK;
    }
    std::unique_ptr<OpenFile> file;
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_files.find(handle);
        if (found == m_files.end()) {
            return com::E_HANDLE;
        }
        file = std::move(found->second);
        m_files.erase(found);
    }
    return file->Close();
}

std::size_t FileStore::OpenCount() const {
    std::lock_guard lock(m_mutex);
    return m_files.size();
}

std::vector<FileStore::Found> FileStore::List(const std::string& pattern,
                                              std::uint32_t attributes) const {
    std::vector<Found> found;
    std::error_code ec;
    fs::directory_iterator it(m_folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        struct stat st {};
        if (name.size() >= kFindNameCapacity || !WildcardMatch(pattern, name) ||
            EqualsNoCase(name, kLockFileName) || ::lstat(it->path().c_str(), &st) != 0) {
            continue;
        }
        const std::uint32_t attrs = AttributesOf(name, st);
        const std::uint32_t special = attrs & (kAttrHidden | kAttrSystem | kAttrDirectory);
        if ((special & ~attributes) != 0) {
            continue;
        }
        found.push_back(Found{std::move(name), attrs, static_cast<std::uint64_t>(st.st_size),
                              static_cast<std::int64_t>(st.st_mtim.tv_sec)});
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.name < b.name; });
    return found;
}

void FileStore::Fill(std::span<std::uint8_t> record, std::uint32_t listing, const Found& found) {
    std::fill(record.begin(), record.end(), std::uint8_t{0});
    PutLe(record, kFindAttributesOffset, found.attributes, 4);
    PutLe(record, kFindHandleOffset, listing, 4);
    PutLe(record, kFindSizeOffset, found.size, 4);
    PutLe(record, kFindTimeOffset, static_cast<std::uint64_t>(found.modified), 8);
    std::memcpy(record.data() + kFindNameOffset, found.name.data(), found.name.size());
}

com::HRESULT FileStore::FindFirst(const std::string& pattern, std::uint32_t attributes,
                                  std::span<std::uint8_t> record) {
    if (!IsBarePattern(pattern)) {
        return com::E_INVALIDARG;
    }
    std::lock_guard lock(m_mutex);
    Listing listing{List(pattern, attributes), 1};
    if (listing.entries.empty()) {
        return kFileNothingFound;
    }
    const std::uint32_t id = NextId(m_nextListing);
    Fill(record, id, listing.entries.front());
    if (m_listings.size() >= kMaxListings) {
        m_listings.erase(m_listings.begin());
    }
    m_listings.emplace(id, std::move(listing));
    return com::S_OK;
}

com::HRESULT FileStore::FindNext(std::span<std::uint8_t> record) {
    std::lock_guard lock(m_mutex);
    const std::uint32_t id = GetLe32(record, kFindHandleOffset);
    const auto found = m_listings.find(id);
    if (found == m_listings.end()) {
        return kFileNothingFound;
    }
    Listing& listing = found->second;
    if (listing.next >= listing.entries.size()) {
        m_listings.erase(found);
        return kFileNothingFound;
    }
    Fill(record, id, listing.entries[listing.next++]);
    return com::S_OK;
}

com::HRESULT FileStore::TryLock(const std::string& name, std::string* why) {
    if (!IsBareName(name) || EqualsNoCase(name, kLockFileName)) {
        *why = "\"" + name + "\" is not a bare file name";
        return kFileOpenGeneral;
    }
    std::lock_guard lock(m_mutex);
    return m_locks.TryLock(m_folder, name, why);
}

void FileStore::Unlock(const std::string& name) {
    std::lock_guard lock(m_mutex);
    m_locks.Unlock(name);
}

std::size_t FileStore::LockCount() const {
    std::lock_guard lock(m_mutex);
    return m_locks.HeldCount();
}

void FileStore::CloseAll() {
    std::map<std::uint32_t, std::unique_ptr<OpenFile>> files;
    std::lock_guard lock(m_mutex);
    files.swap(m_files);
    m_listings.clear();
    m_locks.ReleaseAll();
}

}  // namespace control
