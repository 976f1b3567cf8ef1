// Several workstations on one data folder at once: processes of their own, each Tavora on the
// headless back end with its own boards, making random remaps, Restores and Restore Alls of the
// one input table. A witness in front of each workstation's boards logs every RE-MAP message in
// the order they went out; afterwards every message must carry the whole table in force (the one
// before it with exactly one confirmed change applied), every confirmed change must be in a
// message, and the table file must hold what the last message carried.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct SharedStressOptions {
    std::filesystem::path folder;  // made and used by the run
    int instances = 3;             // 1 to 4
    int changes = 20;              // each instance's
    unsigned seed = 1;
};

struct SharedStressReport {
    int tried = 0;      // changes the workstations set out to make
    int confirmed = 0;  // of them, sent, confirmed by the boards and written
    int waited = 0;     // times a workstation found another holding the lock, and waited
    int readAgain = 0;  // times a workstation found the table changed elsewhere and read it again
    int stopped = 0;    // changes stopped because the table had changed since they were chosen
    int messages = 0;   // RE-MAP messages the witnesses took, each checked
    std::vector<std::string> failures;
};

SharedStressReport RunSharedStress(const SharedStressOptions& options);
