#include "RichView.h"

#include "CjkFonts.h"
#include "ReadingStyle.h"
#include "RtfReader.h"

#include <QWheelEvent>

namespace richtext {

void loadContent(const QVariant &value, QTextDocument *document)
{
    rtf::RtfReader::read(value, document);
    substituteMissingFonts(*document);
}

void prepareRichTextWidget(QTextEdit *editor)
{
    installCjkFontFallbacks();
    QFont font = editor->font();
    font.setFamilies({programCjkFamily()});
    editor->document()->setDefaultFont(font);
}

RichView::RichView(QWidget *parent) : QTextEdit(parent)
{
    prepareRichTextWidget(this);
    setReadOnly(true);
    // Mouse selection only: a keyboard caret would blink in a text the learner cannot change.
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    ReadingScale::instance().watchKeys();
    connect(&ReadingScale::instance(), &ReadingScale::changed, this, &RichView::applyReading);
    // Text put in by other means (setHtml, editing the document) is set in the reading format too.
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!m_styling)
            applyReading();
    });
    applyReading();
}

void RichView::setContent(const QVariant &value)
{
    m_styling = true; // once for the whole text, not for each piece the reader adds
    loadContent(value, document());
    applyReading();
    document()->setModified(false); // shown as stored
}

void RichView::applyReading()
{
    m_styling = true;
    applyReadingFormat(document(), readingFormat());
    m_styling = false;
}

void RichView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier))
        return QTextEdit::wheelEvent(event);
    const int turn = event->angleDelta().y();
    if (turn > 0)
        ReadingScale::instance().larger();
    else if (turn < 0)
        ReadingScale::instance().smaller();
    event->accept();
}

} // namespace richtext
