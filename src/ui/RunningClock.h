#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace ui {

// A running clock (elapsed time since start, minus pauses), ticking once a
// second while running. Its text has the form "0:00:00".
class RunningClock : public QObject {
    Q_OBJECT
public:
    explicit RunningClock(QObject *parent = nullptr);

    static QString formatHms(qint64 seconds);

    void start(); // starts or resumes counting
    void stop();  // pauses; the elapsed time is kept
    void reset(); // back to 0:00:00; a running clock keeps running
    bool isRunning() const { return running; }

    qint64 elapsedSeconds() const;
    QString text() const { return formatHms(elapsedSeconds()); }

signals:
    void ticked(const QString &text);

private:
    QTimer ticker;
    QElapsedTimer sinceStart;
    qint64 banked = 0; // milliseconds counted before the last start
    bool running = false;
};

} // namespace ui
