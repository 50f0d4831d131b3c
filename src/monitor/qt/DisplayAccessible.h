#pragma once
#include <QAccessibleWidget>
#include <QString>

class QWidget;

namespace quorvane {

// The scanner's display as assistive technology sees it: a text, "Scanner
// display", whose content is what the display shows in words (the two
// lines, the frequency or talkgroup, the lit icons). DisplayPanel installs
// it for itself and calls Changed when what it shows changes, which raises
// the text-change event a screen reader follows.
class DisplayAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit DisplayAccessible(QWidget* panel);

    // Makes every DisplayPanel known to assistive technology through this.
    static void Install();
    // Tells assistive technology that panel's words went from before to now.
    static void Changed(QWidget* panel, const QString& before, const QString& now);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text kind) const override;

    // The text, read-only: no selection, the caret at its start.
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    QString Words() const;
};

}  // namespace quorvane
