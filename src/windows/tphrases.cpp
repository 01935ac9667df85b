#include "tphrases.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tphrases::Tphrases(QWidget *parent)
    : SideWindow(parent)
{
    setWindowTitle(QStringLiteral("Wendlewick - Phrase Buttons "));

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->setHorizontalSpacing(10);
    for (int k = 1; k <= phraseCount; ++k) {
        auto *box = new QLineEdit;
        box->setObjectName(QStringLiteral("phrase") + QString::number(k));
        box->setMaxLength(maxPhraseLength);
        box->setMinimumWidth(300);
        auto *label = new QLabel(QStringLiteral("Phrase Button %1:").arg(k));
        label->setBuddy(box);
        form->addRow(label, box);
        boxes_ << box;
    }

    auto *note = new QLabel(QStringLiteral("Buttons can only be used once every 2 seconds"));
    note->setObjectName(QStringLiteral("label_note"));
    note->setAlignment(Qt::AlignCenter);

    auto *done = new QPushButton(QStringLiteral("Done"));
    done->setObjectName(QStringLiteral("button_done"));
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &Tphrases::button_doneClick);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addWidget(note);
    layout->addWidget(done, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Tphrases::setPhrases(const QStringList &phrases)
{
    for (int k = 0; k < phraseCount; ++k)
        boxes_[k]->setText(phrases.value(k));
}

QStringList Tphrases::phrases() const
{
    QStringList texts;
    for (const QLineEdit *box : boxes_)
        texts << box->text();
    return texts;
}

void Tphrases::openWith(const QStringList &phrases)
{
    setPhrases(phrases);
    show();
    raise();
    activateWindow();
}

void Tphrases::button_doneClick()
{
    Q_EMIT phrasesDone(phrases());
    close();
}
