#include "BankWriter.h"

#include "BankCheck.h"
#include "Connection.h"
#include "DataModule.h"
#include "DrawPool.h"
#include "Error.h"
#include "LinkCounts.h"
#include "RtfText.h"
#include "Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace bank {

namespace {

const int kTitleWidth = 40; // exam-point titles are stored blank-padded to this width

QString rtfOf(const QStringList &paragraphs) { return QString::fromLatin1(rtf::fromPlainParagraphs(paragraphs)); }

QVariant rtfOrNull(const QStringList &paragraphs)
{
    return paragraphs.isEmpty() ? QVariant() : QVariant(rtfOf(paragraphs));
}

QStringList bodyOf(const Question &q)
{
    static const QString letters = QStringLiteral("ABCDEF");
    QStringList body = q.stem;
    const QStringList options =
        q.type == 41 ? QStringList{QStringLiteral("正确"), QStringLiteral("错误")} : q.options;
    for (int i = 0; i < options.size(); ++i)
        body << QString(letters.at(i)) + QStringLiteral("．") + options.at(i);
    return body;
}

class Writer {
public:
    Writer(store::Connection &c, const Content &content, const QDate &day, const Numbering &after)
        : m_c(c), m_content(content), m_day(day), m_after(after)
    {
    }

    void write()
    {
        for (const Subject &s : m_content.subjects)
            writeQuestions(s);
        for (const Subject &s : m_content.subjects) {
            writeTypes(s);
            writeChapters(s);
        }
        writeCatalogue();
        store::recountLinks(m_c);
        writePlan();
    }

private:
    void exec(const QString &sql, const QVariantList &values) { m_c.execute(sql, store::Params::byPosition(values)); }

    void writeQuestions(const Subject &s)
    {
        QHash<QString, int> loneNumbers = m_after.lone;    // section + type -> last number
        QHash<QString, int> groupNumbers = m_after.groups; // section -> last group number
        QHash<int, QString> groupKeys;    // group index -> key
        QHash<int, int> groupMembers;
        int order = 0;
        for (const Question &q : s.questions) {
            QString id;
            if (q.group < 0) {
                const int n = ++loneNumbers[q.chapter + QStringLiteral("%1").arg(q.type, 2, 10, QChar(u'0'))];
                id = questionId(q.chapter, q.type, n);
            } else {
                if (!groupKeys.contains(q.group)) {
                    const Group &g = s.groups.at(q.group);
                    const QString key = groupKey(q.chapter, q.type, ++groupNumbers[q.chapter]);
                    groupKeys.insert(q.group, key);
                    exec(QStringLiteral("insert into tab_title (A1, A15) values (?, ?)"), {key, rtfOf(g.stem)});
                }
                id = groupKeys.value(q.group) + QStringLiteral("%1").arg(++groupMembers[q.group], 2, 10, QChar(u'0'));
            }
            const int options = q.type == 41 ? 2 : int(q.options.size());
            QVariantList values{id, q.key, options};
            for (int k = 0; k < 10; ++k)
                values << (k < q.points.size() ? q.points.at(k) : QString());
            values << q.chapter << q.type << ++order;
            exec(QStringLiteral("insert into tab_answ (A1,A2,A2_1,K3,K4,K5,K6,K7,K8,K9,K10,K11,K12,A10,A13,xx,"
                                "A14,E1,E2,E2_1,E3,E4,F1,csbs,ecount) "
                                "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,'',NULL,'','',0,0,0,'',0)"),
                 values);
            exec(QStringLiteral("insert into tab_exer (A1, A15, jx) values (?, ?, ?)"),
                 {id, rtfOf(bodyOf(q)), rtfOrNull(q.explanation)});
        }
    }

    void writeTypes(const Subject &s)
    {
        for (const QuestionType &t : s.types)
            exec(QStringLiteral("insert into tab_tx%1 (A1, B1, B2, B3, time) values (?, ?, ?, ?, ?)").arg(s.number),
                 {t.code, t.name, t.count, t.marks, t.minutes});
    }

    void writeChapters(const Subject &s)
    {
        for (const Chapter &c : s.chapters) {
            int questions = 0;
            for (const Question &q : s.questions)
                questions += q.chapter.startsWith(c.code) ? 1 : 0;
            exec(QStringLiteral("insert into tab_kmmc (bh,C1,C1_1,C2,C3,C4,D1,D2,C6,C7,jx) "
                                "values (?,?,?,?,?,0,0,0,'0',?,?)"),
                 {++m_chapterOrder, c.code, c.hint, c.name, questions,
                  c.chart ? QVariant(QStringLiteral("0")) : QVariant(), rtfOrNull(c.guide)});
        }
    }

    void writeCatalogue()
    {
        int order = 0;
        for (const CatalogueEntry &e : m_content.catalogue)
            exec(QStringLiteral("insert into tab_fgmc (id, n, bh, q, q1, q2, q4) values (?, ?, ?, 0, 0, 0, 0)"),
                 {e.code, e.name, ++order});
        for (const Point &p : m_content.points)
            exec(QStringLiteral("insert into tab_rule (id, ftid, sn, n, q, q1, q2, q4) values (?, ?, ?, ?, 0, 0, 0, 0)"),
                 {p.code.left(6), p.code, p.title.leftJustified(kTitleWidth, QLatin1Char(' ')), rtfOf(p.text)});
    }

    void writePlan()
    {
        const Plan &p = m_content.plan;
        exec(QStringLiteral("insert into tab_plan (PlanMark, PlanAmount, PlanTime, ExamDate, LeastMark, ExamTime) "
                            "values (?, ?, ?, ?, ?, ?)"),
             {p.mode, p.questions, p.minutes, m_day.addDays(p.examInDays), p.leastMark, p.examMinutes * 60});
        exec(QStringLiteral("insert into tab_sj (sjbs, cpbs) values (?, ?)"),
             {p.productId + QStringLiteral(".base"), p.productId});
    }

    store::Connection &m_c;
    const Content &m_content;
    QDate m_day;
    const Numbering &m_after;
    int m_chapterOrder = 0;
};

void removeWithCompanions(const QString &file)
{
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        QFile::remove(file + suffix);
}

} // namespace

QString questionId(const QString &section, int type, int number)
{
    return section + QStringLiteral("%1%2").arg(type, 2, 10, QChar(u'0')).arg(number, 4, 10, QChar(u'0'));
}

QString groupKey(const QString &section, int type, int number)
{
    return section + QStringLiteral("%1-GRP%2-").arg(type, 2, 10, QChar(u'0')).arg(number, 3, 10, QChar(u'0'));
}

namespace {

void writeChecked(const Content &content, const QString &file, bool replace, const QDate &buildDay, CheckScope scope,
                  const std::function<void(store::Connection &)> &finish, const Numbering &after = {},
                  const std::function<void(const QString &)> &vet = {})
{
    if (QFileInfo::exists(file) && !replace)
        throw store::Error(QStringLiteral("%1 already exists; it may hold a learner's progress (use --replace to "
                                          "overwrite it)")
                               .arg(file));
    const QString building = file + QStringLiteral(".building");
    removeWithCompanions(building);
    try {
        {
            store::Connection c;
            c.setConnectionString(TDM1::connectionStringFor(building));
            c.open(true);
            store::schema::create(c);
            store::Transaction t(c);
            Writer(c, content, buildDay, after).write();
            if (finish)
                finish(c);
            t.commit();
            c.execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
        }
        const CheckReport report = checkBank(building, scope);
        if (!report.violations.isEmpty())
            throw store::Error(QStringLiteral("the new file fails its check:\n") + report.violations.join('\n'));
        if (vet)
            vet(building);
        if (std::rename(QFile::encodeName(building).constData(), QFile::encodeName(file).constData()) != 0)
            throw store::Error(QStringLiteral("cannot move the new file into place as %1").arg(file));
    } catch (...) {
        removeWithCompanions(building);
        throw;
    }
}

} // namespace

void buildBank(const Content &content, const QString &bankFile, bool replace, const QDate &buildDay)
{
    writeChecked(content, bankFile, replace, buildDay, CheckScope::WholeBank, {});
}

void buildUpgradeFile(const Content &content, const QString &file, const UpgradeFileOrder &order, bool replace,
                      const QDate &buildDay)
{
    if (order.sjbs.trimmed().isEmpty() || order.cpbs.trimmed().isEmpty())
        throw store::Error(QStringLiteral("an upgrade file needs both identifiers (--sjbs and --cpbs)"));
    const auto identify = [&](store::Connection &c) {
        c.execute(QStringLiteral("delete from tab_sj"));
        c.execute(QStringLiteral("delete from tab_plan"));
        store::drawpool::remove(c);
        c.execute(QStringLiteral("insert into tab_sj (sjbs, cpbs) values (?, ?)"),
                  store::Params::byPosition({order.sjbs.trimmed(), order.cpbs.trimmed()}));
    };
    writeChecked(content, file, replace, buildDay, CheckScope::UpgradeFile, identify, order.after, order.vet);
}

void Numbering::take(const QString &id)
{
    static const QRegularExpression loneId(QStringLiteral("^(\\d{6})(\\d{2})(\\d{4})$"));
    static const QRegularExpression groupId(QStringLiteral("^(\\d{6})\\d{2}-GRP(\\d{3})-"));
    if (const QRegularExpressionMatch m = loneId.match(id); m.hasMatch()) {
        int &last = lone[m.captured(1) + m.captured(2)];
        last = std::max(last, m.captured(3).toInt());
    } else if (const QRegularExpressionMatch g = groupId.match(id); g.hasMatch()) {
        int &last = groups[g.captured(1)];
        last = std::max(last, g.captured(2).toInt());
    }
}

void Numbering::takeAllOf(const QString &bankFile)
{
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(bankFile));
    c.openReadOnly();
    store::Statement st(c.handle(), QStringLiteral("select A1 from tab_answ union select A1 from tab_title"), {});
    while (st.step())
        take(st.value(0).toString());
}

} // namespace bank
