#pragma once

class QWidget;

namespace quorvane {

// Drop-down lists read by the name they are given ("Baud rate"), their
// chosen item as their value. Qt on Linux reads a list by its chosen item
// alone, which says "57600" but not what it chooses. Lists without an
// accessible name stay as Qt reads them. For the lists window has now.
void NameListsByWhatTheyChoose(QWidget& window);

}  // namespace quorvane
