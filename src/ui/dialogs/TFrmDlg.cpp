#include "TFrmDlg.h"

#include "Error.h"
#include "MessageRecorder.h"

#include "Bevel.h"
#include "Buttons.h"
#include "Pictures.h"
#include "TitleStrip.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStackedWidget>

#include <algorithm>

namespace {

const QSize DesignSize(399, 110);
const int NarrowWidth = 200;
const int StripHeight = 25;
const int TextLeft = 56, TextTop = 40, TextRightMargin = 12;
const int ButtonTop = 80;
const int TextRoom = ButtonTop - TextTop - 10; // room for the message above the buttons

ui::ShapeButton *makeButton(QDialog *box, const char *name, int left, int result)
{
    auto *button = new ui::ShapeButton(QObject::tr("确定"), box);
    button->setObjectName(name);
    button->setGeometry(left, ButtonTop, 73, 25);
    QObject::connect(button, &QPushButton::clicked, box, [box, result] { box->done(result); });
    return button;
}

} // namespace

TFrmDlg::TFrmDlg(QWidget *parent)
    // Above the wait window, which stays on top while work is in progress.
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      designedWidth(DesignSize.width())
{
    setObjectName("FrmDlg");
    setWindowTitle(tr("提示框"));
    resize(DesignSize);

    Image1 = new ui::Bevel(this);
    Image1->setObjectName("Image1");
    Image2 = new ui::TitleStrip({}, this);
    Image2->setObjectName("Image2");

    Label1 = new QLabel(tr("提示"), this);
    Label1->setObjectName("Label1");
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents); // the strip below moves the box
    QFont titleFont = Label1->font();
    titleFont.setItalic(true);
    Label1->setFont(titleFont);
    Label1->setStyleSheet("color: white; background: transparent;");

    epNoteBook1 = new QStackedWidget(this);
    epNoteBook1->setObjectName("epNoteBook1");
    epNoteBook1->setGeometry(8, 32, 32, 32);
    const pics::MessageIcon icons[] = {pics::MessageIcon::Notice, pics::MessageIcon::Warning, pics::MessageIcon::Error};
    const char *pageNames[] = {"提示", "警告", "错误"};
    for (int page = 0; page < 3; ++page) {
        auto *picture = new QLabel(epNoteBook1);
        picture->setObjectName(QString::fromUtf8(pageNames[page]));
        picture->setPixmap(QPixmap::fromImage(pics::messageIcon(icons[page])));
        picture->setStyleSheet("background: transparent;");
        epNoteBook1->addWidget(picture);
    }

    fcLabel1 = new QLabel(tr("提示"), this);
    fcLabel1->setObjectName("fcLabel1");
    fcLabel1->setTextFormat(Qt::PlainText);
    fcLabel1->setWordWrap(true);
    fcLabel1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    fcLabel1->setStyleSheet("background: transparent;");

    fcShapeBtn1 = makeButton(this, "fcShapeBtn1", 64, 1);
    fcShapeBtn2 = makeButton(this, "fcShapeBtn2", 256, 2);
    fcShapeBtn2->setText(tr("取消"));
    fcShapeBtn3 = makeButton(this, "fcShapeBtn3", 160, 3);
    fitToText();
}

TFrmDlg &TFrmDlg::instance()
{
    // Lives until the process ends, like the other start-up windows.
    static TFrmDlg *box = new TFrmDlg;
    return *box;
}

void TFrmDlg::prepare(const QString &caption, const QString &text, int layout, const QString &mode, int iconPage)
{
    resize(designedWidth, height());
    setWindowTitle(caption);
    fcLabel1->setText(text);
    applyLayout(layout);
    epNoteBook1->setCurrentIndex(iconPage); // an unknown page keeps the last one
    Label1->setText(caption);

    const bool exam = mode == QLatin1String("Exam");
    fcShapeBtn1->setText(tr("确定"));
    fcShapeBtn2->setText(exam ? tr("作废") : tr("取消"));
    fcShapeBtn3->setText(exam ? tr("取消") : tr("确定"));

    const QList<ui::ShapeButton *> visible = visibleButtonsLeftToRight();
    for (ui::ShapeButton *button : {fcShapeBtn1, fcShapeBtn2, fcShapeBtn3})
        button->setDefault(!visible.isEmpty() && button == visible.first());
    fitToText();
}

void TFrmDlg::applyLayout(int layout)
{
    if (layout < 0 || layout > 3)
        return; // keeps the buttons of the previous call
    fcShapeBtn1->setVisible(layout != 1);
    fcShapeBtn2->setVisible(layout == 0 || layout == 2);
    fcShapeBtn3->setVisible(layout == 1 || layout == 2);
    if (layout == 3)
        resize(NarrowWidth, height());
}

// Long messages wrap; the box grows downwards rather than clipping them.
void TFrmDlg::fitToText()
{
    const int textWidth = width() - TextLeft - TextRightMargin;
    const int textHeight = qMax(fcLabel1->heightForWidth(textWidth), fcLabel1->fontMetrics().height());
    const int extra = qMax(0, textHeight - TextRoom);
    resize(width(), DesignSize.height() + extra);

    Image1->setGeometry(0, 1, width(), height() - 2);
    Image2->setGeometry(0, 0, width(), StripHeight);
    Label1->setGeometry(6, 6, width() - 12, StripHeight - 7);
    fcLabel1->setGeometry(TextLeft, TextTop, textWidth, textHeight);
    for (ui::ShapeButton *button : {fcShapeBtn1, fcShapeBtn2, fcShapeBtn3})
        button->move(button->x(), ButtonTop + extra);
}

QList<ui::ShapeButton *> TFrmDlg::visibleButtonsLeftToRight() const
{
    QList<ui::ShapeButton *> visible;
    for (ui::ShapeButton *button : {fcShapeBtn1, fcShapeBtn2, fcShapeBtn3})
        if (!button->isHidden())
            visible << button;
    std::sort(visible.begin(), visible.end(), [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
    return visible;
}

QStringList TFrmDlg::visibleButtonCaptions() const
{
    QStringList captions;
    for (ui::ShapeButton *button : visibleButtonsLeftToRight())
        captions << button->text();
    return captions;
}

void TFrmDlg::reject()
{
    const QList<ui::ShapeButton *> visible = visibleButtonsLeftToRight();
    for (ui::ShapeButton *button : visible)
        if (button->text() == tr("取消"))
            return button->click();
    if (!visible.isEmpty())
        visible.first()->click();
}

void TFrmDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    for (ui::ShapeButton *button : visibleButtonsLeftToRight())
        if (button->isDefault())
            button->setFocus();
}

int ShowMessageBox(const QString &caption, const QString &text, int layout, const QString &mode, int iconPage)
{
    TFrmDlg &box = TFrmDlg::instance();
    box.prepare(caption, text, layout, mode, iconPage);

    MessageRecord record;
    record.kind = MessageRecord::Kind::OwnBox;
    record.caption = caption;
    record.text = text;
    record.layout = layout;
    record.mode = mode;
    record.icon = box.epNoteBook1->currentIndex();
    record.buttons = box.visibleButtonCaptions();
    if (!MessageRecorder::takeAnswer(record.answer))
        record.answer = box.exec();
    MessageRecorder::record(record);
    return record.answer;
}

void RunReportingErrors(const std::function<void()> &command)
{
    try {
        command();
    } catch (const store::Error &e) {
        ShowMessageBox(QStringLiteral("错误"), e.learnerMessage(), 1, QStringLiteral("NO"), 2);
    }
}
