#include "QuestionText.h"


#include <QLabel>

namespace practice {

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
