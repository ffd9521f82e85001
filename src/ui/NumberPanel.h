#pragma once

#include <QWidget>

namespace ui {

// An LED-style figure display (seven segments) of a fixed number of cells;
// shows digits, '.', '-' and blanks, right-aligned.
class NumberPanel : public QWidget {
    Q_OBJECT
public:
    explicit NumberPanel(QWidget *parent = nullptr, int digits = 3);

    int digits() const { return cellCount; }

    QString text() const { return shown; }
    void setText(const QString &text); // characters other than 0-9 . - are shown blank
    void setValue(int value);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    int cellCount;
    QString shown;
};

} // namespace ui
