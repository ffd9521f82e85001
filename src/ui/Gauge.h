#pragma once

#include <QWidget>

namespace ui {

// A 0-100 gauge (the per-question answer-time gauge). The bar turns to the
// warning colour once the value passes warnAbove().
class Gauge : public QWidget {
    Q_OBJECT
public:
    explicit Gauge(QWidget *parent = nullptr, Qt::Orientation orientation = Qt::Horizontal);

    int value() const { return current; }
    void setValue(int value); // held to 0..100
    int warnAbove() const { return warnLevel; }
    void setWarnAbove(int level);
    Qt::Orientation orientation() const { return direction; }
    bool isWarning() const { return current > warnLevel; }

    QSize sizeHint() const override;

signals:
    void valueChanged(int value);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    int current = 0;
    int warnLevel = 100;
    Qt::Orientation direction;
};

} // namespace ui
