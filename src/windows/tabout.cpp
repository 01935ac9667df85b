#include "tabout.h"

#include "appversion.h"
#include "artwork.h"
#include "clicklabel.h"
#include "systemshell.h"
#include "weblinks.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tabout::Tabout(QWidget *parent, DesktopShell *shell, QDate today)
    : SideWindow(parent)
    , shell_(shell ? shell : &SystemShell::instance())
{
    setWindowTitle(QStringLiteral("Wendlewick - About"));

    auto *picture = new ClickLabel;
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(Artwork::aboutPicture());
    picture->setAccessibleName(QStringLiteral("Wendlewick"));
    connect(picture, &ClickLabel::clicked, this, &Tabout::Image1Click);

    auto *title = new QLabel(QStringLiteral("Wendlewick"));
    makeHeading(title, 30);

    auto *versionWord = new QLabel(QStringLiteral("Version"));
    version = new QLabel(AppVersion::text());
    version->setObjectName(QStringLiteral("version"));
    auto *build = new QLabel(AppVersion::buildSuffix());
    build->setObjectName(QStringLiteral("label_build"));
    auto *versionRow = new QHBoxLayout;
    versionRow->setSpacing(0);
    versionRow->addWidget(versionWord);
    versionRow->addSpacing(6);
    versionRow->addWidget(version);
    versionRow->addWidget(build);
    versionRow->addStretch();

    auto *tagline
        = new QLabel(QStringLiteral("Find the words hidden in the tiles, faster than everyone else."));
    tagline->setWordWrap(true);

    label_year = new QLabel(QString::number(today.year()));
    label_year->setObjectName(QStringLiteral("label_year"));
    auto *copyrightRow = new QHBoxLayout;
    copyrightRow->setSpacing(4);
    copyrightRow->addWidget(new QLabel(QStringLiteral("Copyright \u00A9")));
    copyrightRow->addWidget(label_year);
    copyrightRow->addWidget(
        new QLabel(QStringLiteral("Orinco. Free software under the GNU GPL, version 3 or later.")));
    copyrightRow->addStretch();

    const QUrl home = WebLinks::homePage();
    auto *address = new ClickLabel(home.toString(QUrl::RemoveScheme | QUrl::StripTrailingSlash).mid(2));
    address->setObjectName(QStringLiteral("Label7"));
    address->setToolTip(home.toString());
    QFont underlined = address->font();
    underlined.setUnderline(true);
    address->setFont(underlined);
    address->setStyleSheet(QStringLiteral("color: #ffdc6e;"));
    connect(address, &ClickLabel::clicked, this, &Tabout::Label7Click);

    auto *done = new QPushButton(QStringLiteral("Done"));
    done->setObjectName(QStringLiteral("Button1"));
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &Tabout::Button1Click);

    auto *text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(title);
    text->addLayout(versionRow);
    text->addSpacing(8);
    text->addWidget(tagline);
    text->addStretch();
    text->addLayout(copyrightRow);
    text->addWidget(address);
    text->addSpacing(8);
    text->addWidget(done, 0, Qt::AlignLeft);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(18, 18, 22, 18);
    layout->setSpacing(20);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addLayout(text);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString Tabout::versionText() const
{
    return version->text();
}

void Tabout::Label7Click()
{
    shell_->openUrl(WebLinks::homePage());
}

void Tabout::Image1Click()
{
    hide();
}

void Tabout::Button1Click()
{
    close();
}
