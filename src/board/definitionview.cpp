#include "definitionview.h"

#include "artwork.h"

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

DefinitionView::DefinitionView(QWidget *parent)
    : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("text_definition"));
    setOpenLinks(false);
    setFrameShape(QFrame::NoFrame);
    setAccessibleName(tr("Meaning of the chosen word"));
    // Reached by Tab for reading; a click on it leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    setToolTip(tr("Meanings from WordNet 3.0, Princeton University"));
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Artwork::deepGreen);
    pal.setColor(QPalette::Text, Artwork::paleYellow);
    setPalette(pal);
    showHint();
}

void DefinitionView::showHint()
{
    setHtml(tr("<i>Choose a word to see its meaning.</i>"));
}

void DefinitionView::showWord(const QString &word)
{
    if (!wordnet_ || !wordnet_->isAvailable()) {
        setHtml(missingHtml());
        return;
    }
    setHtml(html(word, wordnet_->define(word)));
}

QString DefinitionView::html(const QString &word, const QList<WordNet::Meaning> &meanings)
{
    if (meanings.isEmpty())
        return tr("WordNet has no meaning for <b>%1</b>.").arg(escaped(word));
    QString text;
    for (const WordNet::Meaning &m : meanings) {
        QString lemma = m.lemma;
        lemma.replace(u'_', u' ');
        text += QStringLiteral("<p style=\"margin:0 0 2px 0\"><b>%1</b> \u00b7 <i>%2</i>")
                    .arg(escaped(lemma), WordNet::name(m.pos));
        for (qsizetype i = 0; i < m.glosses.size(); ++i)
            text += QStringLiteral("<br>%1. %2").arg(i + 1).arg(escaped(m.glosses.at(i)));
        text += QStringLiteral("</p>");
    }
    return text;
}

QString DefinitionView::missingHtml()
{
    return tr("Meanings come from WordNet, which is not installed here. To install it:<br><b>%1</b>")
        .arg(escaped(WordNet::installHint));
}
