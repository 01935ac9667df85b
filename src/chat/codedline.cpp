#include "codedline.h"

#include "chatlinks.h"
#include "chatstyles.h"

namespace {

std::optional<int> parseCode(QStringView text)
{
    QStringView digits = text;
    if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+')))
        digits = digits.mid(1);
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return text.toInt();
}

int pictureForCode(QStringView code)
{
    if (code.size() != 2 || !code.at(0).isDigit() || !code.at(1).isDigit() || code.at(0).unicode() > '9'
        || code.at(1).unicode() > '9')
        return 0;
    const int c = code.toInt();
    if (c < CodedLine::firstSmileyCode || c >= CodedLine::firstSmileyCode + CodedLine::smileyCount)
        return 0;
    return c - CodedLine::firstSmileyCode;
}

} // namespace

void CodedLine::appendWords(const QString &text, QList<ChatItem> &items)
{
    const QString spaced = text + QLatin1Char(' ');
    qsizetype start = 0;
    while (start < spaced.size()) {
        const qsizetype space = spaced.indexOf(QLatin1Char(' '), start);
        const QString word = spaced.mid(start, space - start + 1);
        start = space + 1;
        items.append({ChatLinks::islinkword(word) ? ChatItem::Link : ChatItem::Word, word, 0});
    }
}

std::optional<CodedLine> CodedLine::parse(const QString &line)
{
    const qsizetype plus = line.indexOf(QLatin1Char('+'));
    if (plus < 0)
        return std::nullopt;
    const auto code = parseCode(QStringView(line).left(plus));
    if (!code)
        return std::nullopt;

    CodedLine result;
    result.code = *code;
    result.style = ChatStyles::styleForCode(*code);

    QString rest = line.mid(plus + 1);
    const qsizetype colon = rest.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        result.head = rest.left(colon + 1);
        rest.remove(0, colon + 1);
    }

    static const QString smileyMark = QStringLiteral(":)#");
    qsizetype pos = 0;
    for (;;) {
        const qsizetype mark = rest.indexOf(smileyMark, pos);
        if (mark < 0)
            break;
        appendWords(rest.mid(pos, mark - pos), result.items);
        const qsizetype codeStart = mark + smileyMark.size();
        const QStringView smileyCode = QStringView(rest).mid(codeStart, 2);
        result.items.append({ChatItem::Smiley, QString(), pictureForCode(smileyCode)});
        pos = codeStart + smileyCode.size();
    }
    if (pos < rest.size())
        appendWords(rest.mid(pos), result.items);
    return result;
}
