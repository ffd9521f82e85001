#include "QuestionText.h"

#include "RichView.h"

#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace practice {

// Older bank texts are set in 9 pt for a Windows bitmap font; the outline CJK
// fonts here need such small sizes raised to stay readable (up to 12 pt).
void showQuestionText(richtext::RichView *view, const QVariant &value)
{
    view->setContent(value);
    raiseSmallSizes(view->document());
}

void raiseSmallSizes(QTextDocument *document)
{
    constexpr double kReadablePoints = 12;
    constexpr double kScale = 4.0 / 3.0;
    QVector<QPair<QPair<int, int>, double>> sized;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (const QTextFragment f = it.fragment();
                f.isValid() && f.charFormat().fontPointSize() > 0 && f.charFormat().fontPointSize() < kReadablePoints)
                sized.append({{f.position(), f.position() + f.length()}, f.charFormat().fontPointSize()});
    for (const auto &[range, points] : std::as_const(sized)) {
        QTextCursor cursor(document);
        cursor.setPosition(range.first);
        cursor.setPosition(range.second, QTextCursor::KeepAnchor);
        QTextCharFormat larger;
        larger.setFontPointSize(qMin(kReadablePoints, points * kScale));
        cursor.mergeCharFormat(larger);
    }
    document->setModified(false);
}

// Long chapter hints get a smaller font, and are cut short with the whole text as tooltip.
void fitHint(QLabel *board, const QString &text)
{
    const QRect room = board->contentsRect().adjusted(2, 2, -2, -2);
    QFont font = board->font();
    const int flags = Qt::TextWordWrap | Qt::AlignCenter;
    for (int pixels = 14; pixels >= 11; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).boundingRect(room, flags, text).height() <= room.height())
            break;
    }
    board->setFont(font);
    board->setToolTip(text);
    QString shown = text;
    const QFontMetrics metrics(font);
    while (shown.size() > 1 && metrics.boundingRect(room, flags, shown + QStringLiteral("…")).height() > room.height())
        shown.chop(1);
    board->setText(shown == text ? text : shown + QStringLiteral("…"));
}

} // namespace practice
