// The few Qt widgets that need a hook the framework relies on.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QWidget>
#include <functional>

namespace fwqt {

class QtWindowPeer;

// The top-level widget of a framework window. Its close box asks the framework, which decides.
class PeerWindow final : public QWidget {
  public:
    PeerWindow(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {}

    // Set while the peer lives; the widget may outlive it briefly.
    QtWindowPeer* Peer() const { return m_peer; }
    void SetPeer(QtWindowPeer* peer) { m_peer = peer; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QtWindowPeer* m_peer = nullptr;
};

// A combo box that tells the framework before its list drops down, so that the program can fill
// the list first.
class FwComboBox final : public QComboBox {
  public:
    using QComboBox::QComboBox;
    void SetDropDownHandler(std::function<bool()> handler) { m_onDropDown = std::move(handler); }
    void showPopup() override;

  private:
    // Returns false when the combo box has gone meanwhile.
    std::function<bool()> m_onDropDown;
};

// A group box drawn the original platform's way: the frame line runs through the middle of the
// title, so that the templates' spacing below the title holds.
class FwGroupBox final : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// Brings a top-level widget to the front where the platform can (the offscreen one cannot).
void BringToFront(QWidget* window);

}  // namespace fwqt
