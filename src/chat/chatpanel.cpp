#include "chatpanel.h"

#include "chatcommands.h"
#include "chatinput.h"
#include "chatview.h"
#include "codedline.h"
#include "smileypictures.h"

#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QMenu>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

const QColor ChatPanel::systemcolor(128, 0, 0);

ChatPanel::ChatPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("chatpanel"));
    view_ = new ChatView(this);
    input_ = new ChatInput(this);

    smilies_ = new QToolButton(this);
    smilies_->setObjectName(QStringLiteral("button_smilies"));
    smilies_->setToolTip(QStringLiteral("Smilies"));
    smilies_->setAccessibleName(QStringLiteral("Smilies"));
    smilies_->setAutoRaise(true);
    smilies_->setIcon(QPixmap::fromImage(SmileyPictures::picture(0, devicePixelRatioF())));
    smilies_->setIconSize(QSize(SmileyPictures::width, SmileyPictures::height));
    smilies_->setFixedSize(28, 22);

    smiliesMenu_ = new QMenu(this);
    smiliesMenu_->setObjectName(QStringLiteral("popup_smilies"));
    for (int i = 0; i < SmileyPictures::count; ++i) {
        const int code = CodedLine::firstSmileyCode + i;
        QAction *item
            = smiliesMenu_->addAction(QPixmap::fromImage(SmileyPictures::picture(i, devicePixelRatioF())),
                QStringLiteral(":)#") + QString::number(code));
        item->setData(code);
        connect(item, &QAction::triggered, this, [this, code] { smileyChosen(code); });
    }
    connect(smilies_, &QToolButton::clicked, this,
        [this] { smiliesMenu_->popup(smilies_->mapToGlobal(smilies_->rect().bottomRight())); });

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(input_, 1);
    row->addWidget(smilies_);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(view_, 1);
    column->addLayout(row);
    input_->setMinimumHeight(22);

    connect(input_, &ChatInput::sendRequested, this, &ChatPanel::sendit);
    connect(view_, &ChatView::clearRequested, this, &ChatPanel::clearMainChat);

    textColor_ = new QAction(QStringLiteral("Text Color"), this);
    textColor_->setObjectName(QStringLiteral("TextColor1"));
    connect(textColor_, &QAction::triggered, this, &ChatPanel::textColorClick);

    textSizeMenu_ = new QMenu(QStringLiteral("Text Size"), this);
    textSizeMenu_->setObjectName(QStringLiteral("TextSize1"));
    textSizes_ = new QActionGroup(this);
    textSizes_->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (int size : {8, 10, 12, 14}) {
        QAction *item = textSizeMenu_->addAction(QString::number(size));
        item->setObjectName(QStringLiteral("N") + QString::number(size));
        item->setCheckable(true);
        item->setData(size);
        textSizes_->addAction(item);
        connect(item, &QAction::triggered, this, [this, size] {
            setTextSize(size);
            Q_EMIT settingsChanged();
        });
    }

    // The "Options" menu's twin of the view's own "Scroll Chat Off"; Ctrl+S works
    // anywhere in the window even before the main window puts it in its menu.
    scrollChatOff2_ = new QAction(QStringLiteral("Scroll Chat Off"), this);
    scrollChatOff2_->setObjectName(QStringLiteral("ScrollChatOff2"));
    scrollChatOff2_->setCheckable(true);
    scrollChatOff2_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    scrollChatOff2_->setShortcutContext(Qt::WindowShortcut);
    addAction(scrollChatOff2_);
    connect(scrollChatOff2_, &QAction::triggered, this,
        [this] { view_->setScrollChatOff(!view_->scrollChatOff()); });
    connect(view_, &ChatView::scrollChatOffToggled, scrollChatOff2_, &QAction::setChecked);

    clearMainChat_ = new QAction(QStringLiteral("Clear Main Chat"), this);
    clearMainChat_->setObjectName(QStringLiteral("ClearMainChat1"));
    connect(clearMainChat_, &QAction::triggered, this, &ChatPanel::clearMainChat);

    setTextSize(defaultTextSize);
}

bool ChatPanel::addlinetochat(const QString &line, const QColor &colour)
{
    return view_->addlinetochat(line, colour);
}

void ChatPanel::addSystemLine(const QString &text)
{
    view_->addlinetochat(QStringLiteral("0+") + text, systemcolor);
}

void ChatPanel::chatrecieved(const QString &data)
{
    const ChatCommands::ReceivedLine received = ChatCommands::chatrecieved(data);
    view_->addlinetochat(received.line, received.colour);
}

void ChatPanel::sendit()
{
    const ChatCommands::SendResult result
        = ChatCommands::sendit(input_->text(), isconnected_, myslot_, colour_);
    if (result.clearInput)
        input_->clear();
    if (!result.systemLine.isEmpty())
        view_->addlinetochat(result.systemLine, systemcolor);
    if (result.message)
        Q_EMIT sendMessage(result.message->command, result.message->fields);
}

void ChatPanel::setChatColour(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    if (colorDialog_)
        colorDialog_->setCurrentColor(rgb);
    if (rgb == colour_)
        return;
    colour_ = rgb;
    input_->setTextColour(colour_);
    Q_EMIT chatColourChanged(colour_);
}

void ChatPanel::setTextSize(int size)
{
    view_->setTextSize(size);
    for (QAction *item : textSizes_->actions())
        item->setChecked(item->data().toInt() == view_->textSize());
    Q_EMIT textSizeChanged(view_->textSize());
}

int ChatPanel::textSize() const
{
    return view_->textSize();
}

void ChatPanel::clearMainChat()
{
    view_->clearMainChat();
    input_->setFocus();
}

void ChatPanel::textColorClick()
{
    if (!colorDialog_) {
        colorDialog_ = new QColorDialog(this);
        colorDialog_->setObjectName(QStringLiteral("ColorDialog"));
        colorDialog_->setOption(QColorDialog::DontUseNativeDialog);
        colorDialog_->setWindowTitle(QStringLiteral("Text Color"));
        connect(colorDialog_, &QColorDialog::colorSelected, this, [this](const QColor &colour) {
            if (!colour.isValid())
                return;
            setChatColour(colour);
            Q_EMIT settingsChanged();
        });
    }
    colorDialog_->setCurrentColor(colour_);
    colorDialog_->open();
}

void ChatPanel::smileyChosen(int code)
{
    input_->insertSmiley(code);
    input_->setFocus();
}
