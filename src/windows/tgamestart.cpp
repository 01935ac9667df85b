#include "tgamestart.h"

#include "artwork.h"
#include "optionpicture.h"
#include "roundedpanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

enum class Typing { Refused, Taken };

QSpinBox *arrowBox(const QString &name, int minimum, int maximum, int step, int value, Typing typing)
{
    auto *box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setSingleStep(step);
    box->setValue(value);
    box->setGroupSeparatorShown(false);
    box->setWrapping(false);
    box->setAlignment(Qt::AlignRight);
    box->setMinimumWidth(84);
    // The arrows (and the arrow keys and the wheel) change the value. A box that takes
    // typing accepts only whole numbers within its range.
    if (auto *edit = box->findChild<QLineEdit *>(); edit && typing == Typing::Refused)
        edit->setReadOnly(true);
    return box;
}

} // namespace

Tgamestart::Tgamestart(QWidget *parent)
    : SideWindow(parent)
{
    setWindowTitle(QStringLiteral("Wendlewick - Game Start"));

    auto *heading = new QLabel(QStringLiteral("GAME OPTIONS"));
    heading->setObjectName(QStringLiteral("label_heading"));
    heading->setAlignment(Qt::AlignCenter);
    makeHeading(heading, 24);

    // Steps of 100 never come back to a target such as 30 or 50 once the arrows moved
    // it: the target may also be typed.
    edit_playtoscore = arrowBox(QStringLiteral("edit_playtoscore"), GameOptions::scoreMinimum,
        GameOptions::scoreMaximum, GameOptions::scoreStep, options_.playToScore, Typing::Taken);
    edit_creationtime = arrowBox(QStringLiteral("edit_creationtime"), GameOptions::roundTimeMinimum,
        GameOptions::roundTimeMaximum, GameOptions::roundTimeStep, options_.roundTime, Typing::Refused);
    connect(edit_playtoscore, &QSpinBox::valueChanged, this, [this](int v) { options_.playToScore = v; });
    connect(edit_creationtime, &QSpinBox::valueChanged, this, [this](int v) { options_.roundTime = v; });

    auto *numbers = new QHBoxLayout;
    auto *scoreLabel = new QLabel(QStringLiteral("Play to Score:"));
    scoreLabel->setBuddy(edit_playtoscore);
    auto *timeLabel = new QLabel(QStringLiteral("Round Time:"));
    timeLabel->setBuddy(edit_creationtime);
    numbers->addStretch();
    numbers->addWidget(scoreLabel);
    numbers->addWidget(edit_playtoscore);
    numbers->addSpacing(24);
    numbers->addWidget(timeLabel);
    numbers->addWidget(edit_creationtime);
    numbers->addWidget(new QLabel(QStringLiteral("secs")));
    numbers->addStretch();

    const QPixmap unchecked = Artwork::checkPicture(false);
    const QPixmap checked = Artwork::checkPicture(true);

    label_boardsize = new QLabel(QStringLiteral("BOARD SIZE"));
    label_boardsize->setObjectName(QStringLiteral("label_boardsize"));
    label_boardsize->setAlignment(Qt::AlignCenter);
    makeHeading(label_boardsize, 14);
    auto *sizePanel = new RoundedPanel(QStringLiteral("panel_boardsize"));
    auto *sizeGrid = new QGridLayout(sizePanel);
    sizeGrid->setContentsMargins(14, 10, 14, 12);
    sizeGrid->setHorizontalSpacing(22);
    sizeGrid->addWidget(label_boardsize, 0, 0, 1, 2);
    int index = 0;
    for (const BoardSizeChoice &choice : GameOptions::boardSizes()) {
        auto *picture = new OptionPicture(QString::fromLatin1(choice.caption), choice.code);
        picture->setObjectName(QStringLiteral("image_size") + QString::number(choice.code));
        picture->setCheckPictures(unchecked, checked);
        picture->setIcon(Artwork::boardSizeIcon(choice.side));
        connect(picture, &OptionPicture::clicked, this, &Tgamestart::image_size5Click);
        sizeGrid->addWidget(picture, 1 + index % 4, index / 4);
        sizePictures_ << picture;
        ++index;
    }

    label_min = new QLabel(QStringLiteral("MINIMUM WORD LENGTH"));
    label_min->setObjectName(QStringLiteral("label_min"));
    label_min->setAlignment(Qt::AlignCenter);
    makeHeading(label_min, 14);
    auto *minPanel = new RoundedPanel(QStringLiteral("panel_min"));
    auto *minColumn = new QVBoxLayout(minPanel);
    minColumn->setContentsMargins(14, 10, 14, 12);
    minColumn->addWidget(label_min);
    for (int letters = GameOptions::minLettersLowest; letters <= GameOptions::minLettersHighest; ++letters) {
        auto *picture = new OptionPicture(QString::number(letters) + QStringLiteral(" Letters"), letters);
        picture->setObjectName(QStringLiteral("image_min") + QString::number(letters));
        picture->setCheckPictures(unchecked, checked);
        connect(picture, &OptionPicture::clicked, this, &Tgamestart::image_min4Click);
        minColumn->addWidget(picture, 0, Qt::AlignHCenter);
        minPictures_ << picture;
    }

    auto *groups = new QHBoxLayout;
    groups->addWidget(sizePanel);
    groups->addWidget(minPanel);

    button_start = new QToolButton;
    button_start->setObjectName(QStringLiteral("button_start"));
    const QPixmap start = Artwork::startPicture();
    button_start->setIcon(start);
    button_start->setIconSize(start.deviceIndependentSize().toSize());
    button_start->setAutoRaise(true);
    button_start->setCursor(Qt::PointingHandCursor);
    button_start->setToolTip(QStringLiteral("Start the game"));
    button_start->setAccessibleName(QStringLiteral("Start"));
    connect(button_start, &QToolButton::clicked, this, &Tgamestart::button_startClick);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(12);
    layout->addWidget(heading);
    layout->addLayout(numbers);
    layout->addLayout(groups);
    layout->addWidget(button_start, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    clicksize(QStringLiteral("image_size") + QString::number(options_.sizeCode));
    clickmin(QStringLiteral("image_min") + QString::number(options_.minLetters));
}

void Tgamestart::setPlayToScore(int score)
{
    edit_playtoscore->setValue(GameOptions::clampPlayToScore(score));
}

void Tgamestart::setRoundTime(int seconds)
{
    edit_creationtime->setValue(GameOptions::clampRoundTime(seconds));
}

bool Tgamestart::restorePlayToScore(const QString &stored)
{
    bool ok = false;
    const int value = stored.trimmed().toInt(&ok);
    if (ok)
        setPlayToScore(value);
    return ok;
}

bool Tgamestart::restoreRoundTime(const QString &stored)
{
    bool ok = false;
    const int value = stored.trimmed().toInt(&ok);
    if (ok)
        setRoundTime(value);
    return ok;
}

OptionPicture *Tgamestart::select(
    const QList<OptionPicture *> &group, const QString &name, const QString &fallback)
{
    OptionPicture *chosen = nullptr;
    OptionPicture *spare = nullptr;
    for (OptionPicture *picture : group) {
        picture->setTag(0);
        if (!chosen && picture->objectName().compare(name, Qt::CaseInsensitive) == 0)
            chosen = picture;
        if (picture->objectName() == fallback)
            spare = picture;
    }
    if (!chosen)
        chosen = spare;
    chosen->setTag(1);
    return chosen;
}

void Tgamestart::clicksize(const QString &pictureName)
{
    options_.sizeCode = select(sizePictures_, pictureName, QStringLiteral("image_size8"))->hint();
}

void Tgamestart::clickmin(const QString &pictureName)
{
    options_.minLetters = select(minPictures_, pictureName, QStringLiteral("image_min3"))->hint();
}

void Tgamestart::image_size5Click()
{
    if (auto *picture = qobject_cast<OptionPicture *>(sender()))
        clicksize(picture->objectName());
}

void Tgamestart::image_min4Click()
{
    if (auto *picture = qobject_cast<OptionPicture *>(sender()))
        clickmin(picture->objectName());
}

void Tgamestart::button_startClick()
{
    Q_EMIT startRequested(options_);
    hide();
}
