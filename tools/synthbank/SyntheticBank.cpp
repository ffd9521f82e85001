#include "SyntheticBank.h"

#include "Connection.h"
#include "DataModule.h"
#include "Error.h"
#include "LinkCounts.h"
#include "Schema.h"
#include "SyntheticText.h"

#include <QFileInfo>
#include <random>

namespace {

QString code(int value, int width) { return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0')); }

void addChapterTree(store::Connection &c, const SyntheticBankShape &shape, SyntheticBank &bank)
{
    int order = 0;
    auto chapter = [&](const QString &id, const QString &title) {
        c.execute(QStringLiteral("insert into tab_kmmc (bh,C1,C1_1,C2) values (?,?,?,?)"),
                  store::Params::byPosition({++order, id, title + QStringLiteral("提示"), title}));
    };
    for (int subject = 1; subject <= 5; ++subject) {
        const QString s = QString::number(subject);
        chapter(s, QStringLiteral("科目%1").arg(subject));
        c.execute(QStringLiteral("insert into tab_tx%1 (A1,B1,B2,B3,time) values "
                                 "(11,'单项选择题',60,1,1),(14,'多项选择题',20,2,2),(12,'判断题',0,1,1)")
                      .arg(subject));
        for (int a = 1; a <= shape.sectionsPerSubject; ++a) {
            const QString l2 = s + QString::number(a - 1); // "10", the first section, holds what papers draw from
            chapter(l2, QStringLiteral("第%1篇").arg(a));
            for (int b = 1; b <= shape.chaptersPerSection; ++b) {
                const QString l4 = l2 + code(b, 2);
                chapter(l4, QStringLiteral("第%1章").arg(b));
                for (int p = 1; p <= shape.partsPerChapter; ++p) {
                    const QString l6 = l4 + code(p, 2);
                    chapter(l6, QStringLiteral("第%1节").arg(p));
                    bank.leafChapters << l6;
                }
            }
        }
    }
}

void addCatalogue(store::Connection &c, const SyntheticBankShape &shape, SyntheticBank &bank)
{
    int order = 0;
    for (int g = 1; g <= shape.pointGroups; ++g) {
        const QString group = code(g, 2);
        c.execute(QStringLiteral("insert into tab_fgmc (id,n,bh) values (?,?,?)"),
                  store::Params::byPosition({group, QStringLiteral("法规%1").arg(g), ++order}));
        for (int s = 1; s <= shape.sectionsPerGroup; ++s) {
            const QString section = group + code(s, 4);
            c.execute(QStringLiteral("insert into tab_fgmc (id,n,bh) values (?,?,?)"),
                      store::Params::byPosition({section, QStringLiteral("第%1章").arg(s), ++order}));
            for (int p = 1; p <= shape.pointsPerSection; ++p) {
                const QString point = section + code(p, 4);
                c.execute(QStringLiteral("insert into tab_rule (id,ftid,sn,n) values (?,?,?,?)"),
                          store::Params::byPosition({section, point, QStringLiteral("考点%1").arg(p),
                                                     QStringLiteral("第%1条").arg(p)}));
                bank.points << point;
            }
        }
    }
}

void addQuestions(store::Connection &c, const SyntheticBankShape &shape, SyntheticBank &bank,
                  const BuildProgress &progress)
{
    std::mt19937 random(shape.seed);
    // Texts draw from their own sequence, so the bank's shape stays what the seed made it before.
    std::mt19937 textRandom(shape.seed + 1);
    const SyntheticText texts;
    const char *keys[] = {"A", "B", "C", "D"};
    const int types[] = {11, 11, 11, 14, 12};
    for (int n = 0; n < shape.questions; ++n) {
        const QString chapter = n < shape.firstChapterQuestions
                                    ? bank.leafChapters.first()
                                    : bank.leafChapters.at(n % bank.leafChapters.size());
        const int type = types[random() % 5];
        const bool grouped = n % 50 < 3; // three questions of every fifty share a stem
        QString id = chapter + QString::number(type) + code(n, 6);
        if (grouped) {
            const QString stem = chapter + QString::number(type) + code(n - n % 50, 6) + QStringLiteral("ST");
            id = stem.left(16) + QStringLiteral("-") + QString::number(n % 50);
            c.execute(QStringLiteral("insert or ignore into tab_title (A1,A15) values (?,?)"),
                      store::Params::byPosition({stem.left(16), texts.stem(textRandom)}));
        }
        QStringList linked;
        for (int i = int(random() % 4); i > 0; --i) {
            const QString point = bank.points.at(random() % bank.points.size());
            if (!linked.contains(point))
                linked << point;
        }
        QVariantList k;
        for (int i = 0; i < 10; ++i)
            k << (i < linked.size() ? linked.at(i) : QString());
        const QString key = type == 14 ? QStringLiteral("ABD") : type == 12 ? QString(keys[random() % 2])
                                                                            : QString(keys[random() % 4]);
        c.execute(QStringLiteral("insert into tab_answ (A1,A2,A2_1,K3,K4,K5,K6,K7,K8,K9,K10,K11,K12,A10,A13,A14,"
                                 "E2,E2_1,csbs) values (?,?,4,?,?,?,?,?,?,?,?,?,?,?,?,'','','','')"),
                  store::Params::byPosition(QVariantList{id, key} + k + QVariantList{chapter, type}));
        c.execute(QStringLiteral("insert into tab_exer (A1,A15,jx) values (?,?,?)"),
                  store::Params::byPosition({id, texts.body(textRandom, type == 12 ? 0 : 4), texts.explanation(textRandom)}));
        if (progress && ((n + 1) % 10000 == 0 || n + 1 == shape.questions))
            progress(n + 1, shape.questions);
    }
}

// The content counters a real bank carries: questions per chapter node and per point, section and group.
void countContent(store::Connection &c)
{
    // Counted per leaf chapter first, so that the work grows with the chapters, not chapters × questions.
    c.execute(QStringLiteral("create temp table leaf_count as select A10, count(*) as n from tab_answ group by A10"));
    c.execute(QStringLiteral("update tab_kmmc set C3 = (select coalesce(sum(n), 0) from leaf_count where "
                             "substr(A10, 1, length(tab_kmmc.C1)) = tab_kmmc.C1)"));
    c.execute(QStringLiteral("drop table leaf_count"));
    store::recountLinks(c);
}

} // namespace

SyntheticBank createSyntheticBank(const QString &file, const SyntheticBankShape &shape, const BuildProgress &progress)
{
    if (QFileInfo::exists(file))
        throw store::Error(QStringLiteral("%1 exists already").arg(file));
    SyntheticBank bank;
    bank.file = file;
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(file));
    c.open(true);
    store::schema::create(c);
    store::Transaction t(c);
    addChapterTree(c, shape, bank);
    addCatalogue(c, shape, bank);
    addQuestions(c, shape, bank, progress);
    countContent(c);
    c.execute(QStringLiteral("insert into tab_plan (PlanMark,PlanAmount,PlanTime,ExamDate,LeastMark,ExamTime) "
                             "values (0,50,60,'2027-05-01',60,9000)"));
    c.execute(QStringLiteral("insert into tab_sj (sjbs,cpbs) values ('','QUILLET')"));
    t.commit();
    c.close();
    return bank;
}
