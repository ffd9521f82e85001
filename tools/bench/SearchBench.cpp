#include "SearchBench.h"

#include "Connection.h"
#include "SearchIndex.h"
#include "Searcher.h"

#include <cstdio>
#include <ctime>

namespace {

// Processor time of this thread: what an action costs when the machine is shared.
double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

qint64 usedBytes(store::Connection &c)
{
    return (c.scalar(QStringLiteral("PRAGMA page_count")).toLongLong() -
            c.scalar(QStringLiteral("PRAGMA freelist_count")).toLongLong()) *
           c.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
}

qint64 plainTextBytes(store::Connection &c)
{
    QStringList columns;
    for (const char *column : {"title", "body", "stem", "jx", "note"})
        columns << QStringLiteral("ifnull(length(cast(%1 as blob)), 0)").arg(QLatin1String(column));
    return c.scalar(QStringLiteral("select sum(%1) from ql_search_text").arg(columns.join(QLatin1Char('+')))).toLongLong();
}

Measurement query(search::Searcher &searcher, int runs, const QString &action, const QString &text)
{
    int found = 0;
    const double cpu = cpuMilliseconds();
    Measurement m = measure(action, runs, [&] { found = searcher.find(text).total; });
    m.target = 30;
    if (!m.runs.isEmpty())
        std::fprintf(stderr, "  \"%s\" finds %d, %.1f ms of processor time a query\n", qPrintable(text), found,
                     (cpuMilliseconds() - cpu) / runs);
    return m;
}

} // namespace

QVector<Measurement> searchMeasurements(store::Connection &bank, int runs)
{
    QVector<Measurement> all;
    const qint64 before = usedBytes(bank);
    const double cpu = cpuMilliseconds();
    Measurement building = measure(QStringLiteral("build the search index from nothing"), 1, [&] { search::build(bank); });
    building.target = 10000;
    all << building;
    if (!building.runs.isEmpty()) {
        std::fprintf(stderr, "  %.0f ms of processor time\n", cpuMilliseconds() - cpu);
        const qint64 plain = plainTextBytes(bank);
        const qint64 growth = usedBytes(bank) - before;
        std::fprintf(stderr, "  plain text %.1f MB, the bank grew by %.1f MB: %.2f times the plain text\n",
                     plain / 1e6, growth / 1e6, plain > 0 ? double(growth) / plain : 0.0);
    }
    search::Searcher searcher(bank);
    all << query(searcher, 1, QStringLiteral("first search of a short word (reads the texts)"), QStringLiteral("鑫"));
    all << query(searcher, runs, QStringLiteral("search a one-character word found nowhere"), QStringLiteral("鑫"));
    all << query(searcher, runs, QStringLiteral("search a one-character word"), QStringLiteral("税"));
    all << query(searcher, runs, QStringLiteral("search a two-character word"), QStringLiteral("规费"));
    all << query(searcher, runs, QStringLiteral("search a six-character word"), QStringLiteral("分部分项工程"));
    all << query(searcher, runs, QStringLiteral("search two words and an exclusion"),
                 QStringLiteral("暂估价 工程 -索赔"));
    return all;
}
