#include "Docx.h"

namespace docx {

bool CharFormat::operator==(const CharFormat &o) const
{
    return bold == o.bold && italic == o.italic && underline == o.underline && strike == o.strike
            && vertical == o.vertical && pointSize == o.pointSize && color == o.color && highlight == o.highlight
            && font == o.font && fontIsCjk == o.fontIsCjk;
}

int Document::addPicture(const Picture &picture)
{
    pictures.append(picture);
    return int(pictures.size() - 1);
}

} // namespace docx
