#include "DataModule.h"

#include "Globals.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDir>

TDM1 *DataModule = nullptr;

namespace {
const char kPassword[] = "41736pd82k5wqjtrzhxn";
}

QString TDM1::connectionStringFor(const QString &bankFile)
{
    // A path with ';' or '"' is quoted so that the piece still ends where it should.
    QString source = bankFile;
    if (source.contains(QLatin1Char(';')) || source.contains(QLatin1Char('"')))
        source = QLatin1Char('"') + source.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=") + source +
           QStringLiteral(";") + QStringLiteral("Mode=Share Deny None;Extended Properties=\"\";") +
           QStringLiteral("Locale Identifier=2052;Persist Security Info=False;") +
           QStringLiteral("Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";") +
           QStringLiteral("Jet OLEDB:Database Password=") + QLatin1String(kPassword) + QStringLiteral(";") +
           QStringLiteral("Jet OLEDB:Engine Type=5;Jet OLEDB:Database Locking Mode=0;") +
           QStringLiteral("Jet OLEDB:Global Partial Bulk Ops=2;") +
           QStringLiteral("Jet OLEDB:Global Bulk Transactions=1;") +
           QStringLiteral("Jet OLEDB:New Database Password=\"\";") +
           QStringLiteral("Jet OLEDB:Create System Database=False;") +
           QStringLiteral("Jet OLEDB:Encrypt Database=False;") +
           QStringLiteral("Jet OLEDB:Don't Copy Locale on Compact=False;") +
           QStringLiteral("Jet OLEDB:Compact Without Replica Repair=False;") + QStringLiteral("Jet OLEDB:SFP=False");
}

TDM1::TDM1(const QString &programFolder, QObject *parent) : QObject(parent)
{
    DataModule = this;
    Cn1Table_kmmc.setTableName(QStringLiteral("tab_kmmc"));
    Cn1Table_kmmc.setIndexFieldNames(QStringLiteral("bh"));
    Cn1Table_tx.setTableName(QStringLiteral("tab_tx1"));
    Cn1Table_rz.setTableName(QStringLiteral("tab_rz"));
    Cn1Table_cj.setTableName(QStringLiteral("tab_cj"));
    Cn1Table_fgmc.setTableName(QStringLiteral("tab_fgmc"));
    Cn1Table_plan.setTableName(QStringLiteral("tab_plan"));
    connect(&Cn1DS_kmmc, &store::DataSource::dataChanged, this, &TDM1::Cn1DS_kmmcDataChange);

    try {
        QString folder = programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
        folder = QDir::fromNativeSeparators(folder);
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        AppDir = folder;
        if (ADOCn1.isOpen())
            ADOCn1.close();
        ADOCn1.setConnectionString(connectionStringFor(AppDir + QStringLiteral("data/Vellumar.mdb")));
        ADOCn1.open(false, [](store::Connection &c) { return store::schema::isBank(c); });
        // A bank that cannot be written is read as it is; practice and exams tell the learner when they try to save.
        if (!ADOCn1.isReadOnly())
            store::schema::migrate(ADOCn1);
        connected = true;
    } catch (const std::exception &) {
        ADOCn1.close();
        connected = false;
    }
}

TDM1::~TDM1()
{
    if (DataModule == this)
        DataModule = nullptr;
}

void TDM1::Cn1DS_kmmcDataChange()
{
    const bool onRow = Cn1Table_kmmc.recNo() > 0 || Cn1Table_kmmc.state() != store::Dataset::State::Browse;
    if (!Cn1Table_kmmc.isOpen() || !onRow)
        return;
    CurrentChapterCode = Cn1Table_kmmc.fieldByName(QStringLiteral("C1_1")).asString();
    if (SelectorOpen)
        emit chapterExplanationAvailable(Cn1Table_kmmc.fieldByName(QStringLiteral("jx")).blobSize() >= 1);
}
