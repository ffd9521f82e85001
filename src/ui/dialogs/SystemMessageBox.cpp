#include "SystemMessageBox.h"
#include "MessageRecorder.h"
#include "TFrmDlg.h"

#include "Buttons.h"

#include <QApplication>

namespace {

using Button = QMessageBox::StandardButton;

// Chinese captions whether or not Qt's own translations are installed.
QString chineseCaption(Button button)
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

// The buttons offered, left to right as a Chinese box shows them: the answer
// that goes on first, the one that stops last. At most three fit the box.
QList<Button> offeredButtons(QMessageBox::StandardButtons buttons)
{
    QList<Button> offered;
    for (Button b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Retry, QMessageBox::Ignore, QMessageBox::Close,
                     QMessageBox::No, QMessageBox::Abort, QMessageBox::Cancel})
        if (buttons.testFlag(b) && offered.size() < 3)
            offered << b;
    if (offered.isEmpty())
        offered << QMessageBox::Ok;
    return offered;
}

int iconPageFor(QMessageBox::Icon icon)
{
    switch (icon) {
    case QMessageBox::Warning: return 1;
    case QMessageBox::Critical: return 2;
    default: return 0;
    }
}

// The box in the program's own look. The own box's buttons, left to right,
// are fcShapeBtn1, fcShapeBtn3, fcShapeBtn2 with the results 1, 3, 2; its
// layouts show one (1), two (0) or three (2) of them.
Button showInOwnLook(const QString &caption, const QString &text, QMessageBox::Icon icon,
                     const QList<Button> &offered)
{
    TFrmDlg box(QApplication::activeWindow());
    const int layout = offered.size() == 1 ? 1 : offered.size() == 2 ? 0 : 2;
    box.prepare(caption, text, layout, QStringLiteral("NO"), iconPageFor(icon));
    QMap<int, Button> byResult;
    const QList<QPair<ui::ShapeButton *, int>> places =
        offered.size() == 1 ? QList<QPair<ui::ShapeButton *, int>>{{box.fcShapeBtn3, 3}}
        : offered.size() == 2 ? QList<QPair<ui::ShapeButton *, int>>{{box.fcShapeBtn1, 1}, {box.fcShapeBtn2, 2}}
                              : QList<QPair<ui::ShapeButton *, int>>{{box.fcShapeBtn1, 1}, {box.fcShapeBtn3, 3},
                                                                      {box.fcShapeBtn2, 2}};
    for (int i = 0; i < offered.size(); ++i) {
        places.at(i).first->setText(chineseCaption(offered.at(i)));
        byResult.insert(places.at(i).second, offered.at(i));
    }
    return byResult.value(box.exec(), offered.last());
}

} // namespace

QMessageBox::StandardButton SystemMessageBox(const QString &caption, const QString &text,
                                             QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    const QList<Button> offered = offeredButtons(buttons);
    MessageRecord record;
    record.kind = MessageRecord::Kind::SystemBox;
    record.caption = caption;
    record.text = text;
    record.icon = icon;
    for (Button button : offered)
        record.buttons << chineseCaption(button);

    int answer = 0;
    if (!MessageRecorder::takeAnswer(answer))
        answer = showInOwnLook(caption, text, icon, offered);
    record.answer = answer;
    MessageRecorder::record(record);
    return static_cast<Button>(answer);
}
