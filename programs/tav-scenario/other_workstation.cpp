#include "programs/tav-scenario/other_workstation.h"

#include <fstream>
#include <string>

#include "platform/headless/scenario_driver.h"

namespace {

headless::ScriptFailure Bad(const headless::ScriptLine& line, const std::string& why) {
    return headless::ScriptFailure("line " + std::to_string(line.number) + ": " + why);
}

}  // namespace

bool OtherWorkstation::Run(const headless::ScriptLine& line) {
    const auto& w = line.words;
    if (w[0] == "lock" || w[0] == "unlock") {
        if (w.size() != 2) {
            throw Bad(line, w[0] + " NAME: one file name of the data folder");
        }
        if (w[0] == "unlock") {
            if (!m_held.erase(w[1])) {
                throw Bad(line, "the other workstation does not hold the lock of " + w[1]);
            }
            m_locks.Unlock(w[1]);
            return true;
        }
        std::string why;
        const com::HRESULT hr = m_locks.TryLock(m_dataDir, w[1], &why);
        if (hr != com::S_OK) {
            throw Bad(line, "the other workstation cannot take the lock of " + w[1] +
                                (hr == com::S_FALSE ? ": the program holds it" : ": " + why));
        }
        m_held.insert(w[1]);
        return true;
    }
    if (w[0] == "write-file") {
        if (w.size() != 3) {
            throw Bad(line, "write-file NAME \"CONTENT\"");
        }
        std::ofstream out(m_dataDir / w[1], std::ios::binary | std::ios::trunc);
        out << w[2];
        out.close();
        if (!out) {
            throw Bad(line, "cannot write " + (m_dataDir / w[1]).string());
        }
        return true;
    }
    return false;
}
