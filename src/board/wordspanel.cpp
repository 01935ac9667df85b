#include "wordspanel.h"

#include "wordresults.h"
#include "wordsview.h"

#include <QLabel>

WordsPanel::WordsPanel(WordResults *results, QWidget *parent)
    : QFrame(parent)
    , label_found_(new QLabel(WordResults::countText(results->count()), this))
    , richedit_words_(new WordsView(this))
{
    setObjectName(QStringLiteral("panel_words"));
    resize(139, 250);
    setAutoFillBackground(true);
    QPalette back = palette();
    back.setColor(QPalette::Window, WordsView::background);
    setPalette(back);

    label_found_->setObjectName(QStringLiteral("label_found"));
    label_found_->setGeometry(4, 2, 131, 18);
    QFont font = richedit_words_->font();
    font.setBold(true);
    label_found_->setFont(font);
    QPalette pal = label_found_->palette();
    pal.setColor(QPalette::WindowText, VerdictMark::lightYellow);
    label_found_->setPalette(pal);
    label_found_->setToolTip(tr("Words accepted this round"));

    richedit_words_->setGeometry(1, 21, 137, 228);

    connect(results, &WordResults::lineAdded, richedit_words_, &WordsView::addword);
    connect(results, &WordResults::cleared, richedit_words_, &WordsView::clearWords);
    connect(results, &WordResults::countChanged, label_found_,
        [this](int count) { label_found_->setText(WordResults::countText(count)); });
}
