#include "RichEditor.h"

#include "CjkFonts.h"
#include "RichView.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUuid>

#include <memory>

namespace richtext {
namespace {

const QStringList RtfMimeTypes = {"text/rtf", "application/rtf", "text/richtext"};

QString rtfFormatIn(const QMimeData *source)
{
    for (const QString &type : RtfMimeTypes)
        if (source->hasFormat(type))
            return type;
    return QString();
}

struct ImageAt {
    int position;
    QTextImageFormat format;
};

QList<ImageAt> imagesIn(const QTextDocument &document)
{
    QList<ImageAt> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                for (int i = 0; i < it.fragment().length(); ++i)
                    images.append({it.fragment().position() + i,
                                   it.fragment().charFormat().toImageFormat()});
    return images;
}

// Moves the pictures of `from` into `to` under fresh names, so that a pasted
// fragment never points at a picture the editor already holds.
void adoptImages(QTextDocument &from, QTextDocument *to)
{
    for (ImageAt image : imagesIn(from)) {
        const QVariant picture = from.resource(QTextDocument::ImageResource, QUrl(image.format.name()));
        const QString name = "pasted:" + QUuid::createUuid().toString(QUuid::WithoutBraces);
        to->addResource(QTextDocument::ImageResource, QUrl(name), picture);
        image.format.setName(name);
        QTextCursor cursor(&from);
        cursor.setPosition(image.position);
        cursor.setPosition(image.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(image.format);
    }
}

} // namespace

RichEditor::RichEditor(QWidget *parent) : QTextEdit(parent)
{
    prepareRichTextWidget(this);
    // What is typed is saved in the bank's default font; show it in that face already.
    // The editor hands its own font to the document whenever the look changes.
    QFont face = font();
    face.setFamilies({rtf::RtfWriter::defaultFontFamily()}); // substituted where it is not installed
    face.setPointSizeF(kDefaultPointSize);
    setFont(face);
    setAcceptRichText(true);
}

void RichEditor::setContent(const QVariant &value)
{
    loadContent(value, document());
}

QByteArray RichEditor::rtf() const
{
    return rtf::RtfWriter::write(*document());
}

bool RichEditor::isBlank() const
{
    return toPlainText().trimmed().isEmpty();
}

void RichEditor::insertPicture(const QImage &image)
{
    const QString name = "inserted:" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    const int room = viewport()->width() - 2 * int(document()->documentMargin()) - 4;
    if (room > 0 && image.width() > room) {
        format.setWidth(room);
        format.setHeight(double(image.height()) * room / image.width());
    }
    textCursor().insertImage(format);
    ensureCursorVisible();
}

bool RichEditor::canInsertFromMimeData(const QMimeData *source) const
{
    return !rtfFormatIn(source).isEmpty() || source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void RichEditor::insertFromMimeData(const QMimeData *source)
{
    const QString type = rtfFormatIn(source);
    if (type.isEmpty() && source->hasImage() && !source->hasHtml()) {
        insertPicture(qvariant_cast<QImage>(source->imageData()));
        return;
    }
    if (type.isEmpty()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    QTextDocument pasted;
    rtf::RtfReader::read(source->data(type), &pasted);
    adoptImages(pasted, document());
    substituteMissingFonts(pasted);
    textCursor().insertFragment(QTextDocumentFragment(&pasted));
    ensureCursorVisible();
}

QMimeData *RichEditor::createMimeDataFromSelection() const
{
    // Qt's own selection data lists a fixed set of formats; copy them into a
    // plain QMimeData so that RTF can join them.
    const std::unique_ptr<QMimeData> base(QTextEdit::createMimeDataFromSelection());
    auto *data = new QMimeData;
    for (const QString &format : base->formats())
        data->setData(format, base->data(format));
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        QTextDocument selection;
        QTextCursor(&selection).insertFragment(cursor.selection());
        // The fragment keeps picture names; the pictures stay with this document.
        for (const ImageAt &image : imagesIn(selection)) {
            const QUrl name(image.format.name());
            selection.addResource(QTextDocument::ImageResource, name,
                                  document()->resource(QTextDocument::ImageResource, name));
        }
        data->setData(RtfMimeTypes.first(), rtf::RtfWriter::write(selection));
    }
    return data;
}

} // namespace richtext
