#include "audit_events/audit_events.h"

#include <algorithm>

#include "common/format.h"
#include "platform/fw/app.h"

namespace {

struct KindWords {
    const char* event;
    const char* what;
};

KindWords Words(AuditKind kind) {
    switch (kind) {
        case AuditKind::Remap:
            return {"remap", "Remap"};
        case AuditKind::Restore:
            return {"restore", "Restore"};
        case AuditKind::RestoreAll:
            return {"restore-all", "Restore All"};
        case AuditKind::SysDefSave:
            return {"sysdef-save", "System Definition save"};
        case AuditKind::SaveAs:
            return {"save-as", "Save As"};
        case AuditKind::Select:
            return {"select", "Select"};
    }
    return {"unknown", "Change"};
}

// The application whose operator has been told that the trail takes no events: once a run.
const fw::CWinApp* g_toldApp = nullptr;

}  // namespace

std::string AuditNumbers(int first, int last) {
    return first == last ? tav::Format("%d", first) : tav::Format("%d-%d", first, last);
}

audit::Event BuildAuditEvent(const AuditChange& c) {
    const KindWords words = Words(c.kind);
    const char* io = c.io == IoType::Input ? "input" : c.io == IoType::Output ? "output" : nullptr;
    std::string message = words.what;
    if (io != nullptr) {
        message += tav::Format(" (%s)", io);
    }
    audit::Event event = {{"TAVORA_EVENT", words.event}, {"TAVORA_OUTCOME", c.outcome}};
    auto add = [&event](const char* name, const std::string& value) {
        event.emplace_back(name, value);
    };
    if (io != nullptr) {
        add("TAVORA_IO", io);
    }
    if (c.kind == AuditKind::Remap) {
        const std::string from = AuditNumbers(c.origFirst, c.origLast);
        const std::string to = AuditNumbers(c.newFirst, c.newLast);
        message += tav::Format(" %s %s %s to %s", c.switcher, c.level, from, to);
        add("TAVORA_SWITCHER", c.switcher);
        add("TAVORA_LEVEL", c.level);
        add("TAVORA_ORIGINAL", from);
        add("TAVORA_NEW", to);
        add("TAVORA_COMMENT", c.comment);
    }
    for (const std::string& entry : c.entries) {
        add("TAVORA_ENTRY", entry);
    }
    if (!c.entries.empty()) {
        message += c.entries.size() == 1
                       ? " " + c.entries[0]
                       : tav::Format(" %u entries", static_cast<unsigned>(c.entries.size()));
    }
    if (!c.file.empty()) {
        message += " " + c.file;
        add("TAVORA_FILE", c.file);
    }
    if (!c.tableFile.empty()) {
        add("TAVORA_TABLE_FILE", c.tableFile);
    }
    if (c.count >= 0) {
        add(c.kind == AuditKind::SysDefSave ? "TAVORA_ROWS" : "TAVORA_PORTS",
            tav::Format("%d", c.count));
    }
    message += ": " + c.outcome;
    if (!c.reason.empty()) {
        add("TAVORA_REASON", c.reason);
        message += " (" + c.reason + ")";
    }
    if (const boards::NotifyResult* n = c.notification) {
        // A board counts as confirmed only on its own report of exactly the data it was sent.
        const auto confirmed = std::count_if(n->boards.begin(), n->boards.end(), [](const auto& b) {
            return b.outcome == boards::BoardOutcome::Confirmed;
        });
        add("TAVORA_SENT", n->sent ? "yes" : "no");
        add("TAVORA_BOARDS", tav::Format("%u", static_cast<unsigned>(n->boards.size())));
        add("TAVORA_CONFIRMED", tav::Format("%d", static_cast<int>(confirmed)));
        for (const boards::BoardResult& b : n->boards) {
            add("TAVORA_BOARD", tav::Format("%u,%s,%s", unsigned{b.number}, b.name,
                                            boards::OutcomeText(b.outcome)));
        }
        message += n->sent ? tav::Format(", %d of %u boards confirmed", static_cast<int>(confirmed),
                                         static_cast<unsigned>(n->boards.size()))
                           : ", nothing sent";
        // Someone else speaking for the boards during the wait: believed by no one, but known.
        if (n->reportsRefused) {
            add("TAVORA_REPORTS_REFUSED", tav::Format("%u", unsigned{*n->reportsRefused}));
            if (*n->reportsRefused > 0) {
                message += tav::Format(", %u reports refused", unsigned{*n->reportsRefused});
            }
        }
    }
    event.insert(event.begin(), {"MESSAGE", message});
    return event;
}

void RecordAuditEvent(const AuditChange& change) {
    const audit::Recorded recorded = audit::Record(BuildAuditEvent(change));
    const fw::CWinApp* app = fw::AfxGetApp();
    if (recorded.kept || app == nullptr || app == g_toldApp) {
        return;
    }
    // Once a run: the trail says the rest on the error output, event by event.
    g_toldApp = app;
    fw::AfxMessageBox(tav::Format("The audit trail cannot be written: %s.\nChanges are still "
                                  "made; their records go to the error output.",
                                  recorded.problem),
                      fw::MB_OK | fw::MB_ICONEXCLAMATION);
}
