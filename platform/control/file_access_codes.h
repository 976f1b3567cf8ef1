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

// The codes (the HRESULT's low word) File Access fails with.
inline constexpr std::uint16_t kCodeFileExists = 0x201;
inline constexpr std::uint16_t kCodeShareViolation = 0x202;
inline constexpr std::uint16_t kCodeOpenUnknown = 0x203;
inline constexpr std::uint16_t kCodeOpenGeneral = 0x204;
inline constexpr std::uint16_t kCodeFolderUnavailable = 0x205;
inline constexpr std::uint16_t kCodeNotFound = 0x206;
inline constexpr std::uint16_t kCodeReadOnly = 0x207;
inline constexpr std::uint16_t kCodeNoHandles = 0x208;
inline constexpr std::uint16_t kCodeNothingFound = 0x211;

inline constexpr com::HRESULT kFileExists = FileAccessError(kCodeFileExists);
inline constexpr com::HRESULT kFileShareViolation = FileAccessError(kCodeShareViolation);
inline constexpr com::HRESULT kFileOpenUnknown = FileAccessError(kCodeOpenUnknown);
// The file is larger than File Access reads (an open failure of its own kind).
inline constexpr com::HRESULT kFileTooLarge = kFileOpenUnknown;
inline constexpr com::HRESULT kFileOpenGeneral = FileAccessError(kCodeOpenGeneral);
inline constexpr com::HRESULT kFileFolderUnavailable = FileAccessError(kCodeFolderUnavailable);
inline constexpr com::HRESULT kFileNotFound = FileAccessError(kCodeNotFound);
inline constexpr com::HRESULT kFileReadOnly = FileAccessError(kCodeReadOnly);
inline constexpr com::HRESULT kFileNoHandles = FileAccessError(kCodeNoHandles);
inline constexpr com::HRESULT kFileNothingFound = FileAccessError(kCodeNothingFound);

}  // namespace control
