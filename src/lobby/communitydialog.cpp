#include "communitydialog.h"

#include "communitylobby.h"
#include "lobbysettings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLineEdit *field(const char *name, const QString &accessible, const QString &text, const QString &placeholder)
{
    auto *edit = new QLineEdit(text);
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(accessible);
    edit->setPlaceholderText(placeholder);
    edit->setMaxLength(CommunitySettings::maxValueLength);
    return edit;
}

} // namespace

CommunityDialog::CommunityDialog(CommunityLobby &community, const QString &playerName, QWidget *parent)
    : QDialog(parent)
    , community_(community)
{
    setWindowTitle(QStringLiteral("Internet Settings"));
    setObjectName(QStringLiteral("communitydialog"));
    const CommunitySettings::Values v = community_.settings().values();

    auto *intro = new QLabel(QStringLiteral(
        "Players meet on the internet in a room on a community's XMPP server. Ask your community for its "
        "server's name, or leave it empty to play on your network only."));
    intro->setWordWrap(true);
    edit_server = field(
        "edit_server", QStringLiteral("Community server"), v.server, QStringLiteral("lobby.example.org"));
    edit_room = field("edit_room", QStringLiteral("Room"), v.room, QStringLiteral("lobby@rooms.<server>"));
    radio_guest = new QRadioButton(QStringLiteral("As a &guest"));
    radio_guest->setObjectName(QStringLiteral("radio_guest"));
    radio_account = new QRadioButton(QStringLiteral("With an &account"));
    radio_account->setObjectName(QStringLiteral("radio_account"));
    (v.account.isEmpty() ? radio_guest : radio_account)->setChecked(true);
    edit_account = field(
        "edit_account", QStringLiteral("Account"), v.account, QStringLiteral("anna@lobby.example.org"));
    edit_password = field(
        "edit_password", QStringLiteral("Password"), {}, QStringLiteral("kept in your desktop's keyring"));
    edit_password->setEchoMode(QLineEdit::Password);
    edit_roomname = field("edit_roomname", QStringLiteral("Name shown in the room"), v.name, playerName);
    edit_roomname->setMaxLength(LobbySettings::maxNameLength);
    edit_address = field("edit_address", QStringLiteral("Your address for hosting"), v.address,
        QStringLiteral("learned from the server"));
    label_problem = new QLabel;
    label_problem->setObjectName(QStringLiteral("label_problem"));
    label_problem->setWordWrap(true);
    label_problem->setTextFormat(Qt::PlainText);
    label_problem->setStyleSheet(QStringLiteral("QLabel { color: #b00020; }"));

    auto *signIn = new QVBoxLayout;
    signIn->addWidget(radio_guest);
    signIn->addWidget(radio_account);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Server:"), edit_server);
    form->addRow(QStringLiteral("&Room:"), edit_room);
    form->addRow(QStringLiteral("Sign in:"), signIn);
    form->addRow(QStringLiteral("A&ccount:"), edit_account);
    form->addRow(QStringLiteral("&Password:"), edit_password);
    form->addRow(QStringLiteral("&Name shown:"), edit_roomname);
    form->addRow(QStringLiteral("Your a&ddress:"), edit_address);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CommunityDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CommunityDialog::reject);
    connect(radio_account, &QRadioButton::toggled, this, &CommunityDialog::updateAccountFields);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(label_problem);
    layout->addWidget(buttons);
    updateAccountFields();
    resize(520, sizeHint().height());
}

void CommunityDialog::updateAccountFields()
{
    edit_account->setEnabled(radio_account->isChecked());
    edit_password->setEnabled(radio_account->isChecked());
}

void CommunityDialog::accept()
{
    CommunitySettings::Values values {edit_server->text().trimmed(), edit_room->text().trimmed(),
        radio_account->isChecked() ? edit_account->text().trimmed() : QString(),
        edit_roomname->text().trimmed(), edit_address->text().trimmed()};
    QString problem = CommunityLobby::settingsProblem(values);
    if (problem.isEmpty() && radio_account->isChecked() && values.account.isEmpty())
        problem = QStringLiteral("Give the account to sign in with, or sign in as a guest.");
    if (!problem.isEmpty()) {
        label_problem->setText(problem);
        return;
    }
    community_.apply(values, radio_account->isChecked() ? edit_password->text() : QString());
    QDialog::accept();
}
