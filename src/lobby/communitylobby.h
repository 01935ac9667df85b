#pragma once

#include "communitysettings.h"
#include "discoverywire.h"
#include "gameports.h"
#include "iceagent.h"
#include "icebridge.h"
#include "roomclient.h"

#include <QDateTime>
#include <QObject>
#include <QSslCertificate>

#include <memory>
#include <optional>

class GameAnnouncement;
class IceGateway;
class IceServerSource;
class RoomSignalChannel;
class GameListModel;
class LocalGameWatcher;
class PasswordStore;
class PeopleModel;
class RoomListing;

// The lobby's internet side: a seat in the community's room, the games announced
// there (GameListModel, with where each was announced), the people in the room, the
// room's chat, and invitations. While the lobby hosts a game it announces that game
// in the room: its description from the game's own discovery responder on this
// computer, the address from the settings or from the community's server.
//
// While it hosts, it also answers offers to connect through routers (IceGateway): the
// players it connects that way reach the game on this computer as one more connection.
//
// With no server in the settings it does nothing and says how to add one. The
// password of an account comes from the desktop's keyring; without one the player is
// asked (passwordNeeded) and the password is kept for this run only.
class CommunityLobby : public QObject
{
    Q_OBJECT

public:
    struct Setup
    {
        QString settingsPath;
        PasswordStore *passwords = nullptr; // the desktop's keyring when null
        quint16 gamePort = GamePorts::game;
        // Where the hosted game's discovery responder answers on 127.0.0.1.
        quint16 discoveryPort = DiscoveryWire::defaultPort;
        RoomClient::Timing timing;
        // Trusted for the server's certificate; empty: the system's authorities.
        QList<QSslCertificate> authorities;
        // The agents that connect players through routers; default: the program's.
        std::optional<IceAgent::Setup> ice;
        IceBridge::Timing bridge;
    };

    struct ChatLine
    {
        enum Kind { Said, Notice, Invitation, Private };
        Kind kind = Said;
        QString nick;
        QString text;
        QString link; // an invitation's game link
        bool history = false;
        QDateTime time;
    };

    explicit CommunityLobby(const Setup &setup, QObject *parent = nullptr);
    ~CommunityLobby() override;

    CommunitySettings &settings() { return *settings_; }
    // Why these settings cannot be used; empty when they can (no server at all is
    // fine: the lobby then stays off the internet).
    static QString settingsProblem(const CommunitySettings::Values &values);
    bool isConfigured() const { return !settings_->server().isEmpty(); }
    // The name shown in the room when the settings give none.
    void setPlayerName(const QString &name) { playerName_ = name; }

    // Signs in with the settings (and the keyring's password), and joins the room.
    void signIn();
    void signOut();
    // Stores the settings and, for an account, the password (empty: keep the one
    // known), then signs in again.
    void apply(const CommunitySettings::Values &values, const QString &password);
    // The password asked for after passwordNeeded().
    void providePassword(const QString &password);
    bool isInRoom() const { return client_.isInRoom(); }
    RoomClient &client() { return client_; }
    // Signals to people in the room, and the community's STUN and TURN servers, for
    // connecting through routers.
    RoomSignalChannel &signalChannel() { return *channel_; }
    IceServerSource &iceServers() { return *iceServers_; }
    IceGateway &gateway() { return *gateway_; }

    GameListModel *games() const;
    PeopleModel *people() const;
    QString status() const;
    bool statusIsProblem() const { return problem_; }

    bool say(const QString &text);
    // Whether a game is announced that others can be invited to.
    bool canInvite() const;
    QString inviteLink() const;
    bool invite(const QString &nick);

    // The lobby started the game in the host role, or that game ended.
    void hostingStarted();
    void hostingEnded();
    bool isAnnouncing() const;

Q_SIGNALS:
    void statusChanged(const QString &text, bool problem);
    void inRoomChanged(bool inRoom);
    void chatLine(const CommunityLobby::ChatLine &line);
    void passwordNeeded(const QString &account);
    void canInviteChanged(bool can);

private:
    void connectWith(const QString &password);
    void directMessage(const QString &nick, const QString &text);
    void updateHosting();
    void setHostingNote(const QString &text, bool problem);
    void addLine(ChatLine::Kind kind, const QString &nick, const QString &text, bool history = false,
        const QString &link = {});
    void refresh();

    Setup setup_;
    std::unique_ptr<CommunitySettings> settings_;
    std::unique_ptr<PasswordStore> ownStore_;
    PasswordStore *passwords_;
    RoomClient client_;
    RoomSignalChannel *channel_;
    IceServerSource *iceServers_;
    IceGateway *gateway_;
    RoomListing *listing_;
    LocalGameWatcher *watcher_;
    GameAnnouncement *announcement_;
    QString playerName_;
    QString password_; // for this run, of `passwordAccount_`
    QString passwordAccount_;
    bool keyringWorks_ = true;
    bool hosting_ = false;
    QString ownStatus_; // said while the seat is off, when the seat has nothing to say
    QString hostingNote_;
    bool hostingProblem_ = false;
    bool problem_ = false;
    bool couldInvite_ = false;
};

Q_DECLARE_METATYPE(CommunityLobby::ChatLine)
