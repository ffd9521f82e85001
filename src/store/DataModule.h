#pragma once

#include "Connection.h"
#include "DataSource.h"
#include "Dataset.h"

#include <QObject>

// The one owner of the bank connection and of the datasets the windows share.
class TDM1 : public QObject {
    Q_OBJECT
public:
    // programFolder: where data/Vellumar.mdb lives; empty = the folder of the program file.
    explicit TDM1(const QString &programFolder = QString(), QObject *parent = nullptr);
    ~TDM1() override;

    static QString connectionStringFor(const QString &bankFile);

    bool connected = false;

    store::Connection ADOCn1;
    store::Query Cn1Query1{&ADOCn1};
    store::DataSource Cn1DS1{&Cn1Query1};
    store::Table Cn1Table_kmmc{&ADOCn1};
    store::Table Cn1Table_tx{&ADOCn1};
    store::Query Cn1Query_tm{&ADOCn1};
    store::Query Cn1Query2{&ADOCn1};
    store::DataSource Cn1DS2{&Cn1Query2};
    store::DataSource Cn1DS_tm{&Cn1Query_tm};
    store::Table Cn1Table_rz{&ADOCn1};
    store::DataSource Cn1DS_rz{&Cn1Table_rz};
    store::DataSource Cn1DS_kmmc{&Cn1Table_kmmc};
    store::Query Cn1Query_exam{&ADOCn1};
    store::DataSource Cn1DS_exam{&Cn1Query_exam};
    store::Table Cn1Table_cj{&ADOCn1};
    store::DataSource Cn1DS_cj{&Cn1Table_cj};
    store::Query ADOQ_kmmc{&ADOCn1};
    store::Connection ADOCn2;
    store::Query Cn2Query1{&ADOCn2};
    store::Query m_queryDetail{&ADOCn1};
    store::Query m_query{&ADOCn1};
    store::Query ADOQuery3{&ADOCn1};
    store::DataSource m_query_DS{&m_queryDetail};
    store::Query ADOQ_kl{&ADOCn1};
    store::DataSource Ds_kl{&ADOQ_kl};
    store::Table Cn1Table_fgmc{&ADOCn1};
    store::Query Cn1Query3{&ADOCn1};
    store::DataSource Cn1DS3{&Cn1Query3};
    store::Query cn1query_nr{&ADOCn1};
    store::DataSource Cn1DS_nr{&cn1query_nr};
    store::Table Cn1Table_plan{&ADOCn1};

signals:
    // While the selector shows: whether the current chapter has guidance text.
    void chapterExplanationAvailable(bool available);

private:
    void Cn1DS_kmmcDataChange();
};

extern TDM1 *DataModule;
