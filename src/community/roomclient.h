#pragma once

#include "communityaccount.h"
#include "floodgate.h"
#include "xmlpayload.h"
#include "xmppsession.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTimer>

// A seat in a multi-user chat room (XEP-0045) on a community's XMPP server: signs
// in, joins the room under a name (another one when it is taken: "Anna (2)"), keeps
// the connection alive with pings (XEP-0199), and after a drop signs in again after
// a growing wait (2 s doubling to a minute, a quarter either way at random). What the
// server says goes out as plain sentences (statusChanged).
//
// The room's people come out one change at a time; each may carry payload elements in
// its presence (those named with capture()). Everything from the room is bounded:
// at most maxOccupants people are followed (later ones are ignored until some
// leave), names longer than maxNickChars are ignored, texts are cut to maxTextChars,
// and each person's chat lines, direct messages and presence changes pass flood
// gates. Lines and direct messages over the rate are dropped; presence changes over
// it are merged, the latest kept (one per person) and passed on when the rate allows.
//
// Direct messages to and from one person in the room may carry payload elements in
// namespaces of the caller's (invitations, connection offers...).
class RoomClient : public QObject
{
    Q_OBJECT

public:
    enum class State { Off, Connecting, Joining, InRoom, Waiting };
    struct Occupant
    {
        QString nick;
        QList<XmlPayload> payloads;
    };
    struct Timing
    {
        int retryFirstMs = 2000;
        int retryMaxMs = 60000;
        int pingIntervalMs = 60000;
        int pingTimeoutMs = 20000;
        int connectTimeoutMs = 20000;
    };
    struct Rates
    {
        FloodGate::Rate chat {5, 1500};
        FloodGate::Rate direct {20, 250};
        FloodGate::Rate presence {3, 2000};
    };

    static constexpr int maxOccupants = 2000;
    static constexpr int maxNickChars = 64;
    static constexpr int maxTextChars = 1000;
    static constexpr int historyLines = 20;

    explicit RoomClient(QObject *parent = nullptr);
    ~RoomClient() override;

    void setTiming(const Timing &timing) { timing_ = timing; }
    void setRates(const Rates &rates);

    // Signs in and joins the room; tries again after every drop until stop().
    void start(const CommunityAccount &account);
    // Leaves the room and signs out.
    void stop();
    State state() const { return state_; }
    bool isInRoom() const { return state_ == State::InRoom; }
    QString status() const { return status_; }
    const CommunityAccount &account() const { return account_; }
    // The name this seat has in the room (perhaps with a number added).
    QString ownNick() const { return nick_; }
    // The address of the server connected to, once connected.
    QHostAddress serverAddress() const;
    const QHash<QString, Occupant> &occupants() const { return occupants_; }
    // Presence changes and messages dropped by the flood gates so far.
    int droppedCount() const { return dropped_; }

    // Keeps elements `name` in namespace `ns` of presences and direct messages.
    void capture(const QString &name, const QString &ns);
    // This seat's presence carries `payload` (replacing one of its name and namespace),
    // now and in every later presence.
    void setPresencePayload(const XmlPayload &payload);
    void clearPresencePayload(const QString &name, const QString &ns);

    // False when not in the room.
    bool sendRoomMessage(const QString &text);
    bool sendDirect(const QString &nick, const QString &text, const QList<XmlPayload> &payloads = {});
    // Asks the server (an IQ get of `request`; the reply's element must have been named
    // with capture()): addressed to the server's domain, or with no addressee at all,
    // which the server answers on the account's behalf.
    void query(const XmlPayload &request, XmppSession::QueryDone done, bool toDomain = false);

Q_SIGNALS:
    void stateChanged(RoomClient::State state);
    void statusChanged(const QString &text, bool problem);
    // Someone came into the room, or changed (their own seat included).
    void occupantUpdated(const RoomClient::Occupant &occupant);
    void occupantLeft(const QString &nick);
    void roomMessage(const QString &nick, const QString &text, bool history);
    void directMessage(const QString &nick, const QString &text, const QList<XmlPayload> &payloads);
    void subjectChanged(const QString &subject);
    // The server refused the account's name or password (the client is off).
    void credentialsRefused();

private:
    void connectNow();
    void signedIn();
    void closed(const QString &reason, bool retry);
    void presence(const XmppSession::Presence &p);
    void message(const XmppSession::Message &m);
    void joinRoom();
    void sendOwnPresence(bool join);
    void occupantGone(const QString &nick);
    void flushPending();
    void lose(const QString &reason, bool retry);
    void setState(State state);
    void setStatus(const QString &text, bool problem);
    QString nickOf(const QString &from) const;
    static bool acceptableNick(const QString &nick);

    CommunityAccount account_;
    Timing timing_;
    QPointer<XmppSession> session_;
    QList<std::pair<QString, QString>> captured_;
    QList<XmlPayload> ownPayloads_;
    QHash<QString, Occupant> occupants_;
    QHash<QString, Occupant> pending_; // presence changes waiting for their gate
    FloodGate chatGate_;
    FloodGate directGate_;
    FloodGate presenceGate_;
    QElapsedTimer clock_;
    QTimer retryTimer_;
    QTimer pingTimer_;
    QTimer pongTimer_;
    QTimer pendingTimer_;
    State state_ = State::Off;
    QString status_;
    QString nick_;
    int nickAttempt_ = 1;
    int retryDelayMs_ = 0;
    qint64 inRoomSince_ = -1;
    bool historyOpen_ = false; // joined, and the room's subject not come yet
    int dropped_ = 0;
};
