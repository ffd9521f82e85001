#pragma once

#include "Backups.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;
namespace ui {
class Bevel;
class TitleStrip;
} // namespace ui

// 题库备份: the copies in data/backup with their date, size and progress;
// makes a copy now and restores a chosen one after a confirmation.
class TFrmBackup : public QDialog {
    Q_OBJECT
public:
    explicit TFrmBackup(QWidget *parent = nullptr);

    void refreshList();
    int backupCount() const { return int(m_backups.size()); }

    ui::TitleStrip *Caption;
    ui::Bevel *epBevel1;
    QLabel *LabelFolder;
    QTreeWidget *BackupList;
    QPushButton *BackupNowButton;
    QPushButton *RestoreButton;
    QPushButton *CloseButton;

private:
    void BackupNowButtonClick();
    void RestoreButtonClick();
    void updateButtons();

    QString m_folder;
    QVector<backup::BackupInfo> m_backups;
};
