// A driver that plays actions and answers queued in C++, in order (unit tests, benchmarks, the
// soak runs); ScenarioDriver plays a scenario script instead.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/fw/dialog.h"
#include "platform/headless/driver.h"

namespace headless {

class QueuedDriver final : public Driver {
  public:
    using Action = std::function<void(fw::CWnd&)>;

    // The next idle modal loop runs action on its window.
    void Then(Action action) { m_actions.push_back(std::move(action)); }
    // The next message box that offers a choice is answered with answer. A box with only an OK
    // button needs no scripted answer.
    void Answer(int answer) { m_answers.push_back(answer); }
    void AnswerPrint(int answer, fw::PrinterSettings settings = {}) {
        m_printAnswers.push_back({answer, std::move(settings)});
    }

    void Idle(fw::CWnd& modalWindow) override;
    int AnswerMessageBox(const fw::MessageBoxRequest& request) override;
    int AnswerPrintDialog(fw::PrintDialogRequest& request) override;

    const std::vector<fw::MessageBoxRequest>& MessageBoxes() const { return m_boxes; }
    // Every print and page setup dialog as it was preset, before the answer.
    const std::vector<fw::PRINTDLG>& PrintPresets() const { return m_printPresets; }
    bool Exhausted() const {
        return m_actions.empty() && m_answers.empty() && m_printAnswers.empty();
    }
    // What was scripted and never taken, "" when everything was: a test that queues an answer
    // the program never asks for has not tested what it meant to, so the fixtures fail on it.
    std::string Unused() const;

  private:
    struct PrintAnswer {
        int answer;
        fw::PrinterSettings settings;
    };
    std::deque<Action> m_actions;
    std::deque<int> m_answers;
    std::deque<PrintAnswer> m_printAnswers;
    std::vector<fw::MessageBoxRequest> m_boxes;
    std::vector<fw::PRINTDLG> m_printPresets;
};

// The dialog's control with this id; throws when there is none, so a test fails with a reason.
fw::Control& Item(fw::CWnd& dialog, int id);
// The newest visible top-level window created from template id, or null.
fw::CDialog* FindDialog(int templateId);

}  // namespace headless
