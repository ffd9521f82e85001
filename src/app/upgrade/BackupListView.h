#pragma once

#include "Backups.h"

class QTreeWidget;
class QWidget;

// The backup copies as a list of time, kind, size and learning progress;
// copies that are not sound are shown but cannot be chosen.
QTreeWidget *makeBackupList(QWidget *parent);
void fillBackupList(QTreeWidget *list, const QVector<backup::BackupInfo> &backups);
// The row of the chosen copy, or -1.
int chosenBackupRow(const QTreeWidget *list);
