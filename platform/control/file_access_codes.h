// The values File Access takes and the codes it returns (meanings in README.md).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/hresult.h"

namespace control {

// Open access values.
inline constexpr std::uint32_t kAccessRead = 0x01;       // existing file, read only
inline constexpr std::uint32_t kAccessReadWrite = 0x13;  // existing file, read and write
inline constexpr std::uint32_t kAccessAppend = 0x17;     // read, writes go to the end; created
inline constexpr std::uint32_t kAccessReplace = 0x1B;    // content replaced at close; created
inline constexpr std::uint32_t kAccessReplaceOnWrite = 0x112;  // replaced if written; created

// The share value is accepted and not used: one process uses the folder.
inline constexpr std::uint32_t kShareDefault = 0x12;

// Seek origins.
inline constexpr std::uint32_t kSeekFromStart = 1;
inline constexpr std::uint32_t kSeekFromCurrent = 2;
inline constexpr std::uint32_t kSeekFromEnd = 3;

// Listing record: attribute word at 0 (little-endian), the search's handle at 4, the file size at
// 8 (low 32 bits), the modification time in seconds since the epoch at 12 (64 bits), the name
// zero-terminated from 20.
inline constexpr std::size_t kFindRecordSize = 280;
inline constexpr std::size_t kFindAttributesOffset = 0;
inline constexpr std::size_t kFindHandleOffset = 4;
inline constexpr std::size_t kFindSizeOffset = 8;
inline constexpr std::size_t kFindTimeOffset = 12;
inline constexpr std::size_t kFindNameOffset = 20;
inline constexpr std::size_t kFindNameCapacity = kFindRecordSize - kFindNameOffset;

inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;

constexpr com::HRESULT FileAccessError(std::uint32_t code) {
    return com::MAKE_HRESULT(com::SEVERITY_ERROR, com::FACILITY_ITF, code);
}

inline constexpr com::HRESULT kFileExists = FileAccessError(0x201);
inline constexpr com::HRESULT kFileShareViolation = FileAccessError(0x202);
inline constexpr com::HRESULT kFileOpenUnknown = FileAccessError(0x203);
// The file is larger than File Access reads (an open failure of its own kind).
inline constexpr com::HRESULT kFileTooLarge = kFileOpenUnknown;
inline constexpr com::HRESULT kFileOpenGeneral = FileAccessError(0x204);
inline constexpr com::HRESULT kFileFolderUnavailable = FileAccessError(0x205);
inline constexpr com::HRESULT kFileNotFound = FileAccessError(0x206);
inline constexpr com::HRESULT kFileReadOnly = FileAccessError(0x207);
inline constexpr com::HRESULT kFileNoHandles = FileAccessError(0x208);
inline constexpr com::HRESULT kFileNothingFound = FileAccessError(0x211);

}  // namespace control
