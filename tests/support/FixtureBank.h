#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

#include "Connection.h"

// A throw-away program folder with a small question bank in data/Vellumar.mdb:
// subject 1 with two chapters, five questions, two exam points and a plan row.
class FixtureBank {
public:
    FixtureBank();

    QString folder() const { return m_dir.path(); }
    QString bankFile() const { return m_dir.path() + QStringLiteral("/data/Vellumar.mdb"); }
    // Runs statements on a connection of its own (the bank stays closed in between).
    void exec(const QString &sql, const QVariantList &params = {});
    QVariant scalar(const QString &sql, const QVariantList &params = {});

    // Copies the button pictures (*.bmp) of `pictureFolder` into the program folder's pic/.
    bool installPictures(const QString &pictureFolder);

    // Adds a question with its text row; points go to K3, K4, …
    void addQuestion(const QString &id, const QString &chapter, int type, const QString &key,
                     const QStringList &points = {}, int options = 4);

private:
    QTemporaryDir m_dir;
    store::Connection m_conn;
};
