#include "wordsarea.h"

#include "mainart.h"

#include <QFrame>
#include <QLabel>
#include <QTextEdit>

WordsArea::WordsArea(QWidget *panel)
    : QObject(panel)
{
    setObjectName(QStringLiteral("wordsarea"));

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
}
