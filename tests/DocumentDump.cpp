#include "DocumentDump.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>

namespace {

QString describeFormat(const QTextCharFormat &f)
{
    QStringList parts;
    if (f.fontWeight() > QFont::Normal)
        parts << "b";
    if (f.fontItalic())
        parts << "i";
    if (f.fontUnderline())
        parts << "u";
    if (f.fontStrikeOut())
        parts << "s";
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        parts << "sup";
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        parts << "sub";
    if (f.hasProperty(QTextFormat::FontPointSize))
        parts << QString::number(f.fontPointSize()) + "pt";
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty())
        parts << families.first();
    if (f.foreground().style() != Qt::NoBrush)
        parts << "fg" + f.foreground().color().name();
    if (f.background().style() != Qt::NoBrush)
        parts << "bg" + f.background().color().name();
    return parts.join(',');
}

void dumpBlock(const QTextBlock &block, const QString &indent, QString &out)
{
    const QTextBlockFormat f = block.blockFormat();
    out += indent + "P";
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        out += " center";
    else if (align & Qt::AlignRight)
        out += " right";
    else if (align & Qt::AlignJustify)
        out += " justify";
    for (const auto &[name, value] : {std::pair{"li", f.leftMargin()}, {"ri", f.rightMargin()},
                                      {"fi", f.textIndent()}, {"sb", f.topMargin()},
                                      {"sa", f.bottomMargin()}})
        if (value != 0)
            out += QStringLiteral(" %1=%2").arg(name).arg(value);
    out += "\n";
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.charFormat().isImageFormat()) {
            const QTextImageFormat image = fragment.charFormat().toImageFormat();
            out += indent + QStringLiteral("  [image %1x%2]\n").arg(image.width()).arg(image.height());
            continue;
        }
        QString text = fragment.text();
        text.replace(QChar::LineSeparator, QStringLiteral("<br>"));
        out += indent + "  \"" + text + "\" " + describeFormat(fragment.charFormat()) + "\n";
    }
}

void dumpFrame(const QTextFrame *frame, const QString &indent, QString &out)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const auto *table = qobject_cast<const QTextTable *>(it.currentFrame())) {
            out += indent + QStringLiteral("table %1x%2\n").arg(table->rows()).arg(table->columns());
            for (int r = 0; r < table->rows(); ++r)
                for (int c = 0; c < table->columns(); ++c) {
                    out += indent + QStringLiteral("  cell %1,%2\n").arg(r).arg(c);
                    const QTextTableCell cell = table->cellAt(r, c);
                    for (auto ci = cell.begin(); !ci.atEnd(); ++ci)
                        if (ci.currentBlock().isValid())
                            dumpBlock(ci.currentBlock(), indent + "    ", out);
                }
        } else if (it.currentFrame()) {
            dumpFrame(it.currentFrame(), indent, out);
        } else {
            dumpBlock(it.currentBlock(), indent, out);
        }
    }
}

} // namespace

QString dumpDocument(const QTextDocument &document)
{
    QString out;
    dumpFrame(document.rootFrame(), QString(), out);
    return out;
}
