// The menu bar and the status bar of a framework window.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "platform/fw/window.h"

class QLabel;
class QMenuBar;
class QStatusBar;
class QWidget;

namespace fwqt {

// A menu bar showing the menu; choosing an item calls onCommand with its id.
QMenuBar* CreateMenuBar(const fw::Menu& menu, QWidget* parent,
                        const std::function<void(fw::UINT)>& onCommand);

// The text an indicator pane shows ("CAP", "NUM", "SCRL"), from the string table when it has one.
QString IndicatorText(fw::UINT id);

// A status bar whose panes follow a framework status bar.
class StatusBarMirror {
  public:
    explicit StatusBarMirror(QWidget* parent);
    QStatusBar* Bar() const { return m_bar; }
    void Update(const fw::CStatusBar& source);

  private:
    QStatusBar* m_bar;
    std::vector<fw::UINT> m_ids;
    std::vector<QLabel*> m_panes;
};

}  // namespace fwqt
