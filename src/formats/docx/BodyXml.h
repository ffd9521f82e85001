#pragma once

#include "Docx.h"

#include <QByteArray>
#include <QString>

class QXmlStreamWriter;

namespace docx {

// Page geometry of every document: A4 portrait with Word's Chinese margins, in twips.
constexpr int PageWidth = 11906;
constexpr int PageHeight = 16838;
constexpr int MarginTopBottom = 1440;
constexpr int MarginLeftRight = 1800;
constexpr int TextWidth = PageWidth - 2 * MarginLeftRight;

inline const QString WordNamespace = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");

// <w:name w:val="value"/>
void writeValue(QXmlStreamWriter &xml, const QString &name, const QString &value);

// The name a font is written under. The Chinese system faces go by their
// Latin names (宋体 as SimSun), which Word on Windows knows as well as the
// Chinese ones and which Linux font configurations map to a matching face
// (SimSun to a Ming serif, SimHei to a sans), where 宋体 would get any CJK font.
QString faceName(const QString &font);

// The relationship id under which picture `index` is stored.
QString pictureRelationshipId(int index);

// word/document.xml for the document's body.
QByteArray documentXml(const Document &document);

// Text as XML 1.0 allows it: control characters and unpaired surrogates dropped.
QString xmlSafe(const QString &text);

} // namespace docx
