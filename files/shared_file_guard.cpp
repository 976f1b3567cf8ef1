#include "files/shared_file_guard.h"

#include "app/tav_app.h"

namespace {

// An empty file is taken for no file: opening a missing table file to read it creates it empty,
// and either way there is no entry that could be lost.
bool SameContent(const CKnownFiles::Content& a, const CKnownFiles::Content& b) {
    return a.value_or(std::string()) == b.value_or(std::string());
}

}  // namespace

CSharedFileGuard::State CSharedFileGuard::TakeAndCheck(const std::optional<std::string>& held) {
    m_checked.reset();
    CTavApp* app = GetTavApp();
    if (app == nullptr || app->GetFileAccess() == nullptr) {
        return State::Unchanged;  // no files: nothing anybody could change
    }
    if (!m_lock.Take(m_window)) {
        return State::NotTaken;
    }
    CKnownFiles::Content now;
    if (!ReadDataFile(Name(), now)) {
        m_lock.Release();
        return State::NotTaken;
    }
    m_checked = now;
    const std::optional<CKnownFiles::Content> known = m_known.Known(Name());
    // Nothing known of it (it could not be read before, the failure reported): only a file
    // without content cannot have been changed in a way that writing it would lose.
    const bool unchanged = known ? SameContent(*known, now) : SameContent(std::nullopt, now);
    if (unchanged || (held && now && *held == *now)) {
        m_known.Remember(Name(), std::move(now));
        return State::Unchanged;
    }
    return State::Changed;
}

void CSharedFileGuard::Release() {
    if (!m_lock.Held()) {
        return;
    }
    CKnownFiles::Content now;
    if (ReadDataFile(Name(), now)) {
        m_known.Remember(Name(), std::move(now));
    } else {
        m_known.Forget(Name());
    }
    m_lock.Release();
}

void CSharedFileGuard::AdoptChecked() {
    if (m_checked) {
        m_known.Remember(Name(), *m_checked);
    }
}
