#include "BankCheck.h"

#include "Connection.h"
#include "DataModule.h"
#include "DrawPool.h"
#include "Error.h"
#include "LinkCounts.h"
#include "Schema.h"

#include <QRegularExpression>

namespace bank {

namespace {

// Questions drawn per type into a paper, by subject.
int drawnPerPaper(int subject, int type)
{
    static const int counts[5][2] = {{60, 20}, {72, 24}, {60, 20}, {50, 25}, {0, 0}};
    if (subject == 5)
        return type == 65 ? 7 : 0;
    if (subject < 1 || subject > 4)
        return 0;
    return type == 11 ? counts[subject - 1][0] : (type == 14 ? counts[subject - 1][1] : 0);
}

class Checker {
public:
    Checker(store::Connection &c, CheckScope scope) : m_c(c), m_wholeBank(scope == CheckScope::WholeBank) {}

    CheckReport run()
    {
        if (!store::schema::isBank(m_c)) {
            m_report.violations << QStringLiteral("not a question bank: tables are missing");
            return m_report;
        }
        listViolations(QStringLiteral("select a.A1 from tab_answ a left join tab_exer e on a.A1 = e.A1 where e.A1 is null"),
                       QStringLiteral("question %1 has no text row in tab_exer"));
        listViolations(QStringLiteral("select A1 || ' (' || ifnull(A10,'null') || ')' from tab_answ where length(ifnull(A10,'')) <> 6 "
                                      "or A10 not in (select C1 from tab_kmmc)"),
                       QStringLiteral("question %1: chapter is not a 6-character code in tab_kmmc"));
        listViolations(QStringLiteral("select A1 from tab_answ where instr(A1, '-') > 0 and "
                                      "substr(A1, 1, 16) not in (select A1 from tab_title)"),
                       QStringLiteral("grouped question %1 has no shared stem in tab_title"));
        checkLinks();
        checkKeys();
        checkChapterCounters();
        checkCatalogueCounters();
        listViolations(QStringLiteral("select A1 from tab_answ where E4 > 0 or E3 < 0 or F1 not in (0, 1, 2)"),
                       QStringLiteral("question %1: progress fields out of range (E3 < 0, E4 > 0 or F1 not 0/1/2)"));
        listViolations(QStringLiteral("select A1 from tab_cj where A1 not in (select name from sqlite_master where type = 'table')"),
                       QStringLiteral("score row %1 names a paper table that does not exist"));
        m_report.violations << store::drawpool::disagreements(m_c);
        if (m_wholeBank && m_c.scalar(QStringLiteral("select count(*) from tab_plan")).toInt() < 1)
            m_report.violations << QStringLiteral("tab_plan has no row");
        summarise();
        return m_report;
    }

private:
    void listViolations(const QString &sql, const QString &pattern)
    {
        store::Statement st(m_c.handle(), sql, {});
        while (st.step())
            m_report.violations << pattern.arg(st.value(0).toString());
    }

    void checkLinks()
    {
        store::Statement st(m_c.handle(),
                            QStringLiteral("select A1, K3, K4, K5, K6, K7, K8, K9, K10, K11, K12 from tab_answ"), {});
        store::Statement known(m_c.handle(), QStringLiteral("select group_concat(ftid, ',') from tab_rule"), {});
        known.step();
        const QStringList points = known.value(0).toString().split(QLatin1Char(','));
        const QSet<QString> pointSet(points.cbegin(), points.cend());
        while (st.step())
            for (int k = 1; k <= 10; ++k) {
                const QString id = st.value(k).toString().trimmed();
                if (!id.isEmpty() && !pointSet.contains(id))
                    m_report.violations << QStringLiteral("question %1 links the missing exam point %2")
                                               .arg(st.value(0).toString(), id);
            }
    }

    void checkKeys()
    {
        store::Statement st(m_c.handle(), QStringLiteral("select A1, A13, A2, A2_1 from tab_answ"), {});
        static const QRegularExpression letters(QStringLiteral("^[A-F]+$"));
        while (st.step()) {
            const QString id = st.value(0).toString();
            const int type = st.value(1).toInt();
            const QString key = st.value(2).toString();
            const int options = st.value(3).toInt();
            const QString allowed = QStringLiteral("ABCDEF").left(options);
            bool ok = true;
            switch (type) {
            case 11:
                ok = key.size() == 1 && allowed.contains(key);
                break;
            case 14:
                ok = key.size() >= 2 && letters.match(key).hasMatch();
                for (int i = 0; ok && i < key.size(); ++i)
                    ok = allowed.contains(key.at(i)) && (i == 0 || key.at(i) > key.at(i - 1));
                break;
            case 41:
                ok = key == QLatin1String("A") || key == QLatin1String("B");
                break;
            case 65:
            case 72:
            case 73:
            case 74:
                ok = key == QLatin1String("1");
                break;
            default:
                m_report.violations << QStringLiteral("question %1 has the unknown type %2").arg(id).arg(type);
                continue;
            }
            if (!ok || options < 0 || options > 6)
                m_report.violations << QStringLiteral("question %1 (type %2): key \"%3\" does not suit %4 options")
                                           .arg(id)
                                           .arg(type)
                                           .arg(key)
                                           .arg(options);
        }
    }

    // Every node holds the sum of the 6-character sections below it; C3 counts questions.
    void checkChapterCounters()
    {
        listViolations(QStringLiteral(
                           "select k.C1 from tab_kmmc k where length(k.C1) < 6 and k.C1 <> 'xx' and exists "
                           "(select 1 from tab_kmmc s where length(s.C1) = 6 and substr(s.C1, 1, length(k.C1)) = k.C1) "
                           "and (k.C4, k.D1, k.D2) is not (select ifnull(sum(s.C4),0), ifnull(sum(s.D1),0), "
                           "ifnull(sum(s.D2),0) from tab_kmmc s where length(s.C1) = 6 and substr(s.C1, 1, "
                           "length(k.C1)) = k.C1)"),
                       QStringLiteral("chapter %1: C4/D1/D2 differ from the sum over its sections"));
        listViolations(QStringLiteral("select k.C1 from tab_kmmc k where k.C1 <> 'xx' and k.C3 <> "
                                      "(select count(*) from tab_answ a where substr(a.A10, 1, length(k.C1)) = k.C1)"),
                       QStringLiteral("chapter %1: C3 differs from the number of its questions"));
        listViolations(QStringLiteral("select C1 from tab_kmmc where D2 > D1 or C4 > C3 or C4 < 0"),
                       QStringLiteral("chapter %1: counters out of range (D2 > D1 or C4 outside 0 … C3)"));
    }

    // q counts the questions linking a point or any point of an entry, each
    // question once. An answer raises q1, q2, q4 of each linked point and once
    // of each item and group above them, so an entry's figure lies between the
    // largest of the rows below it and their sum.
    void checkCatalogueCounters()
    {
        listViolations(QStringLiteral("select r.ftid from tab_rule r left join (%1) c on c.id = r.ftid "
                                      "where r.q is not ifnull(c.n, 0)")
                           .arg(store::pointLinkCountsSql()),
                       QStringLiteral("exam point %1: q differs from the number of questions linking it"));
        listViolations(QStringLiteral("select f.id from tab_fgmc f left join (%1) c on c.id = f.id "
                                      "where f.q is not ifnull(c.n, 0)")
                           .arg(store::entryLinkCountsSql()),
                       QStringLiteral("catalogue entry %1: q differs from the number of questions linking its points"));
        checkAnswerCountsAgainst(6, QStringLiteral("select ftid as id, q1, q2, q4 from tab_rule"));
        checkAnswerCountsAgainst(2, QStringLiteral("select id, q1, q2, q4 from tab_fgmc where length(id) = 6"));
        listViolations(QStringLiteral("select ftid from tab_rule where q1 > q2 or q4 > q2 or q1 < 0 or q4 < 0 "
                                      "union all select id from tab_fgmc where q1 > q2 or q4 > q2 or q1 < 0 or q4 < 0"),
                       QStringLiteral("exam point or catalogue entry %1: q1 or q4 outside 0 … q2"));
        listViolations(QStringLiteral("select ftid from tab_rule r where substr(ftid, 1, 6) <> id or id not in "
                                      "(select id from tab_fgmc) or substr(id, 1, 2) not in (select id from tab_fgmc)"),
                       QStringLiteral("exam point %1 does not sit under its item and group in tab_fgmc"));
    }

    // Entries with ids of `length` against the rows directly below them.
    void checkAnswerCountsAgainst(int length, const QString &rowsBelow)
    {
        listViolations(
            QStringLiteral(
                "select f.id from tab_fgmc f left join (select substr(id, 1, %1) as up, max(q1) as x1, sum(q1) as s1, "
                "max(q2) as x2, sum(q2) as s2, max(q4) as x4, sum(q4) as s4 from (%2) group by 1) b on b.up = f.id "
                "where length(f.id) = %1 and (f.q1 not between ifnull(b.x1, 0) and ifnull(b.s1, 0) or "
                "f.q2 not between ifnull(b.x2, 0) and ifnull(b.s2, 0) or f.q4 not between ifnull(b.x4, 0) and "
                "ifnull(b.s4, 0))")
                .arg(length)
                .arg(rowsBelow),
            QStringLiteral("catalogue entry %1: q1/q2/q4 outside what the rows below it allow (at least the largest, "
                           "at most their sum)"));
    }

    void summarise()
    {
        QStringList lines;
        for (int subject = 1; subject <= 5; ++subject) {
            QStringList parts;
            store::Statement types(m_c.handle(), QStringLiteral("select A1, B1, B2, B3 from tab_tx%1 order by A1").arg(subject), {});
            int total = 0;
            int marks = 0;
            while (types.step()) {
                const int type = types.value(0).toInt();
                const int count = m_c.scalar(QStringLiteral("select count(*) from tab_answ where A13 = ? and "
                                                            "substr(A10, 1, 1) = ? and F1 <> 1"),
                                             store::Params::byPosition({type, QString::number(subject)}))
                                      .toInt();
                total += count;
                marks += types.value(2).toInt() * types.value(3).toInt();
                parts << QStringLiteral("%1 %2: %3").arg(type).arg(types.value(1).toString()).arg(count);
                const int drawn = types.value(2).toInt() > 0 ? drawnPerPaper(subject, type) : 0;
                if (m_wholeBank && count < drawn)
                    m_report.violations << QStringLiteral("subject %1, type %2: %3 questions, a paper draws %4")
                                               .arg(subject)
                                               .arg(type)
                                               .arg(count)
                                               .arg(drawn);
            }
            const int linked = m_c.scalar(QStringLiteral("select count(*) from tab_answ where substr(A10, 1, 1) = ? "
                                                         "and K3 <> ''"),
                                          store::Params::byPosition({QString::number(subject)}))
                                   .toInt();
            lines << QStringLiteral("subject %1: %2 questions, %3 linked to exam points, paper %4 marks (%5)")
                         .arg(subject)
                         .arg(total)
                         .arg(linked)
                         .arg(marks)
                         .arg(parts.join(QStringLiteral("; ")));
        }
        lines << QStringLiteral("groups with a shared stem: %1")
                     .arg(m_c.scalar(QStringLiteral("select count(*) from tab_title")).toInt());
        lines << QStringLiteral("exam-point catalogue: %1 groups, %2 items, %3 points, %4 links")
                     .arg(m_c.scalar(QStringLiteral("select count(*) from tab_fgmc where length(id) = 2")).toInt())
                     .arg(m_c.scalar(QStringLiteral("select count(*) from tab_fgmc where length(id) = 6")).toInt())
                     .arg(m_c.scalar(QStringLiteral("select count(*) from tab_rule")).toInt())
                     .arg(m_c.scalar(QStringLiteral("select ifnull(sum(q), 0) from tab_rule")).toInt());
        lines << QStringLiteral("chapters: %1").arg(m_c.scalar(QStringLiteral("select count(*) from tab_kmmc")).toInt());
        m_report.summary = lines.join(QLatin1Char('\n'));
    }

    store::Connection &m_c;
    bool m_wholeBank;
    CheckReport m_report;
};

} // namespace

CheckReport checkBank(const QString &bankFile, CheckScope scope)
{
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(bankFile));
    try {
        c.openReadOnly(); // checking writes nothing, not even a change of journal
    } catch (const store::Error &e) {
        return {{QStringLiteral("cannot open %1: %2").arg(bankFile, e.message())}, QString()};
    }
    try {
        return Checker(c, scope).run();
    } catch (const store::Error &e) {
        return {{QStringLiteral("cannot read %1: %2").arg(bankFile, e.message())}, QString()};
    }
}

} // namespace bank
