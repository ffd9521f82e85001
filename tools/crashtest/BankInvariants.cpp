#include "BankInvariants.h"

#include "Connection.h"
#include "LinkCounts.h"

namespace {

QStringList rowsOf(store::Connection &c, const QString &sql)
{
    QStringList rows;
    store::Statement s(c.handle(), sql, {});
    while (s.step()) {
        QStringList cells;
        for (int i = 0; i < s.columnCount(); ++i)
            cells << s.value(i).toString();
        rows << cells.join(QLatin1Char(' '));
    }
    return rows;
}

void expectNone(store::Connection &c, const QString &rule, const QString &sql, QStringList &broken)
{
    const QStringList rows = rowsOf(c, sql);
    for (const QString &row : rows.mid(0, 5))
        broken << rule + QStringLiteral(": ") + row;
    if (rows.size() > 5)
        broken << rule + QStringLiteral(": %1 more").arg(rows.size() - 5);
}

} // namespace

QStringList brokenCounterRules(store::Connection &c)
{
    QStringList broken;
    const QString integrity = c.scalar(QStringLiteral("pragma integrity_check")).toString();
    if (integrity != QLatin1String("ok"))
        broken << QStringLiteral("integrity_check: ") + integrity;

    expectNone(c, QStringLiteral("chapter D1 = attempts of its questions, C4 = questions answered"),
               QStringLiteral("select k.C1, k.D1, k.C4, s.attempts, s.answered from tab_kmmc k join "
                              "(select k2.C1 as c, coalesce(sum(a.E3), 0) as attempts, "
                              "count(case when a.E3 > 0 then 1 end) as answered from tab_kmmc k2 "
                              "left join tab_answ a on substr(a.A10, 1, length(k2.C1)) = k2.C1 group by k2.C1) s "
                              "on s.c = k.C1 where k.D1 <> s.attempts or k.C4 <> s.answered"),
               broken);
    expectNone(c, QStringLiteral("study log attempts = attempts of all questions"),
               QStringLiteral("select (select coalesce(sum(A2), 0) from tab_rz), (select coalesce(sum(E3), 0) "
                              "from tab_answ) where (select coalesce(sum(A2), 0) from tab_rz) <> "
                              "(select coalesce(sum(E3), 0) from tab_answ)"),
               broken);
    expectNone(c, QStringLiteral("study log wrong attempts = wrong attempts of the subjects"),
               QStringLiteral("select (select coalesce(sum(A3), 0) from tab_rz), (select coalesce(sum(D2), 0) "
                              "from tab_kmmc where length(C1) = 1) where (select coalesce(sum(A3), 0) from tab_rz) "
                              "<> (select coalesce(sum(D2), 0) from tab_kmmc where length(C1) = 1)"),
               broken);
    // Links do not change while the harness marks, so each point, item and
    // group holds the answers of the questions linking it, each question once.
    const QString answersBelow = QStringLiteral(
        "select x.id, count(case when a.E3 > 0 then 1 end) as answered, sum(a.E3) as attempts from "
        "(select p as id, a1 from (%1) union select substr(p, 1, 6), a1 from (%1) union "
        "select substr(p, 1, 2), a1 from (%1)) x join tab_answ a on a.A1 = x.a1 group by x.id")
                                     .arg(store::linkPairsSql());
    expectNone(c, QStringLiteral("point q1 = linked questions answered, q2 = their attempts (items, groups: each question once)"),
               QStringLiteral("select r.id, r.q1, r.q2, coalesce(l.answered, 0), coalesce(l.attempts, 0) "
                              "from (select ftid as id, q1, q2 from tab_rule union all select id, q1, q2 from tab_fgmc) r "
                              "left join (%1) l on l.id = r.id "
                              "where r.q1 <> coalesce(l.answered, 0) or r.q2 <> coalesce(l.attempts, 0)")
                   .arg(answersBelow),
               broken);
    expectNone(c, QStringLiteral("answer history rows of a question = its attempts, memory reviews = its attempts"),
               QStringLiteral("select a.A1, a.E3, coalesce(h.n, 0), coalesce(m.reviews, 0) from tab_answ a "
                              "left join (select question, count(*) as n from ql_answer_history group by question) h "
                              "on h.question = a.A1 left join ql_memory m on m.question = a.A1 "
                              "where a.E3 <> coalesce(h.n, 0) or a.E3 <> coalesce(m.reviews, 0)"),
               broken);
    expectNone(c, QStringLiteral("last answer in the history = the question's last answer"),
               QStringLiteral("select a.A1, a.E2, h.answer from tab_answ a join ql_answer_history h on h.question = a.A1 "
                              "where h.id in (select max(id) from ql_answer_history group by question) "
                              "and h.answer <> a.E2"),
               broken);
    return broken;
}
