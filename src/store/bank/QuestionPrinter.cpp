#include "QuestionPrinter.h"

#include "Connection.h"
#include "DataModule.h"
#include "Error.h"
#include "RtfText.h"

#include <QTextStream>

namespace bank {

QString printQuestion(const QString &bankFile, const QString &questionId)
{
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(bankFile));
    c.open();
    store::Statement q(c.handle(),
                       QStringLiteral("select a.A13, a.A10, a.A2, a.A2_1, e.A15, e.jx, k.C2, a.K3, a.K4, a.K5, a.K6, a.K7, "
                                      "a.K8, a.K9, a.K10, a.K11, a.K12 from tab_answ a left join tab_exer e on "
                                      "a.A1 = e.A1 left join tab_kmmc k on k.C1 = a.A10 where a.A1 = ?"),
                       store::Params::byPosition({questionId}));
    if (!q.step())
        throw store::Error(QStringLiteral("no question %1 in %2").arg(questionId, bankFile));
    QString out;
    QTextStream s(&out);
    s << "题号 " << questionId << "  题型 " << q.value(0).toInt() << "  章节 " << q.value(1).toString() << ' '
      << q.value(6).toString() << '\n';
    if (questionId.contains(QLatin1Char('-'))) {
        const QVariant stem = c.scalar(QStringLiteral("select A15 from tab_title where A1 = ?"),
                                       store::Params::byPosition({questionId.left(16)}));
        s << "\n【材料】\n" << rtf::toPlainText(stem.toString()) << '\n';
    }
    s << "\n【题目】\n" << rtf::toPlainText(q.value(4).toString()) << '\n';
    s << "\n【答案】" << q.value(2).toString() << "（选项 " << q.value(3).toInt() << " 个）\n";
    if (!q.value(5).isNull())
        s << "\n【解析】\n" << rtf::toPlainText(q.value(5).toString()) << '\n';
    for (int k = 7; k <= 16; ++k) {
        const QString id = q.value(k).toString().trimmed();
        if (id.isEmpty())
            break;
        const QVariant title = c.scalar(QStringLiteral("select rtrim(sn) from tab_rule where ftid = ?"),
                                        store::Params::byPosition({id}));
        s << (k == 7 ? "\n【考点】\n" : "") << id << ' ' << title.toString() << '\n';
    }
    return out;
}

} // namespace bank
