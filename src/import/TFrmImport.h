#pragma once

#include "ImportPlan.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
namespace ui {
class Bevel;
class TitleStrip;
} // namespace ui

// 题库导入: a question file is read, every recognized question is shown
// with what is wrong with it, the learner leaves out or corrects questions,
// and 导入 writes the chosen ones into a section as one batch that 撤销导入
// can take back.
class TFrmImport : public QDialog {
    Q_OBJECT
public:
    // `section`: the chapter the selector had chosen (a heading picks its first section).
    explicit TFrmImport(QWidget *parent = nullptr, const QString &section = QString());
    ~TFrmImport() override;

    // Reads and recognizes a file as if the learner had chosen it; false when it could not be read.
    bool openFile(const QString &path);
    void selectSection(const QString &code);
    const importing::ImportPlan *plan() const { return m_plan.get(); }

    // Questions written or removed while the window was open (the selector refreshes its counters).
    int ChangedCount = 0;

    ui::TitleStrip *Caption;
    ui::Bevel *epBevel1;
    QLineEdit *FileEdit;
    QPushButton *ChooseButton;
    QComboBox *SectionBox;
    QCheckBox *FlaggedOnly;
    QLabel *LbRecognized;
    QLabel *LbFlagged;
    QLabel *LbDuplicates;
    QLabel *LbToImport;
    QLabel *LbUnplaced;
    QSplitter *Splitter;
    QTreeWidget *QuestionList;
    QTextBrowser *Detail;
    QComboBox *TypeBox;
    QLineEdit *KeyEdit;
    QPlainTextEdit *SourceText;
    QPushButton *ImportButton;
    QPushButton *UndoButton;
    QPushButton *CloseButton;

private:
    void buildControls();
    QWidget *buildDetail(QWidget *parent);
    void applyLayout(bool compact);
    void fillSections();
    void ChooseButtonClick();
    void sectionChanged();
    // keepDecisions: the same file read again, the learner's corrections and choices stay.
    void rebuildPlan(bool keepDecisions = true);
    void fillList();
    void showRow(int index);
    void showCounts();
    void showCurrent();
    void applyFilter();
    void itemChanged(QTreeWidgetItem *item, int column);
    void TypeBoxActivated(int entry);
    void KeyEditFinished();
    void ImportButtonClick();
    void UndoButtonClick();
    int currentIndex() const;

    QString m_file;
    int m_recognizedSubject = 0;
    formats::import::Recognition m_recognition;
    std::unique_ptr<importing::ImportPlan> m_plan;
    bool m_filling = false;
};
