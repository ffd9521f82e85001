#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Question files made on the spot: Word and Excel packages written by our own
// zip code, with exactly the XML a test needs.
namespace fixtures {

// <w:p> of plain runs; "\t" becomes <w:tab/>, "\n" <w:br/>.
QString paragraph(const QString &text);
// <w:p> numbered by list `numId` at `level` (the number is not in the text).
QString listParagraph(const QString &text, int numId, int level = 0);
// <w:r> with run properties such as "<w:b/>" or "<w:vertAlign w:val=\"superscript\"/>".
QString run(const QString &text, const QString &properties = {});
// A .docx whose body is `body`; `numbering` is word/numbering.xml when given,
// `media` pictures as word/media/imageN.png under relationship ids rIdImgN.
QByteArray docx(const QString &body, const QString &numbering = {}, const QVector<QByteArray> &media = {});
// A .xlsx with one sheet of shared-string cells ("" leaves a cell out).
QByteArray xlsx(const QVector<QStringList> &rows, const QString &sheetName = QStringLiteral("Sheet1"));
// A zip of the given parts, for packages broken on purpose.
QByteArray zip(const QVector<QPair<QString, QByteArray>> &parts);

// Processor time of this process so far: unlike the wall clock it does not
// grow when other programs keep the machine busy.
qint64 cpuMilliseconds();

// Writes `bytes` to `dir`/`name` and returns the path.
QString write(const QString &dir, const QString &name, const QByteArray &bytes);

} // namespace fixtures
