#pragma once

#include <QObject>
#include <QStringList>

class QTextDocument;

namespace richtext {

// How every read-only bank text is set on screen: one face, a comfortable body
// size for the screen class, line height and paragraph spacing. It changes only
// how a text is shown; the stored text is left as it was.
struct ReadingFormat {
    QString family;            // the face of text that names none
    int bodyPixels = 16;       // the text's main size is shown at this size
    int lineHeightPercent = 100; // of the face's own line spacing: lines 1.5 × the body size apart
    int paragraphGapPixels = 6;
};

// The learner's reading size, one factor for every view, kept in the bank.
class ReadingScale : public QObject {
    Q_OBJECT
public:
    static constexpr double kSmallest = 0.8;
    static constexpr double kLargest = 2.0;
    static constexpr double kStep = 0.1;

    static ReadingScale &instance();

    double factor() const { return m_factor; }
    void setFactor(double factor); // rounded to a step, held within range; saved when bound
    void larger() { setFactor(m_factor + kStep); }
    void smaller() { setFactor(m_factor - kStep); }

    // Takes the factor kept in the open bank; later changes are kept there.
    void loadFromBank();

    // Ctrl+= / Ctrl+- / Ctrl+0 in any window that shows a reading view; installed once.
    void watchKeys();

signals:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ReadingScale() = default;
    double m_factor = 1.0;
    bool m_watching = false;
};

// The reading format for the current screen class and scale.
ReadingFormat readingFormat();

// Sets `document` in `format`: the text's most common size becomes the body
// size and the others keep their proportion to it; lines get `format`'s height
// and paragraphs a gap. Applying it again (a new scale) starts from the sizes
// the text was loaded with. The document is left unmodified.
void applyReadingFormat(QTextDocument *document, const ReadingFormat &format);

} // namespace richtext
