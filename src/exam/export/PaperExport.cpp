#include "PaperExport.h"

#include "Connection.h"
#include "Dataset.h"
#include "DocumentCursor.h"
#include "DocxWriter.h"
#include "Error.h"
#include "PaperBuilder.h"
#include "RtfReader.h"

#include <QHash>
#include <QSet>
#include <QTextDocument>

namespace exam {
namespace {

struct TypeRow {
    QString name = QStringLiteral("未知题型");
    double count = 0;
    double marks = 0;
};

docx::CharFormat bold(double pointSize = 0)
{
    docx::CharFormat f;
    f.bold = true;
    f.pointSize = pointSize;
    return f;
}

class PaperWriter
{
public:
    PaperWriter(store::Connection &connection, const PaperRef &paper)
        : connection_(connection), paper_(paper), rows_(&connection), point_(&connection), cursor_(document_)
    {
        document_.title = paper.title;
    }

    docx::Document write()
    {
        rows_.setSql(QStringLiteral("select * from %1 order by A13,A1").arg(store::quotedName(paper_.table)));
        rows_.open();
        readTypes();
        cursor_.typeText(paper_.title, bold(16));
        cursor_.setAlignment(docx::Paragraph::Align::Center);
        newParagraphs(3);
        writeQuestions();
        cursor_.pageBreak();
        cursor_.typeText(QStringLiteral("答案："), bold());
        newParagraphs(3);
        writeAnswers();
        rows_.close();
        return std::move(document_);
    }

private:
    void newParagraphs(int n)
    {
        for (int i = 0; i < n; ++i)
            cursor_.newParagraph();
    }

    void readTypes()
    {
        store::Query types(&connection_);
        types.setSql(QStringLiteral("select A1,B1,B2,B3 from tab_tx%1").arg(paper_.subject));
        types.open();
        for (types.first(); !types.eof(); types.next())
            types_.insert(types.fieldByName(QStringLiteral("A1")).asInteger(),
                          {types.fieldByName(QStringLiteral("B1")).asString(),
                           types.fieldByName(QStringLiteral("B2")).asFloat(),
                           types.fieldByName(QStringLiteral("B3")).asFloat()});
    }

    QString field(const char *name) const { return rows_.fieldByName(QLatin1String(name)).asString(); }

    // A bank text; a missing row or an empty value adds nothing.
    bool pasteLookup(const QString &sql, const QString &key)
    {
        const QVariant value = connection_.scalar(sql, store::Params::byPosition({key}));
        return paste(value);
    }

    static bool hasContent(const QVariant &value)
    {
        return !value.isNull()
                && !(value.userType() == QMetaType::QByteArray ? value.toByteArray().isEmpty()
                                                               : value.toString().isEmpty());
    }

    bool paste(const QVariant &value)
    {
        if (!hasContent(value))
            return false;
        QTextDocument text;
        rtf::RtfReader::read(value, &text);
        cursor_.insertRichText(text);
        return true;
    }

    void writeHeading(int typeCode)
    {
        const TypeRow type = types_.value(typeCode);
        ++typesSeen_;
        cursor_.setSpaceBefore(12);
        cursor_.typeText(typeOrdinal(typesSeen_) + type.name + QStringLiteral("[共") + QString::number(type.count)
                                 + QStringLiteral("题，每题") + QString::number(type.marks) + QStringLiteral("分，总计")
                                 + QString::number(type.count * type.marks) + QStringLiteral("分]"),
                         bold());
        cursor_.newParagraph();
    }

    void writeQuestions()
    {
        QSet<int> types;
        for (rows_.first(); !rows_.eof(); rows_.next()) {
            const int type = rows_.fieldByName(QStringLiteral("A13")).asInteger();
            if (!types.contains(type)) {
                types.insert(type);
                writeHeading(type);
            }
            const QString id = field("A1");
            cursor_.setSpaceBefore(6);
            // A grouped question: the group's stem comes before each of its questions.
            if (id.contains(QLatin1Char('-'))
                && pasteLookup(QStringLiteral("select a15 from tab_title where a1 = ?"), id.left(16)))
                cursor_.newParagraph();
            cursor_.typeText(QString::number(rows_.recNo()) + QStringLiteral("、"));
            pasteLookup(QStringLiteral("select a15 from tab_exer where a1 = ?"), id);
            cursor_.newParagraph();
        }
    }

    QString keyLine() const
    {
        const int type = rows_.fieldByName(QStringLiteral("A13")).asInteger();
        const QString key = field("A2");
        if (type == 11 || type == 14)
            return key;
        if (type == 41)
            return key == QLatin1String("A") ? QStringLiteral("正确")
                 : key == QLatin1String("B") ? QStringLiteral("错误")
                                             : key;
        return QString();
    }

    void writeAnswers()
    {
        for (rows_.first(); !rows_.eof(); rows_.next()) {
            cursor_.setSpaceBefore(9);
            cursor_.typeText(QStringLiteral("第%1题").arg(rows_.recNo()), bold());
            cursor_.newParagraph();
            if (const QString key = keyLine(); !key.isNull()) {
                cursor_.typeText(QStringLiteral("试题答案：") + key);
                cursor_.newParagraph();
            }
            const QVariant explanation = rows_.value(QStringLiteral("jx"));
            if (hasContent(explanation)) {
                cursor_.typeText(QStringLiteral("试题解析："));
                cursor_.newParagraph();
                paste(explanation);
                cursor_.newParagraph();
            }
            writePoints();
        }
    }

    void writePoints()
    {
        if (field("K3").trimmed().isEmpty())
            return;
        cursor_.typeText(QStringLiteral("考点："));
        cursor_.newParagraph();
        for (int k = 3; k <= 12; ++k) {
            const QString code = rows_.fieldByName(QStringLiteral("K%1").arg(k)).asString().trimmed();
            if (code.isEmpty())
                continue;
            point_.setSql(QStringLiteral("select sn, n from tab_rule where ftid = ?"));
            point_.setParams(store::Params::byPosition({code}));
            point_.close();
            point_.open();
            if (point_.isEmpty())
                continue; // a point missing from the catalogue is left out
            // The law a point belongs to is the catalogue item named by its first 6 characters.
            const QVariant law = connection_.scalar(QStringLiteral("select n from tab_fgmc where id = ?"),
                                                    store::Params::byPosition({code.left(6)}));
            const QString title = point_.fieldByName(QStringLiteral("sn")).asString().trimmed();
            cursor_.typeText((law.isNull() ? QString() : law.toString() + QLatin1Char(' ')) + title
                             + QStringLiteral("；"));
            cursor_.newParagraph();
            paste(point_.value(QStringLiteral("n")));
            cursor_.newParagraph();
        }
    }

    store::Connection &connection_;
    const PaperRef &paper_;
    store::Query rows_;
    store::Query point_;
    QHash<int, TypeRow> types_;
    int typesSeen_ = 0;
    docx::Document document_;
    docx::DocumentCursor cursor_;
};

} // namespace

QString typeOrdinal(int n)
{
    static const QStringList ordinals = {QStringLiteral("一、"), QStringLiteral("二、"), QStringLiteral("三、"),
                                         QStringLiteral("四、"), QStringLiteral("五、")};
    return n >= 1 && n <= ordinals.size() ? ordinals.at(n - 1) : QStringLiteral("--");
}

PaperRef storedPaper(store::Connection &connection, const QString &table)
{
    if (!isPaperTableName(table) || !connection.tableExists(table))
        throw store::Error(QStringLiteral("没有这份试卷：") + table);
    PaperRef paper;
    paper.table = table;
    const QVariant title = connection.scalar(QStringLiteral("select A3 from tab_cj where lower(A1) = lower(?)"),
                                             store::Params::byPosition({table}));
    paper.title = title.isNull() ? table : title.toString();
    const QVariant subject = connection.scalar(
            QStringLiteral("select substr(min(A10),1,1) from %1").arg(store::quotedName(table)));
    const int number = subject.toString().toInt();
    paper.subject = number >= 1 && number <= 5 ? number : 1;
    return paper;
}

docx::Document paperDocument(store::Connection &connection, const PaperRef &paper)
{
    if (paper.subject < 1 || paper.subject > 5)
        throw store::Error(QStringLiteral("科目编号无效：%1").arg(paper.subject));
    return PaperWriter(connection, paper).write();
}

void exportPaper(store::Connection &connection, const PaperRef &paper, const QString &path)
{
    docx::save(paperDocument(connection, paper), path);
}

} // namespace exam
