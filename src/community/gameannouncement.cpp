#include "gameannouncement.h"

#include "addressfinder.h"
#include "gameaddress.h"
#include "roomclient.h"

#include <algorithm>

GameAnnouncement::GameAnnouncement(RoomClient &client, RoomAnnouncer::Describe describe, QObject *parent)
    : QObject(parent)
    , client_(client)
    , announcer_(new RoomAnnouncer(client, std::move(describe), this))
    , finder_(new AddressFinder(client, this))
{
    connect(&client_, &RoomClient::stateChanged, this, [this](RoomClient::State state) {
        // Signed in again, perhaps from another network: the address is learned anew.
        if (state != RoomClient::State::InRoom) {
            found_.clear();
            retryDelayMs_ = 0;
        }
        update();
    });
    connect(finder_, &AddressFinder::found, this, [this](const QString &address) {
        finding_ = false;
        found_ = address;
        retryDelayMs_ = 0;
        update();
    });
    retryTimer_.setSingleShot(true);
    connect(&retryTimer_, &QTimer::timeout, this, &GameAnnouncement::update);
    connect(finder_, &AddressFinder::failed, this, [this](const QString &reason) {
        finding_ = false;
        retryDelayMs_ = retryDelayMs_ ? std::min(retryDelayMs_ * 2, retryMaxMs_) : retryFirstMs_;
        retryTimer_.start(retryDelayMs_);
        setNote(QStringLiteral("The game is not announced: %1. Give the address players reach it at.")
                    .arg(reason),
            true);
    });
}

GameAnnouncement::~GameAnnouncement() = default;

void GameAnnouncement::start(quint16 gamePort)
{
    started_ = true;
    gamePort_ = gamePort;
    update();
}

void GameAnnouncement::stop()
{
    started_ = false;
    update();
}

void GameAnnouncement::update()
{
    if (!started_ || !client_.isInRoom()) {
        retryTimer_.stop();
        announcer_->setAddress({}, 0);
        setNote({}, false);
        return;
    }
    QString host = found_;
    quint16 port = gamePort_;
    if (!configured_.isEmpty()) {
        const GameAddress::Target target = GameAddress::parse(configured_, gamePort_);
        host = target.host;
        port = target.port;
    } else if (found_.isEmpty()) {
        if (retryTimer_.isActive())
            return; // the note says why it is not announced
        if (!finding_) {
            finding_ = true;
            finder_->find();
        }
        setNote(QStringLiteral("Finding the address players reach the game at\u2026"), false);
        return;
    }
    announcer_->setAddress(host, port);
    setNote(
        QStringLiteral("The game is announced in the room at %1.").arg(GameAddress::format(host, port, 0)),
        false);
}

void GameAnnouncement::setNote(const QString &text, bool problem)
{
    if (text == note_ && problem == problem_)
        return;
    note_ = text;
    problem_ = problem;
    Q_EMIT noteChanged(text, problem);
}
