#pragma once

#include <QTextEdit>
#include <QVariant>

namespace richtext {

// Read-only view of a bank text: RTF or plain text, as bytes or a string.
// The windows use it for their Re, Re1 and Re2 controls. Every view shows its
// text in the reading format (ReadingStyle.h) and follows the learner's
// reading size; Ctrl + mouse wheel changes that size.
class RichView : public QTextEdit
{
    Q_OBJECT

public:
    explicit RichView(QWidget *parent = nullptr);

    // A null or empty value clears the view.
    void setContent(const QVariant &value);

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    void applyReading();

    bool m_styling = false;
};

// Fills `document` from a bank field's value: QByteArray (raw bytes) or
// anything convertible to QString; null clears it.
void loadContent(const QVariant &value, QTextDocument *document);

// Gives `editor`'s document the program's CJK font and installs the
// fallbacks for Windows font names.
void prepareRichTextWidget(QTextEdit *editor);

} // namespace richtext
