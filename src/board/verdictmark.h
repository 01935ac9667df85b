#pragma once

#include <QColor>
#include <QString>

// The small sign that goes with each line of the words panel and of the round review,
// so that a verdict can be told by shape as well as by colour (light yellow and white
// look alike to many players). The signs are in DejaVu Sans, which the program asks
// for by name wherever it draws them.
class VerdictMark
{
public:
    enum class Kind {
        None,
        FirstFinder, // accepted, and nobody had found it before in the round
        Accepted, // accepted, found before by someone else
        TooShort, // shorter than the game's minimum
        AlreadyFound, // tried before by this player in the round
        Invalid, // not a word
        FoundByOthers, // (review) found by other players only
        FoundByNobody, // (review) on the board, found by nobody
    };

    // The words-panel colours of the verdicts.
    static inline const QColor lightYellow {255, 255, 198};
    static inline const QColor white {255, 255, 255};
    static inline const QColor orange {255, 128, 0};
    static inline const QColor maroon {128, 0, 0};
    static inline const QColor black {0, 0, 0};

    // The verdict a words-panel colour stands for; None for any other colour.
    static Kind forColour(const QColor &colour);
    // The line colour of a verdict (review kinds included); invalid for None.
    static QColor colour(Kind kind);
    // One character: "★", "✓", "…", "↺", "✗", "•", "○"; empty for None.
    static QString sign(Kind kind);
    // A few words for a tool tip: "Found first", "Not a word" ...
    static QString description(Kind kind);
    // The font family that holds every sign.
    static QString fontFamily() { return QStringLiteral("DejaVu Sans"); }
};
