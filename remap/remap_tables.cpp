// The remap tables in memory and their files: opening, reading, checking, writing, saving under
// another name and selecting a saved table.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "app/tav_app.h"
#include "audit_events/audit_events.h"
#include "common/format.h"
#include "common/text.h"
#include "platform/com/com.h"
#include "platform/control/file_access_codes.h"
#include "platform/fw/app.h"
#include "remap/remap_line.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace {

constexpr char kDefaultInputFile[] = "TAV.IXT";
constexpr char kDefaultOutputFile[] = "TAV.OXT";
constexpr char kCrcMarker[] = "CONFIGCRC(";
constexpr char kSelectUnreadable[] =
    "This remap table could not be read and was not selected.\nThe current remap table is "
    "kept.";
constexpr char kSelectRefused[] =
    "This remap table does not match the configuration and was not selected.\nThe current "
    "remap table is kept.";

constexpr int kMaxKeptCopies = 99;

// Whether anything at all stands under name: a file, but also a link (dangling or not), a folder
// or anything else File Access refuses to open, none of which a copy may take the place of.
bool NameTaken(control::IFileAccess& files, const std::string& name) {
    std::uint32_t handle = 0;
    const com::HRESULT hr = files.Open(static_cast<std::uint16_t>(name.size() + 1), name.c_str(),
                                       control::kAccessRead, control::kShareDefault, &handle);
    if (com::SUCCEEDED(hr)) {
        files.Close(handle);
    }
    return hr != control::kFileNotFound;
}

// The whole content of a file through File Access; false when it could not be read.
bool ReadWhole(control::IFileAccess& files, const std::string& name, std::string& content) {
    std::uint32_t from = 0;
    if (com::FAILED(files.Open(static_cast<std::uint16_t>(name.size() + 1), name.c_str(),
                               control::kAccessRead, control::kShareDefault, &from))) {
        return false;
    }
    bool read = true;
    for (;;) {
        std::uint32_t count = 64 * 1024;
        std::uint8_t* block = nullptr;
        const com::HRESULT hr = files.Read(from, &count, &block);
        const std::unique_ptr<std::uint8_t, void (*)(void*)> owned(block, com::CoTaskMemFree);
        if (com::FAILED(hr)) {
            read = false;
            break;
        }
        if (count == 0 || block == nullptr) {
            break;
        }
        content.append(reinterpret_cast<const char*>(block), count);
    }
    files.Close(from);
    return read;
}

// Creates name holding content; false when it could not be made whole.
bool WriteNew(control::IFileAccess& files, const std::string& name, const std::string& content) {
    std::uint32_t to = 0;
    if (com::FAILED(files.Open(static_cast<std::uint16_t>(name.size() + 1), name.c_str(),
                               control::kAccessReplace, control::kShareDefault, &to))) {
        return false;
    }
    auto written = static_cast<std::uint32_t>(content.size());
    const bool copied =
        content.empty() ||
        (com::SUCCEEDED(
             files.Write(to, &written, reinterpret_cast<const std::uint8_t*>(content.data()))) &&
         written == content.size());
    // After a failed write the handle's content is never put in place.
    return com::SUCCEEDED(files.Close(to)) && copied;
}

struct KeptAside {
    std::string copy;         // the copy's name; empty when none could be made
    bool namesTaken = false;  // every name a copy could take is taken
};

// Copies a table file that cannot be used to the first free "<name>.<n>.BAD", byte for byte, so
// that nothing the operator had is lost when the table is rewritten.
KeptAside KeepTableAside(control::IFileAccess* files, const std::string& name) {
    KeptAside result;
    // The whole file is read before a copy is created: a read that fails then leaves no empty
    // copy behind (File Access creates the file when it is opened).
    std::string content;
    if (files == nullptr || !ReadWhole(*files, name, content)) {
        return result;
    }
    result.namesTaken = true;
    for (int n = 1; n <= kMaxKeptCopies; ++n) {
        const std::string candidate = tav::Format("%s.%d.BAD", name, n);
        if (NameTaken(*files, candidate)) {
            continue;
        }
        result.namesTaken = false;
        if (WriteNew(*files, candidate, content)) {
            result.copy = candidate;
            break;
        }
    }
    return result;
}

// What the operator can do about a table file that could not be copied aside.
std::string HeldTableAdvice(const std::string& name, bool namesTaken) {
    return namesTaken ? tav::Format(
                            "Move the copies %s.1.BAD to %s.%d.BAD out of the data "
                            "folder, then try again.",
                            name, name, kMaxKeptCopies)
                      : tav::Format(
                            "Copy %s elsewhere and move it out of the data folder, then "
                            "try again.",
                            name);
}

const char* IoWord(IoType io) {
    return io == IoType::Output ? "output" : "input";
}

}  // namespace

fw::BOOL CTavDlg::OpenRemapTableFile(IoType io, fw::BOOL rewrite, fw::BOOL useDefaultName,
                                     const std::string& name) {
    CloseRemapTableFile();
    if (useDefaultName) {
        SetTableFile(io, io == IoType::Output ? kDefaultOutputFile : kDefaultInputFile);
    } else {
        if (name.empty()) {
            return fw::FALSE;
        }
        SetTableFile(io, name);
    }
    const std::string& fileName = TableFile(io);
    auto file =
        std::make_unique<CTavFile>(fileName, rewrite ? CTavFile::kReplace | CTavFile::kTimeStamp
                                                     : CTavFile::kAppend | CTavFile::kTimeStamp);
    if (file->m_nError != 0) {
        file.reset();
        MessageBox(tav::Format("%s\nFilename:%s\n", fw::LoadString(IDS_ERR_OPEN_LOG), fileName),
                   nullptr, fw::MB_ICONHAND);
        return fw::FALSE;
    }
    m_pRemapFile = std::move(file);
    return fw::TRUE;
}

void CTavDlg::CloseRemapTableFile() {
    m_pRemapFile.reset();
}

fw::BOOL CTavDlg::LoadRemapTable(IoType io) {
    ClearRemapTable(io);
    return ReadRemapTableFile(io);
}

fw::BOOL CTavDlg::ReadRemapTableFile(IoType io) {
    if (!m_pRemapFile || !m_pRemapFile->Rewind()) {
        return fw::FALSE;
    }
    std::unique_ptr<RemapTable>& table = Table(io);
    std::string line;
    bool first = true;
    while (m_pRemapFile->ReadLine(line)) {
        if (first) {
            first = false;
            if (const auto marker = line.find(kCrcMarker); marker != std::string::npos) {
                const std::uint16_t crc =
                    ParseTableCrc(line.substr(marker + sizeof kCrcMarker - 1));
                if (crc != GetTavApp()->GetActiveSetCrc()) {
                    fw::AfxMessageBox(
                        "This remap table was created under a different configuration set.  This "
                        "may cause unpredictable behavior with this application unless the "
                        "switcher tables are identical.",
                        fw::MB_OK);
                }
                continue;
            }
        }
        auto entry = ParseRemapLine(line);
        if (!entry) {
            return fw::FALSE;  // entries already read stay; the caller clears the table
        }
        if (!table) {
            table = std::make_unique<RemapTable>();
        }
        table->push_back(std::move(entry));
    }
    // A read that failed (and was reported) ends the loop as the end of the file would: the
    // entries read so far are not the table.
    return m_pRemapFile->m_nError == 0 ? fw::TRUE : fw::FALSE;
}

fw::BOOL CTavDlg::VerifyRemapTable(IoType io) {
    const std::unique_ptr<RemapTable>& table = Table(io);
    if (!table) {
        return fw::TRUE;
    }
    const auto& levels = GetTavApp()->GetLevels();
    if (!table->empty() && levels.empty()) {
        return fw::FALSE;
    }
    // Each entry is a heap block of its own, and a table just read no longer sits in the cache:
    // asking for the entries a few places ahead lets their loads overlap instead of waiting for
    // each one in turn.
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < table->size(); ++i) {
        if (i + kAhead < table->size()) {
            const CRemapEntry& ahead = *(*table)[i + kAhead];
            __builtin_prefetch(&ahead.m_strSwitcher);
            __builtin_prefetch(&ahead.m_nRow);
        }
        const auto& entry = (*table)[i];
        if (entry->m_nRow < 0 || static_cast<std::size_t>(entry->m_nRow) >= levels.size()) {
            return fw::FALSE;  // a row the configuration does not have cannot be checked
        }
        const CSwitcherLevel& level = *levels[static_cast<std::size_t>(entry->m_nRow)];
        if (!tav::EqualNoCase(entry->m_strSwitcher, level.m_strSwitcher) ||
            !tav::EqualNoCase(entry->m_strLevel, level.m_strLevel)) {
            return fw::FALSE;
        }
    }
    return fw::TRUE;
}

void CTavDlg::ClearRemapTable(IoType io) {
    Table(io).reset();
}

void CTavDlg::AppendRemapLine() {
    if (!m_pRemapFile || m_pSysDefRecord == nullptr) {
        return;
    }
    int origFirst = 0;
    int origLast = 0;
    int newFirst = 0;
    int newLast = 0;
    GetRemapNumbers(origFirst, origLast, newFirst, newLast);
    const std::string text = tav::Format("%s,%s,%d,%d,%d,%d,%d,%s", m_pSysDefRecord->m_strSwitcher,
                                         m_pSysDefRecord->m_strLevel, m_nSysDefRow, origFirst,
                                         origLast, newFirst, newLast, TableComment(GetComment()));
    try {
        m_pRemapFile->WriteLine(text);
    } catch (const CUserException&) {
        MessageBox(fw::LoadString(IDS_ERR_WRITE_LOG), nullptr, fw::MB_ICONHAND);
        CloseRemapTableFile();
    }
}

void CTavDlg::WriteRemapTableFile(IoType io) {
    if (!m_pRemapFile) {
        return;
    }
    try {
        m_pRemapFile->WriteRaw(FormatCrcLine(GetTavApp()->GetActiveSetCrc()));
        if (const std::unique_ptr<RemapTable>& table = Table(io)) {
            for (const auto& entry : *table) {
                m_pRemapFile->WriteRaw(FormatRemapLine(*entry));
            }
        }
    } catch (const CUserException&) {
        MessageBox(fw::LoadString(IDS_ERR_WRITE_LOG), nullptr, fw::MB_ICONHAND);
        CloseRemapTableFile();
    }
}

fw::BOOL CTavDlg::SaveRemapTableAs(IoType io, std::uint32_t file) {
    // An absent table is saved as an empty one: the operator confirmed replacing the file, and a
    // file left whole would bring its old entries back when it is selected.
    const RemapTable* table = std::as_const(*this).Table(io);
    CTavApp* app = GetTavApp();
    auto write = [&](const std::string& line) {
        const std::string bytes = line + "\r\n";
        auto count = static_cast<std::uint32_t>(bytes.size());
        control::IFileAccess* files = app->GetFileAccess();
        return files != nullptr
                   ? files->Write(file, &count, reinterpret_cast<const std::uint8_t*>(bytes.data()))
                   : com::E_POINTER;
    };
    if (const com::HRESULT hr = write(FormatCrcLine(app->GetActiveSetCrc())); com::FAILED(hr)) {
        app->ReportError(hr, "TavDlg", __LINE__);
        return fw::FALSE;
    }
    static const RemapTable kNoEntries;
    for (const auto& entry : table ? *table : kNoEntries) {
        if (const com::HRESULT hr = write(FormatRemapLine(*entry)); com::FAILED(hr)) {
            app->ReportError(hr, "TavDlg", __LINE__);
            return fw::FALSE;
        }
    }
    return fw::TRUE;
}

fw::BOOL CTavDlg::SelectRemapTable(IoType io, const std::string& name) {
    // The chosen file is read into a table of its own first: the working table is replaced only
    // by a table that loaded and matches the configuration, so a missing or unusable file never
    // costs the operator the remaps in force (the next change would write them away).
    std::unique_ptr<RemapTable> working = std::move(Table(io));
    const std::string workingFile = TableFile(io);
    bool taken = false;
    AuditChange change(AuditKind::Select, io);
    change.file = name;
    change.tableFile = workingFile;
    if (!RemapTableFileExists(name)) {
        MessageBox(tav::Format("%s\nFilename:%s\n", fw::LoadString(IDS_ERR_OPEN_LOG), name),
                   nullptr, fw::MB_ICONHAND);
        change.reason = "not found";
    } else if (OpenRemapTableFile(io, fw::FALSE, fw::FALSE, name)) {
        const bool read = LoadRemapTable(io);
        taken = read && VerifyRemapTable(io);
        if (!taken) {
            MessageBox(
                tav::Format("%s\nFilename:%s\n", read ? kSelectRefused : kSelectUnreadable, name),
                nullptr, fw::MB_ICONHAND);
            change.reason = read ? "does not match the configuration" : "unreadable";
        }
    } else {
        change.reason = "cannot be opened";
    }
    CloseRemapTableFile();
    if (!taken) {
        Table(io) = std::move(working);
        SetTableFile(io, workingFile);
    }
    UpdateTitle();
    change.outcome = taken ? "selected" : "refused";
    change.count = CountRemappedPorts(io);
    RecordAuditEvent(change);
    return fw::TRUE;
}

int CTavDlg::CountRemappedPorts(IoType io) const {
    const RemapTable* table = Table(io);
    int ports = 0;
    if (table) {
        for (const auto& entry : *table) {
            ports += entry->PortCount();
        }
    }
    return ports;
}

std::unique_ptr<CRemapEntry> CTavDlg::CopyRemapEntry(const CRemapEntry& entry, int origFirst,
                                                     int origLast, int newFirst,
                                                     int newLast) const {
    auto copy = std::make_unique<CRemapEntry>(entry);
    copy->m_nOrigFirst = origFirst;
    copy->m_nOrigLast = origLast;
    copy->m_nNewFirst = newFirst;
    copy->m_nNewLast = newLast;
    return copy;
}

bool CTavDlg::RemapTableFileExists(const std::string& name) {
    CTavFile probe(name, CTavFile::kRead);
    return probe.m_nError == 0;
}

void CTavDlg::LoadTablesAtStart() {
    // Without the whole level list (it could not be read) nothing can be checked, and the switcher
    // list stays empty, so no remap can be made that would rewrite the file: it stays where it is.
    const bool levelsKnown = m_bLevelListRead && !GetTavApp()->GetLevels().empty();
    for (IoType io : {IoType::Input, IoType::Output}) {
        bool unusable = false;
        bool unreadable = false;
        if (OpenRemapTableFile(io, fw::FALSE, fw::TRUE, {})) {
            const bool loaded = LoadRemapTable(io);
            // A read the File Access component failed says nothing about the file's content.
            unreadable = !loaded && m_pRemapFile->m_nError != 0;
            if (!loaded || !VerifyRemapTable(io)) {
                ClearRemapTable(io);
                unusable = !unreadable && (!loaded || levelsKnown);
            }
        }
        CloseRemapTableFile();
        if (unusable) {
            SetAsideUnusableTable(io);
        } else if (unreadable) {
            KeepUnreadableTable(io);
        }
        // What the boards were last told, as far as this workstation knows.
        std::vector<unsigned>& inForce = m_arrRowsInForce[IoSlot(io)];
        inForce.clear();
        if (const RemapTable* table = Table(io).get()) {
            for (const auto& entry : *table) {
                if (entry->m_nRow >= 0) {
                    inForce.push_back(static_cast<unsigned>(entry->m_nRow));
                }
            }
        }
        std::sort(inForce.begin(), inForce.end());
        inForce.erase(std::unique(inForce.begin(), inForce.end()), inForce.end());
    }
}

// A table file that could not be read stays as it is (the next start may read it), but a remap
// made now would rewrite it with only what is in memory: it is copied aside first, and the
// operator told. Without a copy the file is held: nothing of that I/O type may rewrite it.
void CTavDlg::KeepUnreadableTable(IoType io) {
    const std::string name = TableFile(io);
    const KeptAside kept = KeepTableAside(GetTavApp()->GetFileAccess(), name);
    if (kept.copy.empty()) {
        HoldTable(io, kept.namesTaken,
                  tav::Format("The remap table file %s could not be read; its remaps are not "
                              "shown.",
                              name));
        return;
    }
    MessageBox(tav::Format("The remap table file %s could not be read; its remaps are not "
                           "shown.\nIt was copied to %s before the next remap replaces it.",
                           name, kept.copy),
               nullptr, fw::MB_ICONEXCLAMATION);
}

// The next remap would rewrite the file with only what is in memory, so a table file that could
// not be used is copied aside first and the operator told, once: the copy's name is in the
// message, and an empty table takes the file's place. Without a copy the file is held.
void CTavDlg::SetAsideUnusableTable(IoType io) {
    const std::string name = TableFile(io);
    const KeptAside kept = KeepTableAside(GetTavApp()->GetFileAccess(), name);
    if (kept.copy.empty()) {
        HoldTable(io, kept.namesTaken,
                  tav::Format("The remap table file %s is damaged or was written for another "
                              "configuration; its remaps are not in force.",
                              name));
        return;
    }
    if (OpenRemapTableFile(io, fw::TRUE, fw::TRUE, {})) {
        WriteRemapTableFile(io);
    }
    CloseRemapTableFile();
    MessageBox(tav::Format("The remap table file %s is damaged or was written for another "
                           "configuration; its remaps are not in force.\nIt was kept as %s, and "
                           "an empty table takes its place.",
                           name, kept.copy),
               nullptr, fw::MB_ICONEXCLAMATION);
}

void CTavDlg::HoldTable(IoType io, bool namesTaken, const std::string& what) {
    m_bTableHeld[IoSlot(io)] = true;
    MessageBox(tav::Format("%s\nIt could not be copied aside, so it is kept as it is, and no %s "
                           "remap or restore can be made until it is dealt with.\n%s",
                           what, IoWord(io), HeldTableAdvice(TableFile(io), namesTaken)),
               nullptr, fw::MB_ICONHAND);
}

// A held table file is rewritten only once it is gone or a copy of it could be made at last;
// until then every change of its I/O type is refused before anything is sent or written.
bool CTavDlg::MayRewriteTable(IoType io) {
    bool& held = m_bTableHeld[IoSlot(io)];
    if (!held) {
        return true;
    }
    const std::string name = io == IoType::Output ? kDefaultOutputFile : kDefaultInputFile;
    control::IFileAccess* files = GetTavApp()->GetFileAccess();
    if (files != nullptr && !NameTaken(*files, name)) {
        held = false;  // moved away: nothing is left to lose
        return true;
    }
    const KeptAside kept = KeepTableAside(files, name);
    if (!kept.copy.empty()) {
        held = false;
        MessageBox(tav::Format("The remap table file %s was kept as %s; this change replaces it.",
                               name, kept.copy),
                   nullptr, fw::MB_ICONEXCLAMATION);
        return true;
    }
    MessageBox(tav::Format("The remap table file %s is kept as it is until it is dealt with: no %s "
                           "remap or restore can be made.\n%s",
                           name, IoWord(io), HeldTableAdvice(name, kept.namesTaken)),
               nullptr, fw::MB_ICONHAND);
    return false;
}

void CTavDlg::UpdateTitle() {
    if (m_nIOType == IoType::None) {
        return;
    }
    std::string title = GetWindowText();
    if (const auto dash = title.find('-'); dash != std::string::npos) {
        title.erase(dash == 0 ? 0 : dash - 1);
    }
    SetWindowText(title + " - " + TableFile(m_nIOType));
}
