#pragma once

#include <QLabel>
#include <QPushButton>

namespace ui {

// A "transparent" button: caption on the panel, framed only under the pointer.
class FlatButton : public QPushButton {
    Q_OBJECT
public:
    explicit FlatButton(const QString &text = {}, QWidget *parent = nullptr);
};

// A button with curved corners and a hand cursor (the message box's buttons).
class ShapeButton : public QPushButton {
    Q_OBJECT
public:
    explicit ShapeButton(const QString &text = {}, QWidget *parent = nullptr);
};

// A label on a sunken panel, for figures and short status texts.
class LabelPanel : public QLabel {
    Q_OBJECT
public:
    explicit LabelPanel(const QString &text = {}, QWidget *parent = nullptr);
};

} // namespace ui
