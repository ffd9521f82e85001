// Shows each shared window and saves a picture of it:
//   quillet_screens <folder> <prefix>
// Run under a virtual screen (xvfb-run) of the size to check.
#include "Look.h"
#include "ScreenGrab.h"
#include "MainMenu.h"
#include "TFrmAbout.h"
#include "TFrmDlg.h"
#include "SystemMessageBox.h"
#include "TFrmProgress.h"

#include "Bevel.h"
#include "Gauge.h"
#include "GlyphButton.h"
#include "NumberPanel.h"
#include "Pictures.h"
#include "Switch.h"
#include "TitleStrip.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QTimer>
#include <QScreen>

namespace {

QString folder, prefix;

void save(QWidget &widget, const QString &name) { screens::save(widget, folder, prefix, name); }

void messageBox(int layout, const QString &mode, int icon, const QString &text, const QString &name)
{
    TFrmDlg &box = TFrmDlg::instance();
    box.prepare("提示", text, layout, mode, icon);
    box.show();
    save(box, name);
    box.hide();
}

void gallery()
{
    QWidget page;
    page.resize(520, 300);
    auto *grid = new QGridLayout(&page);
    grid->addWidget(new ui::TitleStrip("标题条 · 练习新题", &page), 0, 0, 1, 4);
    auto *bevel = new ui::Bevel(&page);
    bevel->setMinimumHeight(40);
    grid->addWidget(bevel, 1, 0);
    auto *sunk = new ui::Bevel(&page, ui::Bevel::Style::Lowered);
    grid->addWidget(sunk, 1, 1);
    auto *on = new ui::Switch(&page);
    on->setChecked(true);
    grid->addWidget(on, 1, 2);
    grid->addWidget(new ui::Switch(&page), 1, 3);
    auto *figure = new ui::NumberPanel(&page, 3);
    figure->setValue(86);
    grid->addWidget(figure, 2, 0);
    auto *average = new ui::NumberPanel(&page, 4);
    average->setText("72.5");
    grid->addWidget(average, 2, 1);
    auto *gauge = new ui::Gauge(&page);
    gauge->setValue(40);
    grid->addWidget(gauge, 2, 2);
    auto *warn = new ui::Gauge(&page, Qt::Vertical);
    warn->setWarnAbove(65);
    warn->setValue(80);
    grid->addWidget(warn, 2, 3, 2, 1);
    auto *glyphs = new QHBoxLayout;
    int n = 1;
    for (const pics::GlyphFile &file : pics::glyphFiles()) {
        auto *button = new ui::GlyphButton(QString::number(n++), &page);
        const QPixmap picture = QPixmap::fromImage(pics::glyph(file.kind));
        button->setGlyphs(picture, picture);
        button->setFixedSize(picture.size());
        glyphs->addWidget(button);
    }
    grid->addLayout(glyphs, 3, 0, 1, 3);
    page.show();
    save(page, "widgets");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ui::applyLook(app);
    if (argc != 3)
        return 2;
    folder = argv[1];
    prefix = argv[2];
    QDir().mkpath(folder);

    MainMenu menu;
    menu.setGeometry(QGuiApplication::primaryScreen()->geometry());
    menu.show();
    save(menu, "menu");
    menu.hide();

    messageBox(1, "NO", 1, "没发现声卡！", "msg-layout1");
    messageBox(2, "Exam", 1, "您还有 12 道题没有作答，确定要交卷吗？选择“作废”将放弃本次考试。", "msg-layout2");
    messageBox(3, "NO", 2, "无法打开试题！", "msg-layout3");
    messageBox(0, "NO", 0, "这是一条很长的提示信息，用来检查消息框在文字较多时会自动换行并增加高度，而不是把文字截断。"
               "第二句继续补充说明，确保至少需要三到四行才能放下。", "msg-long");

    TFrmProgress::instance().showText("正在导出试卷，请等待...");
    save(TFrmProgress::instance(), "progress");
    TFrmProgress::instance().hide();

    QTimer::singleShot(0, [] {
        QWidget *box = QApplication::activeModalWidget();
        save(*box, "system-box");
        box->close();
    });
    SystemMessageBox("提示", "还未完成今日学习计划，要退出吗？", QMessageBox::Question,
                     QMessageBox::Ok | QMessageBox::Cancel);

    TFrmAbout about;
    about.show();
    save(about, "about");
    about.hide();

    gallery();
    return 0;
}
