#pragma once

#include <QWidget>

#include <array>

class QLabel;
class TileGroups;
class WordEntry;

// The entry strip above the board: the twelve letter slots `image_letters1` ..
// `image_letters12` (42 by 42, 43 apart, from x 5 at y 8), the bar `image_minletters`
// above the slots the word must fill to reach the minimum length, and the typing
// switch `label_typingoff` at (527, 12). The positions are those of the main window's
// board panel, so the strip belongs at the panel's top-left corner. Typed letters the
// board refused follow the word, struck through in red. A click on the last letter
// removes it; a click on the switch turns typing on or off.
class EntryStrip : public QWidget
{
    Q_OBJECT

public:
    static constexpr int slotCount = 12;

    EntryStrip(WordEntry *entry, TileGroups *tiles, QWidget *parent = nullptr);

    QLabel *letterSlot(int k) const; // 1 to 12
    QLabel *minLettersBar() const { return minletters_; }
    QLabel *typingLabel() const { return typingoff_; }
    WordEntry *entry() const { return entry_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showWord();
    void showTyping();
    // Tells assistive technology that the strip reads differently.
    void reportName();

    WordEntry *entry_;
    TileGroups *tiles_;
    std::array<QLabel *, slotCount> slots_ {};
    QLabel *minletters_;
    QLabel *typingoff_;
    QString spoken_; // what the strip read as when last reported
};
