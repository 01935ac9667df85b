#include "rosterview.h"

#include "clientstate.h"
#include "gamelabels.h"
#include "gamesession.h"
#include "mainart.h"
#include "rostermodel.h"
#include "roundedpanel.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>

namespace {

constexpr int rowTop = 71;
constexpr int rowStep = 18;
constexpr int rowHeight = 18;
// The game's settings sit on a card of their own between the last roster row and the
// phrase buttons, in two rows of two.
constexpr QRect settingsCard(476, 254, 296, 32);
constexpr int settingsTop = 257;
constexpr int settingsRowStep = 14;
constexpr int settingsColumns[] = {484, 630};
constexpr QSize settingsLabel(140, 14);
constexpr int nameIndent = 18; // room for the eyes picture at the start of the row

QLabel *makeLabel(
    QWidget *parent, const QString &name, const QRect &place, const QColor &color, const QFont &font)
{
    auto *label = new QLabel(parent);
    // Names and scores come from other players: never read them as rich text.
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
    return label;
}

} // namespace

RosterView::RosterView(QWidget *panel, RosterModel *model, const ClientState *state)
    : QObject(panel)
    , model_(model)
    , state_(state)
{
    setObjectName(QStringLiteral("rosterview"));

    popup_kick = new QMenu(panel);
    popup_kick->setObjectName(QStringLiteral("popup_kick"));
    popup_kick->setProperty("tag", 0);
    RemoveFromGame1 = popup_kick->addAction(QStringLiteral("Remove From Game"));
    RemoveFromGame1->setObjectName(QStringLiteral("RemoveFromGame1"));
    SettoJustWatch1 = popup_kick->addAction(QStringLiteral("Set to Just Watch"));
    SettoJustWatch1->setObjectName(QStringLiteral("SettoJustWatch1"));
    UnsetJustWatch1 = popup_kick->addAction(QStringLiteral("Unset Just Watch"));
    UnsetJustWatch1->setObjectName(QStringLiteral("UnsetJustWatch1"));
    const auto slotOfMenu = [this] { return popup_kick->property("tag").toInt(); };
    connect(RemoveFromGame1, &QAction::triggered, this,
        [=, this] { Q_EMIT removeFromGameRequested(slotOfMenu()); });
    connect(SettoJustWatch1, &QAction::triggered, this,
        [=, this] { Q_EMIT setJustWatchRequested(slotOfMenu()); });
    connect(UnsetJustWatch1, &QAction::triggered, this,
        [=, this] { Q_EMIT unsetJustWatchRequested(slotOfMenu()); });

    const QFont nameFont = Artwork::uiFont(13, true);
    const QFont scoreFont = Artwork::uiFont(13, true);
    const QFont bonusFont = Artwork::uiFont(12, true);
    for (int slot = 1; slot <= RosterModel::slotCount; ++slot) {
        const int y = rowTop + (slot - 1) * rowStep;
        const auto i = std::size_t(slot - 1);
        const QString n = QString::number(slot);
        QLabel *name = makeLabel(panel, QStringLiteral("label_playername") + n, QRect(472, y, 98, rowHeight),
            QColor(255, 255, 255), nameFont);
        name->setIndent(nameIndent);
        name->setProperty("tag", slot);
        name->setContextMenuPolicy(Qt::CustomContextMenu);
        // Tab reaches the names; the menu key or Shift+F10 opens popup_kick there.
        name->setFocusPolicy(Qt::TabFocus);
        name->installEventFilter(this);
        connect(name, &QWidget::customContextMenuRequested, this, [this, slot, name](const QPoint &pos) {
            label_playername1ContextPopup(slot);
            popup_kick->popup(name->mapToGlobal(pos));
        });
        names_[i] = name;

        QLabel *score = makeLabel(panel, QStringLiteral("label_score") + n, QRect(575, y, 26, rowHeight),
            MainArt::lightYellow, scoreFont);
        score->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        scores_[i] = score;

        QLabel *bonus = makeLabel(panel, QStringLiteral("label_bonus") + n, QRect(602, y, 34, rowHeight),
            QColor(160, 255, 140), bonusFont);
        bonus->setProperty("tag", 0);
        bonuses_[i] = bonus;

        QLabel *eye = makeLabel(
            panel, QStringLiteral("image_eyes") + n, QRect(471, y + 3, 16, 12), QColor(), nameFont);
        eye->setPixmap(MainArt::eyes(QSize(16, 12)));
        eye->setToolTip(QStringLiteral("Just watching"));
        eye->setAccessibleName(QStringLiteral("Just watching"));
        eyes_[i] = eye;
        showRow(slot);
    }
    connect(model_, &RosterModel::rowChanged, this, &RosterView::showRow);

    auto *card = new RoundedPanel(QStringLiteral("panel_settings"), panel);
    card->setGeometry(settingsCard);
    const QFont settingsFont = Artwork::uiFont(12, true);
    const auto settingsPlace = [](int row, int column) {
        return QRect(QPoint(settingsColumns[column], settingsTop + row * settingsRowStep), settingsLabel);
    };
    label_playtoscore = makeLabel(
        panel, QStringLiteral("label_playtoscore"), settingsPlace(0, 0), MainArt::paleYellow, settingsFont);
    label_timeperturn = makeLabel(
        panel, QStringLiteral("label_timeperturn"), settingsPlace(0, 1), MainArt::paleYellow, settingsFont);
    label_boardsize = makeLabel(
        panel, QStringLiteral("label_boardsize"), settingsPlace(1, 0), MainArt::paleYellow, settingsFont);
    label_minletters = makeLabel(
        panel, QStringLiteral("label_minletters"), settingsPlace(1, 1), MainArt::paleYellow, settingsFont);
    label_timeperturn->setProperty("tag", 60);
    label_minletters->setProperty("tag", 0);
}

QLabel *RosterView::name(int slot) const
{
    return RosterModel::isValidSlot(slot) ? names_[std::size_t(slot - 1)] : nullptr;
}

QLabel *RosterView::score(int slot) const
{
    return RosterModel::isValidSlot(slot) ? scores_[std::size_t(slot - 1)] : nullptr;
}

QLabel *RosterView::bonus(int slot) const
{
    return RosterModel::isValidSlot(slot) ? bonuses_[std::size_t(slot - 1)] : nullptr;
}

QLabel *RosterView::eyes(int slot) const
{
    return RosterModel::isValidSlot(slot) ? eyes_[std::size_t(slot - 1)] : nullptr;
}

void RosterView::showRow(int slot)
{
    if (!RosterModel::isValidSlot(slot))
        return;
    const auto i = std::size_t(slot - 1);
    const RosterModel::Row &row = model_->row(slot);
    QLabel *name = names_[i];
    // An away player's seat is held: the name stays, slanted and pale, until it is back.
    QFont font = name->font();
    font.setItalic(row.away);
    name->setFont(font);
    const int room = name->width() - nameIndent - 2;
    name->setText(QFontMetrics(name->font()).elidedText(row.name, Qt::ElideRight, room));
    name->setToolTip(name->text() == row.name ? QString() : row.name);
    QPalette pal = name->palette();
    pal.setColor(QPalette::WindowText,
        model_->isWaiting(slot) || row.away ? QColor(176, 196, 170) : QColor(255, 255, 255));
    name->setPalette(pal);
    if (row.away)
        name->setToolTip(row.name + QStringLiteral(" lost the connection; the seat is kept."));
    scores_[i]->setText(row.score);
    bonuses_[i]->setText(row.bonus);
    bonuses_[i]->setProperty("tag", row.bonusTag);
    eyes_[i]->setVisible(row.watching);
    // A screen reader reads the whole name with its score, whatever fits the row.
    name->setAccessibleName(row.name);
    QString about = QStringLiteral("Slot %1").arg(slot);
    if (!model_->isWaiting(slot))
        about += QStringLiteral(", score ") + row.score
            + (row.watching ? QStringLiteral(", just watching") : QString());
    if (row.away)
        about += QStringLiteral(", away");
    name->setAccessibleDescription(about);
}

bool RosterView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool menuKey
        = key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
    auto *label = qobject_cast<QLabel *>(watched);
    const int slot = label ? label->property("tag").toInt() : 0;
    if (!menuKey || !RosterModel::isValidSlot(slot) || names_[std::size_t(slot - 1)] != label)
        return QObject::eventFilter(watched, event);
    label_playername1ContextPopup(slot);
    popup_kick->popup(label->mapToGlobal(label->rect().center()));
    return true;
}

void RosterView::setTextScale(double scale)
{
    // A row is 18 pixels high: letters of 16 pixels are the most it holds.
    const auto pixels = [scale](int base) { return qMin(16, qRound(base * scale)); };
    for (std::size_t i = 0; i < names_.size(); ++i) {
        names_[i]->setFont(Artwork::uiFont(pixels(13), true));
        scores_[i]->setFont(Artwork::uiFont(pixels(13), true));
        bonuses_[i]->setFont(Artwork::uiFont(pixels(12), true));
        showRow(int(i) + 1);
    }
}

void RosterView::follow(const GameSession *session)
{
    connect(session, &GameSession::gameSettingsChanged, this,
        [this, session] { showGameSettings(session->state()); });
}

void RosterView::showGameSettings(const ClientState &state)
{
    label_playtoscore->setText(state.playToScoreCaption);
    label_timeperturn->setText(GameLabels::timePerTurn(state.roundLength));
    label_timeperturn->setProperty("tag", state.roundLength);
    label_boardsize->setText(state.boardSizeCaption);
    label_minletters->setText(GameLabels::minLetters(state.minLetters));
    label_minletters->setProperty("tag", state.minLetters);
}

void RosterView::label_playername1ContextPopup(int slot)
{
    const bool host = state_->ishost;
    RemoveFromGame1->setEnabled(host && !model_->isWaiting(slot));
    SettoJustWatch1->setEnabled(host);
    UnsetJustWatch1->setEnabled(host);
    popup_kick->setProperty("tag", slot);
}
