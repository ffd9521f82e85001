#pragma once

#include "ImportBatches.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;
namespace ui {
class Bevel;
class TitleStrip;
} // namespace ui

// 撤销导入: the imports made so far, newest first; one chosen batch is taken
// out of the bank after a confirmation that says what will go.
class TFrmImportUndo : public QDialog {
    Q_OBJECT
public:
    explicit TFrmImportUndo(QWidget *parent = nullptr);

    void refreshList();
    int RemovedCount = 0; // questions removed while the window was open

    ui::TitleStrip *Caption;
    ui::Bevel *epBevel1;
    QTreeWidget *BatchList;
    QPushButton *UndoButton;
    QPushButton *CloseButton;

private:
    void UndoButtonClick();
    void updateButtons();

    QVector<importing::BatchInfo> m_batches;
};
