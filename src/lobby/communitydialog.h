#pragma once

#include <QDialog>

class CommunityLobby;
class QLabel;
class QLineEdit;
class QRadioButton;

// "Internet Settings": the community's server and room, signing in as a guest or
// with an account (its password goes to the desktop's keyring, never to a file), the
// name shown in the room, and the address players on the internet reach this
// computer's games at. What cannot be used is said under the fields, and nothing is
// stored until it can.
class CommunityDialog : public QDialog
{
    Q_OBJECT

public:
    CommunityDialog(CommunityLobby &community, const QString &playerName, QWidget *parent = nullptr);

    void accept() override;

private:
    void updateAccountFields();

    CommunityLobby &community_;
    QLineEdit *edit_server;
    QLineEdit *edit_room;
    QRadioButton *radio_guest;
    QRadioButton *radio_account;
    QLineEdit *edit_account;
    QLineEdit *edit_password;
    QLineEdit *edit_roomname;
    QLineEdit *edit_address;
    QLabel *label_problem;
};
