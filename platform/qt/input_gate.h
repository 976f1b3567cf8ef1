// Watches the user's input to framework windows: refuses it to windows that may not take it now
// (disabled, or below a modal loop) and routes Enter and Esc to the dialog, as the original
// platform's dialog manager does.
#pragma once

#include <QObject>

namespace fwqt {

class QtBackend;

class InputGate final : public QObject {
  public:
    explicit InputGate(const QtBackend& backend) : m_backend(backend) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const QtBackend& m_backend;
};

}  // namespace fwqt
