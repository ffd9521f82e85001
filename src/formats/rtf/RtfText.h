#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace rtf {

// Plain text of a bank text (RTF or plain), paragraphs separated by '\n'.
QString toPlainText(const QByteArray &rtfOrText);
QString toPlainText(const QString &rtfOrText);

// RTF holding one paragraph per entry, in the writer's usual form.
QByteArray fromPlainParagraphs(const QStringList &paragraphs);

} // namespace rtf
