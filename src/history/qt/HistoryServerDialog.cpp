#include "history/qt/HistoryServerDialog.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSysInfo>

#include "app/qt/TextEntry.h"
#include "history/qt/HistoryServerFile.h"

namespace quorvane {

HistoryServerDialog::HistoryServerDialog(const QString& appDirectory, QWidget* parent)
    : QDialog(parent), appDirectory_(appDirectory) {
    setObjectName("history_server_dialog");
    setWindowTitle("History server");
    history_server_url = new QLineEdit(this);
    history_server_url->setObjectName("history_server_url");
    history_server_url->setPlaceholderText("postgresql://user@host:5432/database");
    history_server_url->setMinimumWidth(260);
    // The password has a box of its own that never shows it.
    history_server_password = new QLineEdit(this);
    history_server_password->setObjectName("history_server_password");
    history_server_password->setEchoMode(QLineEdit::Password);
    history_server_password->setAccessibleName("Server password");
    history_server_station = new QLineEdit(this);
    history_server_station->setObjectName("history_server_station");
    history_server_station->setPlaceholderText(QSysInfo::machineHostName());
    QString problem;
    if (const auto settings = LoadHistoryServer(appDirectory_, &problem)) {
        const auto split = SplitServerPassword(settings->Url);
        history_server_url->setText(QString::fromStdString(split ? split->Url : settings->Url));
        if (split) history_server_password->setText(QString::fromStdString(split->Password));
        history_server_station->setText(QString::fromStdString(settings->Station));
    }
    history_server_problem = new QLabel(problem, this);
    history_server_problem->setObjectName("history_server_problem");
    history_server_problem->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow("Server address:", history_server_url);
    form->addRow("Password:", history_server_password);
    form->addRow("Station name:", history_server_station);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton("Save", QDialogButtonBox::AcceptRole);
    QPushButton* local = buttons->addButton("Keep local", QDialogButtonBox::DestructiveRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(save, &QPushButton::clicked, this, [this] { Save(false); });
    connect(local, &QPushButton::clicked, this, [this] { Save(true); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel("Hits of every station go to one PostgreSQL server; see README, "
                             "\"History on a server\". Without a server the history stays on this computer.",
                             this);
    intro->setWordWrap(true);  // the dialog stays narrower than the window
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(history_server_problem);
    layout->addWidget(buttons);
}

void HistoryServerDialog::Save(bool local) {
    std::optional<HistoryServerSettings> settings;
    if (!local) {
        std::string url = history_server_url->text().trimmed().toStdString();
        // A password typed in its box goes into the address; one written in
        // the address itself stays when the box is empty.
        if (!history_server_password->text().isEmpty())
            url = WithServerPassword(url, history_server_password->text().toStdString());
        HistoryServerSettings entered{url, history_server_station->text().trimmed().toStdString()};
        std::string problem;
        if (!ParseServerUrl(entered.Url, &problem)) {
            history_server_problem->setText("The address cannot be used: " + QString::fromStdString(problem) + ".");
            return;
        }
        settings = entered;
    }
    QString error;
    if (!SaveHistoryServer(appDirectory_, settings, &error)) {
        history_server_problem->setText("history_server.txt cannot be written (" + error + ").");
        return;
    }
    accept();
}

}  // namespace quorvane
