#include "platform/qt/window_peer.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStatusBar>

#include "platform/fw/dialog.h"
#include "platform/qt/accessibility.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/grid_widget.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/window_chrome.h"

namespace fwqt {

namespace {

using fw::ControlKind;

bool TakesFocus(ControlKind kind) {
    switch (kind) {
        case ControlKind::Static:
        case ControlKind::Icon:
        case ControlKind::Frame:
        case ControlKind::GridPlaceholder:
        case ControlKind::GroupBox:
            return false;
        default:
            return true;
    }
}

// Kinds a static text just before names for a screen reader (buttons are named by their own text).
bool TakesLabel(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
        case ControlKind::MultiLineEdit:
        case ControlKind::DropDownList:
        case ControlKind::DropDownCombo:
        case ControlKind::ListBox:
        case ControlKind::Grid:
        case ControlKind::RadioButton:
        case ControlKind::CheckBox:
            return true;
        default:
            return false;
    }
}

bool HasLiveMnemonic(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] != '&') {
                return true;
            }
            ++i;
        }
    }
    return false;
}

Qt::WindowFlags FlagsFor(std::uint32_t style, bool owned) {
    Qt::WindowFlags flags = (owned ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint;
    if ((style & fw::kCaption) != 0) {
        flags |= Qt::WindowTitleHint;
    }
    if ((style & fw::kSysMenu) != 0) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if ((style & fw::kMinimizeBox) != 0) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    return flags;
}

}  // namespace

QtWindowPeer::QtWindowPeer(QtBackend& backend, fw::CWnd& window)
    : m_backend(backend),
      m_window(window),
      m_context(std::make_unique<QObject>()),
      m_alive(std::make_shared<int>(0)) {
    const auto* dialog = dynamic_cast<const fw::CDialog*>(&window);
    const fw::DialogTemplate* tmpl = dialog != nullptr ? dialog->Template() : nullptr;
    const std::uint32_t style = tmpl != nullptr ? tmpl->style : fw::kCaption | fw::kSysMenu;

    // An owned window stays above its owner; a window with a taskbar button stands alone.
    QWidget* owner = nullptr;
    if ((style & fw::kAppWindow) == 0 && window.GetParent() != nullptr) {
        owner = backend.PeerWidget(*window.GetParent()->GetTopLevel());
    }
    m_top = new PeerWindow(owner, FlagsFor(style, owner != nullptr));
    m_top->SetPeer(this);
    m_top->setWindowTitle(ToQt(window.GetWindowText()));
    if (tmpl != nullptr) {
        m_top->setObjectName(QStringLiteral("dialog%1").arg(tmpl->id));  // as controls are named
    }
    m_top->setProperty(kDialogRoleProperty, tmpl != nullptr && (style & fw::kAppWindow) == 0);

    m_client = new QWidget(m_top);
    m_client->setObjectName(QStringLiteral("client"));
    if (tmpl != nullptr) {
        m_client->setFont(DialogFont(*tmpl));
    }
    if (dialog != nullptr) {
        for (const auto& control : dialog->Controls()) {
            m_entries.push_back(Entry{control.get(), CreateControlWidget(*control, m_client)});
        }
    }
    AssignBuddies();
    for (const Entry& entry : m_entries) {
        NameForReaders(entry);
        const QSignalBlocker block(entry.widget);
        MirrorAll(entry.widget, *entry.control);
        Connect(entry);
        // Frames lie under the controls they surround, whatever the template's order.
        const ControlKind kind = entry.control->Kind();
        if (kind == ControlKind::GroupBox || kind == ControlKind::Frame ||
            kind == ControlKind::GridPlaceholder) {
            entry.widget->lower();
        }
    }
    UpdateMenu();
    UpdateStatusBar();
    LayOut();
    UpdateVisible();
}

QtWindowPeer::~QtWindowPeer() {
    m_alive.reset();
    m_context.reset();
    if (m_top) {
        for (const Entry& entry : m_entries) {
            if (auto* combo = dynamic_cast<FwComboBox*>(entry.widget)) {
                combo->SetDropDownHandler({});
            }
        }
        m_top->SetPeer(nullptr);
        m_backend.Retire(m_top.data());
    }
}

QWidget* QtWindowPeer::ControlWidget(const fw::CWnd& control) const {
    if (!m_top) {
        return nullptr;
    }
    for (const Entry& entry : m_entries) {
        if (entry.control == &control) {
            return entry.widget;
        }
    }
    return nullptr;
}

QStatusBar* QtWindowPeer::StatusBar() const {
    return m_status ? m_status->Bar() : nullptr;
}

void QtWindowPeer::Changed(fw::CWnd& source, fw::Change what) {
    if (!m_top) {
        return;  // the owner's widget took ours with it
    }
    if (&source == &m_window) {
        switch (what) {
            case fw::Change::Text:
                m_top->setWindowTitle(ToQt(m_window.GetWindowText()));
                for (const Entry& entry : m_entries) {
                    NameForReaders(entry);  // a grid is called after its window
                }
                break;
            case fw::Change::Visible:
                UpdateVisible();
                break;
            case fw::Change::Geometry:
                LayOut();
                break;
            case fw::Change::Menu:
                UpdateMenu();
                LayOut();
                break;
            case fw::Change::StatusBar:
                UpdateStatusBar();
                LayOut();
                break;
            default:
                // A disabled window keeps its look; the input gate refuses its input.
                break;
        }
        return;
    }
    auto* control = dynamic_cast<fw::Control*>(&source);
    if (control == nullptr) {
        return;
    }
    Entry* entry = Find(control);
    if (entry == nullptr) {
        if (control->GetParent() != &m_window) {
            return;
        }
        AddControl(*control);
        return;
    }
    {
        const QSignalBlocker block(entry->widget);
        MirrorControl(entry->widget, *control, what);
    }
    if (what == fw::Change::Text && control->Kind() == ControlKind::Static) {
        for (const Entry& other : m_entries) {
            NameForReaders(other);  // a list named after this label follows it
        }
    }
    if (what == fw::Change::Geometry && control->Kind() == ControlKind::Grid) {
        PlaceInTabOrder(*entry);  // the grid has just joined its dialog
    }
}

void QtWindowPeer::AddControl(fw::Control& control) {
    m_entries.push_back(Entry{&control, CreateControlWidget(control, m_client)});
    const Entry entry = m_entries.back();
    NameForReaders(entry);
    {
        const QSignalBlocker block(entry.widget);
        MirrorAll(entry.widget, control);
    }
    Connect(entry);
    PlaceInTabOrder(entry);
}

void QtWindowPeer::PlaceInTabOrder(const Entry& entry) {
    // A control made at run time takes its place in the tab order (a grid that of the
    // placeholder it replaces): before the next control of the dialog that takes the focus.
    const fw::Control& control = *entry.control;
    const auto* dialog = dynamic_cast<const fw::CDialog*>(&m_window);
    if (dialog == nullptr) {
        return;
    }
    bool after = false;
    for (const auto& other : dialog->Controls()) {
        if (other.get() == &control) {
            after = true;
            continue;
        }
        const Entry* next = after ? Find(other.get()) : nullptr;
        if (next != nullptr && TakesFocus(other->Kind())) {
            QWidget::setTabOrder(entry.widget, next->widget);
            return;
        }
    }
}

void QtWindowPeer::Connect(const Entry& entry) {
    fw::Control* c = entry.control;
    QObject* ctx = m_context.get();
    switch (c->Kind()) {
        case ControlKind::PushButton:
        case ControlKind::DefPushButton:
        case ControlKind::RadioButton:
        case ControlKind::CheckBox:
            QObject::connect(static_cast<QAbstractButton*>(entry.widget), &QAbstractButton::clicked,
                             ctx, [this, c] { RunUser([c] { c->UserClick(); }); });
            break;
        case ControlKind::Edit:
            QObject::connect(static_cast<QLineEdit*>(entry.widget), &QLineEdit::textEdited, ctx,
                             [this, c](const QString& text) {
                                 RunUser([c, t = FromQt(text)] { c->UserType(t); });
                             });
            break;
        case ControlKind::MultiLineEdit: {
            auto* edit = static_cast<QPlainTextEdit*>(entry.widget);
            QObject::connect(edit, &QPlainTextEdit::textChanged, ctx, [this, c, edit] {
                RunUser([c, t = FromQtLines(edit->toPlainText())] { c->UserType(t); });
            });
            break;
        }
        case ControlKind::DropDownList:
        case ControlKind::DropDownCombo:
            ConnectComboBox(entry);
            break;
        case ControlKind::Grid:
            ConnectGrid(entry);
            break;
        case ControlKind::ListBox: {
            // The selection, not the current item: Qt moves the current item when the list
            // takes the focus, which is no choice of the user's.
            auto* list = static_cast<QListWidget*>(entry.widget);
            QObject::connect(list, &QListWidget::itemSelectionChanged, ctx, [this, c, list] {
                const QList<QListWidgetItem*> selected = list->selectedItems();
                if (!selected.isEmpty()) {
                    RunUser([c, row = list->row(selected.front())] { c->UserSelect(row); });
                }
            });
            break;
        }
        case ControlKind::Static:
        case ControlKind::Icon:
        case ControlKind::Frame:
        case ControlKind::GridPlaceholder:
        case ControlKind::GroupBox:
            break;
    }
}

void QtWindowPeer::ConnectComboBox(const Entry& entry) {
    fw::Control* c = entry.control;
    QObject* ctx = m_context.get();
    auto* combo = static_cast<FwComboBox*>(entry.widget);
    QObject::connect(combo, &QComboBox::activated, ctx,
                     [this, c](int index) { RunUser([c, index] { c->UserSelect(index); }); });
    if (QLineEdit* edit = combo->lineEdit()) {
        QObject::connect(edit, &QLineEdit::textEdited, ctx, [this, c](const QString& text) {
            RunUser([c, t = FromQt(text)] { c->UserType(t); });
        });
    }
    combo->SetDropDownHandler([this, c, alive = std::weak_ptr<int>(m_alive)] {
        if (alive.expired()) {
            return false;
        }
        RunUser([c] { c->UserDropDown(); });
        return !alive.expired();
    });
}

void QtWindowPeer::ConnectGrid(const Entry& entry) {
    auto* grid = dynamic_cast<fw::CGridCtrl*>(entry.control);
    auto* table = static_cast<FwGridWidget*>(entry.widget);
    table->SetHandlers(
        [this, grid](int row, int col) {
            RunUser([grid, row, col] { grid->UserClickCell(row, col); });
        },
        [this, grid](int row, int col, const std::string& text) {
            RunUser([grid, row, col, text] { grid->UserTypeCell(row, col, text); });
        });
    table->SetKeyHandlers(
        [this, grid](unsigned key, bool shift, bool ctrl) {
            bool taken = false;
            RunUser([&] { taken = grid->UserKeyDown(key, shift, ctrl); });
            return taken;
        },
        [this, grid](int row, int col) {
            RunUser([grid, row, col] { grid->SetCurrentCell(row, col); });
        });
}

void QtWindowPeer::AssignBuddies() {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const fw::Control& control = *m_entries[i].control;
        if (control.Kind() != ControlKind::Static) {
            continue;
        }
        if (HasLiveMnemonic(control.GetWindowText())) {
            // A static text's mnemonic moves the focus to the next control that can take it.
            for (std::size_t j = i + 1; j < m_entries.size(); ++j) {
                if (TakesFocus(m_entries[j].control->Kind())) {
                    SetLabelBuddy(m_entries[i].widget, m_entries[j].widget);
                    break;
                }
            }
        } else if (i + 1 < m_entries.size() && TakesLabel(m_entries[i + 1].control->Kind())) {
            // The text just before a field is its label: a screen reader names the field after
            // it (and follows it when the program changes the label).
            SetLabelBuddy(m_entries[i].widget, m_entries[i + 1].widget);
        }
    }
}

void QtWindowPeer::NameForReaders(const Entry& entry) {
    const fw::Control& control = *entry.control;
    const auto* dialog = dynamic_cast<const fw::CDialog*>(&m_window);
    const fw::DialogTemplate* tmpl = dialog != nullptr ? dialog->Template() : nullptr;
    const fw::ControlTemplate* own = tmpl != nullptr && control.GetDlgCtrlID() != -1
                                         ? tmpl->FindControl(control.GetDlgCtrlID())
                                         : nullptr;
    QString name;
    if (own != nullptr && !own->accessibleName.empty()) {
        name = ToQt(own->accessibleName);
        entry.widget->setAccessibleName(name);
    } else {
        for (const Entry& other : m_entries) {
            const auto* label = qobject_cast<const QLabel*>(other.widget);
            if (label != nullptr && label->buddy() == entry.widget) {
                name = DisplayedText(label);  // as shown now
                break;
            }
        }
        if (name.isEmpty() && control.Kind() == ControlKind::Grid) {
            // A grid without a label is the window's table, called after the window.
            name = m_top->windowTitle();
        }
        // Qt names a list or a table only by what it is told; other fields find their label.
        if (control.Kind() == ControlKind::ListBox || control.Kind() == ControlKind::Grid) {
            entry.widget->setAccessibleName(name);
        }
    }
    if (auto* combo = qobject_cast<QComboBox*>(entry.widget); combo != nullptr && !name.isEmpty()) {
        // Its parts, which a reader also meets: the typing field and the dropped-down list.
        if (QLineEdit* edit = combo->lineEdit()) {
            edit->setAccessibleName(name);
        }
        combo->view()->setAccessibleName(name);
    }
}

void QtWindowPeer::LayOut() {
    fw::Rect window;
    m_window.GetWindowRect(&window);
    fw::Rect client;
    m_window.GetClientRect(&client);
    const int width = client.Width();
    const int height = client.Height();
    // The menu bar lies outside the client area, as on the original platform; the window grows.
    int menuHeight = 0;
    if (m_menuBar != nullptr) {
        menuHeight = m_menuBar->heightForWidth(width);
        if (menuHeight <= 0) {
            menuHeight = m_menuBar->sizeHint().height();
        }
        m_menuBar->setGeometry(0, 0, width, menuHeight);
    }
    m_client->setGeometry(0, menuHeight, width, height);
    // The status bar is a child along the bottom of the client area, over the strip that
    // templates leave free for it.
    if (QStatusBar* bar = StatusBar()) {
        const int barHeight = bar->sizeHint().height();
        bar->setGeometry(0, menuHeight + height - barHeight, width, barHeight);
        bar->raise();
    }
    m_top->setFixedSize(width, menuHeight + height);
    m_top->move(window.left, window.top);
}

void QtWindowPeer::UpdateMenu() {
    delete m_menuBar;
    m_menuBar = nullptr;
    const fw::Menu* menu = m_window.GetMenu();
    if (menu == nullptr || menu->Items().empty()) {
        return;
    }
    m_menuBar =
        CreateMenuBar(*menu, m_top, [this, alive = std::weak_ptr<int>(m_alive)](fw::UINT id) {
            if (!alive.expired()) {
                RunUser([this, id] { m_window.UserCommand(id); });
            }
        });
    m_menuBar->show();
}

void QtWindowPeer::UpdateStatusBar() {
    const fw::CStatusBar* source = m_window.GetStatusBar();
    if (source == nullptr || !source->IsCreated()) {
        m_status.reset();
        return;
    }
    if (!m_status) {
        m_status = std::make_unique<StatusBarMirror>(m_top);
    }
    m_status->Update(*source);
    m_status->Bar()->show();
}

void QtWindowPeer::UpdateVisible() {
    if (m_window.IsWindowVisible() != fw::FALSE) {
        if (!m_top->isVisible()) {
            m_top->show();
            BringToFront(m_top);
        }
    } else {
        m_top->hide();
    }
}

void QtWindowPeer::OnCloseBox() {
    if (!m_backend.AcceptsInput(m_window)) {
        return;
    }
    RunUser([this] { m_window.UserClose(); });
}

bool QtWindowPeer::OnDialogKey(QWidget* focus, int key) {
    if (!m_backend.AcceptsInput(m_window)) {
        return true;
    }
    auto* dialog = dynamic_cast<fw::CDialog*>(&m_window);
    if (key == Qt::Key_Escape) {
        if (const Entry* entry = FindByWidget(focus)) {
            if (auto* table = dynamic_cast<FwGridWidget*>(entry->widget);
                table != nullptr && table->IsEditing()) {
                return false;
            }
        }
        if (dialog == nullptr) {
            return false;
        }
        RunUser([dialog] { dialog->UserPressEscape(); });
        return true;
    }
    if (const Entry* entry = FindByWidget(focus)) {
        fw::Control* control = entry->control;
        // A grid's cell editor takes Enter (commit) and Esc (cancel) itself.
        if (auto* table = dynamic_cast<FwGridWidget*>(entry->widget);
            table != nullptr && table->IsEditing()) {
            return false;
        }
        if (control->Kind() == ControlKind::MultiLineEdit &&
            (control->Style() & fw::kNoWantReturn) == 0) {
            return false;  // a new line
        }
        // A push button with the focus is the default button while it has it.
        if (control->Kind() == ControlKind::PushButton ||
            control->Kind() == ControlKind::DefPushButton) {
            RunUser([control] { control->UserClick(); });
            return true;
        }
    }
    if (dialog == nullptr) {
        return false;
    }
    RunUser([dialog] { dialog->UserPressEnter(); });
    return true;
}

bool QtWindowPeer::OnRadioArrow(QWidget* focus, int key) {
    const Entry* entry = FindByWidget(focus);
    auto* dialog = dynamic_cast<fw::CDialog*>(&m_window);
    if (entry == nullptr || dialog == nullptr ||
        entry->control->Kind() != ControlKind::RadioButton) {
        return false;
    }
    if (!m_backend.AcceptsInput(m_window)) {
        return true;
    }
    // The group runs from the nearest control marked as a group start up to the next one.
    const auto& controls = dialog->Controls();
    const auto self = std::find_if(controls.begin(), controls.end(),
                                   [&](const auto& c) { return c.get() == entry->control; });
    auto first = self;
    while (first != controls.begin() && ((*first)->Style() & fw::kGroup) == 0) {
        --first;
    }
    auto last = self + 1;
    while (last != controls.end() && ((*last)->Style() & fw::kGroup) == 0) {
        ++last;
    }
    std::vector<fw::Control*> radios;
    for (auto it = first; it != last; ++it) {
        fw::Control* c = it->get();
        if (c->Kind() == ControlKind::RadioButton &&
            (c == entry->control || (c->IsWindowEnabled() && c->IsWindowVisible()))) {
            radios.push_back(c);
        }
    }
    const auto at = std::find(radios.begin(), radios.end(), entry->control) - radios.begin();
    const auto count = static_cast<std::ptrdiff_t>(radios.size());
    const bool forward = key == Qt::Key_Down || key == Qt::Key_Right;
    fw::Control* next = radios[static_cast<std::size_t>((at + (forward ? 1 : count - 1)) % count)];
    if (next != entry->control) {
        RunUser([next] { next->UserClick(); });
    }
    return true;
}

void QtWindowPeer::SyncFocus() {
    if (!m_top) {
        return;
    }
    for (const Entry& entry : m_entries) {
        if (entry.control->HasFocus()) {
            const fw::HWND focus = entry.control->GetSafeHwnd();
            if (focus != m_lastFocus) {
                m_lastFocus = focus;
                entry.widget->setFocus(Qt::OtherFocusReason);
            }
            return;
        }
    }
}

void QtWindowPeer::OnFocusMoved(QWidget* widget) {
    if (const Entry* entry = FindByWidget(widget)) {
        entry->control->SetFocus();
        m_lastFocus = entry->control->GetSafeHwnd();
    }
}

void QtWindowPeer::RunUser(const std::function<void()>& action) {
    const std::weak_ptr<int> alive = m_alive;
    {
        const QtBackend::UserCall call(m_backend);
        action();
    }
    if (alive.expired() || !m_top) {
        return;
    }
    for (const Entry& entry : m_entries) {
        const QSignalBlocker block(entry.widget);
        MirrorUserState(entry.widget, *entry.control);
    }
    SyncFocus();
}

QtWindowPeer::Entry* QtWindowPeer::Find(const fw::CWnd* control) {
    for (Entry& entry : m_entries) {
        if (entry.control == control) {
            return &entry;
        }
    }
    return nullptr;
}

const QtWindowPeer::Entry* QtWindowPeer::FindByWidget(const QWidget* widget) const {
    for (; widget != nullptr && widget != m_client; widget = widget->parentWidget()) {
        for (const Entry& entry : m_entries) {
            if (entry.widget == widget) {
                return &entry;
            }
        }
    }
    return nullptr;
}

}  // namespace fwqt
