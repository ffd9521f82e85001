#pragma once

#include "Backups.h"
#include "DataModule.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QTreeWidget;
namespace ui {
class Bevel;
class TitleStrip;
} // namespace ui

// 恢复题库: offered at start-up when the bank is damaged. Lists the backup
// copies as the backup window does; the learner picks the one to restore.
class TFrmRecover : public QDialog {
    Q_OBJECT
public:
    TFrmRecover(const QVector<backup::BackupInfo> &backups, QWidget *parent = nullptr);

    // The copy chosen when the window was accepted.
    const backup::BackupInfo &chosen() const { return m_backups.at(m_chosen); }

    ui::TitleStrip *Caption;
    ui::Bevel *epBevel1;
    QLabel *LabelProblem;
    QTreeWidget *BackupList;
    QPushButton *RestoreButton;
    QPushButton *CancelButton;

private:
    void RestoreButtonClick();
    void updateButtons();

    QVector<backup::BackupInfo> m_backups;
    int m_chosen = -1;
};

// The data module when the bank opens and passes PRAGMA quick_check; otherwise
// offers the sound backups, restores the one the learner picks, says what was
// restored and opens the restored bank.
// Null when there is no usable bank (the caller says so).
std::unique_ptr<TDM1> OpenBankOrOfferRestore(const QString &programFolder);

// The start-up backup: at most one a day, failures only noted.
void MakeDailyBackup(TDM1 &dataModule);
