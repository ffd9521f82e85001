#pragma once

#include <QImage>
#include <QTextEdit>
#include <QVariant>

namespace richtext {

// Rich-text editor for question entry and edit: loads a bank text (RTF or
// plain), saves RTF. Pasted RTF keeps its formatting and pictures.
class RichEditor : public QTextEdit
{
    Q_OBJECT

public:
    // Text typed without a size of its own: 五号, the body size of Chinese documents.
    static constexpr double kDefaultPointSize = 10.5;

    explicit RichEditor(QWidget *parent = nullptr);

    void setContent(const QVariant &value);
    QByteArray rtf() const;
    // True when the text is empty or only white space.
    bool isBlank() const;
    // Inserts a picture at the cursor, no wider than the editor shows.
    void insertPicture(const QImage &image);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;
};

} // namespace richtext
