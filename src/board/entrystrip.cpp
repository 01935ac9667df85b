#include "entrystrip.h"

#include "boardaccessible.h"
#include "boardmodel.h"
#include "tilegroups.h"
#include "wordentry.h"

#include <QAccessible>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int slotLeft = 5;
constexpr int slotTop = 8;
constexpr int slotStep = 43;
const QColor refusedColour(220, 20, 20);

// A refused letter: dimmed under a red veil and struck through, so that it reads as
// typed but not on the board.
void markRefused(QImage &picture)
{
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor veil = refusedColour;
    veil.setAlpha(110);
    painter.fillRect(picture.rect(), veil);
    const qreal w = picture.width();
    const qreal h = picture.height();
    painter.setPen(QPen(refusedColour, w / 12, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(w * 0.15, h * 0.85), QPointF(w * 0.85, h * 0.15));
    painter.setPen(QPen(refusedColour, w / 16));
    painter.drawRect(picture.rect().adjusted(1, 1, -2, -2));
}

} // namespace

EntryStrip::EntryStrip(WordEntry *entry, TileGroups *tiles, QWidget *parent)
    : QWidget(parent)
    , entry_(entry)
    , tiles_(tiles)
    , minletters_(new QLabel(this))
    , typingoff_(new QLabel(this))
{
    setObjectName(QStringLiteral("entrystrip"));
    BoardAccessible::installFactory();
    for (int k = 1; k <= slotCount; ++k) {
        auto *slot = new QLabel(this);
        slot->setObjectName(QStringLiteral("image_letters%1").arg(k));
        slot->setProperty("tag", k);
        slot->setGeometry(slotLeft + (k - 1) * slotStep, slotTop, TileGroup::tileSize, TileGroup::tileSize);
        slot->installEventFilter(this);
        slots_[k - 1] = slot;
    }

    minletters_->setObjectName(QStringLiteral("image_minletters"));
    minletters_->setAutoFillBackground(true);
    QPalette bar = minletters_->palette();
    bar.setColor(QPalette::Window, QColor(255, 128, 0));
    minletters_->setPalette(bar);
    minletters_->setToolTip(tr("The word is still shorter than the minimum length"));

    typingoff_->setObjectName(QStringLiteral("label_typingoff"));
    typingoff_->move(527, 12);
    QFont font = typingoff_->font();
    font.setBold(true);
    font.setPixelSize(13);
    typingoff_->setFont(font);
    typingoff_->setCursor(Qt::PointingHandCursor);
    typingoff_->setToolTip(tr("Tab switches typing on and off"));
    typingoff_->installEventFilter(this);

    resize(typingoff_->x() + 105, slotTop + TileGroup::tileSize);

    connect(entry_, &WordEntry::wordChanged, this, &EntryStrip::showWord);
    connect(entry_, &WordEntry::typingChanged, this, &EntryStrip::showTyping);
    connect(tiles_, &TileGroups::picturesChanged, this, &EntryStrip::showWord);
    showWord();
    showTyping();
}

QLabel *EntryStrip::letterSlot(int k) const
{
    return k >= 1 && k <= slotCount ? slots_[k - 1] : nullptr;
}

void EntryStrip::showWord()
{
    // Every slot shows the empty-slot picture, a letter drawn over it: the letter's
    // transparent parts let the slot show through.
    const QImage &empty = tiles_->picture(BoardModel::emptySlot);
    for (int k = 1; k <= slotCount; ++k) {
        QImage picture = empty.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const int refused = entry_->refusedLetter(k);
        const int code = refused ? refused : entry_->slotPicture(k);
        if (BoardModel::isLetter(code)) {
            QPainter painter(&picture);
            painter.drawImage(0, 0, tiles_->picture(code));
        }
        if (refused)
            markRefused(picture);
        slots_[k - 1]->setPixmap(QPixmap::fromImage(picture));
        slots_[k - 1]->setToolTip(refused
                ? tr("Not on the board here: Backspace takes it back, Escape clears "
                     "the word")
                : QString());
    }
    const int need = qBound(1, entry_->minLetters(), slotCount);
    minletters_->setGeometry(slotLeft, 2, need * slotStep - 1, 4);
    minletters_->setVisible(entry_->minLettersVisible());
    reportName();
}

void EntryStrip::reportName()
{
    QAccessibleInterface *self = QAccessible::queryAccessibleInterface(this);
    const QString spoken = self ? self->text(QAccessible::Name) : QString();
    if (spoken == spoken_)
        return;
    spoken_ = spoken;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void EntryStrip::showTyping()
{
    typingoff_->setText(entry_->typingCaption());
    QPalette pal = typingoff_->palette();
    pal.setColor(QPalette::WindowText, entry_->typingOn() ? QColor(224, 227, 157) : QColor(170, 186, 170));
    typingoff_->setPalette(pal);
    typingoff_->adjustSize();
    typingoff_->setVisible(entry_->typingLabelVisible());
}

bool EntryStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == typingoff_) {
            entry_->label_typingoffClick();
            return true;
        }
        const int k = watched->property("tag").toInt();
        if (k >= 1 && k <= slotCount && watched == slots_[k - 1]) {
            entry_->image_lettersClick(k);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
