#include "SingleInstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {
const QByteArray kRaise = "raise\n";
}

QString SingleInstance::defaultKey()
{
    const QByteArray user = qgetenv("USER") + qgetenv("UID");
    return QStringLiteral("Quillet-") +
           QString::fromLatin1(QCryptographicHash::hash(user, QCryptographicHash::Sha1).toHex().left(12));
}

SingleInstance::SingleInstance(const QString &key, QObject *parent) : QObject(parent), m_key(key)
{
    QLocalSocket probe;
    probe.connectToServer(m_key);
    if (probe.waitForConnected(500)) {
        probe.write(kRaise);
        probe.waitForBytesWritten(500);
        probe.disconnectFromServer();
        m_other = true;
        return;
    }
    listen();
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_key)) {
        // A copy that crashed leaves its socket behind; nobody answered it above.
        QLocalServer::removeServer(m_key);
        m_server->listen(m_key);
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().contains(kRaise.trimmed()))
                    emit activationRequested();
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

void BringApplicationToFront()
{
    QWidget *w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    if (!w) {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->isVisible()) {
                w = top;
                break;
            }
    }
    if (!w)
        return;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->isMinimized())
            top->setWindowState(top->windowState() & ~Qt::WindowMinimized);
    w->raise();
    w->activateWindow();
}
