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
    QStringList parts{names.subjectName(hit.subject)};
    const QString chapter = names.chapterPath(hit.chapter);
    if (!chapter.isEmpty())
        parts << chapter;
    parts << names.typeName(hit.subject, hit.type) << stateText(hit.state);
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
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_searcher.snippet(hit, m_results.query).text + QLatin1Char('\n') + factsOf(hit, m_names);
    default:
        return {};
    }
}

void ResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem plain = option;
    initStyleOption(&plain, index);
    plain.text.clear();
    QStyle *style = plain.widget ? plain.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);

    QTextDocument doc;
    QFont font = option.font;
    font.setPixelSize(m_bodyPixels);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setTextWidth(option.rect.width() - 2 * kPadding);
    doc.setHtml(QStringLiteral("<div>%1</div><div style=\"font-size:%2px\">%3</div>")
                    .arg(index.data(ResultModel::SnippetHtmlRole).toString())
                    .arg(m_bodyPixels - 2)
                    .arg(index.data(ResultModel::FactsHtmlRole).toString()));
    painter->save();
    painter->translate(option.rect.topLeft() + QPoint(kPadding, kPadding));
    painter->setClipRect(QRect(0, 0, option.rect.width() - 2 * kPadding, option.rect.height() - 2 * kPadding));
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = option.palette;
    if (option.state & QStyle::State_Selected)
        context.palette.setColor(QPalette::Text, option.palette.color(QPalette::HighlightedText));
    doc.documentLayout()->draw(painter, context);
    painter->restore();
}

QSize ResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    Q_UNUSED(index)
    // Two lines of the snippet and one of facts; longer snippets are cut.
    const int line = int(m_bodyPixels * 1.45);
    return QSize(option.rect.width(), 2 * line + int((m_bodyPixels - 2) * 1.45) + 2 * kPadding);
}

} // namespace search
