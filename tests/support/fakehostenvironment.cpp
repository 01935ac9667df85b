#include "fakehostenvironment.h"

namespace {

// A value of v in 1..98 that deals the letter (its range's first value).
int drawForLetter(char letter)
{
    const int code = letter - 'a' + 1;
    for (int v = 1; v <= 98; ++v)
        if (BoardDealer::letterForDraw(v) == code)
            return v;
    return 1;
}

} // namespace

ScriptedDraw::ScriptedDraw(QByteArray letters)
    : state_(std::make_shared<State>())
{
    setLetters(letters);
}

void ScriptedDraw::setLetters(const QByteArray &letters)
{
    state_->letters = letters.toLower();
    state_->next = 0;
}

UniformDraw ScriptedDraw::draw()
{
    return [state = state_](int bound) {
        if (bound != 98)
            return state->sizeDraw % bound;
        if (state->letters.isEmpty())
            return 0;
        const char letter = state->letters.at(state->next++ % state->letters.size());
        return drawForLetter(letter) - 1;
    };
}

UniformDraw seededDraw(quint32 seed)
{
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine](int bound) { return int(std::uniform_int_distribution<int>(0, bound - 1)(*engine)); };
}
