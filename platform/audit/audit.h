// The audit trail's platform side: an event goes to the system journal, or, when no journal takes
// it, becomes one line appended to the user's audit file. The program builds events from plain
// fields and never sees where they went.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace audit {

// A journal field: NAME (upper case letters, digits and '_') and its value. A name may appear
// more than once in an event.
using Field = std::pair<std::string, std::string>;
using Event = std::vector<Field>;

// What became of an event: kept by the journal or the file, or neither (it went to stderr).
struct Recorded {
    bool kept = true;
    std::string problem;  // when not kept: why neither took it, in a few words
};

// Records event with SYSLOG_IDENTIFIER=tavora, TAVORA_USER and TAVORA_HOST added: into the
// journal; when none is reachable (or TAVORA_AUDIT_JOURNAL=off), as one line appended to
// AuditFilePath(), which must be a regular file; when that fails too, on stderr, the reason said
// the first time. The caller tells the operator when an event was not kept.
Recorded Record(const Event& event);

// $XDG_STATE_HOME/tavora/audit.log (an absolute XDG_STATE_HOME only), else
// $HOME/.local/state/tavora/audit.log, else the same under the account's home; empty when no
// folder is known.
std::string AuditFilePath();

// The file's form of an event (no line end): NAME=value fields separated by tabs, with '\\', tab,
// line feed, carriage return and other control bytes escaped (\\ \t \n \r \xHH).
std::string FileLine(const Event& event);

// Whether a journal listens at socketPath (the journal's socket, a socket file). The library's own
// send reports success when no journal is running at all, so the trail asks this first.
inline constexpr const char* kJournalSocket = "/run/systemd/journal/socket";
bool JournalReachable(const std::string& socketPath);

// Tests: the journal as a function given the NAME=value fields, returning 0 when the journal took
// them and a negative errno when not; nullptr gives the real journal back. Either way the
// stderr warning may be said again.
using JournalSender = std::function<int(const std::vector<std::string>& fields)>;
void SetJournalSenderForTests(JournalSender sender);

}  // namespace audit
