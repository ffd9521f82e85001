#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One copy of the program per user. A second copy asks the first to bring its
// active window to the front and then exits.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &key = defaultKey(), QObject *parent = nullptr);
    ~SingleInstance() override;

    static QString defaultKey();

    // True when another copy answered (and has been asked to come forward).
    bool anotherIsRunning() const { return m_other; }

signals:
    // Another copy asked this one to come forward.
    void activationRequested();

private:
    void listen();
    QString m_key;
    QLocalServer *m_server = nullptr;
    bool m_other = false;
};

// Brings the application's active window (or the main window) to the front,
// restoring it when minimised.
void BringApplicationToFront();
