#include "TFrmConfig.h"

#include "Bevel.h"
#include "DataModule.h"
#include "Globals.h"
#include "ReviewSettings.h"
#include "Switch.h"
#include "TFrmDlg.h"
#include "TitleStrip.h"
#include "backgroundmusic.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>

std::function<void(const QString &file, bool play)> MainPlayMusic;

namespace {
const int kCaptionHeight = 25;

// Minutes shown as "0.0"; a stored time with a second decimal keeps it, so
// closing the window never rounds what the learner did not touch.
class MinutesEdit : public QDoubleSpinBox {
public:
    explicit MinutesEdit(QWidget *parent) : QDoubleSpinBox(parent)
    {
        setDecimals(2);
        setRange(0.1, 30);
        setSingleStep(0.5);
    }

protected:
    QString textFromValue(double value) const override
    {
        return QString::number(value, 'f', qRound(value * 100) % 10 != 0 ? 2 : 1);
    }
};
const int kWidth = 364;

void playThroughMainWindow(const QString &file, bool play)
{
    if (MainPlayMusic)
        MainPlayMusic(file, play);
}
} // namespace

TFrmConfig::TFrmConfig(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmConfig"));
    setWindowTitle(QStringLiteral("系统设置"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    Caption = new ui::TitleStrip(QStringLiteral("系统设置"), this);
    Caption->setGeometry(0, 0, kWidth, kCaptionHeight);
    epBevel3 = new ui::Bevel(this);
    epBevel3->setObjectName(QStringLiteral("epBevel3"));
    epBevel1 = new ui::Bevel(epBevel3, ui::Bevel::Style::Lowered);
    epBevel1->setObjectName(QStringLiteral("epBevel1"));
    QWidget *area = epBevel3;

    Label1 = new QLabel(QStringLiteral("背景音乐"), area);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 24);
    RxSwitch1 = new ui::Switch(area);
    RxSwitch1->setObjectName(QStringLiteral("RxSwitch1"));
    RxSwitch1->move(96, 18);
    RxSwitch1->setChecked(true);
    connect(RxSwitch1, &ui::Switch::switchedOn, this, &TFrmConfig::RxSwitch1On);
    connect(RxSwitch1, &ui::Switch::switchedOff, this, &TFrmConfig::RxSwitch1Off);

    Label5 = new QLabel(QStringLiteral("声音列表"), area);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->move(16, 60);
    FlatComboBox1 = new QComboBox(area);
    FlatComboBox1->setObjectName(QStringLiteral("FlatComboBox1"));
    FlatComboBox1->setGeometry(93, 56, 248, 26);
    for (int n = 1; n <= 6; ++n)
        FlatComboBox1->addItem(QStringLiteral("乐曲%1").arg(n, 2, 10, QLatin1Char('0')));
    FlatComboBox1->setCurrentIndex(-1);
    connect(FlatComboBox1, &QComboBox::activated, this, &TFrmConfig::FlatComboBox1Change);

    Label4 = new QLabel(QStringLiteral("答题时间设置"), area);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->move(8, 112);
    ScrollBox1 = new QScrollArea(area);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(9, 136, 345, 168);
    ScrollBox1->setWidget(new QWidget);
    ScrollBox1->widget()->setObjectName(QStringLiteral("ScrollBox1Rows"));
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    LabelTarget = new QLabel(QStringLiteral("复习目标记忆率"), area);
    LabelTarget->setObjectName(QStringLiteral("LabelTarget"));
    LabelTarget->setGeometry(16, 141, 130, 20);
    ReviewTarget = new QSpinBox(area);
    ReviewTarget->setObjectName(QStringLiteral("ReviewTarget"));
    ReviewTarget->setRange(qRound(store::review::kLowestTarget * 100), qRound(store::review::kHighestTarget * 100));
    ReviewTarget->setSuffix(QStringLiteral("%"));
    ReviewTarget->setToolTip(QStringLiteral("答对把握低于此值的已做题目列入今日复习"));
    ReviewTarget->setGeometry(150, 138, 70, 24);

    epFocusButton3 = new QPushButton(QStringLiteral("关闭"), area);
    epFocusButton3->setObjectName(QStringLiteral("epFocusButton3"));
    epFocusButton3->setGeometry(270, 23, 71, 26);
    connect(epFocusButton3, &QPushButton::clicked, this, &QDialog::accept);
    for (QLabel *l : {Label1, Label5, Label4})
        l->adjustSize();
    setFaceHeight(312);
}

void TFrmConfig::setFaceHeight(int contentHeight)
{
    epBevel3->setGeometry(0, kCaptionHeight, kWidth, contentHeight);
    epBevel1->setGeometry(2, 2, kWidth - 4, contentHeight - 4);
    epBevel1->lower();
    setFixedSize(kWidth, kCaptionHeight + contentHeight);
}

void TFrmConfig::showTimesOnly()
{
    for (QWidget *w : {static_cast<QWidget *>(Label1), static_cast<QWidget *>(Label5),
                       static_cast<QWidget *>(RxSwitch1), static_cast<QWidget *>(FlatComboBox1)})
        w->hide();
    m_timesOnly = true;
}

// The answer-time face: the subject's name above one row per question type,
// every row in view, 关闭 below them.
void TFrmConfig::layOutTimes(bool alone)
{
    const QVariant subject = DataModule->ADOCn1.scalar(
        QStringLiteral("SELECT C2 FROM tab_kmmc WHERE C1 = :c"), {{QStringLiteral("c"), QString::number(CurrentSubject)}});
    Label4->setText(subject.toString().trimmed().isEmpty()
                        ? QStringLiteral("答题时间设置")
                        : QStringLiteral("答题时间设置：%1").arg(subject.toString().trimmed()));
    Label4->adjustSize();
    const int top = alone ? 10 : 112;
    Label4->move(12, top);
    const int rowsHeight = ScrollBox1->widget()->height() + 2 * ScrollBox1->frameWidth();
    ScrollBox1->setGeometry(ScrollBox1->x(), top + Label4->height() + 6, ScrollBox1->width(), qMin(rowsHeight, 240));
    const int target = ScrollBox1->geometry().bottom() + 8;
    LabelTarget->move(16, target + 3);
    ReviewTarget->move(150, target);
    const int below = ReviewTarget->geometry().bottom() + 10;
    if (alone)
        epFocusButton3->move(kWidth - 12 - epFocusButton3->width(), below);
    setFaceHeight(alone ? epFocusButton3->geometry().bottom() + 12 : below + 4);
}

void TFrmConfig::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFrmConfig::FormShow()
{
    RxSwitch1->setChecked(true);
    if (CurrentSubject == 0)
        CurrentSubject = 1;
    const bool times = SettingsVariant == 1;
    LabelTarget->setVisible(times);
    ReviewTarget->setVisible(times);
    if (times) {
        buildTimeRows();
        layOutTimes(m_timesOnly);
        ReviewTarget->setValue(qRound(store::review::targetRetention(DataModule->ADOCn1) * 100));
    } else {
        setFaceHeight(100);
    }
}

void TFrmConfig::buildTimeRows()
{
    store::Table &tx = DataModule->Cn1Table_tx;
    tx.close();
    tx.setTableName(QStringLiteral("tab_tx") + QString::number(CurrentSubject));
    tx.open();
    m_count = tx.recordCount();
    QWidget *rows = ScrollBox1->widget();
    qDeleteAll(rows->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly));
    int b = 0;
    for (tx.first(); !tx.eof(); tx.next(), ++b) {
        auto *edit = new MinutesEdit(rows);
        edit->setObjectName(QStringLiteral("Currencyedit%1").arg(b + 1));
        edit->setValue(tx.fieldByName(QStringLiteral("time")).asFloat());
        edit->setProperty("tag", tx.fieldByName(QStringLiteral("A1")).asInteger());
        edit->setGeometry(150, b * 28 + 5, 70, 24);
        auto *name = new QLabel(tx.fieldByName(QStringLiteral("B1")).asString().trimmed(), rows);
        name->setGeometry(16, b * 28 + 8, 130, 20);
        auto *unit = new QLabel(QStringLiteral("分钟"), rows);
        unit->setGeometry(228, b * 28 + 8, 50, 20);
        for (QWidget *w : {static_cast<QWidget *>(edit), static_cast<QWidget *>(name), static_cast<QWidget *>(unit)})
            w->show();
    }
    rows->resize(ScrollBox1->viewport()->width(), b * 28 + 10);
}

void TFrmConfig::RxSwitch1Off()
{
    MusicOn = false;
    playThroughMainWindow(MusicFile, false);
}

void TFrmConfig::RxSwitch1On()
{
    MusicOn = true;
    if (FlatComboBox1->currentText().isEmpty())
        MusicFile = tuneFile(AppDir, DefaultTune);
    playThroughMainWindow(MusicFile, true);
}

void TFrmConfig::FlatComboBox1Change()
{
    if (FlatComboBox1->currentIndex() < 0)
        return;
    MusicFile = tuneFile(AppDir, FlatComboBox1->currentText());
    playThroughMainWindow(MusicFile, RxSwitch1->isChecked());
}

void TFrmConfig::done(int result)
{
    if (!m_closing) {
        m_closing = true;
        FormCloseQuery();
    }
    QDialog::done(result);
}

void TFrmConfig::FormCloseQuery()
{
    if (SettingsVariant != 1)
        return;
    saveTimes();
    saveTarget();
}

void TFrmConfig::saveTarget()
{
    store::Connection &c = DataModule->ADOCn1;
    try {
        const int shown = ReviewTarget->value();
        if (shown != qRound(store::review::targetRetention(c) * 100))
            store::review::setTargetRetention(c, shown / 100.0);
    } catch (const std::exception &) {
        ShowMessageBox(QStringLiteral("错误"), QStringLiteral("保存设置失败！"), 1, QStringLiteral("No"), 2);
    }
}

void TFrmConfig::saveTimes()
{
    try {
        store::Table &tx = DataModule->Cn1Table_tx;
        tx.close();
        tx.setTableName(QStringLiteral("tab_tx") + QString::number(CurrentSubject));
        tx.open();
        TypeTimes.resize(m_count);
        TypeCodes.resize(m_count);
        for (int i = 0; i < m_count; ++i) {
            auto *edit = findChild<QDoubleSpinBox *>(QStringLiteral("Currencyedit%1").arg(i + 1));
            if (!edit)
                continue;
            const int tag = edit->property("tag").toInt();
            if (!tx.locate(QStringLiteral("A1"), tag))
                continue;
            tx.edit();
            tx.setValue(QStringLiteral("time"), edit->value());
            tx.post();
            TypeTimes[i] = int(edit->value() * 600);
            TypeCodes[i] = tag;
        }
    } catch (const std::exception &) {
        DataModule->Cn1Table_tx.cancel();
        ShowMessageBox(QStringLiteral("错误"), QStringLiteral("保存设置失败！"), 1, QStringLiteral("No"), 2);
    }
}
