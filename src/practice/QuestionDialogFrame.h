#pragma once

#include <QSize>
#include <QString>

class QDialog;
class QPushButton;
class QWidget;

// The frame the small question windows share: a fixed size, a title strip,
// the body filling the rest and a close button at the bottom right.
QPushButton *FrameQuestionDialog(QDialog &dialog, const QString &caption, const QSize &size, QWidget *body,
                                 const QString &closeCaption);
