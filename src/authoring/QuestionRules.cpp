#include "QuestionRules.h"

#include "Connection.h"

namespace authoring {

int subjectOfChapter(const QString &chapterCode)
{
    const int subject = chapterCode.left(1).toInt();
    return subject >= 1 && subject <= 5 ? subject : 1;
}

QVector<QuestionType> typesOfSubject(store::Connection &connection, int subject)
{
    QVector<QuestionType> types;
    store::Statement rows(connection.handle(), QStringLiteral("select A1, B1 from tab_tx%1 order by A1").arg(subject), {});
    while (rows.step()) {
        QuestionType type;
        type.code = rows.value(0).toInt();
        type.name = rows.value(1).toString().trimmed();
        type.subjective = isSubjectiveType(type.code, type.name);
        types.append(type);
    }
    return types;
}

bool isSubjectiveType(int code, const QString &name)
{
    static const QStringList names{QStringLiteral("简答"), QStringLiteral("主观"), QStringLiteral("论述"),
                                   QStringLiteral("案例分析"), QStringLiteral("名词解释"), QStringLiteral("查找错误"),
                                   QStringLiteral("综合"), QStringLiteral("计算")};
    if (code == 65 || code == 72 || code == 73 || code == 74)
        return true;
    QString bare = name.trimmed();
    if (bare.endsWith(QStringLiteral("题")))
        bare.chop(1);
    return names.contains(bare);
}

CheckedKey checkKey(const QuestionType &type, int options, const QString &typed)
{
    const QString text = typed.trimmed().toUpper();
    if (type.subjective)
        return {QStringLiteral("1"), QString()};
    const QString offered = QStringLiteral("ABCDEF").left(qBound(0, options, kMostOptions));
    QString letters;
    for (const QChar c : text) {
        if (c.isSpace() || c == QLatin1Char(','))
            continue;
        if (c < QLatin1Char('A') || c > QLatin1Char('F'))
            return {QString(), QStringLiteral("答案只能由字母A～F组成！")};
        if (!offered.contains(c))
            return {QString(), QStringLiteral("答案中的字母%1超出了待选答案个数（%2个）！").arg(c).arg(offered.size())};
        if (!letters.contains(c))
            letters += c;
    }
    std::sort(letters.begin(), letters.end());
    if (letters.isEmpty())
        return {QString(), QStringLiteral("请填写试题答案！")};
    if (type.code == 11 && letters.size() != 1)
        return {QString(), QStringLiteral("单项选择题的答案只能是一个字母！")};
    if (type.code == 14 && letters.size() < 2)
        return {QString(), QStringLiteral("多项选择题的答案至少要有两个字母！")};
    if (type.code == 41 && letters != QLatin1String("A") && letters != QLatin1String("B"))
        return {QString(), QStringLiteral("判断题的答案正确填写A，错误填写B！")};
    return {letters, QString()};
}

QString sequenceText(int sequence)
{
    const QString digits = QString::number(sequence);
    return digits.size() >= 4 ? digits : QString(5 - digits.size(), QLatin1Char('0')) + digits;
}

QString ownQuestionId(const QString &chapterCode, int type, int options, int sequence)
{
    return QStringLiteral("US") + chapterCode + QString::number(type) + QString::number(options)
           + sequenceText(sequence);
}

int lastOwnSequence(store::Connection &connection)
{
    return connection
        .scalar(QStringLiteral("select ifnull(max(cast(substr(A1, -4) as integer)), 0) from tab_answ "
                               "where A1 glob 'US*[0-9][0-9][0-9][0-9]'"))
        .toInt();
}

QStringList linkFields(const QStringList &points)
{
    QStringList fields = points.mid(0, kMostLinks);
    while (fields.size() < kMostLinks)
        fields << QString();
    return fields;
}

} // namespace authoring
