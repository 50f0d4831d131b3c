#pragma once
#include <QRect>
#include <QString>
#include <QWidget>
#include <utility>

namespace quorvane {

// A control of the window: made with its constructor's arguments (the parent
// last), named for tests and readers, and put at its designed place.
template <typename Control, typename... Args>
Control* NewControl(QWidget* parent, const QString& objectName, const QRect& place, Args&&... args) {
    auto* control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(objectName);
    control->setGeometry(place);
    return control;
}

// Shows text in a label or a line box that may be too narrow for it: cut in
// the middle when it does not fit, so both its start and its cause stay
// readable; the whole text is the box's tooltip.
void ShowElided(QWidget* box, const QString& text);

}  // namespace quorvane
