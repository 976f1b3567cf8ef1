// The audit trail's events: each kind of change gives exactly these fields, and a board is never
// said to have confirmed what it did not.
#include <gtest/gtest.h>

#include "audit_events/audit_events.h"

namespace {

using boards::BoardOutcome;

const boards::NotifyResult kMixed = {true,
                                     false,
                                     0,
                                     {{0, "MAINVID", BoardOutcome::Confirmed},
                                      {2, "MAINVID", BoardOutcome::NoReport},
                                      {3, "STUDIO", BoardOutcome::FlagDiffers},
                                      {4, "X", BoardOutcome::CrcDiffers},
                                      {5, "Y", BoardOutcome::StatusNotZero},
                                      {6, "Z", BoardOutcome::AlreadyHeld}},
                                     3};
// The refused count could not be read: the event leaves it out rather than guess.
const boards::NotifyResult kNotSent = {
    false, false, 0, {{0, "MAINVID", BoardOutcome::NoReport}}, std::nullopt};

AuditChange Change(AuditKind kind, IoType io, const char* outcome, const char* file = "",
                   int count = -1, std::vector<std::string> entries = {}) {
    AuditChange c(kind, io);
    c.outcome = outcome;
    c.file = file;
    c.count = count;
    c.entries = std::move(entries);
    return c;
}

AuditChange Remap(int origLast, const boards::NotifyResult& boards, const char* outcome) {
    AuditChange c = Change(AuditKind::Remap, IoType::Input, outcome);
    c.switcher = "MAIN";
    c.level = "VIDEO";
    c.origFirst = 16;
    c.origLast = origLast;
    c.newFirst = 112;
    c.newLast = 112 + origLast - 16;
    c.comment = "card 2";
    c.notification = &boards;
    return c;
}

std::string Joined(const audit::Event& event) {
    std::string text;
    for (const auto& [name, value] : event) {
        text += (text.empty() ? "" : "|") + name + "=" + value;
    }
    return text;
}

TEST(AuditEvents, EachKindOfChangeGivesItsFields) {
    AuditChange saveAs = Change(AuditKind::SaveAs, IoType::Output, "saved", "night.oxt", 3);
    saveAs.tableFile = "TAV.OXT";
    AuditChange select = Change(AuditKind::Select, IoType::Input, "refused", "OLD.IXT", 0);
    select.reason = "unreadable";
    const struct {
        AuditChange change;
        const char* fields;
    } cases[] = {
        {Remap(31, kMixed, "recorded"),
         "MESSAGE=Remap (input) MAIN VIDEO 16-31 to 112-127: recorded, 1 of 6 boards confirmed, "
         "3 reports refused|"
         "TAVORA_EVENT=remap|TAVORA_OUTCOME=recorded|TAVORA_IO=input|TAVORA_SWITCHER=MAIN|"
         "TAVORA_LEVEL=VIDEO|TAVORA_ORIGINAL=16-31|TAVORA_NEW=112-127|TAVORA_COMMENT=card 2|"
         "TAVORA_SENT=yes|TAVORA_BOARDS=6|TAVORA_CONFIRMED=1|TAVORA_BOARD=0,MAINVID,confirmed|"
         "TAVORA_BOARD=2,MAINVID,no report|TAVORA_BOARD=3,STUDIO,flag differs|"
         "TAVORA_BOARD=4,X,CRC differs|TAVORA_BOARD=5,Y,status not 0|"
         "TAVORA_BOARD=6,Z,held it already|TAVORA_REPORTS_REFUSED=3"},
        {Remap(16, kNotSent, "not-sent"),
         "MESSAGE=Remap (input) MAIN VIDEO 16 to 112: not-sent, nothing sent|TAVORA_EVENT=remap|"
         "TAVORA_OUTCOME=not-sent|TAVORA_IO=input|TAVORA_SWITCHER=MAIN|TAVORA_LEVEL=VIDEO|"
         "TAVORA_ORIGINAL=16|TAVORA_NEW=112|TAVORA_COMMENT=card 2|TAVORA_SENT=no|"
         "TAVORA_BOARDS=1|TAVORA_CONFIRMED=0|TAVORA_BOARD=0,MAINVID,no report"},
        {Change(AuditKind::Restore, IoType::Output, "aborted", "", -1, {"MAIN,VIDEO,17,113"}),
         "MESSAGE=Restore (output) MAIN,VIDEO,17,113: aborted|TAVORA_EVENT=restore|"
         "TAVORA_OUTCOME=aborted|TAVORA_IO=output|TAVORA_ENTRY=MAIN,VIDEO,17,113"},
        {Change(AuditKind::RestoreAll, IoType::Input, "recorded", "", -1,
                {"MAIN,VIDEO,5,100", "MAIN,VIDEO,18-31,114-127"}),
         "MESSAGE=Restore All (input) 2 entries: recorded|TAVORA_EVENT=restore-all|"
         "TAVORA_OUTCOME=recorded|TAVORA_IO=input|TAVORA_ENTRY=MAIN,VIDEO,5,100|"
         "TAVORA_ENTRY=MAIN,VIDEO,18-31,114-127"},
        {saveAs,
         "MESSAGE=Save As (output) night.oxt: saved|TAVORA_EVENT=save-as|TAVORA_OUTCOME=saved|"
         "TAVORA_IO=output|TAVORA_FILE=night.oxt|TAVORA_TABLE_FILE=TAV.OXT|TAVORA_PORTS=3"},
        {select,
         "MESSAGE=Select (input) OLD.IXT: refused (unreadable)|TAVORA_EVENT=select|"
         "TAVORA_OUTCOME=refused|TAVORA_IO=input|TAVORA_FILE=OLD.IXT|TAVORA_PORTS=0|"
         "TAVORA_REASON=unreadable"},
        {Change(AuditKind::SysDefSave, IoType::None, "saved", "TAV.SDF", 5),
         "MESSAGE=System Definition save TAV.SDF: saved|TAVORA_EVENT=sysdef-save|"
         "TAVORA_OUTCOME=saved|TAVORA_FILE=TAV.SDF|TAVORA_ROWS=5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Joined(BuildAuditEvent(c.change)), c.fields);
    }
}

}  // namespace
