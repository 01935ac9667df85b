// Pictures of the game's look for the README: the real windows, drawn headless
// (QT_QPA_PLATFORM=offscreen), cropped to the places they show. Run through
// tools/make_screenshots.sh, which sets the platform and the scale.
//
//   wendlewick-lookshots OUT_DIR LABEL [--tiles TILES_FOLDER]
//
// writes OUT_DIR/<shot>-LABEL.png for the round clock, the words panel, the game
// settings under the roster, the words list without words and the tally window; with
// --tiles only the board with a tile group of that folder ("wood") and its marks.

#include "boardmodel.h"
#include "boardpanel.h"
#include "clientdispatch.h"
#include "gamesession.h"
#include "playarea.h"
#include "rostermodel.h"
#include "tchat.h"
#include "tilegroups.h"
#include "ttallylist.h"
#include "twordslist.h"
#include "verdictmark.h"
#include "wordresults.h"
#include "wordspanel.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// The part `area` (logical pixels) of `widget` as drawn, at the screen's scale.
QImage shot(QWidget *widget, const QRect &area = QRect())
{
    settle();
    return widget->grab(area.isNull() ? widget->rect() : area).toImage();
}

// The pictures one above the other, `gap` logical pixels apart on the board's green.
QImage stacked(const QList<QImage> &pictures, int gap = 4)
{
    const qreal dpr = pictures.isEmpty() ? 1.0 : pictures.first().devicePixelRatio();
    int width = 0;
    int height = 0;
    for (const QImage &p : pictures) {
        width = qMax(width, p.width());
        height += p.height() + int(gap * dpr);
    }
    QImage out(width, height - int(gap * dpr), QImage::Format_RGB32);
    out.fill(QColor(76, 106, 76));
    QPainter painter(&out);
    int y = 0;
    for (QImage p : pictures) {
        p.setDevicePixelRatio(1.0);
        painter.drawImage(0, y, p);
        y += p.height() + int(gap * dpr);
    }
    return out;
}

bool save(const QImage &image, const QString &folder, const QString &name, const QString &label)
{
    const QString path = QDir(folder).filePath(name + QLatin1Char('-') + label + QStringLiteral(".png"));
    QImage plain = image.convertToFormat(QImage::Format_RGB888);
    if (!plain.save(path, "PNG", 0)) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        return false;
    }
    QTextStream(stdout) << path << '\n';
    return true;
}

// A 4 by 4 board in the middle of the grid, as the host deals it.
QByteArray dealtBoard()
{
    const char *letters = "WENDLEWICKTILESA";
    QByteArray fields;
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 10; ++y) {
            const bool played = x >= 3 && x <= 6 && y >= 3 && y <= 6;
            const int code = played ? letters[(y - 3) * 4 + (x - 3)] - 'A' + 1 : BoardModel::blankTile;
            fields
                += QByteArray::number(x) + '+' + QByteArray::number(y) + '+' + QByteArray::number(code) + '+';
        }
    }
    return fields;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: wendlewick-lookshots OUT_DIR LABEL [--tiles TILES_FOLDER]\n";
        return 2;
    }
    const QString out = args.at(1);
    const QString label = args.at(2);
    const bool tilesOnly = args.size() >= 5 && args.at(3) == QLatin1String("--tiles");
    QDir().mkpath(out);

    QTemporaryDir dir;
    qputenv("WENDLEWICK_DATA_DIR", dir.path().toLocal8Bit());
    Tchat::Setup setup;
    setup.dictionaryFolder = dir.path();
    setup.settingsPath = dir.filePath(QStringLiteral("orinlobby.ini"));
    setup.markerFolder = dir.path();
    setup.tallyFolder = dir.path();
    setup.tilesFolder = tilesOnly ? args.at(4) : dir.path();
    // Two arguments take no role: nothing connects anywhere.
    setup.arguments = QStringList {QStringLiteral("Ann"), QStringLiteral("127.0.0.1")};
    Tchat chat(setup);
    chat.show();
    settle();

    const char *names[] = {"Ann", "Ben", "Cleo", "Dmitri", "Eve", "Farah", "Gus", "Hana", "Ivo", "Jules"};
    for (int slot = 1; slot <= RosterModel::slotCount; ++slot) {
        chat.roster()->setName(slot, QString::fromLatin1(names[slot - 1]));
        chat.roster()->setScore(slot, QString::number(47 - 4 * slot));
    }
    ClientDispatch *dispatch = chat.dispatch();
    dispatch->processsocktimer("CMD_sendlogininfo+1");
    dispatch->processsocktimer("CMD_startgame+Ann+30+45+7+4+0+");
    dispatch->processsocktimer("CMD_loadboard+" + dealtBoard());
    dispatch->processsocktimer("CMD_nextplayer+1+");
    QFrame *panel = chat.boardPanel();

    if (tilesOnly) {
        if (!chat.tileGroups()->loadgrouptiles(QStringLiteral("wood"))) {
            QTextStream(stderr) << "no tile group \"wood\" in " << args.at(4) << '\n';
            return 1;
        }
        // The word W-E-N being formed: N is its last tile.
        chat.boardModel()->setMark({3, 3}, BoardModel::earlierTileMark);
        chat.boardModel()->setMark({4, 3}, BoardModel::earlierTileMark);
        chat.boardModel()->setMark({5, 3}, BoardModel::lastTileMark);
        const QPoint board = chat.boardView()->mapTo(panel, QPoint(0, 0));
        return save(shot(panel,
                        QRect(board + QPoint(3 * 42 - 6, 3 * 42 - 6), QSize(4 * 42 + 12, 2 * 42 + 12))),
                   out, QStringLiteral("tiles2x"), label)
            ? 0
            : 1;
    }

    // The round clock at four moments of a 45-second round: full, mid-way, red, nearly out.
    QList<QImage> clocks;
    for (int left : {44, 25, 19, 4}) {
        while (chat.state().secondsleft > left)
            chat.session()->turntimeTimer();
        clocks << shot(panel, QRect(180, 67, 192, 34));
    }
    bool ok = save(stacked(clocks), out, QStringLiteral("clock"), label);

    WordResults *results = chat.wordResults();
    results->addword(QStringLiteral("5 : TABLE"), VerdictMark::lightYellow);
    results->addword(QStringLiteral("3 : CAT"), VerdictMark::white);
    results->addword(QStringLiteral("cab"), VerdictMark::orange);
    results->addword(QStringLiteral("TABLE"), VerdictMark::maroon);
    results->addword(QStringLiteral("XQZT"), VerdictMark::black);
    ok = save(shot(chat.wordsPanel(), QRect(0, 0, 139, 120)), out, QStringLiteral("wordspanel"), label) && ok;

    ok = save(shot(panel, QRect(466, 204, 314, 110)), out, QStringLiteral("settings"), label) && ok;

    chat.wordsList()->thewords("No Words");
    ok = save(shot(chat.wordsList()), out, QStringLiteral("nowords"), label) && ok;

    chat.tallylist()->show();
    ok = save(shot(chat.tallylist()), out, QStringLiteral("tally"), label) && ok;
    return ok ? 0 : 1;
}
