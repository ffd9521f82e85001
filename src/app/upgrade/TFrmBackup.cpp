#include "TFrmBackup.h"

#include "BackupListView.h"
#include "Bevel.h"
#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "Schema.h"
#include "TFrmDlg.h"
#include "TitleStrip.h"
#include "WaitCursor.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {
const QSize kSize(600, 380);
const int kCaptionHeight = 25;

void say(const QString &caption, const QString &text, int icon)
{
    ShowMessageBox(caption, text, 1, QStringLiteral("NO"), icon);
}

// Datasets the windows share hold rows of the bank that was replaced.
void forgetOpenDatasets()
{
    for (store::Dataset *d : std::initializer_list<store::Dataset *>{
             &DataModule->Cn1Table_kmmc, &DataModule->Cn1Table_tx, &DataModule->Cn1Table_rz, &DataModule->Cn1Table_cj,
             &DataModule->Cn1Table_fgmc, &DataModule->Cn1Table_plan, &DataModule->Cn1Query1, &DataModule->Cn1Query2,
             &DataModule->Cn1Query3, &DataModule->Cn1Query_tm, &DataModule->Cn1Query_exam})
        d->close();
}
} // namespace

TFrmBackup::TFrmBackup(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmBackup"));
    setWindowTitle(QStringLiteral("题库备份"));
    setFixedSize(kSize);
    m_folder = backup::folderFor(AppDir);
    Caption = new ui::TitleStrip(QStringLiteral("题库备份"), this);
    Caption->setGeometry(0, 0, kSize.width(), kCaptionHeight);
    epBevel1 = new ui::Bevel(this);
    epBevel1->setGeometry(0, kCaptionHeight, kSize.width(), kSize.height() - kCaptionHeight);
    QWidget *area = epBevel1;

    LabelFolder = new QLabel(area);
    LabelFolder->setObjectName(QStringLiteral("LabelFolder"));
    LabelFolder->setGeometry(12, 8, kSize.width() - 24, 36);
    LabelFolder->setWordWrap(true);
    LabelFolder->setText(QStringLiteral("每天启动时自动备份一次，升级前也会备份；保留最近 7 天和此前 4 周的备份。\n备份位置：%1")
                             .arg(QDir::toNativeSeparators(m_folder)));

    BackupList = makeBackupList(area);
    BackupList->setGeometry(12, 50, kSize.width() - 24, 250);
    connect(BackupList, &QTreeWidget::itemSelectionChanged, this, &TFrmBackup::updateButtons);

    BackupNowButton = new QPushButton(QStringLiteral("立即备份"), area);
    BackupNowButton->setObjectName(QStringLiteral("BackupNowButton"));
    BackupNowButton->setGeometry(12, 312, 96, 28);
    connect(BackupNowButton, &QPushButton::clicked, this, &TFrmBackup::BackupNowButtonClick);
    RestoreButton = new QPushButton(QStringLiteral("恢复所选备份"), area);
    RestoreButton->setObjectName(QStringLiteral("RestoreButton"));
    RestoreButton->setGeometry(116, 312, 120, 28);
    connect(RestoreButton, &QPushButton::clicked, this, &TFrmBackup::RestoreButtonClick);
    CloseButton = new QPushButton(QStringLiteral("关闭"), area);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setGeometry(kSize.width() - 12 - 80, 312, 80, 28);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    refreshList();
}

void TFrmBackup::refreshList()
{
    m_backups = backup::listBackups(m_folder);
    fillBackupList(BackupList, m_backups);
    if (!m_backups.isEmpty() && m_backups.first().sound)
        BackupList->setCurrentItem(BackupList->topLevelItem(0));
    updateButtons();
}

void TFrmBackup::updateButtons()
{
    const int row = chosenBackupRow(BackupList);
    RestoreButton->setEnabled(row >= 0 && m_backups.at(row).sound);
}

void TFrmBackup::BackupNowButtonClick()
{
    try {
        ui::WaitCursor wait;
        backup::makeBackup(DataModule->ADOCn1, m_folder, backup::Kind::Manual);
    } catch (const store::Error &e) {
        qWarning("backup: %s", qPrintable(e.message()));
        say(QStringLiteral("错误"), QStringLiteral("备份失败！"), 2);
        return;
    }
    refreshList();
    say(QStringLiteral("提示"), QStringLiteral("备份成功！"), 0);
}

void TFrmBackup::RestoreButtonClick()
{
    const int row = chosenBackupRow(BackupList);
    if (row < 0)
        return;
    const backup::BackupInfo chosen = m_backups.at(row);
    const QString question =
        QStringLiteral("确定用 %1 的备份（%2）替换当前题库吗？当前题库会先备份一份。")
            .arg(chosen.made.toString(QStringLiteral("yyyy-MM-dd HH:mm")), backup::summaryOf(chosen));
    if (ShowMessageBox(QStringLiteral("提示"), question, 0, QStringLiteral("NO"), 1) != 1)
        return;
    try {
        ui::WaitCursor wait;
        backup::restoreWithSafetyCopy(DataModule->ADOCn1, chosen.path, m_folder);
        forgetOpenDatasets();
        store::schema::migrate(DataModule->ADOCn1);
    } catch (const store::Error &e) {
        qWarning("restore: %s", qPrintable(e.message()));
        refreshList();
        say(QStringLiteral("错误"), QStringLiteral("恢复失败！"), 2);
        return;
    }
    refreshList();
    say(QStringLiteral("提示"), QStringLiteral("恢复成功！"), 0);
}
