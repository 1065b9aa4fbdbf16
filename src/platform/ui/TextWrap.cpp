#include "platform/ui/TextWrap.h"

#include <QFontMetrics>
#include <algorithm>

namespace platform {

namespace {

// A paragraph (the text between two line breaks) with its mnemonic markers
// resolved, so that widths are taken of what is shown.
struct Shown {
    QString text;
    std::vector<bool> underlined;
};

Shown ResolveMnemonics(QStringView paragraph) {
    Shown shown;
    for (qsizetype i = 0; i < paragraph.size(); ++i) {
        bool underline = false;
        if (paragraph[i] == u'&') {
            if (++i == paragraph.size())
                break; // a lone marker at the end marks nothing
            underline = paragraph[i] != u'&';
        }
        shown.text += paragraph[i];
        shown.underlined.push_back(underline);
    }
    return shown;
}

bool IsBlank(QChar c) {
    return c == u' ';
}

qsizetype SkipBlanks(const QString& s, qsizetype i) {
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    return i;
}

qsizetype SkipWord(const QString& s, qsizetype i) {
    while (i < s.size() && !IsBlank(s[i]))
        ++i;
    return i;
}

TextLine MakeLine(const QFontMetrics& metrics, const Shown& shown, qsizetype from, qsizetype to) {
    TextLine line;
    line.text = shown.text.mid(from, to - from);
    for (qsizetype i = from; i < to; ++i)
        if (shown.underlined[std::size_t(i)])
            line.underlined.push_back(int(i - from));
    line.width = metrics.horizontalAdvance(line.text);
    return line;
}

bool IsSeparator(QChar c) {
    return c == u'\\' || c == u'/';
}

// Where a word too wide for `longestWord` is cut: after the last path
// separator of the widest part from `start` that fits, else at the last
// character that fits; never before `start` + 1, so every line takes some of
// the word.
qsizetype CutIn(const QFontMetrics& metrics, const QString& s, qsizetype start, qsizetype wordEnd,
                int longestWord) {
    qsizetype fits = start + 1, tooWide = wordEnd;
    while (tooWide - fits > 1) {
        const qsizetype mid = fits + (tooWide - fits) / 2;
        (metrics.horizontalAdvance(s.mid(start, mid - start)) <= longestWord ? fits : tooWide) =
            mid;
    }
    for (qsizetype at = fits; at > start + 1; --at)
        if (IsSeparator(s[at - 1]))
            return at;
    return fits;
}

// Greedy: each line takes words while they fit; the blanks where a line is
// broken are dropped, blanks before the first word of the paragraph stay. A
// line's first word always stays, unless it is wider than `longestWord`:
// then it is cut, and goes on on the next line.
void WrapParagraph(const QFontMetrics& metrics, const Shown& shown, int maxWidth, int longestWord,
                   std::vector<TextLine>& lines) {
    const QString& s = shown.text;
    qsizetype start = 0;
    do {
        qsizetype end = SkipWord(s, SkipBlanks(s, start));
        if (longestWord != NoWrap && end - start > 1 &&
            metrics.horizontalAdvance(s.mid(start, end - start)) > longestWord) {
            end = CutIn(metrics, s, start, end, longestWord);
            lines.push_back(MakeLine(metrics, shown, start, end));
            start = end;
            continue;
        }
        while (end < s.size()) {
            const qsizetype wordStart = SkipBlanks(s, end);
            if (wordStart == s.size())
                break; // trailing blanks take no room
            const qsizetype wordEnd = SkipWord(s, wordStart);
            if (maxWidth != NoWrap &&
                metrics.horizontalAdvance(s.mid(start, wordEnd - start)) > maxWidth)
                break;
            end = wordEnd;
        }
        lines.push_back(MakeLine(metrics, shown, start, end));
        start = SkipBlanks(s, end);
    } while (start < s.size());
}

} // namespace

QString TextLine::QtMnemonicText() const {
    QString markup;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (std::find(underlined.begin(), underlined.end(), int(i)) != underlined.end())
            markup += u'&';
        else if (text[i] == u'&')
            markup += u'&';
        markup += text[i];
    }
    return markup;
}

QSize WrappedText::Size() const {
    int width = 0;
    for (const TextLine& line : lines)
        width = std::max(width, line.width);
    return QSize(width, lineHeight * int(lines.size()));
}

WrappedText WrapText(const QFontMetrics& metrics, const QString& text, int maxWidth,
                     int longestWord) {
    WrappedText wrapped;
    wrapped.lineHeight = metrics.height();
    qsizetype from = 0;
    while (true) {
        qsizetype to = from;
        while (to < text.size() && text[to] != u'\r' && text[to] != u'\n')
            ++to;
        WrapParagraph(metrics, ResolveMnemonics(QStringView(text).mid(from, to - from)), maxWidth,
                      longestWord, wrapped.lines);
        if (to == text.size())
            break;
        from = to + (text[to] == u'\r' && to + 1 < text.size() && text[to + 1] == u'\n' ? 2 : 1);
    }
    return wrapped;
}

} // namespace platform
