#include "SystemMessageBox.h"
#include "MessageRecorder.h"

#include <QAbstractButton>

QMessageBox::StandardButton SystemMessageBox(const QString &caption, const QString &text,
                                             QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons);
    MessageRecord record;
    record.kind = MessageRecord::Kind::SystemBox;
    record.caption = caption;
    record.text = text;
    record.icon = icon;
    for (QAbstractButton *button : box.buttons())
        record.buttons << button->text();

    int answer = 0;
    if (!MessageRecorder::takeAnswer(answer))
        answer = box.exec();
    record.answer = answer;
    MessageRecorder::record(record);
    return static_cast<QMessageBox::StandardButton>(answer);
}
