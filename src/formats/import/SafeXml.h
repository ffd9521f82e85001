#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

namespace formats::import {

class Deadline;

// A QXmlStreamReader that refuses document type declarations (and with them
// every entity trick), nesting deeper than the limit, and malformed XML.
class SafeXml
{
public:
    SafeXml(const QByteArray &xml, const QString &partName, const Deadline &deadline);

    // The next start or end element or characters; false at the end of the document.
    // Throws ImportError for anything unsafe or broken.
    bool next();

    QXmlStreamReader::TokenType token() const { return reader_.tokenType(); }
    bool isStart() const { return reader_.isStartElement(); }
    bool isEnd() const { return reader_.isEndElement(); }
    bool isStart(QLatin1StringView localName) const { return isStart() && reader_.name() == localName; }
    bool isEnd(QLatin1StringView localName) const { return isEnd() && reader_.name() == localName; }
    QStringView name() const { return reader_.name(); }
    QStringView text() const { return reader_.text(); }
    // An attribute by local name, whatever its namespace prefix.
    QString attribute(QLatin1StringView localName) const;
    int depth() const { return depth_; }

private:
    QXmlStreamReader reader_;
    QString partName_;
    const Deadline &deadline_;
    int depth_ = 0;
    int steps_ = 0;
};

} // namespace formats::import
