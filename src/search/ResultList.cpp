#include "ResultList.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QTextDocument>

namespace search {

namespace {

const char kMarkStyle[] = "<b style=\"background-color:#fff1a8;color:#8a1c00\">";
const int kPadding = 6;

QString columnLabel(int column)
{
    switch (column) {
    case 2:
        return QStringLiteral("【题干】");
    case 3:
        return QStringLiteral("【解析】");
    case 4:
        return QStringLiteral("【笔记】");
    default:
        return QString();
    }
}

} // namespace

QString stateText(AnswerState state)
{
    switch (state) {
    case AnswerState::NotDone:
        return QStringLiteral("未做");
    case AnswerState::Right:
        return QStringLiteral("做对");
    case AnswerState::Wrong:
        return QStringLiteral("做错");
    case AnswerState::Voided:
        return QStringLiteral("已作废");
    }
    return QString();
}

QString markedHtml(const Snippet &snippet)
{
    QString html;
    int at = 0;
    for (const auto &[start, length] : snippet.marks) {
        if (start < at)
            continue;
        html += snippet.text.mid(at, start - at).toHtmlEscaped();
        html += QLatin1String(kMarkStyle) + snippet.text.mid(start, length).toHtmlEscaped() + QStringLiteral("</b>");
        at = start + length;
    }
    return html + snippet.text.mid(at).toHtmlEscaped();
}

ResultModel::ResultModel(Searcher &searcher, const BankNames &names, QObject *parent)
    : QAbstractListModel(parent), m_searcher(searcher), m_names(names)
{
}

void ResultModel::setResults(const Results &results)
{
    beginResetModel();
    m_results = results;
    m_snippets.clear();
    endResetModel();
}

int ResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_results.hits.size());
}

QString factsOf(const Hit &hit, const BankNames &names)
{
    if (hit.kind == Kind::Point)
        return QStringLiteral("考点 · %1 · %2").arg(names.sectionOf(hit.ref), hit.ref);
    // The chapter goes last: a long one is cut at the row's end, the rest stays readable.
    QStringList parts{names.subjectName(hit.subject), names.typeName(hit.subject, hit.type), stateText(hit.state)};
    const QString chapter = names.chapterPath(hit.chapter);
    if (!chapter.isEmpty())
        parts << chapter;
    return parts.join(QStringLiteral(" · "));
}

QString ResultModel::snippetHtml(int row) const
{
    auto it = m_snippets.constFind(row);
    if (it != m_snippets.constEnd())
        return *it;
    const Hit &hit = m_results.hits.at(row);
    const Snippet s = m_searcher.snippet(hit, m_results.query);
    QString html = columnLabel(s.column).toHtmlEscaped() + markedHtml(s);
    if (hit.kind == Kind::Point && s.column != 0)
        html.prepend(QStringLiteral("<b>%1</b>　").arg(s.title.toHtmlEscaped()));
    return *m_snippets.insert(row, html);
}

QVariant ResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_results.hits.size())
        return {};
    const Hit &hit = m_results.hits.at(index.row());
    switch (role) {
    case SnippetHtmlRole:
        return snippetHtml(index.row());
    case FactsHtmlRole: {
        const QString colour = hit.state == AnswerState::Wrong ? QStringLiteral("#b3261e")
                               : hit.state == AnswerState::Right ? QStringLiteral("#1b7a35")
                                                                  : QStringLiteral("#5f6b7a");
        return QStringLiteral("<span style=\"color:%1\">%2</span>").arg(colour, factsOf(hit, m_names).toHtmlEscaped());
    }
    case FactsTextRole:
        return factsOf(hit, m_names);
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_searcher.snippet(hit, m_results.query).text + QLatin1Char('\n') + factsOf(hit, m_names);
    default:
        return {};
    }
}

namespace {

// One block of rich text at the top left of the painter, cut to `lines` lines.
void drawHtml(QPainter *painter, const QString &html, const QFont &font, int width, int lines, const QPalette &palette)
{
    QTextDocument doc;
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setTextWidth(width);
    doc.setHtml(html);
    const int height = int(QFontMetricsF(font).lineSpacing() * lines + 1);
    painter->save();
    painter->setClipRect(QRect(0, 0, width, height));
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette;
    doc.documentLayout()->draw(painter, context);
    painter->restore();
}

} // namespace

void ResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem plain = option;
    initStyleOption(&plain, index);
    plain.text.clear();
    QStyle *style = plain.widget ? plain.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);

    const bool selected = option.state & QStyle::State_Selected;
    QPalette palette = option.palette;
    if (selected)
        palette.setColor(QPalette::Text, option.palette.color(QPalette::HighlightedText));
    QFont body = option.font;
    body.setPixelSize(m_bodyPixels);
    QFont small = option.font;
    small.setPixelSize(m_bodyPixels - 2);
    const int width = option.rect.width() - 2 * kPadding;
    painter->save();
    painter->translate(option.rect.topLeft() + QPoint(kPadding, kPadding));
    drawHtml(painter, index.data(ResultModel::SnippetHtmlRole).toString(), body, width, 2, palette);
    painter->translate(0, int(QFontMetricsF(body).lineSpacing() * 2) + 2);
    // On the selection's dark ground the facts take its text colour.
    const QString facts = selected ? index.data(ResultModel::FactsTextRole).toString().toHtmlEscaped()
                                   : index.data(ResultModel::FactsHtmlRole).toString();
    drawHtml(painter, facts, small, width, 1, palette);
    painter->restore();
}

QSize ResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    Q_UNUSED(index)
    QFont body = option.font;
    body.setPixelSize(m_bodyPixels);
    QFont small = option.font;
    small.setPixelSize(m_bodyPixels - 2);
    const int height = int(QFontMetricsF(body).lineSpacing() * 2 + QFontMetricsF(small).lineSpacing()) + 2 + 2 * kPadding;
    return QSize(option.rect.width(), height);
}

} // namespace search
