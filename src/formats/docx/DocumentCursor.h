#pragma once

#include "Docx.h"

class QTextDocument;

namespace docx {

// Writes into a document the way a word processor's typing cursor does:
// text goes into the current paragraph, a new paragraph ends it, and pasted
// rich text continues the current paragraph with its first paragraph.
class DocumentCursor
{
public:
    explicit DocumentCursor(Document &document);

    // Tabs and line breaks in the text become their own pieces; '\n' starts a new paragraph.
    void typeText(const QString &text, const CharFormat &format = {});
    void newParagraph();
    void pageBreak();
    void setAlignment(Paragraph::Align align);
    void setSpaceBefore(double points);
    // An empty rich text adds nothing.
    void insertRichText(const QTextDocument &text);

private:
    Paragraph &current();

    Document &document_;
};

} // namespace docx
