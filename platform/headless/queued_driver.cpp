#include "platform/headless/queued_driver.h"

#include <stdexcept>

#include "platform/headless/headless_backend.h"

namespace headless {

void QueuedDriver::Idle(fw::CWnd& modalWindow) {
    if (m_actions.empty()) {
        throw std::runtime_error("nothing scripted while window " + DescribeWindow(modalWindow) +
                                 " waits modally");
    }
    Action action = std::move(m_actions.front());
    m_actions.pop_front();
    action(modalWindow);
}

int QueuedDriver::AnswerMessageBox(const fw::MessageBoxRequest& request) {
    m_boxes.push_back(request);
    if (m_answers.empty()) {
        if ((request.type & fw::MB_TYPEMASK) == fw::MB_OK) {
            return fw::IDOK;
        }
        throw std::runtime_error("no answer scripted for " + DescribeMessageBox(request));
    }
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

int QueuedDriver::AnswerPrintDialog(fw::PrintDialogRequest& request) {
    m_printPresets.push_back(*request.pd);
    if (m_printAnswers.empty()) {
        throw std::runtime_error("no answer scripted for the print dialog");
    }
    PrintAnswer answer = std::move(m_printAnswers.front());
    m_printAnswers.pop_front();
    if (answer.answer == fw::IDOK) {
        request.pd->settings = answer.settings;
    }
    return answer.answer;
}

std::string QueuedDriver::Unused() const {
    std::string unused;
    auto add = [&unused](std::size_t count, const char* what) {
        if (count > 0) {
            unused += (unused.empty() ? "" : ", ") + std::to_string(count) + " " + what;
        }
    };
    add(m_actions.size(), "action(s)");
    add(m_answers.size(), "message box answer(s)");
    add(m_printAnswers.size(), "print dialog answer(s)");
    return unused.empty() ? unused : unused + " scripted but never used";
}

fw::Control& Item(fw::CWnd& dialog, int id) {
    auto* dlg = dynamic_cast<fw::CDialog*>(&dialog);
    fw::Control* control = dlg != nullptr ? dlg->GetDlgItem(id) : nullptr;
    if (control == nullptr) {
        throw std::runtime_error("window " + DescribeWindow(dialog) + " has no control " +
                                 std::to_string(id));
    }
    return *control;
}

fw::CDialog* FindDialog(int templateId) {
    fw::CDialog* found = nullptr;
    for (fw::CWnd* wnd : fw::CWnd::TopLevelWindows()) {
        auto* dlg = dynamic_cast<fw::CDialog*>(wnd);
        if (dlg != nullptr && dlg->TemplateId() == templateId && dlg->IsWindowVisible()) {
            found = dlg;
        }
    }
    return found;
}

}  // namespace headless
