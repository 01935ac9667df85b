#include "wordentry.h"

#include "boardcursor.h"
#include "routesearch.h"
#include "tdictn.h"

#include <QGuiApplication>
#include <QKeyEvent>

WordEntry::WordEntry(BoardModel *board, QObject *parent)
    : QObject(parent)
    , board_(board)
    , cursor_(new BoardCursor(board, this))
{
    slots_.fill(BoardModel::emptySlot);
}

void WordEntry::setMinLetters(int minletters)
{
    minletters_ = minletters;
    updateMinLetters();
    Q_EMIT wordChanged();
}

void WordEntry::markFound(const QString &word)
{
    const QString w = word.toLower();
    if (!wordsfound_.contains(w))
        wordsfound_.append(w);
}

void WordEntry::startRound(bool myTurn)
{
    emptyWord();
    typedroute_.fill(Cell {});
    board_->clearMarks();
    board_->clearPathOverlay();
    wordsfound_.clear();
    open_ = myTurn;
    if (myTurn) {
        dragging_ = false;
        typingTag_ = 1;
        typingOn_ = true;
        Q_EMIT typingChanged();
    }
    Q_EMIT wordChanged();
}

void WordEntry::clearall()
{
    emptyWord();
    typedroute_.fill(Cell {});
    board_->clearall();
    Q_EMIT wordChanged();
}

int WordEntry::slotPicture(int k) const
{
    return inWord(k) ? slots_[k - 1] : BoardModel::emptySlot;
}

int WordEntry::refusedLetter(int k) const
{
    const int i = k - n_ - 1;
    return i >= 0 && i < refused_.size() ? refused_[i] : 0;
}

QString WordEntry::word() const
{
    QString w;
    for (int k = 1; k <= n_; ++k)
        w += BoardModel::convertoletter(board_->shown(wordpath_[k - 1]));
    return w;
}

Cell WordEntry::cellAt(QPoint pos)
{
    // Floor division: a pointer left of or above the board is outside the grid.
    auto cell = [](int p) { return p >= 0 ? p / cellPixels : -1; };
    return {cell(pos.x()), cell(pos.y())};
}

void WordEntry::paintbox_boardMouseDown(Qt::MouseButton button, QPoint pos)
{
    if (!open_)
        return;
    cursor_->setShown(false);
    if (justWatching_) {
        Q_EMIT justWatchingNotice();
        return;
    }
    if (button == Qt::RightButton)
        pressdone();
    else
        choosetile(cellAt(pos), true);
}

void WordEntry::paintbox_boardMouseMove(QPoint pos)
{
    if (!dragging_)
        return;
    const Cell c = cellAt(pos);
    if (!c.inGrid() || c == lastdragcell_)
        return;
    const int left = c.x * cellPixels;
    const int top = c.y * cellPixels;
    const int inner = cellPixels - dragMargin;
    if (pos.x() < left + dragMargin || pos.x() > left + inner || pos.y() < top + dragMargin
        || pos.y() > top + inner)
        return;
    lastdragcell_ = c;
    choosetile(c, false);
}

void WordEntry::paintbox_boardMouseUp(QPoint)
{
    if (clickLetters_)
        return;
    dragging_ = false;
    pressdone();
}

bool WordEntry::choosetile(Cell c, bool press)
{
    const bool allowed = (!lasttile_.isSet() || c.isNeighbourOf(lasttile_)) && c.inGrid()
        && board_->mark(c) == BoardModel::noMark && BoardModel::isLetter(board_->shown(c))
        && n_ + 1 <= maxLetters;
    if (!allowed) {
        Q_EMIT statusChanged(invalidSelection);
        Q_EMIT soundRequested(QStringLiteral("invalid"));
        return false;
    }
    if (press) {
        if (!clickLetters_)
            dragging_ = true;
        lastdragcell_ = c;
    }
    Q_EMIT wordButtonsVisible(true);
    refused_.clear();
    if (n_ == 0)
        typedroute_.fill(Cell {});
    if (lasttile_.isSet())
        board_->setMark(lasttile_, BoardModel::earlierTileMark);
    board_->setMark(c, BoardModel::lastTileMark);
    ++n_;
    wordpath_[n_ - 1] = c;
    typedroute_[n_ - 1] = c;
    updateMinLetters();
    slots_[n_ - 1] = board_->shown(c);
    lasttile_ = c;
    Q_EMIT wordChanged();
    Q_EMIT statusChanged(QString());
    Q_EMIT soundRequested(QStringLiteral("click"));
    return true;
}

namespace {

// X11 and Wayland key codes of the main keyboard's "1" and "0" keys.
constexpr quint32 scanCodeOfOne = 10;
constexpr quint32 scanCodeOfZero = 19;

} // namespace

bool WordEntry::FormShortCut(const QKeyEvent &event)
{
    const QString platform = QGuiApplication::platformName();
    const bool evdevCodes = platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
    return FormShortCut(event.key(), event.modifiers(), evdevCodes ? event.nativeScanCode() : 0);
}

bool WordEntry::takesKey(int key) const
{
    if (!open_ || disableTyping_ || typingTag_ == 0)
        return false;
    return typingOn_ || key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

bool WordEntry::FormShortCut(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    if (!takesKey(key))
        return false;
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        switchTyping();
        return true;
    }
    // Both Enter keys send, the keypad's too: it is the same Return key to the player.
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        pressdone();
        return true;
    }
    if (cursor_->walk(key))
        return true;
    if (modifiers.testFlag(Qt::KeypadModifier))
        return true;
    const bool one = scanCode ? scanCode == scanCodeOfOne : key == Qt::Key_1;
    const bool zero = scanCode ? scanCode == scanCodeOfZero : key == Qt::Key_0;
    const Qt::KeyboardModifiers held = modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (one || key == Qt::Key_Escape) {
        pressclear();
    } else if (zero || (key == Qt::Key_R && modifiers.testFlag(Qt::ControlModifier))) {
        rotateboard();
    } else if (key == Qt::Key_Backspace) {
        takeBackOne();
    } else if (key == Qt::Key_Space && !held) {
        takeCursorCell();
    } else if (key >= Qt::Key_A && key <= Qt::Key_Z && !held) {
        typetheletter(key - Qt::Key_A + BoardModel::firstLetter);
    }
    return true;
}

bool WordEntry::boardKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (cursor_->walk(key))
        return true;
    switch (key) {
    case Qt::Key_Space:
        takeCursorCell();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pressdone();
        return true;
    case Qt::Key_Backspace:
        takeBackOne();
        return true;
    case Qt::Key_Escape:
        pressclear();
        return true;
    default:
        return false;
    }
}

void WordEntry::takeCursorCell()
{
    const Cell c = cursor_->cell();
    if (!open_ || !c.isSet())
        return;
    if (justWatching_) {
        Q_EMIT justWatchingNotice();
        return;
    }
    if (!cursor_->shown()) {
        cursor_->step(0, 0);
        return;
    }
    choosetile(c, false);
}

bool WordEntry::aroundletter(Cell c, int direction, int letter) const
{
    const Cell n = RouteSearch::getthepoints(c, direction);
    if (!n.inGrid())
        return false;
    for (const Cell &taken : typedroute_) {
        if (taken == n)
            return false;
    }
    const int code = board_->shown(n);
    return BoardModel::isLetter(code) && code == letter;
}

void WordEntry::typetheletter(int letter)
{
    if (!open_ || n_ + refusedCount() + 1 > maxLetters || !BoardModel::isLetter(letter))
        return;
    // The word the player types has left the board: nothing typed after it can
    // continue it.
    if (!refused_.isEmpty()) {
        refuse(letter);
        return;
    }
    if (n_ == 0) {
        clearthem();
        const auto &shown = board_->shownboard();
        for (int x = 0; x < BoardModel::size; ++x) {
            for (int y = 0; y < BoardModel::size; ++y) {
                if (shown[x][y] == letter) {
                    typedroute_[0] = {x, y};
                    clickonletter();
                    return;
                }
            }
        }
        refuse(letter);
        return;
    }
    const Cell from = typedroute_[n_ - 1];
    if (from.inGrid()) {
        for (int d = 1; d <= 8; ++d) {
            if (aroundletter(from, d, letter)) {
                typedroute_[n_] = RouteSearch::getthepoints(from, d);
                clickonletter();
                return;
            }
        }
    }
    if (!findroute(letter))
        refuse(letter);
}

void WordEntry::refuse(int letter)
{
    refused_.append(letter);
    Q_EMIT wordChanged();
    Q_EMIT statusChanged(invalidSelection);
    Q_EMIT soundRequested(QStringLiteral("invalid"));
}

void WordEntry::takeBackOne()
{
    if (!refused_.isEmpty()) {
        refused_.removeLast();
        Q_EMIT wordChanged();
    } else if (n_ > 0) {
        deleteoneletter();
    }
}

void WordEntry::clearthem()
{
    typedroute_.fill(Cell {});
    board_->clearMarks();
}

void WordEntry::clickonletter()
{
    Q_EMIT wordButtonsVisible(true);
    if (lasttile_.isSet() && board_->mark(lasttile_) == BoardModel::lastTileMark)
        board_->setMark(lasttile_, BoardModel::earlierTileMark);
    ++n_;
    updateMinLetters();
    const Cell c = typedroute_[n_ - 1];
    wordpath_[n_ - 1] = c;
    board_->setMark(c, BoardModel::lastTileMark);
    slots_[n_ - 1] = board_->shown(c);
    lasttile_ = c;
    Q_EMIT wordChanged();
    Q_EMIT statusChanged(QString());
    Q_EMIT soundRequested(QStringLiteral("place"));
}

// Places the whole word followed by `letter` anew. The word's own route is only
// replaced when a placement exists: after a failure the word and its route stay as
// they were, so the next typed letter still grows from the word's last tile.
bool WordEntry::findroute(int letter)
{
    std::array<int, maxLetters> letters {};
    for (int k = 0; k < n_; ++k)
        letters[k] = board_->shown(wordpath_[k]);
    letters[n_] = letter;
    const auto route = RouteSearch::findroute(board_->shownboard(), std::span(letters.data(), n_ + 1));
    if (!route)
        return false;
    typedroute_.fill(Cell {});
    std::copy(route->begin(), route->end(), typedroute_.begin());
    repostword();
    clickonletter();
    return true;
}

void WordEntry::repostword()
{
    board_->clearMarks();
    slots_.fill(BoardModel::emptySlot);
    for (int k = 0; k < n_; ++k) {
        const Cell c = typedroute_[k];
        board_->setMark(c, BoardModel::earlierTileMark);
        slots_[k] = board_->shown(c);
        wordpath_[k] = c;
    }
    Q_EMIT wordChanged();
}

void WordEntry::deleteoneletter()
{
    if (n_ <= 0)
        return;
    board_->setMark(wordpath_[n_ - 1], BoardModel::noMark);
    wordpath_[n_ - 1] = Cell {};
    slots_[n_ - 1] = BoardModel::emptySlot;
    --n_;
    updateMinLetters();
    lasttile_ = n_ > 0 ? wordpath_[n_ - 1] : Cell {};
    Q_EMIT wordChanged();
}

void WordEntry::image_lettersClick(int k)
{
    if (!open_)
        return;
    if (!refused_.isEmpty() ? k == n_ + refusedCount() : k == n_ && n_ > 0)
        takeBackOne();
}

void WordEntry::pressclear()
{
    if (!open_)
        return;
    emptyWord();
    board_->clearMarks();
    Q_EMIT wordChanged();
}

void WordEntry::emptyWord()
{
    refused_.clear();
    n_ = 0;
    lasttile_ = Cell {};
    wordpath_.fill(Cell {});
    slots_.fill(BoardModel::emptySlot);
    minVisible_ = true;
}

void WordEntry::updateMinLetters()
{
    minVisible_ = n_ < minletters_;
}

Verdict WordEntry::pressdone()
{
    if (!open_)
        return Verdict {};
    if (n_ <= 0) {
        // Only refused letters: nothing to send, and the attempt is over.
        if (!refused_.isEmpty()) {
            refused_.clear();
            Q_EMIT wordChanged();
        }
        return Verdict {};
    }
    const QString w = word();
    const bool tried = wordsfound_.contains(w);
    const bool valid = n_ >= 3 && n_ >= minletters_ && !tried && spell_ && spell_->isword(w);
    Verdict verdict = Verdict::judge(w, n_, minletters_, tried, valid, connected_);
    if (verdict.send) {
        for (int k = 0; k < n_; ++k) {
            const auto real = board_->getreal(wordpath_[k]);
            if (!real) {
                // A tile the host does not know: nothing sensible can be claimed.
                verdict.send = false;
                verdict.sound.clear();
                verdict.claim.clear();
                break;
            }
            verdict.claim.push_back({real->x, real->y});
        }
    }
    wordsfound_.append(w);
    Q_EMIT wordButtonsVisible(false);
    pressclear();
    Q_EMIT wordJudged(verdict);
    return verdict;
}

void WordEntry::button_clearClick()
{
    if (justWatching_) {
        Q_EMIT justWatchingNotice();
        return;
    }
    pressclear();
    Q_EMIT soundRequested(QStringLiteral("clear"));
}

void WordEntry::button_sendClick()
{
    if (justWatching_) {
        Q_EMIT justWatchingNotice();
        return;
    }
    pressdone();
}

void WordEntry::rotateboard()
{
    if (!open_)
        return;
    pressclear();
    board_->rotate();
    Q_EMIT soundRequested(QStringLiteral("rotate"));
}

void WordEntry::switchTyping()
{
    typingOn_ = !typingOn_;
    Q_EMIT typingChanged();
}

void WordEntry::label_typingoffClick()
{
    if (typingTag_ != 0)
        switchTyping();
}

void WordEntry::setClickLetters(bool checked)
{
    if (checked == clickLetters_)
        return;
    clickLetters_ = checked;
    Q_EMIT optionsChanged();
}

void WordEntry::setDisableTyping(bool checked)
{
    if (checked == disableTyping_)
        return;
    disableTyping_ = checked;
    Q_EMIT typingChanged();
    Q_EMIT optionsChanged();
}

void WordEntry::ClickLetters1Click()
{
    setClickLetters(!clickLetters_);
    Q_EMIT saveRequested();
}

void WordEntry::DisableTyping1Click()
{
    setDisableTyping(!disableTyping_);
    Q_EMIT saveRequested();
}
