#include "ReadingStyle.h"

#include "CjkFonts.h"
#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "RichView.h"
#include "Settings.h"

#include <QApplication>
#include <QHash>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace richtext {
namespace {

const QString ScaleKey = QStringLiteral("reading.scale");
// The point size a fragment was loaded with (0: none of its own), kept so that
// a later scale starts from the text's own sizes.
constexpr int LoadedPointSize = QTextFormat::UserProperty + 71;
constexpr int WideBodyPixels = 16;
constexpr int CompactBodyPixels = 14;
constexpr double kLineHeight = 1.5; // times the body size

double loadedPoints(const QTextCharFormat &format)
{
    if (format.hasProperty(LoadedPointSize))
        return format.doubleProperty(LoadedPointSize);
    if (format.hasProperty(QTextFormat::FontPointSize))
        return format.fontPointSize();
    if (format.hasProperty(QTextFormat::FontPixelSize))
        return format.intProperty(QTextFormat::FontPixelSize) * 0.75;
    return 0;
}

struct Run {
    int from, to;
    double points;
};

QList<Run> runsOf(const QTextDocument &document)
{
    QList<Run> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (const QTextFragment f = it.fragment(); f.isValid())
                runs.append({f.position(), f.position() + f.length(), loadedPoints(f.charFormat())});
    return runs;
}

// The size most of the text is set in: it becomes the body size.
double mainPoints(const QList<Run> &runs)
{
    QHash<double, int> lengths;
    for (const Run &run : runs)
        if (run.points > 0)
            lengths[run.points] += run.to - run.from;
    double main = 0;
    int longest = 0;
    for (auto it = lengths.cbegin(); it != lengths.cend(); ++it)
        if (it.value() > longest || (it.value() == longest && it.key() < main)) {
            longest = it.value();
            main = it.key();
        }
    return main;
}

} // namespace

ReadingScale &ReadingScale::instance()
{
    static ReadingScale *scale = new ReadingScale;
    return *scale;
}

void ReadingScale::setFactor(double factor)
{
    const double rounded = std::round(qBound(kSmallest, factor, kLargest) / kStep) * kStep;
    if (qFuzzyCompare(rounded, m_factor))
        return;
    m_factor = rounded;
    if (DataModule) {
        try {
            store::settings::setValue(DataModule->ADOCn1, ScaleKey, QString::number(m_factor, 'f', 1));
        } catch (const store::Error &) {
            // A read-only bank: the size still applies until the program ends.
        }
    }
    emit changed();
}

void ReadingScale::loadFromBank()
{
    if (!DataModule)
        return;
    bool ok = false;
    double kept = 1.0;
    try {
        kept = store::settings::value(DataModule->ADOCn1, ScaleKey, QStringLiteral("1.0")).toDouble(&ok);
    } catch (const store::Error &) {
    }
    m_factor = ok ? qBound(kSmallest, kept, kLargest) : 1.0;
    emit changed();
}

void ReadingScale::watchKeys()
{
    if (m_watching || !qApp)
        return;
    m_watching = true;
    qApp->installEventFilter(this);
}

bool ReadingScale::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (!(key->modifiers() & Qt::ControlModifier))
        return false;
    const int code = key->key();
    if (code != Qt::Key_Equal && code != Qt::Key_Plus && code != Qt::Key_Minus && code != Qt::Key_0)
        return false;
    const QList<RichView *> views = static_cast<QWidget *>(watched)->window()->findChildren<RichView *>();
    if (std::none_of(views.cbegin(), views.cend(), [](const RichView *v) { return v->isVisible(); }))
        return false;
    if (code == Qt::Key_Minus)
        smaller();
    else if (code == Qt::Key_0)
        setFactor(1.0);
    else
        larger();
    return true;
}

ReadingFormat readingFormat()
{
    ReadingFormat format;
    format.family = readingCjkFamily();
    const int base = ScreenClass == QLatin1String("800") ? CompactBodyPixels : WideBodyPixels;
    format.bodyPixels = qRound(base * ReadingScale::instance().factor());
    format.paragraphGapPixels = qRound(format.bodyPixels * 0.4);
    // Lines 1.5 times the body size apart; the CJK faces' own spacing is already about 1.45.
    QFont body(format.family);
    body.setPixelSize(format.bodyPixels);
    const double natural = QFontMetricsF(body).lineSpacing();
    format.lineHeightPercent = qMax(100, qRound(100 * kLineHeight * format.bodyPixels / natural));
    return format;
}

void applyReadingFormat(QTextDocument *document, const ReadingFormat &format)
{
    const bool wasModified = document->isModified();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);

    QFont font = document->defaultFont();
    font.setFamilies({format.family});
    font.setPixelSize(format.bodyPixels);
    document->setDefaultFont(font);

    const QList<Run> runs = runsOf(*document);
    const double main = mainPoints(runs);
    QTextCursor cursor(document);
    for (const Run &run : runs) {
        cursor.setPosition(run.from);
        cursor.setPosition(run.to, QTextCursor::KeepAnchor);
        QTextCharFormat shown = cursor.charFormat();
        shown.setProperty(LoadedPointSize, run.points);
        shown.clearProperty(QTextFormat::FontPointSize);
        const double ratio = run.points > 0 && main > 0 ? qBound(0.6, run.points / main, 3.0) : 1.0;
        shown.setProperty(QTextFormat::FontPixelSize, qRound(format.bodyPixels * ratio));
        cursor.setCharFormat(shown);
    }

    QTextBlockFormat spacing;
    spacing.setLineHeight(format.lineHeightPercent, QTextBlockFormat::ProportionalHeight);
    spacing.setBottomMargin(format.paragraphGapPixels);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        cursor.setPosition(block.position());
        cursor.mergeBlockFormat(spacing);
    }

    document->setUndoRedoEnabled(undo);
    document->setModified(wasModified);
}

} // namespace richtext
