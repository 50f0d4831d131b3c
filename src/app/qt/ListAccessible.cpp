#include "app/qt/ListAccessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace quorvane {
namespace {

class ListAccessible : public QAccessibleWidget {
public:
    explicit ListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QComboBox* List() const { return static_cast<QComboBox*>(widget()); }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return List()->isEditable() ? List()->lineEdit()->text() : List()->currentText();
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = List()->view() && List()->view()->isVisible();
        s.editable = List()->isEditable();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} << QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction()) {
            List()->showPopup();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

}  // namespace

void NameListsByWhatTheyChoose(QWidget& window) {
    for (QComboBox* list : window.findChildren<QComboBox*>()) {
        if (list->accessibleName().isEmpty()) continue;
        // Qt's own reading of the list is made (or found) and replaced.
        if (QAccessibleInterface* own = QAccessible::queryAccessibleInterface(list)) {
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(own));
        }
        QAccessible::registerAccessibleInterface(new ListAccessible(list));
    }
}

}  // namespace quorvane
