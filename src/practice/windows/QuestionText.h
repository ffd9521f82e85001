#pragma once

#include <QVariant>

class QLabel;
class QTextDocument;
namespace richtext { class RichView; }

// How a practice window shows a question's texts.
namespace practice {

// A bank text (RTF or plain), sizes below 12 pt raised for the screen.
void showQuestionText(richtext::RichView *view, const QVariant &value);
// Raises the sizes below 12 pt of a bank text shown on screen.
void raiseSmallSizes(QTextDocument *document);

// The chapter hint on the hint board, fitted to its room.
void fitHint(QLabel *board, const QString &text);

} // namespace practice
