#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;

namespace quorvane {

// "History server": the address and the station's name that
// history_server.txt holds. Save writes the file (the owner's alone: it holds
// the password); "Keep local" removes it. Accepted when the file changed.
class HistoryServerDialog : public QDialog {
    Q_OBJECT
public:
    HistoryServerDialog(const QString& appDirectory, QWidget* parent = nullptr);

private:
    void Save(bool local);

    QString appDirectory_;
    QLineEdit* history_server_password = nullptr;
    QLineEdit* history_server_url = nullptr;
    QLineEdit* history_server_station = nullptr;
    QLabel* history_server_problem = nullptr;
};

}  // namespace quorvane
