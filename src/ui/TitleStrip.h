#pragma once

#include <QPixmap>
#include <QWidget>

namespace ui {

// The deep-teal strip across the top of a window: caption and optional icon.
// Dragging the strip moves its window, since our windows have no frame.
class TitleStrip : public QWidget {
    Q_OBJECT
public:
    explicit TitleStrip(const QString &text = {}, QWidget *parent = nullptr);

    QString text() const { return caption; }
    void setText(const QString &text);
    void setIcon(const QPixmap &icon);
    void setItalic(bool italic);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QString caption;
    QPixmap icon;
};

} // namespace ui
