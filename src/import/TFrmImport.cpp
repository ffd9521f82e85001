#include "TFrmImport.h"

#include "Bevel.h"
#include "DataModule.h"
#include "Error.h"
#include "FileDialogs.h"
#include "Globals.h"
#include "ImportBatches.h"
#include "ImportView.h"
#include "Settings.h"
#include "TFrmDlg.h"
#include "TFrmImportUndo.h"
#include "TitleStrip.h"
#include "Backups.h"
#include "WaitCursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace importing;

namespace {

const int kCaptionHeight = 25;
const QString kFolderSetting = QStringLiteral("import.folder");
const QString kFileFilter =
    QStringLiteral("题目文件 (*.docx *.xlsx *.txt *.csv *.gift);;Word 文档 (*.docx);;Excel 表格 (*.xlsx);;"
                   "文本文件 (*.txt *.csv *.gift);;所有文件 (*)");

enum Column { ColumnImport, ColumnNumber, ColumnType, ColumnStem, ColumnKey, ColumnProblems };

void say(const QString &caption, const QString &text, int icon)
{
    ShowMessageBox(caption, text, 1, QStringLiteral("NO"), icon);
}

QLabel *countLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

TFrmImport::TFrmImport(QWidget *parent, const QString &section)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmImport"));
    setWindowTitle(QStringLiteral("题库导入"));
    buildControls();
    fillSections();
    selectSection(section);
    applyLayout(ScreenClass == QLatin1String("800"));
    showCounts();
}

TFrmImport::~TFrmImport() = default;

void TFrmImport::buildControls()
{
    Caption = new ui::TitleStrip(QStringLiteral("题库导入"), this);
    epBevel1 = new ui::Bevel(this);
    auto *page = new QVBoxLayout(epBevel1);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("题目文件："), epBevel1));
    FileEdit = new QLineEdit(epBevel1);
    FileEdit->setObjectName(QStringLiteral("FileEdit"));
    FileEdit->setReadOnly(true);
    FileEdit->setPlaceholderText(QStringLiteral("Word（.docx）、Excel（.xlsx）、文本（.txt .csv）、Aiken 或 GIFT 格式"));
    fileRow->addWidget(FileEdit, 1);
    ChooseButton = new QPushButton(QStringLiteral("选择文件…"), epBevel1);
    ChooseButton->setObjectName(QStringLiteral("ChooseButton"));
    connect(ChooseButton, &QPushButton::clicked, this, &TFrmImport::ChooseButtonClick);
    fileRow->addWidget(ChooseButton);
    page->addLayout(fileRow);

    auto *sectionRow = new QHBoxLayout;
    sectionRow->addWidget(new QLabel(QStringLiteral("导入到小节："), epBevel1));
    SectionBox = new QComboBox(epBevel1);
    SectionBox->setObjectName(QStringLiteral("SectionBox"));
    SectionBox->setMaxVisibleItems(20);
    connect(SectionBox, QOverload<int>::of(&QComboBox::activated), this, &TFrmImport::sectionChanged);
    sectionRow->addWidget(SectionBox, 1);
    FlaggedOnly = new QCheckBox(QStringLiteral("只看有问题的题目"), epBevel1);
    FlaggedOnly->setObjectName(QStringLiteral("FlaggedOnly"));
    connect(FlaggedOnly, &QCheckBox::toggled, this, &TFrmImport::applyFilter);
    sectionRow->addWidget(FlaggedOnly);
    page->addLayout(sectionRow);

    auto *countRow = new QHBoxLayout;
    LbRecognized = countLabel("LbRecognized", epBevel1);
    LbFlagged = countLabel("LbFlagged", epBevel1);
    LbDuplicates = countLabel("LbDuplicates", epBevel1);
    LbToImport = countLabel("LbToImport", epBevel1);
    LbUnplaced = countLabel("LbUnplaced", epBevel1);
    for (QLabel *label : {LbRecognized, LbFlagged, LbDuplicates, LbToImport, LbUnplaced})
        countRow->addWidget(label);
    countRow->addStretch(1);
    page->addLayout(countRow);

    Splitter = new QSplitter(Qt::Horizontal, epBevel1);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    QuestionList = new QTreeWidget(Splitter);
    QuestionList->setObjectName(QStringLiteral("QuestionList"));
    QuestionList->setRootIsDecorated(false);
    QuestionList->setUniformRowHeights(true);
    QuestionList->setHeaderLabels({QStringLiteral("导入"), QStringLiteral("题号"), QStringLiteral("题型"),
                                   QStringLiteral("题干"), QStringLiteral("答案"), QStringLiteral("问题")});
    connect(QuestionList, &QTreeWidget::itemChanged, this, &TFrmImport::itemChanged);
    connect(QuestionList, &QTreeWidget::currentItemChanged, this, &TFrmImport::showCurrent);
    Splitter->addWidget(QuestionList);
    Splitter->addWidget(buildDetail(Splitter));
    Splitter->setStretchFactor(0, 3);
    Splitter->setStretchFactor(1, 2);
    page->addWidget(Splitter, 1);

    auto *buttons = new QHBoxLayout;
    ImportButton = new QPushButton(QStringLiteral("导入"), epBevel1);
    ImportButton->setObjectName(QStringLiteral("ImportButton"));
    connect(ImportButton, &QPushButton::clicked, this, &TFrmImport::ImportButtonClick);
    UndoButton = new QPushButton(QStringLiteral("撤销导入…"), epBevel1);
    UndoButton->setObjectName(QStringLiteral("UndoButton"));
    connect(UndoButton, &QPushButton::clicked, this, &TFrmImport::UndoButtonClick);
    CloseButton = new QPushButton(QStringLiteral("关闭"), epBevel1);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ImportButton);
    buttons->addWidget(UndoButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    page->addLayout(buttons);
}

QWidget *TFrmImport::buildDetail(QWidget *parent)
{
    auto *panel = new QWidget(parent);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    Detail = new QTextBrowser(panel);
    Detail->setObjectName(QStringLiteral("Detail"));
    column->addWidget(Detail, 3);
    auto *corrections = new QHBoxLayout;
    corrections->addWidget(new QLabel(QStringLiteral("题型："), panel));
    TypeBox = new QComboBox(panel);
    TypeBox->setObjectName(QStringLiteral("TypeBox"));
    connect(TypeBox, QOverload<int>::of(&QComboBox::activated), this, &TFrmImport::TypeBoxActivated);
    corrections->addWidget(TypeBox, 1);
    corrections->addWidget(new QLabel(QStringLiteral("答案："), panel));
    KeyEdit = new QLineEdit(panel);
    KeyEdit->setObjectName(QStringLiteral("KeyEdit"));
    KeyEdit->setMaxLength(100);
    KeyEdit->setMaximumWidth(90);
    KeyEdit->setToolTip(QStringLiteral("改正答案后按回车"));
    connect(KeyEdit, &QLineEdit::editingFinished, this, &TFrmImport::KeyEditFinished);
    corrections->addWidget(KeyEdit);
    column->addLayout(corrections);
    column->addWidget(new QLabel(QStringLiteral("原文："), panel));
    SourceText = new QPlainTextEdit(panel);
    SourceText->setObjectName(QStringLiteral("SourceText"));
    SourceText->setReadOnly(true);
    column->addWidget(SourceText, 2);
    return panel;
}

void TFrmImport::applyLayout(bool compact)
{
    const QSize size = compact ? QSize(790, 570) : QSize(990, 700);
    setFixedSize(size);
    Caption->setGeometry(0, 0, size.width(), kCaptionHeight);
    epBevel1->setGeometry(0, kCaptionHeight, size.width(), size.height() - kCaptionHeight);
    // The list gets three fifths, enough to show each question's problems beside its stem.
    const int list = (size.width() - 24) * 3 / 5;
    Splitter->setSizes({list, size.width() - 24 - list});
    QHeaderView *header = QuestionList->header();
    header->resizeSection(ColumnImport, compact ? 40 : 44);
    header->resizeSection(ColumnNumber, compact ? 78 : 84);
    header->resizeSection(ColumnType, compact ? 76 : 84);
    header->resizeSection(ColumnStem, compact ? 116 : 200);
    header->resizeSection(ColumnKey, compact ? 40 : 44);
}

void TFrmImport::fillSections()
{
    store::Statement rows(DataModule->ADOCn1.handle(),
                          QStringLiteral("select C1, C2 from tab_kmmc where length(C1) = 6 order by C1"), {});
    while (rows.step())
        SectionBox->addItem(rows.value(0).toString() + QLatin1Char(' ') + rows.value(1).toString().trimmed(),
                            rows.value(0).toString());
}

void TFrmImport::selectSection(const QString &code)
{
    for (int i = 0; i < SectionBox->count(); ++i)
        if (!code.isEmpty() && SectionBox->itemData(i).toString().startsWith(code)) {
            SectionBox->setCurrentIndex(i);
            sectionChanged();
            return;
        }
}

bool TFrmImport::openFile(const QString &path)
{
    const int subject = authoring::subjectOfChapter(SectionBox->currentData().toString());
    try {
        ui::WaitCursor wait;
        m_recognition = formats::import::recognizeFile(path, subject);
    } catch (const formats::import::ImportError &e) {
        say(QStringLiteral("错误"), QStringLiteral("无法读取文件“%1”：%2").arg(QFileInfo(path).fileName(), e.message()),
            2);
        return false;
    }
    m_file = path;
    m_recognizedSubject = subject;
    FileEdit->setText(QDir::toNativeSeparators(path));
    rebuildPlan(false);
    return true;
}

void TFrmImport::ChooseButtonClick()
{
    store::Connection &bank = DataModule->ADOCn1;
    const QString folder = store::settings::value(bank, kFolderSetting, QDir::homePath());
    const QString path = ui::getOpenFileName(this, QStringLiteral("选择题目文件"), folder, kFileFilter);
    if (path.isEmpty())
        return;
    if (!bank.isReadOnly())
        store::settings::setValue(bank, kFolderSetting, QFileInfo(path).absolutePath());
    openFile(path);
}

void TFrmImport::sectionChanged()
{
    if (m_file.isEmpty())
        return;
    if (authoring::subjectOfChapter(SectionBox->currentData().toString()) != m_recognizedSubject)
        openFile(m_file); // the subject decides the type of questions without options
    else
        rebuildPlan();
}

void TFrmImport::rebuildPlan(bool keepDecisions)
{
    if (m_file.isEmpty())
        return;
    try {
        ui::WaitCursor wait;
        const ImportTarget target = ImportTarget::read(DataModule->ADOCn1, SectionBox->currentData().toString());
        auto plan = std::make_unique<ImportPlan>(m_recognition, target);
        if (keepDecisions && m_plan)
            plan->carryOver(*m_plan);
        m_plan = std::move(plan);
    } catch (const ImportRefused &e) {
        m_plan.reset();
        say(QStringLiteral("提示"), e.message(), 1);
    }
    TypeBox->clear();
    if (m_plan)
        for (const authoring::QuestionType &type : m_plan->target().types)
            TypeBox->addItem(type.name, type.code);
    fillList();
}

void TFrmImport::fillList()
{
    m_filling = true;
    QuestionList->clear();
    if (m_plan) {
        QList<QTreeWidgetItem *> rows;
        rows.reserve(m_plan->items().size());
        for (int i = 0; i < m_plan->items().size(); ++i)
            rows << new QTreeWidgetItem;
        QuestionList->addTopLevelItems(rows);
        for (int i = 0; i < m_plan->items().size(); ++i)
            showRow(i);
    }
    m_filling = false;
    applyFilter();
    showCounts();
    if (QuestionList->topLevelItemCount() > 0)
        QuestionList->setCurrentItem(QuestionList->topLevelItem(0));
    else
        showCurrent();
}

void TFrmImport::showRow(int index)
{
    const bool wasFilling = m_filling;
    m_filling = true;
    importview::fillRow(*QuestionList->topLevelItem(index), *m_plan, index);
    m_filling = wasFilling;
}

void TFrmImport::showCounts()
{
    const ImportCounts counts = m_plan ? m_plan->counts() : ImportCounts{};
    LbRecognized->setText(QStringLiteral("识别 %1 题").arg(counts.recognized));
    LbFlagged->setText(QStringLiteral("有问题 %1 题").arg(counts.flagged));
    LbDuplicates->setText(QStringLiteral("与题库重复 %1 题").arg(counts.duplicates));
    LbToImport->setText(QStringLiteral("将导入 %1 题").arg(counts.toImport));
    const int unplaced = m_plan ? int(m_plan->unplaced().size()) : 0;
    LbUnplaced->setVisible(unplaced > 0);
    LbUnplaced->setText(QStringLiteral("另有 %1 处文字未能识别").arg(unplaced));
    LbUnplaced->setToolTip(m_plan ? importview::unplacedText(*m_plan) : QString());
    ImportButton->setEnabled(counts.toImport > 0 && !DataModule->ADOCn1.isReadOnly());
    UndoButton->setEnabled(!DataModule->ADOCn1.isReadOnly());
}

int TFrmImport::currentIndex() const
{
    QTreeWidgetItem *item = QuestionList->currentItem();
    return item && m_plan ? QuestionList->indexOfTopLevelItem(item) : -1;
}

void TFrmImport::showCurrent()
{
    const int index = currentIndex();
    TypeBox->setEnabled(index >= 0);
    KeyEdit->setEnabled(index >= 0);
    if (index < 0) {
        Detail->clear();
        SourceText->clear();
        KeyEdit->clear();
        return;
    }
    importview::showDetail(*Detail->document(), *m_plan, index);
    const formats::import::RecognizedQuestion &q = m_plan->items().at(index).question;
    SourceText->setPlainText(q.sourceText);
    TypeBox->setCurrentIndex(TypeBox->findData(q.type));
    KeyEdit->setText(q.key);
}

void TFrmImport::applyFilter()
{
    const bool flaggedOnly = FlaggedOnly->isChecked();
    for (int i = 0; i < QuestionList->topLevelItemCount(); ++i)
        QuestionList->topLevelItem(i)->setHidden(flaggedOnly && !m_plan->isFlagged(i));
}

void TFrmImport::itemChanged(QTreeWidgetItem *item, int column)
{
    if (m_filling || column != ColumnImport || !m_plan)
        return;
    const int index = QuestionList->indexOfTopLevelItem(item);
    m_plan->setExcluded(index, item->checkState(ColumnImport) != Qt::Checked);
    showRow(index);
    showCounts();
}

void TFrmImport::TypeBoxActivated(int entry)
{
    const int index = currentIndex();
    if (index < 0 || entry < 0)
        return;
    m_plan->setType(index, TypeBox->itemData(entry).toInt());
    showRow(index);
    showCounts();
    showCurrent();
}

void TFrmImport::KeyEditFinished()
{
    const int index = currentIndex();
    if (index < 0 || KeyEdit->text().trimmed().toUpper() == m_plan->items().at(index).question.key)
        return;
    m_plan->setKey(index, KeyEdit->text());
    showRow(index);
    showCounts();
    showCurrent();
}

void TFrmImport::ImportButtonClick()
{
    if (!m_plan)
        return;
    try {
        ui::WaitCursor wait;
        const ImportOutcome outcome =
            importPlan(DataModule->ADOCn1, *m_plan, m_file, backup::folderFor(AppDir));
        ChangedCount += int(outcome.ids.size());
        const QString text = outcomeText(outcome, m_plan->target());
        rebuildPlan(); // what was just written now shows as a duplicate
        wait.restore();
        say(QStringLiteral("提示"), text, 0);
    } catch (const ImportRefused &e) {
        say(QStringLiteral("提示"), e.message(), 1);
    } catch (const store::Error &e) {
        qWarning("import: %s", qPrintable(e.message()));
        say(QStringLiteral("错误"), QStringLiteral("导入题目出现错误，题库没有改变！"), 2);
    }
}

void TFrmImport::UndoButtonClick()
{
    TFrmImportUndo undo(this);
    undo.exec();
    if (undo.RemovedCount == 0)
        return;
    ChangedCount += undo.RemovedCount;
    rebuildPlan();
}
