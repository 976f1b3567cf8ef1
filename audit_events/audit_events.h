// The audit trail's events: one for every change an operator makes (a remap, a Restore, a Restore
// All, a System Definition save, a remap table saved under another name or selected), built from
// what the change touched and how it ended. docs/audit.md lists the fields.
#pragma once

#include <string>
#include <vector>

#include "platform/audit/audit.h"
#include "records/io_type.h"
#include "records/notify_result.h"

enum class AuditKind { Remap, Restore, RestoreAll, SysDefSave, SaveAs, Select };

struct AuditChange {
    explicit AuditChange(AuditKind k, IoType ioType = IoType::None) : kind(k), io(ioType) {}

    AuditKind kind;
    std::string outcome;  // how the change ended: recorded, not-sent, file-error, ...
    std::string reason;   // why it was refused, when it was
    IoType io;            // None when no remap table is concerned
    // A remap: its level and numbers (a whole board as first-last), and the operator's comment.
    std::string switcher;
    std::string level;
    int origFirst = 0;
    int origLast = 0;
    int newFirst = 0;
    int newLast = 0;
    std::string comment;
    // Restore and Restore All: the ports or entries taken back, "SWITCHER,LEVEL,ORIG,NEW".
    std::vector<std::string> entries;
    // The boards told, when a RE-MAP message was built for the change.
    const boards::NotifyResult* notification = nullptr;
    // System Definition save, Save As and Select: the file written or chosen, and the working
    // table's file before the change; count is the rows saved or the ports remapped in the
    // working table afterwards.
    std::string file;
    std::string tableFile;
    int count = -1;
};

// "5" for a single port, "16-31" for a range.
std::string AuditNumbers(int first, int last);

audit::Event BuildAuditEvent(const AuditChange& change);

// Builds the event and hands it to the trail.
void RecordAuditEvent(const AuditChange& change);
