#pragma once
#include <QObject>
#include <map>
#include <string>

class QWidget;

namespace quorvane {

class KeyButton;
class KeyPlayer;

// The on-screen keypad: one picture button per row of the key table, at
// its designed place on the window; a click plays the key, and a latching
// key shows the picture the player says.
class KeypadButtons : public QObject {
    Q_OBJECT
public:
    KeypadButtons(QWidget& window, KeyPlayer& player);

    KeyButton* Key(const std::string& objectName) const;

private:
    std::map<std::string, KeyButton*> keys_;
};

}  // namespace quorvane
