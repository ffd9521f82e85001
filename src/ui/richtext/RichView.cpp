#include "RichView.h"

#include "CjkFonts.h"
#include "RtfReader.h"

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
}

void RichView::setContent(const QVariant &value)
{
    loadContent(value, document());
}

} // namespace richtext
