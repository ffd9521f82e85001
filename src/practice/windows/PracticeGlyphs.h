#pragma once

#include "AnswerCodes.h"

#include <QPixmap>

// The number-button and type-button pictures a practice window loads from
// the program folder's pic/ at creation.
namespace practice {

struct NumberGlyphs {
    QPixmap up;        // not answered
    QPixmap down;      // pressed, not answered
    QPixmap yes;       // answered right
    QPixmap no;        // answered wrong
    QPixmap downRight; // pressed, right
    QPixmap downWrong; // pressed, wrong
    QPixmap over;      // answered during an exam, not yet marked

    // False when any of the seven files cannot be read.
    bool load(const QString &programFolder);
    const QPixmap &normal(AnswerState state) const;
    const QPixmap &pressed(AnswerState state) const;
};

struct TypeGlyphs {
    QPixmap up;
    QPixmap down;
    bool load(const QString &programFolder);
};

// The pictures are part of the program: without them the window cannot work.
[[noreturn]] void endProgramForMissingPictures();

} // namespace practice
