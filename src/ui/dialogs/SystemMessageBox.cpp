#include "SystemMessageBox.h"
#include "MessageRecorder.h"

#include <QAbstractButton>

namespace {

// Chinese captions whether or not Qt's own translations are installed.
QString chineseCaption(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok: return QObject::tr("确定");
    case QMessageBox::Cancel: return QObject::tr("取消");
    case QMessageBox::Yes: return QObject::tr("是");
    case QMessageBox::No: return QObject::tr("否");
    case QMessageBox::Retry: return QObject::tr("重试");
    case QMessageBox::Ignore: return QObject::tr("忽略");
    case QMessageBox::Abort: return QObject::tr("中止");
    case QMessageBox::Close: return QObject::tr("关闭");
    default: return {};
    }
}

} // namespace

QMessageBox::StandardButton SystemMessageBox(const QString &caption, const QString &text,
                                             QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons);
    MessageRecord record;
    record.kind = MessageRecord::Kind::SystemBox;
    record.caption = caption;
    record.text = text;
    record.icon = icon;
    for (QAbstractButton *button : box.buttons()) {
        const QString caption = chineseCaption(box.standardButton(button));
        if (!caption.isEmpty())
            button->setText(caption);
        record.buttons << button->text();
    }

    int answer = 0;
    if (!MessageRecorder::takeAnswer(answer))
        answer = box.exec();
    record.answer = answer;
    MessageRecorder::record(record);
    return static_cast<QMessageBox::StandardButton>(answer);
}
