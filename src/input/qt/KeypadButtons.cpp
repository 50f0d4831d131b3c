#include "input/qt/KeypadButtons.h"

#include <QWidget>

#include "app/qt/Twips.h"
#include "input/KeyTable.h"
#include "input/qt/KeyArt.h"
#include "input/qt/KeyButton.h"
#include "input/qt/KeyPlayer.h"

namespace quorvane {

KeypadButtons::KeypadButtons(QWidget& window, KeyPlayer& player) : QObject(&window) {
    for (const KeyRow& row : KeyRows()) {
        const QRect place = TwipsRect(row.place.left, row.place.top, row.place.width, row.place.height);
        const bool latching = !SwapsPictureOnMouse(row);
        auto* key = new KeyButton(DrawKeyPicture(row.legend, place.size(), false),
                                  DrawKeyPicture(row.legend, place.size(), true), latching, &window);
        key->setObjectName(QString::fromStdString(row.objectName));
        key->setGeometry(place);
        key->NameAfterKey();
        const std::string name = row.objectName;
        connect(key, &KeyButton::clicked, &player, [&player, name] { player.Click(name); });
        keys_[name] = key;
    }
    connect(&player, &KeyPlayer::Latched, this, [this](const QString& name, bool pressed) {
        if (KeyButton* key = Key(name.toStdString())) key->SetLatched(pressed);
    });
}

KeyButton* KeypadButtons::Key(const std::string& objectName) const {
    const auto it = keys_.find(objectName);
    return it == keys_.end() ? nullptr : it->second;
}

}  // namespace quorvane
