#include "thelp.h"

#include "appversion.h"
#include "helppages.h"
#include "roundedpanel.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const char *const tagProperty = "tag";

QString pageButtonStyle()
{
    return QStringLiteral(
        "QPushButton { color: #ffffc6; background-color: rgba(62, 90, 62, 220); padding: 5px;"
        " border: 1px solid rgba(255, 255, 198, 70); border-radius: 5px; }"
        "QPushButton:hover { background-color: rgba(92, 124, 92, 230); }"
        "QPushButton:focus { border-color: #ffffc6; }"
        "QPushButton:checked { color: #3a2a10; background-color: #f3c756; border-color: #a87018;"
        " font-weight: bold; }");
}

} // namespace

Thelp::Thelp(QWidget *parent, QDate today)
    : SideWindow(parent)
{
    setWindowTitle(QStringLiteral("Wendlewick - Help File"));

    auto *side = new RoundedPanel(QStringLiteral("panel_side"));
    auto *sideColumn = new QVBoxLayout(side);
    sideColumn->setContentsMargins(10, 12, 10, 12);
    sideColumn->setSpacing(6);

    auto *title = new QLabel(QStringLiteral("Wendlewick"));
    title->setAlignment(Qt::AlignCenter);
    makeHeading(title, 18);
    sideColumn->addWidget(title);
    sideColumn->addSpacing(6);

    pages_ = new QStackedWidget;
    pages_->setObjectName(QStringLiteral("panel_pages"));
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (const HelpPage &page : HelpPages::pages()) {
        auto *memo = new QTextBrowser;
        memo->setObjectName(page.objectName());
        memo->setOpenExternalLinks(false);
        memo->setReadOnly(true);
        memo->document()->setDefaultStyleSheet(HelpPages::styleSheet());
        memo->document()->setDocumentMargin(14);
        memo->setHtml(page.html);
        memo->setProperty(tagProperty, page.tag);
        pages_->addWidget(memo);

        auto *button = new QPushButton(page.caption);
        button->setObjectName(QStringLiteral("SelButton") + QString::number(page.tag));
        button->setProperty(tagProperty, page.tag);
        button->setCheckable(true);
        button->setMinimumHeight(28);
        button->setStyleSheet(pageButtonStyle());
        group->addButton(button);
        connect(button, &QPushButton::clicked, this, &Thelp::SelButton1Click);
        sideColumn->addWidget(button);
    }
    sideColumn->addStretch();

    auto *about = new QPushButton(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("button_about"));
    connect(about, &QPushButton::clicked, this, &Thelp::button_aboutClick);
    auto *done = new QPushButton(QStringLiteral("Done"));
    done->setObjectName(QStringLiteral("button_done"));
    connect(done, &QPushButton::clicked, this, &Thelp::button_doneClick);
    for (QPushButton *button : {about, done}) {
        button->setMinimumHeight(28);
        button->setStyleSheet(pageButtonStyle());
        sideColumn->addWidget(button);
    }
    sideColumn->addSpacing(10);

    auto *credit = new QLabel(QStringLiteral("Version ") + AppVersion::text() + AppVersion::buildSuffix());
    credit->setAlignment(Qt::AlignCenter);
    label_year = new QLabel(QString::number(today.year()));
    label_year->setObjectName(QStringLiteral("label_year"));
    auto *copyright = new QHBoxLayout;
    copyright->setSpacing(4);
    copyright->addStretch();
    copyright->addWidget(new QLabel(QStringLiteral("\u00A9")));
    copyright->addWidget(label_year);
    copyright->addWidget(new QLabel(QStringLiteral("Orinco")));
    copyright->addStretch();
    sideColumn->addWidget(credit);
    sideColumn->addLayout(copyright);

    label_caption = new QLabel;
    label_caption->setObjectName(QStringLiteral("label_caption"));
    makeHeading(label_caption, 22);

    auto *main = new QVBoxLayout;
    main->addWidget(label_caption);
    main->addWidget(pages_, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(14);
    layout->addWidget(side);
    layout->addLayout(main, 1);
    resize(780, 560);
    setMinimumSize(620, 480);

    showPage(1);
}

void Thelp::showPage(int tag)
{
    for (int i = 0; i < pages_->count(); ++i) {
        QWidget *memo = pages_->widget(i);
        if (memo->property(tagProperty).toInt() != tag)
            continue;
        pages_->setCurrentWidget(memo);
        if (auto *button = findChild<QPushButton *>(QStringLiteral("SelButton") + QString::number(tag))) {
            button->setChecked(true);
            label_caption->setText(button->text());
        }
        return;
    }
}

int Thelp::currentTag() const
{
    return pages_->currentWidget()->property(tagProperty).toInt();
}

void Thelp::SelButton1Click()
{
    if (auto *button = qobject_cast<QPushButton *>(sender()))
        showPage(button->property(tagProperty).toInt());
}

void Thelp::button_aboutClick()
{
    Q_EMIT aboutRequested();
}

void Thelp::button_doneClick()
{
    hide();
}
