// The headless back end hands every point where a person would act to a driver: unit tests answer
// in C++, the scenario player from its script.
#pragma once

#include "platform/fw/backend.h"

namespace headless {

class Driver {
  public:
    virtual ~Driver() = default;
    // A modal loop on window has nothing queued: act (click, type, select, close...), or wait
    // for a message from another thread. Must make progress or throw.
    virtual void Idle(fw::CWnd& modalWindow) = 0;
    virtual int AnswerMessageBox(const fw::MessageBoxRequest& request) = 0;
    virtual int AnswerPrintDialog(fw::PrintDialogRequest& request) = 0;
};

}  // namespace headless
