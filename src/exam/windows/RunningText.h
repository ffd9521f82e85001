#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace exam {

// epRunPanel1: lines of text that scroll upwards while running, over and over.
class RunningText : public QWidget {
    Q_OBJECT
public:
    explicit RunningText(const QStringList &lines, QWidget *parent = nullptr);

    void start();
    void stop();
    bool isRunning() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QStringList m_lines;
    QTimer m_timer;
    int m_offset = 0;
};

} // namespace exam
