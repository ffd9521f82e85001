#include "QuestionDialogFrame.h"

#include "TitleStrip.h"

#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>

QPushButton *FrameQuestionDialog(QDialog &dialog, const QString &caption, const QSize &size, QWidget *body,
                                 const QString &closeCaption)
{
    dialog.setWindowTitle(caption);
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    dialog.setFixedSize(size);
    auto *layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(4, 0, 4, 6);
    layout->setSpacing(4);
    layout->addWidget(new ui::TitleStrip(caption, &dialog));
    layout->addWidget(body, 1);
    auto *close = new QPushButton(closeCaption, &dialog);
    close->setObjectName(QStringLiteral("epEfTrBtn1"));
    close->setFixedWidth(90);
    layout->addWidget(close, 0, Qt::AlignRight);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::close);
    return close;
}
