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
    m_view = new ChatView(this);
    m_input = new ChatInput(this);

    m_smilies = new QToolButton(this);
    m_smilies->setObjectName(QStringLiteral("button_smilies"));
    m_smilies->setToolTip(QStringLiteral("Smilies"));
    m_smilies->setAccessibleName(QStringLiteral("Smilies"));
    m_smilies->setAutoRaise(true);
    m_smilies->setIcon(QPixmap::fromImage(SmileyPictures::picture(0, devicePixelRatioF())));
    m_smilies->setIconSize(QSize(SmileyPictures::width, SmileyPictures::height));
    m_smilies->setFixedSize(28, 22);

    m_smiliesMenu = new QMenu(this);
    m_smiliesMenu->setObjectName(QStringLiteral("popup_smilies"));
    for (int i = 0; i < SmileyPictures::count; ++i) {
        const int code = CodedLine::firstSmileyCode + i;
        QAction *item
            = m_smiliesMenu->addAction(QPixmap::fromImage(SmileyPictures::picture(i, devicePixelRatioF())),
                QStringLiteral(":)#") + QString::number(code));
        item->setData(code);
        connect(item, &QAction::triggered, this, [this, code] { smileyChosen(code); });
    }
    connect(m_smilies, &QToolButton::clicked, this,
        [this] { m_smiliesMenu->popup(m_smilies->mapToGlobal(m_smilies->rect().bottomRight())); });

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(m_input, 1);
    row->addWidget(m_smilies);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(m_view, 1);
    column->addLayout(row);
    m_input->setMinimumHeight(22);

    connect(m_input, &ChatInput::sendRequested, this, &ChatPanel::sendit);
    connect(m_view, &ChatView::clearRequested, this, &ChatPanel::clearMainChat);

    m_textColor = new QAction(QStringLiteral("Text Color"), this);
    m_textColor->setObjectName(QStringLiteral("TextColor1"));
    connect(m_textColor, &QAction::triggered, this, &ChatPanel::textColorClick);

    m_textSizeMenu = new QMenu(QStringLiteral("Text Size"), this);
    m_textSizeMenu->setObjectName(QStringLiteral("TextSize1"));
    m_textSizes = new QActionGroup(this);
    m_textSizes->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (int size : {8, 10, 12, 14}) {
        QAction *item = m_textSizeMenu->addAction(QString::number(size));
        item->setObjectName(QStringLiteral("N") + QString::number(size));
        item->setCheckable(true);
        item->setData(size);
        m_textSizes->addAction(item);
        connect(item, &QAction::triggered, this, [this, size] {
            setTextSize(size);
            Q_EMIT settingsChanged();
        });
    }

    // The "Options" menu's twin of the view's own "Scroll Chat Off"; Ctrl+S works
    // anywhere in the window even before the main window puts it in its menu.
    m_scrollChatOff2 = new QAction(QStringLiteral("Scroll Chat Off"), this);
    m_scrollChatOff2->setObjectName(QStringLiteral("ScrollChatOff2"));
    m_scrollChatOff2->setCheckable(true);
    m_scrollChatOff2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_scrollChatOff2->setShortcutContext(Qt::WindowShortcut);
    addAction(m_scrollChatOff2);
    connect(m_scrollChatOff2, &QAction::triggered, this,
        [this] { m_view->setScrollChatOff(!m_view->scrollChatOff()); });
    connect(m_view, &ChatView::scrollChatOffToggled, m_scrollChatOff2, &QAction::setChecked);

    m_clearMainChat = new QAction(QStringLiteral("Clear Main Chat"), this);
    m_clearMainChat->setObjectName(QStringLiteral("ClearMainChat1"));
    connect(m_clearMainChat, &QAction::triggered, this, &ChatPanel::clearMainChat);

    setTextSize(defaultTextSize);
}

bool ChatPanel::addlinetochat(const QString &line, const QColor &colour)
{
    return m_view->addlinetochat(line, colour);
}

void ChatPanel::addSystemLine(const QString &text)
{
    m_view->addlinetochat(QStringLiteral("0+") + text, systemcolor);
}

void ChatPanel::chatrecieved(const QString &data)
{
    const ChatCommands::ReceivedLine received = ChatCommands::chatrecieved(data);
    m_view->addlinetochat(received.line, received.colour);
}

void ChatPanel::sendit()
{
    const ChatCommands::SendResult result
        = ChatCommands::sendit(m_input->text(), m_isconnected, m_myslot, m_colour);
    if (result.clearInput)
        m_input->clear();
    if (!result.systemLine.isEmpty())
        m_view->addlinetochat(result.systemLine, systemcolor);
    if (result.message)
        Q_EMIT sendMessage(result.message->command, result.message->fields);
}

void ChatPanel::setChatColour(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    if (m_colorDialog)
        m_colorDialog->setCurrentColor(rgb);
    if (rgb == m_colour)
        return;
    m_colour = rgb;
    m_input->setTextColour(m_colour);
    Q_EMIT chatColourChanged(m_colour);
}

void ChatPanel::setTextSize(int size)
{
    m_view->setTextSize(size);
    for (QAction *item : m_textSizes->actions())
        item->setChecked(item->data().toInt() == m_view->textSize());
    Q_EMIT textSizeChanged(m_view->textSize());
}

int ChatPanel::textSize() const
{
    return m_view->textSize();
}

void ChatPanel::clearMainChat()
{
    m_view->clearMainChat();
    m_input->setFocus();
}

void ChatPanel::textColorClick()
{
    if (!m_colorDialog) {
        m_colorDialog = new QColorDialog(this);
        m_colorDialog->setObjectName(QStringLiteral("ColorDialog"));
        m_colorDialog->setOption(QColorDialog::DontUseNativeDialog);
        m_colorDialog->setWindowTitle(QStringLiteral("Text Color"));
        connect(m_colorDialog, &QColorDialog::colorSelected, this, [this](const QColor &colour) {
            if (!colour.isValid())
                return;
            setChatColour(colour);
            Q_EMIT settingsChanged();
        });
    }
    m_colorDialog->setCurrentColor(m_colour);
    m_colorDialog->open();
}

void ChatPanel::smileyChosen(int code)
{
    m_input->insertSmiley(code);
    m_input->setFocus();
}
