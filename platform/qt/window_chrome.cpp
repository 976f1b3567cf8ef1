#include "platform/qt/window_chrome.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "platform/qt/qt_text.h"

namespace fwqt {

namespace {

// As controls and dialogs are named: a command can be found by its id.
QString CommandName(fw::UINT id) {
    return QStringLiteral("command%1").arg(id);
}

void FillMenu(QMenu* menu, const std::vector<fw::MenuItem>& items,
              const std::function<void(fw::UINT)>& onCommand) {
    for (const auto& item : items) {
        if (item.separator) {
            menu->addSeparator();
        } else if (!item.popup.empty()) {
            QMenu* sub = menu->addMenu(ToQt(item.text));
            sub->setEnabled(!item.grayed);
            FillMenu(sub, item.popup, onCommand);
        } else {
            QAction* action = menu->addAction(ToQt(item.text));
            action->setEnabled(!item.grayed);
            const fw::UINT id = item.id;
            action->setObjectName(CommandName(id));
            QObject::connect(action, &QAction::triggered, menu, [onCommand, id] { onCommand(id); });
        }
    }
}

}  // namespace

QMenuBar* CreateMenuBar(const fw::Menu& menu, QWidget* parent,
                        const std::function<void(fw::UINT)>& onCommand) {
    auto* bar = new QMenuBar(parent);
    // The bar belongs to the window, never to a desktop-wide menu.
    bar->setNativeMenuBar(false);
    for (const auto& item : menu.Items()) {
        if (item.separator) {
            bar->addSeparator();
        } else if (!item.popup.empty()) {
            QMenu* sub = bar->addMenu(ToQt(item.text));
            sub->setEnabled(!item.grayed);
            FillMenu(sub, item.popup, onCommand);
        } else {
            QAction* action = bar->addAction(ToQt(item.text));
            action->setEnabled(!item.grayed);
            const fw::UINT id = item.id;
            action->setObjectName(CommandName(id));
            QObject::connect(action, &QAction::triggered, bar, [onCommand, id] { onCommand(id); });
        }
    }
    return bar;
}

QString IndicatorText(fw::UINT id) {
    const std::string text = fw::LoadString(id);
    if (!text.empty()) {
        return ToQt(text);
    }
    switch (id) {
        case fw::ID_INDICATOR_CAPS:
            return QStringLiteral("CAP");
        case fw::ID_INDICATOR_NUM:
            return QStringLiteral("NUM");
        case fw::ID_INDICATOR_SCRL:
            return QStringLiteral("SCRL");
        default:
            return {};
    }
}

StatusBarMirror::StatusBarMirror(QWidget* parent) : m_bar(new QStatusBar(parent)) {
    m_bar->setSizeGripEnabled(false);
}

void StatusBarMirror::Update(const fw::CStatusBar& source) {
    if (source.Indicators() != m_ids) {
        for (QLabel* pane : m_panes) {
            m_bar->removeWidget(pane);
            delete pane;
        }
        m_panes.clear();
        m_ids = source.Indicators();
        for (std::size_t i = 0; i < m_ids.size(); ++i) {
            auto* pane = new QLabel(m_bar);
            pane->setTextFormat(Qt::PlainText);
            if (m_ids[i] == fw::ID_SEPARATOR) {
                m_bar->addWidget(pane, 1);
            } else {
                // The key state is not known to Qt, so an indicator is shown dimmed.
                pane->setEnabled(false);
                pane->setAlignment(Qt::AlignCenter);
                pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(
                    IndicatorText(m_ids[i]) + QStringLiteral("  ")));
                m_bar->addPermanentWidget(pane);
            }
            pane->show();
            m_panes.push_back(pane);
        }
    }
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        const std::string text = source.GetPaneText(static_cast<int>(i));
        m_panes[i]->setText(m_ids[i] != fw::ID_SEPARATOR && text.empty() ? IndicatorText(m_ids[i])
                                                                         : ToQt(text));
    }
}

}  // namespace fwqt
