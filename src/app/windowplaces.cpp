#include "windowplaces.h"

#include "settingsvalues.h"
#include "twordslist.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// How much of a stored window's top edge must lie on some screen to be used as it is.
constexpr QSize visibleGrip(60, 20);

} // namespace

WindowPlaces::WindowPlaces(QWidget *window)
    : window_(window)
{ }

QRect WindowPlaces::windowBounds() const
{
    if (window_->isMaximized() || window_->isMinimized() || window_->isFullScreen()) {
        const QRect normal = window_->normalGeometry();
        if (normal.isValid())
            return QRect(normal.topLeft() - (window_->geometry().topLeft() - window_->pos()), normal.size());
    }
    return QRect(window_->pos(), window_->size());
}

void WindowPlaces::applyWindowBounds(const QRect &bounds)
{
    QPoint place = bounds.topLeft();
    if (!gripOnScreen(bounds))
        place = QPoint(SettingsValues::defaultLeft, SettingsValues::defaultTop);
    window_->move(place);
    window_->resize(bounds.size());
}

QPoint WindowPlaces::wordsListPlace() const
{
    if (const auto *list = qobject_cast<const Twordslist *>(wordsList_.data()))
        return list->position();
    return wordsList_->pos();
}

void WindowPlaces::moveWordsList(QPoint leftTop)
{
    if (auto *list = qobject_cast<Twordslist *>(wordsList_.data()))
        list->setPosition(leftTop);
    else
        wordsList_->move(leftTop);
}

QSize WindowPlaces::wordsListSize() const
{
    return wordsList_ ? wordsList_->frameGeometry().size() : assumedWordsListSize;
}

bool WindowPlaces::gripOnScreen(const QRect &bounds)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return true;
    const QRect grip(
        bounds.topLeft(), QSize(qMin(bounds.width(), visibleGrip.width() * 3), visibleGrip.height()));
    for (const QScreen *screen : screens) {
        const QRect shown = screen->availableGeometry().intersected(grip);
        if (shown.width() >= visibleGrip.width() && shown.height() >= visibleGrip.height() / 2)
            return true;
    }
    return false;
}
