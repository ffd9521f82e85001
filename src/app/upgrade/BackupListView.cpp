#include "BackupListView.h"

#include <QHeaderView>
#include <QLocale>
#include <QTreeWidget>

namespace {
QString sizeText(qint64 bytes) { return QLocale(QLocale::Chinese).formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat); }
} // namespace

QTreeWidget *makeBackupList(QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("BackupList"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("备份时间"), QStringLiteral("类型"), QStringLiteral("大小"),
                           QStringLiteral("学习进度")});
    list->header()->resizeSection(0, 150);
    list->header()->resizeSection(1, 64);
    list->header()->resizeSection(2, 80);
    return list;
}

void fillBackupList(QTreeWidget *list, const QVector<backup::BackupInfo> &backups)
{
    list->clear();
    for (const backup::BackupInfo &b : backups) {
        auto *item = new QTreeWidgetItem(list, {b.made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                                backup::kindText(b.kind), sizeText(b.bytes), backup::summaryOf(b)});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setDisabled(!b.sound);
    }
}

int chosenBackupRow(const QTreeWidget *list)
{
    return list->currentItem() ? list->indexOfTopLevelItem(list->currentItem()) : -1;
}
