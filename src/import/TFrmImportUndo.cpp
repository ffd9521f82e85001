#include "TFrmImportUndo.h"

#include "Backups.h"
#include "Bevel.h"
#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "TFrmDlg.h"
#include "TitleStrip.h"
#include "WaitCursor.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace importing;

namespace {
const int kCaptionHeight = 25;

void say(const QString &caption, const QString &text, int icon)
{
    ShowMessageBox(caption, text, 1, QStringLiteral("NO"), icon);
}

QString confirmation(const BatchInfo &b)
{
    const QString what = QStringLiteral("%1 从“%2”导入的 %3 道题")
                             .arg(b.made.toString(QStringLiteral("yyyy-MM-dd HH:mm")), b.file)
                             .arg(b.questions);
    if (b.answered == 0)
        return QStringLiteral("确定撤销%1吗？这些题目将从题库中删除。").arg(what);
    return QStringLiteral("%1中有 %2 道已经做过。撤销会删除这些题目，并从章节和考点的统计中去掉它们的答题记录"
                          "（学习日志保留）。确定撤销吗？")
        .arg(what)
        .arg(b.answered);
}
} // namespace

TFrmImportUndo::TFrmImportUndo(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmImportUndo"));
    setWindowTitle(QStringLiteral("撤销导入"));
    const QSize size = ScreenClass == QLatin1String("800") ? QSize(620, 360) : QSize(700, 400);
    setFixedSize(size);
    Caption = new ui::TitleStrip(QStringLiteral("撤销导入"), this);
    Caption->setGeometry(0, 0, size.width(), kCaptionHeight);
    epBevel1 = new ui::Bevel(this);
    epBevel1->setGeometry(0, kCaptionHeight, size.width(), size.height() - kCaptionHeight);
    auto *page = new QVBoxLayout(epBevel1);
    auto *hint = new QLabel(QStringLiteral("选择一次导入，撤销后这一批题目全部从题库中删除；撤销前会先备份题库。"),
                            epBevel1);
    hint->setWordWrap(true);
    page->addWidget(hint);
    BatchList = new QTreeWidget(epBevel1);
    BatchList->setObjectName(QStringLiteral("BatchList"));
    BatchList->setRootIsDecorated(false);
    BatchList->setHeaderLabels({QStringLiteral("导入时间"), QStringLiteral("文件"), QStringLiteral("小节"),
                                QStringLiteral("题数"), QStringLiteral("已做")});
    BatchList->header()->resizeSection(0, 140);
    BatchList->header()->resizeSection(1, size.width() / 4);
    BatchList->header()->resizeSection(2, size.width() / 4);
    BatchList->header()->resizeSection(3, 50);
    connect(BatchList, &QTreeWidget::itemSelectionChanged, this, &TFrmImportUndo::updateButtons);
    page->addWidget(BatchList, 1);
    auto *buttons = new QHBoxLayout;
    UndoButton = new QPushButton(QStringLiteral("撤销所选导入"), epBevel1);
    UndoButton->setObjectName(QStringLiteral("UndoButton"));
    connect(UndoButton, &QPushButton::clicked, this, &TFrmImportUndo::UndoButtonClick);
    CloseButton = new QPushButton(QStringLiteral("关闭"), epBevel1);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(UndoButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    page->addLayout(buttons);
    refreshList();
}

void TFrmImportUndo::refreshList()
{
    m_batches = listBatches(DataModule->ADOCn1);
    BatchList->clear();
    for (const BatchInfo &b : std::as_const(m_batches)) {
        auto *row = new QTreeWidgetItem(BatchList, {b.made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), b.file,
                                                    b.section + QLatin1Char(' ') + b.sectionName,
                                                    QString::number(b.questions), QString::number(b.answered)});
        row->setToolTip(1, b.file);
        row->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (!m_batches.isEmpty())
        BatchList->setCurrentItem(BatchList->topLevelItem(0));
    updateButtons();
}

void TFrmImportUndo::updateButtons()
{
    UndoButton->setEnabled(BatchList->currentItem() != nullptr && !DataModule->ADOCn1.isReadOnly());
}

void TFrmImportUndo::UndoButtonClick()
{
    const int row = BatchList->currentItem() ? BatchList->indexOfTopLevelItem(BatchList->currentItem()) : -1;
    if (row < 0)
        return;
    const BatchInfo chosen = m_batches.at(row);
    if (ShowMessageBox(QStringLiteral("提示"), confirmation(chosen), 0, QStringLiteral("NO"), 1) != 1)
        return;
    try {
        ui::WaitCursor wait;
        const UndoOutcome outcome = undoBatch(DataModule->ADOCn1, chosen.id, backup::folderFor(AppDir));
        RemovedCount += outcome.removed;
        refreshList();
        wait.restore();
        say(QStringLiteral("提示"), QStringLiteral("已撤销导入，从题库中删除了 %1 道题。").arg(outcome.removed), 0);
    } catch (const ImportRefused &e) {
        refreshList();
        say(QStringLiteral("提示"), e.message(), 1);
    } catch (const store::Error &e) {
        qWarning("undo import: %s", qPrintable(e.message()));
        say(QStringLiteral("错误"), QStringLiteral("撤销导入出现错误，题库没有改变！"), 2);
    }
}
