#include "FixtureBank.h"

#include "DataModule.h"
#include "Schema.h"

#include <QDir>
#include <QFile>

FixtureBank::FixtureBank()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    m_conn.setConnectionString(TDM1::connectionStringFor(bankFile()));
    m_conn.open(true);
    store::schema::create(m_conn);
    const char *rows[] = {
        "insert into tab_kmmc (bh,C1,C1_1,C2,C7) values (1,'1','科目一提示','工程造价管理基础理论与相关法规','0')",
        "insert into tab_kmmc (bh,C1,C1_1,C2) values (2,'10','基础理论','工程造价管理基础理论与相关法规')",
        "insert into tab_kmmc (bh,C1,C1_1,C2,jx) values (3,'1001','第一章提示','第一章 工程造价管理','本章导学')",
        "insert into tab_kmmc (bh,C1,C1_1,C2) values (4,'100101','第一节提示','第一节 工程造价的含义')",
        "insert into tab_kmmc (bh,C1,C1_1,C2) values (5,'100102','第二节提示','第二节 计价特征')",
        "insert into tab_kmmc (bh,C1,C1_1,C2) values (6,'1002','第二章提示','第二章 相关法规')",
        "insert into tab_kmmc (bh,C1,C1_1,C2) values (7,'100201','建筑法提示','第一节 建筑法')",
        "insert into tab_tx1 (A1,B1,B2,B3,time) values (11,'单项选择题',60,1,1)",
        "insert into tab_tx1 (A1,B1,B2,B3,time) values (14,'多项选择题',20,2,2)",
        "insert into tab_fgmc (id,n,bh) values ('01','中华人民共和国建筑法',1)",
        "insert into tab_fgmc (id,n,bh) values ('010001','第一章 总则',2)",
        "insert into tab_fgmc (id,n,bh) values ('010002','第二章 建筑许可',3)",
        "insert into tab_rule (id,ftid,sn,n,q) values ('010001','0100010001','立法目的    ','第一条',1)",
        "insert into tab_rule (id,ftid,sn,n,q) values ('010002','0100020001','施工许可    ','第七条',2)",
        "insert into tab_plan (PlanMark,PlanAmount,PlanTime,ExamDate,LeastMark,ExamTime) "
        "values (0,50,60,'2027-05-01',60,9000)",
        "insert into tab_sj (sjbs,cpbs) values ('','QUILLET')",
    };
    for (const char *sql : rows)
        exec(QString::fromUtf8(sql));
    addQuestion(QStringLiteral("100101110001"), QStringLiteral("100101"), 11, QStringLiteral("A"),
                {QStringLiteral("0100010001"), QStringLiteral("0100020001")});
    addQuestion(QStringLiteral("100101110002"), QStringLiteral("100101"), 11, QStringLiteral("C"));
    addQuestion(QStringLiteral("100101140001"), QStringLiteral("100101"), 14, QStringLiteral("ABD"));
    addQuestion(QStringLiteral("100102110001"), QStringLiteral("100102"), 11, QStringLiteral("B"),
                {QStringLiteral("0100020001")});
    addQuestion(QStringLiteral("100201110001"), QStringLiteral("100201"), 11, QStringLiteral("D"));
    m_conn.close();
}

bool FixtureBank::installPictures(const QString &pictureFolder)
{
    const QDir source(pictureFolder);
    QDir(m_dir.path()).mkpath(QStringLiteral("pic"));
    const QStringList pictures = source.entryList({QStringLiteral("*.bmp")});
    for (const QString &file : pictures)
        if (!QFile::copy(source.filePath(file), m_dir.path() + QStringLiteral("/pic/") + file))
            return false;
    return !pictures.isEmpty();
}

void FixtureBank::exec(const QString &sql, const QVariantList &params)
{
    const bool wasOpen = m_conn.isOpen();
    if (!wasOpen)
        m_conn.open();
    m_conn.execute(sql, store::Params::byPosition(params));
    if (!wasOpen)
        m_conn.close();
}

QVariant FixtureBank::scalar(const QString &sql, const QVariantList &params)
{
    const bool wasOpen = m_conn.isOpen();
    if (!wasOpen)
        m_conn.open();
    const QVariant v = m_conn.scalar(sql, store::Params::byPosition(params));
    if (!wasOpen)
        m_conn.close();
    return v;
}

void FixtureBank::addQuestion(const QString &id, const QString &chapter, int type, const QString &key,
                              const QStringList &points, int options)
{
    QVariantList k;
    for (int i = 0; i < 10; ++i)
        k << (i < points.size() ? QVariant(points.at(i)) : QVariant(QString()));
    exec(QStringLiteral("insert into tab_answ (A1,A2,A2_1,K3,K4,K5,K6,K7,K8,K9,K10,K11,K12,A10,A13,A14,E2,E2_1,"
                        "E3,E4,F1,xx,csbs,ecount) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,'','','',0,0,0,0,'',0)"),
         QVariantList{id, key, options} + k + QVariantList{chapter, type});
    exec(QStringLiteral("insert into tab_exer (A1,A15,jx) values (?,?,?)"),
         {id, QStringLiteral("题目 ") + id, QStringLiteral("解析 ") + id});
}
