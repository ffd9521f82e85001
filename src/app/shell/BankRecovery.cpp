#include "BankRecovery.h"

#include "BackupListView.h"
#include "Bevel.h"
#include "Clock.h"
#include "Error.h"
#include "Globals.h"
#include "SystemMessageBox.h"
#include "TitleStrip.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const QSize kSize(600, 320);
const int kCaptionHeight = 25;
const int kButtonTop = kSize.height() - kCaptionHeight - 12 - 28;

bool passesQuickCheck(TDM1 &dm)
{
    try {
        return dm.ADOCn1.scalar(QStringLiteral("PRAGMA quick_check")).toString() == QLatin1String("ok");
    } catch (const store::Error &) {
        return false;
    }
}

std::unique_ptr<TDM1> openSoundBank(const QString &programFolder)
{
    auto dm = std::make_unique<TDM1>(programFolder);
    if (dm->connected && passesQuickCheck(*dm))
        return dm;
    return nullptr;
}

} // namespace

TFrmRecover::TFrmRecover(const QVector<backup::BackupInfo> &backups, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_backups(backups)
{
    setObjectName(QStringLiteral("FrmRecover"));
    setWindowTitle(QStringLiteral("恢复题库"));
    setFixedSize(kSize);
    Caption = new ui::TitleStrip(QStringLiteral("恢复题库"), this);
    Caption->setGeometry(0, 0, kSize.width(), kCaptionHeight);
    epBevel1 = new ui::Bevel(this);
    epBevel1->setGeometry(0, kCaptionHeight, kSize.width(), kSize.height() - kCaptionHeight);
    QWidget *area = epBevel1;

    LabelProblem = new QLabel(QStringLiteral("题库无法打开或已损坏。请选择用哪一份备份恢复题库；"
                                             "损坏的题库文件会保留在 data 文件夹中。"),
                              area);
    LabelProblem->setObjectName(QStringLiteral("LabelProblem"));
    LabelProblem->setGeometry(12, 8, kSize.width() - 24, 36);
    LabelProblem->setWordWrap(true);

    BackupList = makeBackupList(area);
    BackupList->setGeometry(12, 50, kSize.width() - 24, 190);
    fillBackupList(BackupList, m_backups);
    if (const int row = backup::recoveryChoice(m_backups); row >= 0)
        BackupList->setCurrentItem(BackupList->topLevelItem(row));
    connect(BackupList, &QTreeWidget::itemSelectionChanged, this, &TFrmRecover::updateButtons);
    connect(BackupList, &QTreeWidget::itemDoubleClicked, this, &TFrmRecover::RestoreButtonClick);

    RestoreButton = new QPushButton(QStringLiteral("恢复所选备份"), area);
    RestoreButton->setObjectName(QStringLiteral("RestoreButton"));
    RestoreButton->setGeometry(kSize.width() - 12 - 80 - 8 - 120, kButtonTop, 120, 28);
    RestoreButton->setDefault(true);
    connect(RestoreButton, &QPushButton::clicked, this, &TFrmRecover::RestoreButtonClick);
    CancelButton = new QPushButton(QStringLiteral("不恢复"), area);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(kSize.width() - 12 - 80, kButtonTop, 80, 28);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    updateButtons();
}

void TFrmRecover::updateButtons()
{
    const int row = chosenBackupRow(BackupList);
    RestoreButton->setEnabled(row >= 0 && m_backups.at(row).sound);
}

void TFrmRecover::RestoreButtonClick()
{
    const int row = chosenBackupRow(BackupList);
    if (row < 0 || !m_backups.at(row).sound)
        return;
    m_chosen = row;
    accept();
}

std::unique_ptr<TDM1> OpenBankOrOfferRestore(const QString &programFolder)
{
    if (auto dm = openSoundBank(programFolder))
        return dm;
    // AppDir is known even when the bank did not open.
    const QString bankFile = AppDir + QStringLiteral("data/Vellumar.mdb");
    const QVector<backup::BackupInfo> backups = backup::listBackups(backup::folderFor(AppDir));
    if (backup::recoveryChoice(backups) < 0)
        return nullptr;
    TFrmRecover window(backups);
    if (window.exec() != QDialog::Accepted)
        return nullptr;
    const backup::BackupInfo chosen = window.chosen();
    QString aside;
    try {
        aside = backup::restoreFile(bankFile, chosen.path);
    } catch (const store::Error &e) {
        qWarning("restore at start-up: %s", qPrintable(e.message()));
        SystemMessageBox(QStringLiteral("错误"), QStringLiteral("恢复失败！\n") + e.message(), QMessageBox::Critical);
        return nullptr;
    }
    auto dm = openSoundBank(programFolder);
    if (dm) {
        QString text = QStringLiteral("已用 %1 的%2备份恢复题库（%3）。")
                           .arg(chosen.made.toString(QStringLiteral("yyyy-MM-dd HH:mm")), backup::kindText(chosen.kind),
                                backup::summaryOf(chosen));
        if (!aside.isEmpty())
            text += QStringLiteral("\n损坏的题库文件已保存为 %1。").arg(QDir::toNativeSeparators(aside));
        SystemMessageBox(QStringLiteral("提示"), text, QMessageBox::Information);
    }
    return dm;
}

void MakeDailyBackup(TDM1 &dataModule)
{
    const QString folder = backup::folderFor(AppDir);
    const QDate day = store::today();
    if (backup::hasBackupOn(folder, day))
        return;
    try {
        backup::makeBackup(dataModule.ADOCn1, folder, backup::Kind::Daily, QDateTime(day, QTime::currentTime()));
    } catch (const store::Error &e) {
        qWarning("daily backup: %s", qPrintable(e.message()));
    }
}
