#include "ImportPlan.h"

#include "Connection.h"
#include "QuestionBody.h"
#include "BankText.h"

namespace importing {

using formats::import::Recognition;
using formats::import::RecognizedQuestion;

const QString kDuplicateReason = QStringLiteral("与题库中的题目重复");

ImportTarget ImportTarget::read(store::Connection &connection, const QString &section)
{
    ImportTarget target;
    target.section = section;
    const QVariant name = connection.scalar(QStringLiteral("select C2 from tab_kmmc where C1 = ? and length(C1) = 6"),
                                            store::Params::byPosition({section}));
    if (section.size() != 6 || name.isNull())
        throw ImportRefused(QStringLiteral("题库中没有小节“%1”，请选择一个6位代码的小节。").arg(section));
    target.sectionName = name.toString().trimmed();
    const int subject = authoring::subjectOfChapter(section);
    target.types = authoring::typesOfSubject(connection, subject);
    store::Statement sections(connection.handle(),
                              QStringLiteral("select C1, C2 from tab_kmmc where length(C1) = 6 and substr(C1, 1, 1) = ?"),
                              store::Params::byPosition({QString::number(subject)}));
    while (sections.step()) {
        const QString code = sections.value(0).toString();
        const QString title = sections.value(1).toString().trimmed();
        target.sectionNames.insert(code, title);
        target.sectionsByHeading.insert(code, code);
        if (!title.isEmpty())
            target.sectionsByHeading.insert(title, code);
    }
    store::Statement texts(connection.handle(), QStringLiteral("select A15 from tab_exer"), {});
    while (texts.step())
        target.bankTexts.insert(comparisonText(bankPlainText(texts.value(0).toByteArray())));
    target.bankTexts.remove(QString());
    return target;
}

ImportPlan::ImportPlan(const Recognition &recognition, const ImportTarget &target)
    : m_target(target), m_unplaced(recognition.problems)
{
    m_items.reserve(recognition.questions.size());
    for (const RecognizedQuestion &question : recognition.questions) {
        ImportItem item;
        item.question = question;
        item.question.key = question.key.trimmed().toUpper();
        item.chapter = m_target.sectionsByHeading.value(question.section.trimmed(), m_target.section);
        item.duplicate = m_target.bankTexts.contains(comparisonTextOf(question));
        m_items.append(item);
    }
    for (int i = 0; i < m_items.size(); ++i)
        m_items[i].excluded = isFlagged(i);
}

const authoring::QuestionType *ImportPlan::typeOf(int index) const
{
    const int code = m_items.at(index).question.type;
    for (const authoring::QuestionType &type : m_target.types)
        if (type.code == code)
            return &type;
    return nullptr;
}

int ImportPlan::optionCount(int index) const
{
    const authoring::QuestionType *type = typeOf(index);
    if (type && type->subjective)
        return 1;
    const RecognizedQuestion &question = m_items.at(index).question;
    if (question.type == 41)
        return 2;
    return qMin(int(question.options.size()), authoring::kMostOptions);
}

QString ImportPlan::blocker(int index) const
{
    const RecognizedQuestion &question = m_items.at(index).question;
    if (question.stem.trimmed().isEmpty())
        return QStringLiteral("没有题干");
    if (question.type == 0)
        return QStringLiteral("没有识别出题型");
    const authoring::QuestionType *type = typeOf(index);
    if (!type)
        return QStringLiteral("本科目没有这种题型（%1）").arg(question.type);
    if (type->subjective)
        return QString();
    if (question.key.isEmpty())
        return QStringLiteral("没有找到答案");
    const authoring::CheckedKey key = authoring::checkKey(*type, optionCount(index), question.key);
    if (!key.ok())
        return key.error;
    return QString();
}

QStringList ImportPlan::problemsOf(int index) const
{
    const ImportItem &item = m_items.at(index);
    QStringList problems = item.corrected ? QStringList() : item.question.problems;
    const bool recognizerExplains = !problems.isEmpty();
    if (item.duplicate)
        problems << kDuplicateReason;
    const QString blocking = blocker(index);
    if (!blocking.isEmpty() && !recognizerExplains && !problems.contains(blocking))
        problems << blocking;
    return problems;
}

ImportCounts ImportPlan::counts() const
{
    ImportCounts counts;
    counts.recognized = int(m_items.size());
    for (int i = 0; i < m_items.size(); ++i) {
        counts.flagged += isFlagged(i) ? 1 : 0;
        counts.duplicates += m_items.at(i).duplicate ? 1 : 0;
        counts.toImport += willImport(i) ? 1 : 0;
    }
    return counts;
}

void ImportPlan::carryOver(const ImportPlan &earlier)
{
    if (earlier.m_items.size() != m_items.size())
        return;
    for (int i = 0; i < m_items.size(); ++i) {
        const ImportItem &before = earlier.m_items.at(i);
        ImportItem &item = m_items[i];
        if (before.corrected) {
            item.question.type = before.question.type;
            item.question.key = before.question.key;
            item.corrected = true;
        }
        item.excluded = before.excluded || item.duplicate;
    }
}

void ImportPlan::setExcluded(int index, bool excluded) { m_items[index].excluded = excluded; }

void ImportPlan::setType(int index, int type)
{
    ImportItem &item = m_items[index];
    item.question.type = type;
    item.corrected = true;
    item.excluded = false;
    const authoring::QuestionType *chosen = typeOf(index);
    if (chosen && chosen->subjective)
        item.question.key = QStringLiteral("1");
    else if (item.question.key == QLatin1String("1"))
        item.question.key.clear();
}

void ImportPlan::setKey(int index, const QString &typed)
{
    ImportItem &item = m_items[index];
    item.corrected = true;
    item.excluded = false;
    const authoring::QuestionType *type = typeOf(index);
    const authoring::CheckedKey key =
        type ? authoring::checkKey(*type, optionCount(index), typed) : authoring::CheckedKey{};
    item.question.key = key.ok() && type ? key.key : typed.trimmed().toUpper();
}

} // namespace importing
