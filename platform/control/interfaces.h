// The component interfaces as the program calls them. Each lists only the operations the program
// uses, in the servers' method order; 16-bit values are std::uint16_t, 32-bit counts and handles
// 32-bit integers, texts and byte blocks handed out are task-allocated (com::CoTaskMemFree).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/unknown.h"
#include "platform/control/ids.h"

namespace control {

using com::FAILED;
using com::HRESULT;
using com::SUCCEEDED;

class IControlCenter : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IControlCenter;
    // *changing nonzero while the configuration set is being changed.
    virtual HRESULT IsConfigSetChanging(std::uint8_t* changing) = 0;
    // The sink must offer IControlCenterSink; *cookie names the registration (never 0).
    virtual HRESULT Register(com::IUnknown* sink, std::int32_t nameLength, const char* name,
                             std::uint32_t* cookie) = 0;
    virtual HRESULT Unregister(std::uint32_t cookie) = 0;
    virtual HRESULT HasActiveSet(std::uint8_t* present) = 0;

  protected:
    ~IControlCenter() override = default;
};

class IActiveSetCrc : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IActiveSetCrc;
    virtual HRESULT GetCrc(std::uint16_t* crc) = 0;

  protected:
    ~IActiveSetCrc() override = default;
};

// Levels are numbered 0 .. count-1 in configuration order.
class ISwitcherDescTable : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_ISwitcherDescTable;
    virtual HRESULT GetCount(std::int16_t* count) = 0;
    // *nameLength receives the name's length without the terminating zero.
    virtual HRESULT GetLevelName(std::uint16_t level, std::int32_t* nameLength, char** name) = 0;
    virtual HRESULT GetSwitcherName(std::uint16_t level, std::int32_t* nameLength, char** name) = 0;
    virtual HRESULT GetInputCount(std::uint16_t level, std::int32_t* count) = 0;
    virtual HRESULT GetOutputCount(std::uint16_t level, std::int32_t* count) = 0;
    // The network board that serves the level.
    virtual HRESULT GetLevelBoard(std::uint16_t level, std::uint16_t* board) = 0;

  protected:
    ~ISwitcherDescTable() override = default;
};

// Boards are numbered 0 .. count-1.
class INetworkDescTable : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_INetworkDescTable;
    virtual HRESULT GetNetworkBoardCount(std::uint16_t* count) = 0;
    // *length counts the terminating zero too, so comparing `length` characters of two names
    // compares them whole.
    virtual HRESULT GetBoardName(std::uint16_t board, std::uint16_t* length, char** name) = 0;
    // At least 6 bytes; the first 6 identify the board on the network.
    virtual HRESULT GetBoardAddress(std::uint16_t board, std::uint16_t* length,
                                    std::uint8_t** address) = 0;
    // A letter: 'Q' and 'B' boards take remap data.
    virtual HRESULT GetBoardType(std::uint16_t board, std::uint8_t* type) = 0;
    // 1 marks the second board of a same-name pair.
    virtual HRESULT GetBoardFlag(std::uint16_t board, std::uint8_t* flag) = 0;

  protected:
    ~INetworkDescTable() override = default;
};

class ICorvaneRegistry : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_ICorvaneRegistry;
    virtual HRESULT GetRebootPort(std::uint16_t* port) = 0;

  protected:
    ~ICorvaneRegistry() override = default;
};

inline constexpr std::int32_t kAllBoards = -1;
inline constexpr std::uint16_t kAllBoards16 = 0xFFFF;
inline constexpr std::size_t kBoardInfoSize = 8;

// Notification types a sink can ask for (a mask); 8 carries a board's remap information.
inline constexpr std::int32_t kNotifyRemapInfo = 8;
inline constexpr std::int32_t kKnownNotifyTypes = 1 | 2 | 4 | 8 | 16 | 32;

class IBoardStatus : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IBoardStatus;
    // Asks for notifications of the types in the mask for one board or kAllBoards. The sink must
    // offer IBoardNotifySink; *cookie names the connection (never 0).
    virtual HRESULT Advise(com::IUnknown* sink, std::int32_t board, std::int32_t types,
                           std::uint32_t* cookie) = 0;
    // board is kAllBoards16 or the board the connection was made for.
    virtual HRESULT Unadvise(std::uint16_t board, std::uint32_t cookie) = 0;
    // Copies the board's kBoardInfoSize-byte record; *reported (when given) is 1 once the board
    // has reported, *reportCount (when given) the number of its reports.
    virtual HRESULT GetBoardRemapInfo(std::uint16_t board, std::uint8_t* record,
                                      std::uint8_t* reported, std::uint32_t* reportCount) = 0;

  protected:
    ~IBoardStatus() override = default;
};

class IBoardStatusEx : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IBoardStatusEx;
    // Has the board (or every board, kAllBoards) report again; the reports reach the advised
    // sinks later, through the user-interface thread's queue.
    virtual HRESULT RetrieveBoardRemapInfo(std::int32_t board) = 0;
    // The datagrams refused at the status port since the server started (not a report, or not
    // from the board it names), counted on from 0 again after 2^32 - 1.
    virtual HRESULT GetRefusedReportCount(std::uint32_t* count) = 0;

  protected:
    ~IBoardStatusEx() override = default;
};

// Files of one data folder, by bare name (see file_access_codes.h for values and codes).
class IFileAccess : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IFileAccess;
    virtual HRESULT Open(std::uint16_t nameLengthPlusOne, const char* name, std::uint32_t access,
                         std::uint32_t share, std::uint32_t* handle) = 0;
    // *count: bytes wanted in, bytes delivered out. *block is null when none were delivered.
    virtual HRESULT Read(std::uint32_t handle, std::uint32_t* count, std::uint8_t** block) = 0;
    // *count: bytes to write in, bytes written out.
    virtual HRESULT Write(std::uint32_t handle, std::uint32_t* count,
                          const std::uint8_t* bytes) = 0;
    // *position: offset in, new offset from the start out.
    virtual HRESULT Seek(std::uint32_t handle, std::int32_t* position, std::uint32_t origin) = 0;
    virtual HRESULT Close(std::uint32_t handle) = 0;
    virtual HRESULT FindFirst(std::uint16_t patternLengthPlusOne, const char* pattern,
                              std::uint32_t attributes, std::uint8_t* record) = 0;
    virtual HRESULT FindNext(std::uint8_t* record) = 0;

  protected:
    ~IFileAccess() override = default;
};

// Offered by the File Access object (QueryInterface) beside IFileAccess. Several workstations may
// share the data folder; a workstation holds the lock of a file while it decides on the file's
// content and writes it. The locks are the file system's own, so a workstation that ends, however
// it ends, holds none. Names are bare file names, compared without regard to case.
class IFileLocks : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IFileLocks;
    // Takes the file's lock without waiting: S_OK when it is now held here (also when it was
    // already), S_FALSE when another workstation or process holds it; a failure when the lock
    // cannot be had at all (the folder's file system takes no locks, say).
    virtual HRESULT TryLock(std::uint16_t nameLengthPlusOne, const char* name) = 0;
    // Lets the file's lock go; S_OK also when it was not held.
    virtual HRESULT Unlock(std::uint16_t nameLengthPlusOne, const char* name) = 0;

  protected:
    ~IFileLocks() override = default;
};

class IErrorDescription : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IErrorDescription;
    // The component's description of its latest failure. *code (when given) receives that
    // failure's status.
    virtual HRESULT GetErrorDescription(std::uint32_t* code, char** description) = 0;

  protected:
    ~IErrorDescription() override = default;
};

// Components the program creates and holds but never calls.
class IVexelDevicesTable : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IVexelDevicesTable;

  protected:
    ~IVexelDevicesTable() override = default;
};

class ISwitcherInputTable : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_ISwitcherInputTable;

  protected:
    ~ISwitcherInputTable() override = default;
};

class ISwitcherOutputTable : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_ISwitcherOutputTable;

  protected:
    ~ISwitcherOutputTable() override = default;
};

class IPathFinding : public com::IUnknown {
  public:
    static constexpr com::IID kIid = IID_IPathFinding;

  protected:
    ~IPathFinding() override = default;
};

}  // namespace control
