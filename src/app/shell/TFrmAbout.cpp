#include "TFrmAbout.h"
#include "SystemMessageBox.h"

#include "Bevel.h"
#include "Buttons.h"
#include "Globals.h"
#include "Look.h"
#include "Pictures.h"
#include "ShellOpener.h"
#include "TitleStrip.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel *mutedLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setStyleSheet("color: #6b6457;");
    return label;
}

} // namespace

TFrmAbout::TFrmAbout(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName("FrmAbout");
    setWindowTitle(tr("关于"));
    setFixedSize(480, 330);

    auto *strip = new ui::TitleStrip(tr("关于 Quillet"), this);
    strip->setIcon(QPixmap::fromImage(pics::emblem(32)));
    strip->setFixedHeight(28);

    auto *panel = new ui::Bevel(this);
    auto *emblem = new QLabel(panel);
    emblem->setPixmap(QPixmap::fromImage(pics::emblem(64)));
    auto *name = new QLabel("Quillet", panel);
    name->setFont(ui::programFont(26));
    name->setStyleSheet("color: #164b5a; font-weight: bold;");
    auto *purpose = new QLabel(tr("造价工程师执业资格考试学习软件"), panel);
    purpose->setFont(ui::programFont(16));
    auto *version = mutedLabel(tr("版本 %1").arg(QUILLET_VERSION), panel);

    epEfTrBtn1 = new QPushButton(tr("关 闭"), panel);
    epEfTrBtn1->setObjectName("epEfTrBtn1");
    epEfTrBtn1->setCursor(Qt::PointingHandCursor);
    epEfTrBtn1->setMinimumWidth(84);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(4);
    titles->addWidget(name);
    titles->addWidget(purpose);
    titles->addWidget(version);
    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(emblem, 0, Qt::AlignTop);
    top->addLayout(titles, 1);

    const QPair<QString, QString> facts[] = {
        {tr("制作"), tr("Quillet 开发组")},
        {tr("性质"), tr("开放的学习程序，可自由使用与分发")},
        {tr("数据"), tr("题库与学习记录保存在本机程序文件夹的 data/Vellumar.mdb")},
        {tr("帮助"), tr("主菜单“帮助”，或程序文件夹中的 htm/help/index.htm")},
    };
    auto *details = new QGridLayout;
    details->setHorizontalSpacing(10);
    details->setVerticalSpacing(4);
    int row = 0;
    for (const auto &[key, value] : facts) {
        details->addWidget(mutedLabel(key, panel), row, 0, Qt::AlignTop);
        auto *text = new QLabel(value, panel);
        text->setWordWrap(true);
        details->addWidget(text, row++, 1);
    }
    details->setColumnStretch(1, 1);

    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(20, 18, 20, 14);
    panelLayout->addLayout(top);
    panelLayout->addSpacing(8);
    panelLayout->addLayout(details);
    panelLayout->addStretch(1);
    panelLayout->addWidget(epEfTrBtn1, 0, Qt::AlignRight);

    epTransparentBtn1 = new ui::FlatButton(tr("公司简介"), this);
    epTransparentBtn1->setObjectName("epTransparentBtn1");
    epTransparentBtn1->setToolTip(tr("Quillet 制作群"));
    epTransparentBtn2 = new ui::FlatButton(tr("出版社简介"), this);
    epTransparentBtn2->setObjectName("epTransparentBtn2");
    epTransparentBtn2->setToolTip(tr("发行与出版说明"));
    epTransparentBtn3 = new ui::FlatButton(tr("公司简介"), this);
    epTransparentBtn3->setObjectName("epTransparentBtn3");
    epTransparentBtn3->setToolTip(tr("Quillet 开发组简介"));
    epTransparentBtn5 = new ui::FlatButton(tr("关    闭"), this);
    epTransparentBtn5->setObjectName("epTransparentBtn5");

    auto *links = new QHBoxLayout;
    links->setContentsMargins(10, 4, 10, 8);
    links->setSpacing(14);
    links->addWidget(epTransparentBtn1);
    links->addWidget(epTransparentBtn2);
    links->addWidget(epTransparentBtn3);
    links->addStretch();
    links->addWidget(epTransparentBtn5);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip);
    layout->addWidget(panel, 1);
    layout->addLayout(links);

    connect(epEfTrBtn1, &QPushButton::clicked, this, &QDialog::close);
    connect(epTransparentBtn5, &QPushButton::clicked, this, &QDialog::close);
    connect(epTransparentBtn1, &QPushButton::clicked, this, [this] { openPage("htm/制作群.htm"); });
    connect(epTransparentBtn2, &QPushButton::clicked, this, [this] { openPage("htm/出版社简介.htm"); });
    connect(epTransparentBtn3, &QPushButton::clicked, this, [this] { openPage("htm/公司简介.htm"); });
}

void TFrmAbout::openPage(const QString &relativePath)
{
    if (!ui::openLocalPage(AppDir + relativePath))
        SystemMessageBox(tr("Quillet"), tr("无法打开安装程序！"), QMessageBox::NoIcon);
}
