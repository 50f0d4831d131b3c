#include "monitor/qt/DisplayAccessible.h"

#include <QAccessible>
#include <algorithm>
#include <QVariant>
#include <QWidget>

namespace quorvane {
namespace {

const char* kWordsProperty = "quorvaneDisplayWords";
const char* kPanelClass = "quorvane::DisplayPanel";

QAccessibleInterface* Make(const QString& className, QObject* object) {
    if (className != kPanelClass || !object || !object->isWidgetType()) return nullptr;
    return new DisplayAccessible(static_cast<QWidget*>(object));
}

}  // namespace

DisplayAccessible::DisplayAccessible(QWidget* panel) : QAccessibleWidget(panel, QAccessible::StaticText) {}

void DisplayAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Make);
        return true;
    }();
    (void)installed;
}

void DisplayAccessible::Changed(QWidget* panel, const QString& before, const QString& now) {
    panel->setProperty(kWordsProperty, now);
    QAccessibleTextUpdateEvent event(panel, 0, before, now);
    QAccessible::updateAccessibility(&event);
}

QString DisplayAccessible::Words() const { return widget()->property(kWordsProperty).toString(); }

void* DisplayAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString DisplayAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value) return Words();
    return QAccessibleWidget::text(kind);
}

QString DisplayAccessible::text(int startOffset, int endOffset) const {
    const QString words = Words();
    const int start = std::clamp(startOffset, 0, static_cast<int>(words.size()));
    const int end = endOffset < 0 ? static_cast<int>(words.size()) : std::clamp(endOffset, start, static_cast<int>(words.size()));
    return words.mid(start, end - start);
}

int DisplayAccessible::characterCount() const { return static_cast<int>(Words().size()); }

// The words are not drawn as such: every character stands on the whole panel.
QRect DisplayAccessible::characterRect(int) const { return rect(); }
int DisplayAccessible::offsetAtPoint(const QPoint&) const { return 0; }

QString DisplayAccessible::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

}  // namespace quorvane
