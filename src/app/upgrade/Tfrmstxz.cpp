#include "Tfrmstxz.h"

#include "Backups.h"
#include "Bevel.h"
#include "DataModule.h"
#include "FileDialogs.h"
#include "Globals.h"
#include "TFrmDlg.h"
#include "TitleStrip.h"
#include "UpgradeMerge.h"
#include "WaitCursor.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

namespace {
const QSize kSize(305, 158);
const int kCaptionHeight = 25;

void say(const QString &caption, const QString &text, int icon)
{
    ShowMessageBox(caption, text, 1, QStringLiteral("NO"), icon);
}
} // namespace

Tfrmstxz::Tfrmstxz(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmstxz"));
    setWindowTitle(QStringLiteral("题库升级"));
    setFixedSize(kSize);
    Caption = new ui::TitleStrip(QStringLiteral("题库升级"), this);
    Caption->setGeometry(0, 0, kSize.width(), kCaptionHeight);
    epBevel1 = new ui::Bevel(this);
    epBevel1->setGeometry(0, kCaptionHeight, kSize.width(), kSize.height() - kCaptionHeight);
    QWidget *area = epBevel1;

    Label1 = new QLabel(QStringLiteral("建议先下载升级题库，然后选择本地升级！"), area);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(10, 6, 285, 20);

    RadioGroup1 = new QGroupBox(QStringLiteral("选择升级方式"), area);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(8, 28, 289, 64);
    RadioLocal = new QRadioButton(QStringLiteral("本地升级"), RadioGroup1);
    RadioLocal->setObjectName(QStringLiteral("RadioGroup1Item0"));
    RadioLocal->setGeometry(10, 18, 130, 20);
    connect(RadioLocal, &QRadioButton::clicked, this, &Tfrmstxz::RadioGroup1Click);
    Edit1 = new QLineEdit(RadioGroup1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(10, 38, 236, 22);
    SpeedButton1 = new QToolButton(RadioGroup1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SpeedButton1->setToolTip(QStringLiteral("选择升级文件"));
    SpeedButton1->setGeometry(252, 37, 26, 24);
    SpeedButton1->setCursor(Qt::PointingHandCursor);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tfrmstxz::SpeedButton1Click);

    epFocusButton1 = new QPushButton(QStringLiteral("开始升级"), area);
    epFocusButton1->setObjectName(QStringLiteral("epFocusButton1"));
    epFocusButton1->setGeometry(128, 100, 80, 26);
    epFocusButton1->setDefault(true);
    connect(epFocusButton1, &QPushButton::clicked, this, &Tfrmstxz::epFocusButton1Click);
    epFocusButton3 = new QPushButton(QStringLiteral("关闭"), area);
    epFocusButton3->setObjectName(QStringLiteral("epFocusButton3"));
    epFocusButton3->setGeometry(216, 100, 80, 26);
    connect(epFocusButton3, &QPushButton::clicked, this, &QDialog::accept);
}

QString Tfrmstxz::openDialogFilter()
{
    return QStringLiteral("升级文件 (*.mdb *.qup);;所有文件 (*)");
}

void Tfrmstxz::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void Tfrmstxz::FormShow()
{
    RadioLocal->setChecked(true);
    RadioGroup1Click();
}

void Tfrmstxz::RadioGroup1Click()
{
    Edit1->setVisible(RadioLocal->isChecked());
    SpeedButton1->setVisible(RadioLocal->isChecked());
}

void Tfrmstxz::SpeedButton1Click()
{
    const QString file = ui::getOpenFileName(this, QStringLiteral("选择升级文件"), AppDir, openDialogFilter());
    if (!file.isEmpty())
        Edit1->setText(file);
}

void Tfrmstxz::epFocusButton1Click()
{
    const QString path = Edit1->text().trimmed();
    if (path.isEmpty()) {
        say(QStringLiteral("提示"), QStringLiteral("请点击文件夹按钮选择升级文件！"), 1);
        return;
    }
    ApplyUpgrade(path);
}

void Tfrmstxz::ApplyUpgrade(const QString &path)
{
    QString reason;
    upgrade::UpgradeResult result;
    {
        ui::WaitCursor wait;
        result = upgrade::applyUpgrade(DataModule->ADOCn1, DataModule->ADOCn2, path, backup::folderFor(AppDir),
                                       &reason);
    }
    if (!reason.isEmpty())
        qWarning("upgrade of %s: %s", qPrintable(path), qPrintable(reason));
    switch (result) {
    case upgrade::UpgradeResult::CannotOpen:
        say(QStringLiteral("错误"), QStringLiteral("无法打开升级文件！"), 2);
        break;
    case upgrade::UpgradeResult::ForeignProduct:
        say(QStringLiteral("提示"), QStringLiteral("升级文件不属于本软件！"), 1);
        break;
    case upgrade::UpgradeResult::AlreadyApplied:
        say(QStringLiteral("提示"), QStringLiteral("您已升级过了！"), 1);
        break;
    case upgrade::UpgradeResult::Failed:
        say(QStringLiteral("提示"), reason.isEmpty() ? QStringLiteral("升级失败！")
                                                     : QStringLiteral("升级失败！\n") + reason,
            2);
        break;
    case upgrade::UpgradeResult::Applied:
        // Shared tables opened before the merge re-read the new content on their next use.
        DataModule->Cn1Table_kmmc.close();
        DataModule->Cn1Table_fgmc.close();
        say(QStringLiteral("提示"), QStringLiteral("升级成功！"), 0);
        break;
    }
}

void Tfrmstxz::done(int result)
{
    FormCloseQuery();
    QDialog::done(result);
}

void Tfrmstxz::FormCloseQuery() { DataModule->ADOCn2.close(); }
