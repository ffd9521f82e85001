#pragma once

#include <QList>
#include <QWidget>

class QComboBox;
class QTextCharFormat;
class QToolButton;

namespace richtext {

class RichEditor;

// The formatting row above a window's rich-text editors: bold, italic,
// underline, colour, size and "插入图片". It acts on the editor that last
// had the focus, and shows that editor's format at its cursor.
class RichEditBar : public QWidget {
    Q_OBJECT
public:
    explicit RichEditBar(QWidget *parent = nullptr);

    void attach(RichEditor *editor);
    RichEditor *currentEditor() const { return m_current; }

    QToolButton *BtnBold, *BtnItalic, *BtnUnderline, *BtnColor, *BtnPicture;
    QComboBox *CbSize;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setCurrent(RichEditor *editor);
    void merge(const QTextCharFormat &format);
    void showFormatAtCursor();
    void insertPicture();

    QList<RichEditor *> m_editors;
    RichEditor *m_current = nullptr;
};

} // namespace richtext
