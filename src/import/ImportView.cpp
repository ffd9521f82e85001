#include "ImportView.h"

#include "ImportPlan.h"
#include "QuestionBody.h"
#include "RtfReader.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidgetItem>

namespace importview {

namespace {

const QColor kWarning(0xa0, 0x1e, 0x1e);
const int kShownStem = 60;

QString typeName(const importing::ImportPlan &plan, int index)
{
    if (const authoring::QuestionType *type = plan.typeOf(index))
        return type->name;
    const int code = plan.items().at(index).question.type;
    return code == 0 ? QStringLiteral("？") : QString::number(code);
}

void appendParagraph(QTextCursor &cursor, const QString &label, const QString &text, const QColor &colour = QColor())
{
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    if (colour.isValid())
        bold.setForeground(colour);
    cursor.insertText(label, bold);
    QTextCharFormat plain;
    if (colour.isValid())
        plain.setForeground(colour);
    cursor.insertText(text, plain);
}

} // namespace

void fillRow(QTreeWidgetItem &row, const importing::ImportPlan &plan, int index)
{
    const importing::ImportItem &item = plan.items().at(index);
    const bool writable = plan.blocker(index).isEmpty();
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (writable)
        flags |= Qt::ItemIsUserCheckable;
    row.setFlags(flags);
    row.setCheckState(0, plan.willImport(index) ? Qt::Checked : Qt::Unchecked);
    row.setText(1, QStringLiteral("%1（%2行）").arg(index + 1).arg(item.question.line));
    row.setText(2, typeName(plan, index));
    QString stem = item.question.stem.simplified();
    if (stem.size() > kShownStem)
        stem = stem.left(kShownStem) + QStringLiteral("…");
    row.setText(3, stem);
    row.setToolTip(3, item.question.stem);
    row.setText(4, item.question.key);
    const QStringList problems = plan.problemsOf(index);
    row.setText(5, problems.join(QStringLiteral("；")));
    row.setToolTip(5, problems.join(QLatin1Char('\n')));
    const QBrush ink = problems.isEmpty() ? QBrush() : QBrush(kWarning);
    for (int column = 1; column < row.columnCount(); ++column)
        row.setForeground(column, ink);
}

void showDetail(QTextDocument &document, const importing::ImportPlan &plan, int index)
{
    const formats::import::RecognizedQuestion &q = plan.items().at(index).question;
    rtf::RtfReader::read(importing::bodyRtf(q), &document);
    QTextCursor cursor(&document);
    appendParagraph(cursor, QStringLiteral("答案："), q.key.isEmpty() ? QStringLiteral("（无）") : q.key);
    if (!q.explanation.trimmed().isEmpty())
        appendParagraph(cursor, QStringLiteral("解析："), q.explanation);
    appendParagraph(cursor, QStringLiteral("放入："),
                    plan.items().at(index).chapter + QLatin1Char(' ')
                        + plan.target().sectionNames.value(plan.items().at(index).chapter));
    const QStringList problems = plan.problemsOf(index);
    if (!problems.isEmpty())
        appendParagraph(cursor, QStringLiteral("问题："), problems.join(QStringLiteral("；")), kWarning);
}

QString unplacedText(const importing::ImportPlan &plan)
{
    QStringList lines;
    for (const formats::import::RecognitionProblem &p : plan.unplaced())
        lines << QStringLiteral("第 %1 行：%2").arg(p.line).arg(p.reason);
    return lines.join(QLatin1Char('\n'));
}

} // namespace importview
