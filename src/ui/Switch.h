#pragma once

#include <QAbstractButton>

namespace ui {

// An on/off switch (the music switch). isChecked() is its state; toggled()
// follows every change, switchedOn()/switchedOff() only the user's clicks, so
// a window can set the switch on when it opens without acting on it.
class Switch : public QAbstractButton {
    Q_OBJECT
public:
    explicit Switch(QWidget *parent = nullptr);

    QSize sizeHint() const override;

signals:
    void switchedOn();
    void switchedOff();

protected:
    void paintEvent(QPaintEvent *) override;
};

} // namespace ui
