#pragma once
#include <QTreeView>

namespace quorvane {

// The Memory tree's Name column kept in view while the tree is scrolled to
// the right: a view of the same rows, showing only the names, laid over the
// tree's left edge. It shares the tree's rows, selection, cell editor and
// open branches, and scrolls up and down with it; the keyboard stays with
// the tree.
class FrozenNames : public QTreeView {
    Q_OBJECT
public:
    explicit FrozenNames(QTreeView& tree);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();

    QTreeView& tree_;
    QWidget* viewport_ = nullptr;  // the tree's, whose size places this view
};

}  // namespace quorvane
