#include "chatarea.h"

#include "mainart.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextEdit>

namespace {

const std::array<const char *, ChatArea::chatterSoundCount> chatterSoundCaptions {"Doh", "Cough", "Hello",
    "Thank You", "Where have you been?", "Snoring", "Sneezing", "Sorry", "Welcome", "Yeehaa", "Yippee",
    "Oh No", "Applause", "Honk", "Oooh", "Razzberry", "Cheer", "Woman Laughing", "Man Laughing", "Crying"};

QAction *addNamed(QMenu *menu, const char *name, const QString &text)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

ChatArea::ChatArea(QWidget *panel)
    : QObject(panel)
{
    setObjectName(QStringLiteral("chatarea"));

    panel_words = new QFrame(panel);
    panel_words->setObjectName(QStringLiteral("panel_words"));
    panel_words->setGeometry(638, 2, 139, 256);
    label_found = new QLabel(QStringLiteral("Count: 0"), panel_words);
    label_found->setObjectName(QStringLiteral("label_found"));
    label_found->setGeometry(4, 2, 131, 18);
    label_found->setFont(MainArt::uiFont(13, true));
    QPalette foundPal = label_found->palette();
    foundPal.setColor(QPalette::WindowText, MainArt::lightYellow);
    label_found->setPalette(foundPal);
    richedit_words = new QTextEdit(panel_words);
    richedit_words->setObjectName(QStringLiteral("richedit_words"));
    richedit_words->setGeometry(1, 21, 137, 234);
    richedit_words->setReadOnly(true);
    richedit_words->setFrameShape(QFrame::NoFrame);
    richedit_words->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richedit_words->setFont(MainArt::uiFont(13));
    richedit_words->setFocusPolicy(Qt::NoFocus);
    richedit_words->setProperty("tag", 0);

    popup_sounds = new QMenu(panel);
    popup_sounds->setObjectName(QStringLiteral("popup_sounds"));
    QAction *cancel = addNamed(popup_sounds, "Cancel1", QStringLiteral("<Cancel>"));
    cancel->setProperty("tag", 0);
    connect(cancel, &QAction::triggered, this, [this] { Q_EMIT chatterSoundChosen(0); });
    for (int tag = 1; tag <= chatterSoundCount; ++tag) {
        const QString caption = QString::fromLatin1(chatterSoundCaptions[std::size_t(tag - 1)]);
        QAction *item = popup_sounds->addAction(caption);
        item->setObjectName(QStringLiteral("wave") + QString::number(tag));
        item->setProperty("tag", tag);
        item->setToolTip(caption);
        connect(item, &QAction::triggered, this, [this, tag] { Q_EMIT chatterSoundChosen(tag); });
    }

    for (int k = 1; k <= phraseButtonCount; ++k) {
        auto *button = new QPushButton(panel);
        button->setObjectName(QStringLiteral("b_phrase") + QString::number(k));
        button->setGeometry(475 + (k - 1) * 30, 285, 26, 19);
        button->setProperty("phrase", true);
        button->setIcon(QIcon(MainArt::phraseButton(k, QSize(26, 19))));
        button->setIconSize(QSize(26, 19));
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::PointingHandCursor);
        b_phrase[std::size_t(k - 1)] = button;
        if (k < phraseButtonCount) {
            connect(button, &QPushButton::clicked, this, [this, k] { Q_EMIT phraseClicked(k); });
        } else {
            button->setToolTip(QStringLiteral("Chatter Sounds"));
            button->setProperty("hint", QStringLiteral("Chatter Sounds"));
            connect(button, &QPushButton::clicked, this, [this, button] {
                popup_sounds->popup(button->mapToGlobal(QPoint(button->width(), button->height())));
            });
        }
    }

    popup_mainchat = new QMenu(panel);
    popup_mainchat->setObjectName(QStringLiteral("popup_mainchat"));
    SelectAll1 = addNamed(popup_mainchat, "SelectAll1", QStringLiteral("Select All"));
    Copy1 = addNamed(popup_mainchat, "Copy1", QStringLiteral("Copy"));
    Copy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    ClearMainChat2 = addNamed(popup_mainchat, "ClearMainChat2", QStringLiteral("Clear Main Chat"));
    popup_mainchat->addSeparator();
    ScrollChatOff1 = addNamed(popup_mainchat, "ScrollChatOff1", QStringLiteral("Scroll Chat Off"));
    ScrollChatOff1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    ScrollChatOff1->setCheckable(true);

    popup_mychat = new QMenu(panel);
    popup_mychat->setObjectName(QStringLiteral("popup_mychat"));
    Paste1 = addNamed(popup_mychat, "Paste1", QStringLiteral("Paste"));
    Paste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));

    panel_chat = new QFrame(panel);
    panel_chat->setObjectName(QStringLiteral("panel_chat"));
    panel_chat->setGeometry(474, 306, 299, 192);
    auto *mainchat = new QTextBrowser(panel_chat);
    mainchat->setObjectName(QStringLiteral("mainchat"));
    mainchat->setGeometry(1, 1, 297, 190);
    mainchat->setFrameShape(QFrame::NoFrame);
    mainchat->setFont(MainArt::uiFont(13));
    mainchat->document()->setDocumentMargin(5);
    attachPopup(mainchat, popup_mainchat);

    auto *mychat = new QLineEdit(QStringLiteral("<Enter Chat Here>"), panel);
    mychat->setObjectName(QStringLiteral("mychat"));
    mychat->setGeometry(474, 499, 267, 22);
    mychat->setFont(MainArt::uiFont(13));
    attachPopup(mychat, popup_mychat);

    button_smilies = new QPushButton(panel);
    button_smilies->setObjectName(QStringLiteral("button_smilies"));
    button_smilies->setGeometry(744, 499, 28, 22);
    button_smilies->setIcon(QIcon(MainArt::smiley(QSize(20, 20))));
    button_smilies->setIconSize(QSize(20, 20));
    button_smilies->setFocusPolicy(Qt::NoFocus);
    button_smilies->setCursor(Qt::PointingHandCursor);
    button_smilies->setToolTip(QStringLiteral("Smilies"));
}

void ChatArea::setPhrase(int k, const QString &phrase)
{
    if (k < 1 || k >= phraseButtonCount)
        return;
    QPushButton *button = b_phrase[std::size_t(k - 1)];
    button->setProperty("hint", phrase);
    button->setToolTip(phrase);
}

QString ChatArea::phrase(int k) const
{
    if (k < 1 || k >= phraseButtonCount)
        return QString();
    return b_phrase[std::size_t(k - 1)]->property("hint").toString();
}

void ChatArea::attachPopup(QWidget *widget, QMenu *menu)
{
    widget->setProperty("popupMenu", QVariant::fromValue(static_cast<QObject *>(menu)));
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(widget, &QWidget::customContextMenuRequested, menu,
        [widget, menu](const QPoint &pos) { menu->popup(widget->mapToGlobal(pos)); });
}
