#include "Schema.h"

#include "Connection.h"
#include "DrawPool.h"
#include "LinkCounts.h"
#include "Error.h"
#include "MemoryStates.h"

namespace store::schema {

namespace {

// Counters default to 0 so that "q2=q2+1" and friends never meet a NULL.
const char *const kTables[] = {
    "CREATE TABLE tab_answ (A1 TEXT NOT NULL PRIMARY KEY, A2 TEXT, A2_1 INTEGER DEFAULT 0,"
    " K3 TEXT, K4 TEXT, K5 TEXT, K6 TEXT, K7 TEXT, K8 TEXT, K9 TEXT, K10 TEXT, K11 TEXT, K12 TEXT,"
    " A10 TEXT, A13 INTEGER, A14 TEXT, E1 TEXT, E2 TEXT, E2_1 TEXT, E3 INTEGER DEFAULT 0,"
    " E4 INTEGER DEFAULT 0, F1 INTEGER DEFAULT 0, xx INTEGER DEFAULT 0, csbs TEXT, ecount INTEGER DEFAULT 0)",
    "CREATE TABLE tab_exer (A1 TEXT NOT NULL PRIMARY KEY, A15 TEXT, jx TEXT)",
    "CREATE TABLE tab_title (A1 TEXT NOT NULL PRIMARY KEY, A15 TEXT)",
    "CREATE TABLE tab_kmmc (bh INTEGER, C1 TEXT, C1_1 TEXT, C2 TEXT, C3 INTEGER DEFAULT 0,"
    " C4 INTEGER DEFAULT 0, D1 INTEGER DEFAULT 0, D2 INTEGER DEFAULT 0, C6 TEXT DEFAULT '0', C7 TEXT, jx TEXT)",
    "CREATE TABLE tab_tx1 (A1 INTEGER NOT NULL PRIMARY KEY, B1 TEXT, B2 INTEGER DEFAULT 0, B3 INTEGER DEFAULT 0,"
    " time REAL DEFAULT 1)",
    "CREATE TABLE tab_tx2 (A1 INTEGER NOT NULL PRIMARY KEY, B1 TEXT, B2 INTEGER DEFAULT 0, B3 INTEGER DEFAULT 0,"
    " time REAL DEFAULT 1)",
    "CREATE TABLE tab_tx3 (A1 INTEGER NOT NULL PRIMARY KEY, B1 TEXT, B2 INTEGER DEFAULT 0, B3 INTEGER DEFAULT 0,"
    " time REAL DEFAULT 1)",
    "CREATE TABLE tab_tx4 (A1 INTEGER NOT NULL PRIMARY KEY, B1 TEXT, B2 INTEGER DEFAULT 0, B3 INTEGER DEFAULT 0,"
    " time REAL DEFAULT 1)",
    "CREATE TABLE tab_tx5 (A1 INTEGER NOT NULL PRIMARY KEY, B1 TEXT, B2 INTEGER DEFAULT 0, B3 INTEGER DEFAULT 0,"
    " time REAL DEFAULT 1)",
    "CREATE TABLE tab_rz (A1 TEXT NOT NULL PRIMARY KEY, A2 INTEGER DEFAULT 0, A3 INTEGER DEFAULT 0, A4 TEXT,"
    " B1 INTEGER DEFAULT 0, B2 INTEGER DEFAULT 0, D1 TEXT)",
    "CREATE TABLE tab_plan (PlanMark INTEGER DEFAULT 0, PlanAmount INTEGER DEFAULT 0, PlanTime INTEGER DEFAULT 0,"
    " ExamDate TEXT, LeastMark INTEGER DEFAULT 0, ExamTime INTEGER DEFAULT 0)",
    "CREATE TABLE tab_cj (A1 TEXT NOT NULL PRIMARY KEY, A3 TEXT, A3_1 INTEGER, D1 TEXT, A6 REAL, D2 TEXT)",
    "CREATE TABLE tab_rule (id TEXT, ftid TEXT NOT NULL PRIMARY KEY, sn TEXT, n TEXT, q INTEGER DEFAULT 0,"
    " q1 INTEGER DEFAULT 0, q2 INTEGER DEFAULT 0, q4 INTEGER DEFAULT 0)",
    "CREATE TABLE tab_fgmc (id TEXT NOT NULL PRIMARY KEY, n TEXT, bh INTEGER, q INTEGER DEFAULT 0,"
    " q1 INTEGER DEFAULT 0, q2 INTEGER DEFAULT 0, q4 INTEGER DEFAULT 0)",
    "CREATE TABLE tab_sj (sjbs TEXT, cpbs TEXT)",
};

// A section's points in code order come straight from the index.
const char *const kRuleSectionIndex = "CREATE INDEX IF NOT EXISTS ix_rule_section ON tab_rule (id, ftid)";

// Settings of our own (reading size, review target…) as key and text value.
const char *const kSettingsTable = "CREATE TABLE IF NOT EXISTS ql_settings (key TEXT NOT NULL PRIMARY KEY, value TEXT)";

const char *const kIndexes[] = {
    "CREATE INDEX ix_answ_chapter ON tab_answ (A10, A13)",
    "CREATE INDEX ix_answ_type ON tab_answ (A13)",
    "CREATE INDEX ix_kmmc_code ON tab_kmmc (C1)",
    "CREATE INDEX ix_kmmc_order ON tab_kmmc (bh)",
    kRuleSectionIndex,
    "CREATE INDEX ix_rule_title ON tab_rule (sn)",
    "CREATE INDEX ix_fgmc_order ON tab_fgmc (bh)",
    "CREATE INDEX ix_cj_number ON tab_cj (A3_1)",
};

} // namespace

namespace {

void indexRulesBySection(Connection &c)
{
    c.execute(QStringLiteral("DROP INDEX IF EXISTS ix_rule_item"));
    c.execute(QString::fromUtf8(kRuleSectionIndex));
}

void createSettings(Connection &c)
{
    c.execute(QString::fromUtf8(kSettingsTable));
}

// Each import of a question file is a batch that can be taken back as a whole.
void createImportBatches(Connection &c)
{
    c.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS ql_import_batch (id INTEGER PRIMARY KEY, file TEXT NOT NULL,"
                             " made TEXT NOT NULL, section TEXT NOT NULL)"));
    c.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS ql_import_question (A1 TEXT NOT NULL PRIMARY KEY,"
                             " batch INTEGER NOT NULL)"));
    c.execute(QStringLiteral("CREATE INDEX IF NOT EXISTS ix_import_question_batch ON ql_import_question (batch)"));
}

// The search index: the plain text of every question (body with its options,
// the group's stem, explanation, note) and exam point (title, text), one row
// each, and a trigram full-text index over it that reads its text from that
// table. Rows are filled by the search module, which converts the rich text.
void createSearchIndex(Connection &c)
{
    c.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS ql_search_text (id INTEGER PRIMARY KEY, kind INTEGER NOT NULL,"
                             " ref TEXT NOT NULL, title TEXT, body TEXT, stem TEXT, jx TEXT, note TEXT)"));
    c.execute(QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS ix_search_ref ON ql_search_text (kind, ref)"));
    c.execute(QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS ql_search USING fts5(title, body, stem, jx, note,"
                             " content='ql_search_text', content_rowid='id', tokenize='trigram', detail=full)"));
}

// Starting a practice run clears the run answers that are set, and the partial index holds only those
// rows; a paper draws from its pool by place. Both keep the work to its own size, not the bank's.
void indexRunAnswersAndPaperDraws(Connection &c)
{
    c.execute(QStringLiteral("CREATE INDEX IF NOT EXISTS ix_answ_run_answer ON tab_answ (E2_1)"
                             " WHERE E2_1 <> '' OR E2_1 IS NULL"));
    drawpool::create(c);
}

// Banks of earlier versions counted an item or group once per linked point; each question counts once.
void recountExamPointLinks(Connection &c) { recountLinks(c); }

// Each step brings a bank from the version before it to its own; steps only add
// tables and indexes of ours and never change the data of the original tables.
struct Step {
    int version;
    void (*apply)(Connection &);
};
const Step kSteps[] = {
    {2, indexRulesBySection},
    {3, createSettings},
    {4, createImportBatches},
    {5, store::review::createReviewTables},
    {6, createSearchIndex},
    {7, indexRunAnswersAndPaperDraws},
    {8, recountExamPointLinks},
};

} // namespace

QStringList requiredTables()
{
    return {"tab_answ", "tab_exer", "tab_title", "tab_kmmc", "tab_tx1", "tab_tx2", "tab_tx3", "tab_tx4",
            "tab_tx5",  "tab_rz",   "tab_plan",  "tab_cj",   "tab_rule", "tab_fgmc", "tab_sj"};
}

void create(Connection &c)
{
    Transaction t(c);
    for (const char *sql : kTables)
        c.execute(QString::fromUtf8(sql));
    for (const char *sql : kIndexes)
        c.execute(QString::fromUtf8(sql));
    for (const Step &step : kSteps)
        step.apply(c);
    c.execute(QStringLiteral("PRAGMA user_version=%1").arg(kVersion));
    t.commit();
}

bool isBank(Connection &c)
{
    const QStringList present = c.tableNames();
    for (const QString &t : requiredTables())
        if (!present.contains(t, Qt::CaseInsensitive))
            return false;
    return true;
}

void migrate(Connection &c)
{
    const int version = c.scalar(QStringLiteral("PRAGMA user_version")).toInt();
    if (version > kVersion)
        throw Error(QStringLiteral("题库版本 %1 比本程序新，请升级程序").arg(version));
    if (version == kVersion)
        return;
    Transaction t(c);
    for (const Step &step : kSteps)
        if (step.version > version)
            step.apply(c);
    c.execute(QStringLiteral("PRAGMA user_version=%1").arg(kVersion));
    t.commit();
}

} // namespace store::schema
