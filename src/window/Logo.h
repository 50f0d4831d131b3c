#pragma once
#include <QLabel>

namespace quorvane {

// The program's logo in the window's footer (Picture1): where the keyboard
// focus rests so that the shortcuts act; a click on it opens the manual.
class Logo : public QLabel {
    Q_OBJECT
public:
    explicit Logo(QWidget* parent);

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace quorvane
