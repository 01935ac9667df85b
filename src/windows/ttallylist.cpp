#include "ttallylist.h"

#include "boxiconname.h"
#include "roundedpanel.h"
#include "tallylist.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int panelWidth = 270;
constexpr int nameColumnWidth = 130;
constexpr int listWidth = 190;

struct Entry
{
    QString name;
    bool ticked;
    bool checkable;
};

QString shownName(QString name)
{
    return name.replace(u'\r', u' ').replace(u'\n', u' ');
}

// `name` + `suffix`, the name shortened with an ellipsis when the whole would not fit in
// `width` pixels, so that a long name never stretches the fixed-size window.
QString fitted(const QLabel *label, const QString &name, const QString &suffix, int width)
{
    const QFontMetrics metrics(label->font());
    const QString whole = shownName(name) + suffix;
    if (metrics.horizontalAdvance(whole) <= width)
        return whole;
    return metrics.elidedText(shownName(name), Qt::ElideRight, width - metrics.horizontalAdvance(suffix))
        + suffix;
}

QString nameOf(const QListWidgetItem *item)
{
    return item ? item->data(Qt::UserRole).toString() : QString();
}

// Brings `list` in line with `entries`, keeping its items, current item and scroll
// position when only check marks changed.
void syncList(QListWidget *list, const QList<Entry> &entries)
{
    bool sameNames = list->count() == entries.size();
    for (int i = 0; sameNames && i < list->count(); ++i)
        sameNames = nameOf(list->item(i)) == entries.at(i).name;
    if (!sameNames) {
        const QString current = nameOf(list->currentItem());
        const int scroll = list->verticalScrollBar()->value();
        list->clear();
        for (const Entry &entry : entries) {
            auto *item = new QListWidgetItem(shownName(entry.name), list);
            item->setData(Qt::UserRole, entry.name);
            item->setToolTip(shownName(entry.name));
            if (!entry.checkable)
                item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
            if (entry.name == current)
                list->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        }
        list->verticalScrollBar()->setValue(scroll);
    }
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(entries.at(i).ticked ? Qt::Checked : Qt::Unchecked);
}

QLabel *countLabel(const QString &objectName)
{
    auto *label = new QLabel(QStringLiteral("0"));
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(50);
    return label;
}

QLabel *captionLabel(const QString &text, bool bold = false)
{
    auto *label = new QLabel(text);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

} // namespace

Ttallylist::Ttallylist(const QString &folder, QWidget *parent)
    : SideWindow(parent)
{
    setObjectName(QStringLiteral("tallylist"));
    setWindowTitle(QStringLiteral("Wendlewick - Tally List"));
    setModal(false);

    list_ = new TallyList(folder, this);

    // Your own totals.
    auto *panelYours = new RoundedPanel(QStringLiteral("panel_yours"));
    panelYours->setFixedWidth(panelWidth);
    auto *yoursColumn = new QVBoxLayout(panelYours);
    auto *yoursCaption = captionLabel(QStringLiteral("Your Total Tally"), true);
    yoursCaption->setAlignment(Qt::AlignCenter);
    yoursColumn->addWidget(yoursCaption);
    auto *yours = new QFormLayout;
    yoursColumn->addLayout(yours);
    yours->setLabelAlignment(Qt::AlignLeft);
    const QString ownCaptions[] = {QStringLiteral("Total Games:"), QStringLiteral("Your Wins:"),
        QStringLiteral("Most Words in a Round:"), QStringLiteral("12 Letters Words:")};
    for (int i = 0; i < 4; ++i) {
        mylabels_[i] = countLabel(QStringLiteral("mylabel_%1").arg(i + 1));
        yours->addRow(ownCaptions[i], mylabels_[i]);
    }

    // The record against the chosen opponent.
    auto *panelOpponent = new RoundedPanel(QStringLiteral("panel_opponent"));
    panelOpponent->setFixedWidth(panelWidth);
    auto *opponent = new QVBoxLayout(panelOpponent);
    label_hisnametop = captionLabel(QStringLiteral("XX's Tally"), true);
    label_hisnametop->setObjectName(QStringLiteral("label_hisnametop"));
    label_hisnametop->setTextFormat(Qt::PlainText);
    label_hisnametop->setAlignment(Qt::AlignCenter);
    opponent->addWidget(label_hisnametop);
    auto *grid = new QGridLayout;
    grid->addWidget(captionLabel(QStringLiteral("Total"), true), 0, 1, Qt::AlignRight);
    grid->addWidget(captionLabel(QStringLiteral("Session"), true), 0, 2, Qt::AlignRight);
    label_hisname = captionLabel(QStringLiteral("XX Wins:"));
    label_hisname->setObjectName(QStringLiteral("label_hisname"));
    label_hisname->setTextFormat(Qt::PlainText);
    QLabel *rowCaptions[] = {captionLabel(QStringLiteral("Number of Games")), label_hisname,
        captionLabel(QStringLiteral("Your Wins:")), captionLabel(QStringLiteral("Neither Won:"))};
    for (int i = 0; i < 4; ++i) {
        rowCaptions[i]->setFixedWidth(nameColumnWidth);
        grid->addWidget(rowCaptions[i], i + 1, 0);
        labels_[i] = countLabel(QStringLiteral("label_%1").arg(i + 1));
        labels_[i + 4] = countLabel(QStringLiteral("label_%1").arg(i + 5));
        grid->addWidget(labels_[i], i + 1, 1);
        grid->addWidget(labels_[i + 4], i + 1, 2);
    }
    opponent->addLayout(grid);

    checklist = new QListWidget;
    checklist->setObjectName(QStringLiteral("checklist"));
    checklist->setAccessibleName(QStringLiteral("Players in this game"));
    checklist->setFixedSize(panelWidth, 150);
    listbox_tally = new QListWidget;
    listbox_tally->setObjectName(QStringLiteral("listbox_tally"));
    listbox_tally->setAccessibleName(QStringLiteral("Tallied players"));
    listbox_tally->setFixedWidth(listWidth);

    button_reset = new QPushButton(QStringLiteral("Reset Tally"));
    button_reset->setObjectName(QStringLiteral("button_reset"));
    button_reset->setAutoDefault(false);
    button_done = new QPushButton(QStringLiteral("Done"));
    button_done->setObjectName(QStringLiteral("button_done"));
    button_done->setDefault(true);

    auto *left = new QVBoxLayout;
    left->addWidget(panelYours);
    left->addWidget(panelOpponent);
    left->addSpacing(6);
    left->addWidget(captionLabel(QStringLiteral("Players In Current Game"), true));
    left->addWidget(checklist);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(button_reset);
    buttons->addWidget(button_done);
    auto *right = new QVBoxLayout;
    right->addWidget(captionLabel(QStringLiteral("Players Being Tallied"), true));
    right->addWidget(listbox_tally, 1);
    right->addLayout(buttons);

    auto *columns = new QHBoxLayout(this);
    columns->addLayout(left);
    columns->addSpacing(6);
    columns->addLayout(right);
    columns->setSizeConstraint(QLayout::SetFixedSize);

    // The table itself is never shown.
    stringgrid_scores = new QTableView(this);
    stringgrid_scores->setObjectName(QStringLiteral("stringgrid_scores"));
    stringgrid_scores->setModel(list_->table());
    stringgrid_scores->hide();

    connect(checklist, &QListWidget::itemChanged, this, &Ttallylist::checklistClickCheck);
    connect(listbox_tally, &QListWidget::itemChanged, this, &Ttallylist::listbox_tallyClickCheck);
    connect(listbox_tally, &QListWidget::currentItemChanged, this, &Ttallylist::listbox_tallyClick);
    connect(button_reset, &QPushButton::clicked, this, &Ttallylist::button_resetClick);
    connect(button_done, &QPushButton::clicked, this, &Ttallylist::button_doneClick);
    connect(list_, &TallyList::changed, this, &Ttallylist::showtally);

    report_ = list_->load();
    showtally();
}

Ttallylist::~Ttallylist() = default;

void Ttallylist::loadchecklist(const TallyRoster &roster)
{
    list_->loadchecklist(roster);
}

void Ttallylist::addgame(const QString &winner, const TallyRoster &roster)
{
    list_->addgame(winner, roster);
}

void Ttallylist::addtomineincrease(int column)
{
    list_->addtomineincrease(column);
}

void Ttallylist::addtomineset(int column, qint64 value)
{
    list_->addtomineset(column, value);
}

void Ttallylist::showtally()
{
    QScopedValueRollback guard(showing_, true);
    for (int i = 0; i < 4; ++i)
        mylabels_[i]->setText(list_->ownTotal(i + 1));

    QList<Entry> current;
    for (const TallyList::Player &player : list_->currentPlayers())
        current.append({player.name, player.ticked, TallyList::canTally(player.name)});
    syncList(checklist, current);

    QList<Entry> tallied;
    for (const QString &name : list_->talliedNames())
        tallied.append({name, true, true});
    syncList(listbox_tally, tallied);

    if (!list_->isTallied(chosen_))
        chosen_.clear();
    showOpponent();
}

void Ttallylist::showOpponent()
{
    const int row = chosen_.isEmpty() ? -1 : list_->table()->rowOf(chosen_);
    for (int i = 0; i < 8; ++i)
        labels_[i]->setText(row < 1 ? QStringLiteral("0") : list_->table()->cell(i + 1, row));
    if (row < 1) {
        label_hisnametop->setText(QStringLiteral("XX's Tally"));
        label_hisname->setText(QStringLiteral("XX Wins:"));
        label_hisnametop->setToolTip(QString());
        return;
    }
    label_hisnametop->setText(fitted(label_hisnametop, chosen_, QStringLiteral("'s Tally"), panelWidth - 24));
    label_hisname->setText(fitted(label_hisname, chosen_, QStringLiteral(" Wins:"), nameColumnWidth));
    label_hisnametop->setToolTip(shownName(chosen_));
}

void Ttallylist::checklistClickCheck(QListWidgetItem *item)
{
    if (showing_)
        return;
    list_->checklistClickCheck(nameOf(item), item->checkState() == Qt::Checked);
}

void Ttallylist::listbox_tallyClick()
{
    if (showing_)
        return;
    chosen_ = nameOf(listbox_tally->currentItem());
    showOpponent();
}

void Ttallylist::listbox_tallyClickCheck(QListWidgetItem *item)
{
    if (showing_ || item->checkState() == Qt::Checked)
        return;
    const QString name = nameOf(item);
    confirm(
        QStringLiteral("This will delete ") % name % QStringLiteral("'s Tally, Are you want to delete it?"),
        [this, name](bool yes) {
            if (yes)
                list_->removeOpponent(name);
            showtally();
        });
}

void Ttallylist::button_resetClick()
{
    confirm(QStringLiteral("Are you sure you want to reset the Tally?"), [this](bool yes) {
        if (yes)
            list_->reset();
    });
}

void Ttallylist::button_doneClick()
{
    close();
}

void Ttallylist::confirm(const QString &text, std::function<void(bool)> answer)
{
    auto *box = new QMessageBox(
        QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::Yes | QMessageBox::No, this);
    box->setObjectName(QStringLiteral("confirmation"));
    nameBoxIcon(box);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this,
        [box, answer = std::move(answer)] { answer(box->clickedButton() == box->button(QMessageBox::Yes)); });
    box->open();
}
