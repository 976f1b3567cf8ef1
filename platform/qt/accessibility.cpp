#include "platform/qt/accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QRadioButton>

#include "platform/qt/control_widgets.h"
#include "platform/qt/widgets.h"

namespace fwqt {

namespace {

QString WithoutMnemonic(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            text.remove(i, 1);  // "&&" keeps one
        }
    }
    return text;
}

// A radio button or check box of a framework dialog. The framework, not Qt, keeps a group's
// buttons exclusive, so Qt sees plain checkable buttons; a reader is told what they are, and its
// toggle or press is a click, which the program hears, not a silent change of the check mark.
class ButtonAccessible final : public QAccessibleWidget {
  public:
    explicit ButtonAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, qobject_cast<QRadioButton*>(button) != nullptr
                                        ? QAccessible::RadioButton
                                        : QAccessible::CheckBox) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        const auto* box = qobject_cast<const QCheckBox*>(Button());
        if (box != nullptr && box->checkState() == Qt::PartiallyChecked) {
            state.checkStateMixed = true;
        } else {
            state.checked = Button()->isChecked();
        }
        return state;
    }

    QString text(QAccessible::Text t) const override {
        // Its own text, not its label's: the label is told as a relation.
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return WithoutMnemonic(Button()->text());
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) {
            names << toggleAction() << pressAction();
        }
        return names << QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == toggleAction() || action == pressAction()) {
            if (widget()->isEnabled()) {
                Button()->click();
            }
            return;
        }
        QAccessibleWidget::doAction(action);
    }

  private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if ((className == QLatin1String("QRadioButton") || className == QLatin1String("QCheckBox")) &&
        widget->property(kControlIdProperty).isValid()) {
        return new ButtonAccessible(static_cast<QAbstractButton*>(widget));
    }
    if (className == QLatin1String("QWidget") && dynamic_cast<PeerWindow*>(widget) != nullptr) {
        return new QAccessibleWidget(widget, widget->property(kDialogRoleProperty).toBool()
                                                 ? QAccessible::Dialog
                                                 : QAccessible::Window);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

}  // namespace fwqt
