#include "communitylobby.h"

#include "gameaddress.h"
#include "gameannouncement.h"
#include "gamelink.h"
#include "gamelistmodel.h"
#include "gamepayload.h"
#include "icegateway.h"
#include "iceserversource.h"
#include "keychainpasswordstore.h"
#include "localgamewatcher.h"
#include "peoplemodel.h"
#include "roomchattext.h"
#include "roomlisting.h"
#include "roomsignalchannel.h"

#include <QPointer>

namespace {

const QString notConfigured = QStringLiteral(
    "No community server is set: add one in Internet Settings to meet players on the internet.");

} // namespace

CommunityLobby::CommunityLobby(const Setup &setup, QObject *parent)
    : QObject(parent)
    , setup_(setup)
    , settings_(std::make_unique<CommunitySettings>(setup.settingsPath))
    , ownStore_(setup.passwords ? nullptr : std::make_unique<KeychainPasswordStore>())
    , passwords_(setup.passwords ? setup.passwords : ownStore_.get())
    , channel_(new RoomSignalChannel(client_, this))
    , iceServers_(new IceServerSource(&client_, this))
    , gateway_(new IceGateway(*channel_, *iceServers_,
          {setup.gamePort, setup.ice.value_or(IceAgent::forProgram(setup.gamePort)), setup.bridge}, this))
    , listing_(new RoomListing(this))
    , watcher_(new LocalGameWatcher(setup.discoveryPort, setup.gamePort, this))
    , announcement_(new GameAnnouncement(
          client_,
          [this] {
              DiscoveryWire::Game game = watcher_->game().value_or(DiscoveryWire::Game());
              game.port = setup_.gamePort;
              return game;
          },
          this))
{
    client_.setTiming(setup_.timing);
    client_.capture(GamePayload::elementName, GamePayload::ns);
    connect(&client_, &RoomClient::statusChanged, this, [this] {
        ownStatus_.clear();
        refresh();
    });
    connect(&client_, &RoomClient::stateChanged, this, [this](RoomClient::State state) {
        updateHosting();
        Q_EMIT inRoomChanged(state == RoomClient::State::InRoom);
    });
    connect(&client_, &RoomClient::occupantUpdated, this, [this](const RoomClient::Occupant &occupant) {
        listing_->setContext(
            client_.ownNick(), client_.account().domain, client_.serverAddress().isLoopback());
        listing_->update(occupant);
    });
    connect(&client_, &RoomClient::occupantLeft, listing_, &RoomListing::remove);
    connect(&client_, &RoomClient::roomMessage, this,
        [this](const QString &nick, const QString &text, bool history) {
            addLine(ChatLine::Said, nick, text, history);
        });
    connect(&client_, &RoomClient::directMessage, this,
        [this](const QString &nick, const QString &text) { directMessage(nick, text); });
    connect(&client_, &RoomClient::subjectChanged, this, [this](const QString &subject) {
        if (!subject.trimmed().isEmpty())
            addLine(ChatLine::Notice, {}, QStringLiteral("The room's topic: %1").arg(subject.trimmed()));
    });
    connect(&client_, &RoomClient::credentialsRefused, this, [this] {
        if (keyringWorks_ && !passwordAccount_.isEmpty())
            passwords_->remove(passwordAccount_);
        password_.clear();
        passwordAccount_.clear();
    });
    connect(announcement_, &GameAnnouncement::noteChanged, this, &CommunityLobby::setHostingNote);
    connect(watcher_, &LocalGameWatcher::gameChanged, this, [this] {
        if (announcement_->isStarted())
            announcement_->gameChanged();
        else
            updateHosting();
    });
    connect(watcher_, &LocalGameWatcher::quiet, this, [this] {
        if (watcher_->game())
            return;
        setHostingNote(
            QStringLiteral("Your game does not answer on this computer, so it is not announced in the "
                           "room."),
            true);
    });
}

CommunityLobby::~CommunityLobby()
{
    delete gateway_;
    gateway_ = nullptr;
    delete announcement_;
    announcement_ = nullptr;
    client_.stop();
}

QString CommunityLobby::settingsProblem(const CommunitySettings::Values &values)
{
    if (values.server.trimmed().isEmpty())
        return {};
    QString domain;
    quint16 port = 0;
    if (QString problem = CommunityAccount::parseServer(values.server, &domain, &port); !problem.isEmpty())
        return problem;
    if (!values.account.trimmed().isEmpty())
        if (QString problem = CommunityAccount::accountProblem(values.account.trimmed()); !problem.isEmpty())
            return problem;
    if (!values.room.trimmed().isEmpty())
        if (QString problem = CommunityAccount::roomProblem(values.room.trimmed()); !problem.isEmpty())
            return problem;
    if (values.name.trimmed().size() > RoomClient::maxNickChars
        || values.name.trimmed().startsWith(QLatin1Char('-')))
        return QStringLiteral("The name shown in the room cannot be used.");
    if (const QString address = values.address.trimmed(); !address.isEmpty()) {
        const GameAddress::Target target = GameAddress::parse(address, GamePorts::game);
        if (const QString problem = GameLink::addressProblem(target.host, target.port, true);
            !problem.isEmpty())
            return QStringLiteral("Your address cannot be used: %1.").arg(problem);
    }
    return {};
}

QString CommunityLobby::status() const
{
    if (!isConfigured())
        return notConfigured;
    const QString seat = ownStatus_.isEmpty() ? client_.status() : ownStatus_;
    return hostingNote_.isEmpty() ? seat : seat + QLatin1Char(' ') + hostingNote_;
}

void CommunityLobby::refresh()
{
    problem_ = isConfigured()
        && (hostingProblem_ || !ownStatus_.isEmpty() || client_.state() == RoomClient::State::Waiting
            || (client_.state() == RoomClient::State::Off && client_.status() != QLatin1String("Signed out.")
                && !client_.status().isEmpty()));
    Q_EMIT statusChanged(status(), problem_);
    if (canInvite() != couldInvite_) {
        couldInvite_ = canInvite();
        Q_EMIT canInviteChanged(couldInvite_);
    }
}

void CommunityLobby::signIn()
{
    const CommunitySettings::Values values = settings_->values();
    if (values.server.isEmpty()) {
        refresh();
        return;
    }
    if (const QString problem = settingsProblem(values); !problem.isEmpty()) {
        client_.stop();
        ownStatus_ = problem;
        refresh();
        return;
    }
    settings_->setSignIn(true);
    if (values.account.isEmpty()) {
        connectWith({});
        return;
    }
    if (passwordAccount_ == values.account && !password_.isEmpty()) {
        connectWith(password_);
        return;
    }
    const QPointer<CommunityLobby> self(this);
    passwords_->read(
        values.account, [self, account = values.account](const std::optional<QString> &password, bool works) {
            if (!self || self->settings_->account() != account)
                return;
            self->keyringWorks_ = works;
            if (password && !password->isEmpty()) {
                self->password_ = *password;
                self->passwordAccount_ = account;
                self->connectWith(*password);
            } else {
                Q_EMIT self->passwordNeeded(account);
            }
        });
}

void CommunityLobby::providePassword(const QString &password)
{
    const QString account = settings_->account();
    if (account.isEmpty() || password.isEmpty())
        return;
    password_ = password;
    passwordAccount_ = account;
    if (keyringWorks_)
        passwords_->write(account, password, [](bool) {});
    connectWith(password);
}

void CommunityLobby::connectWith(const QString &password)
{
    const CommunitySettings::Values values = settings_->values();
    CommunityAccount account;
    CommunityAccount::parseServer(values.server, &account.domain, &account.port);
    // An account may live at another domain of the community's server: the connection
    // still goes to the server named in the settings.
    account.host = account.domain;
    account.account = values.account;
    account.password = password;
    account.room = values.room;
    account.nick
        = (values.name.isEmpty() ? playerName_ : values.name).trimmed().left(RoomClient::maxNickChars);
    if (account.nick.isEmpty())
        account.nick = QStringLiteral("Guest");
    account.authorities = setup_.authorities;
    ownStatus_.clear();
    client_.start(account);
}

void CommunityLobby::apply(const CommunitySettings::Values &values, const QString &password)
{
    const QString oldAccount = settings_->account();
    settings_->setValues(values);
    const QString account = settings_->account();
    if (account != oldAccount) {
        password_.clear();
        passwordAccount_.clear();
    }
    if (!account.isEmpty() && !password.isEmpty()) {
        password_ = password;
        passwordAccount_ = account;
        passwords_->write(account, password, [](bool) {});
    }
    client_.stop();
    if (isConfigured())
        signIn();
    else
        refresh();
}

void CommunityLobby::signOut()
{
    settings_->setSignIn(false);
    client_.stop();
}

GameListModel *CommunityLobby::games() const
{
    return listing_->games();
}

PeopleModel *CommunityLobby::people() const
{
    return listing_->people();
}

void CommunityLobby::directMessage(const QString &nick, const QString &text)
{
    // Signals between lobbies carry no text; they are not the player's to read.
    if (text.trimmed().isEmpty())
        return;
    const QString link = RoomChatText::firstGameLink(text);
    if (!link.isEmpty() && GameLink::parse(link, setup_.gamePort))
        addLine(ChatLine::Invitation, nick, text, false, link);
    else
        addLine(ChatLine::Private, nick, text);
}

void CommunityLobby::addLine(
    ChatLine::Kind kind, const QString &nick, const QString &text, bool history, const QString &link)
{
    Q_EMIT chatLine({kind, nick, text, link, history, QDateTime::currentDateTime()});
}

bool CommunityLobby::say(const QString &text)
{
    return client_.sendRoomMessage(text);
}

bool CommunityLobby::canInvite() const
{
    return client_.isInRoom() && isAnnouncing();
}

QString CommunityLobby::inviteLink() const
{
    return canInvite() ? GameLink::format(announcement_->address(), announcement_->port()) : QString();
}

bool CommunityLobby::invite(const QString &nick)
{
    if (!canInvite() || nick == client_.ownNick())
        return false;
    const QString text = QStringLiteral("%1 invites you to a game: %2").arg(client_.ownNick(), inviteLink());
    if (!client_.sendDirect(nick, text))
        return false;
    addLine(ChatLine::Notice, {}, QStringLiteral("You invited %1 to your game.").arg(nick));
    return true;
}

void CommunityLobby::hostingStarted()
{
    hosting_ = true;
    updateHosting();
}

void CommunityLobby::hostingEnded()
{
    hosting_ = false;
    updateHosting();
}

bool CommunityLobby::isAnnouncing() const
{
    return announcement_ && announcement_->isAnnouncing();
}

void CommunityLobby::setHostingNote(const QString &text, bool problem)
{
    hostingNote_ = text;
    hostingProblem_ = problem;
    refresh();
}

void CommunityLobby::updateHosting()
{
    if (!announcement_)
        return;
    gateway_->setAccepting(hosting_ && watcher_->game().has_value());
    if (!hosting_) {
        watcher_->stop();
        announcement_->stop();
        setHostingNote({}, false);
        return;
    }
    if (!watcher_->isRunning())
        watcher_->start();
    if (!watcher_->game()) {
        announcement_->stop();
        setHostingNote(
            client_.isInRoom() ? QStringLiteral("Waiting for your game to start\u2026") : QString(), false);
        return;
    }
    announcement_->setConfiguredAddress(settings_->address());
    announcement_->start(setup_.gamePort);
}
