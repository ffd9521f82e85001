#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
namespace ui {
class Bevel;
}

// The non-modal wait window shown around long database work.
class TFrmProgress : public QWidget {
    Q_OBJECT
public:
    explicit TFrmProgress(QWidget *parent = nullptr);

    // The one wait window of the program, created on first use.
    static TFrmProgress &instance();

    // Shows the text and paints it now, before the caller's work blocks the loop.
    void showText(const QString &text);

    ui::Bevel *epBevel1;
    QLabel *Label1;
    QTimer Timer1;

protected:
    void showEvent(QShowEvent *event) override;
};

// Shows the wait window for the life of the scope and hides it on every path
// out of it, also when an exception escapes. Nested scopes share the window:
// an inner scope gives back the outer text, and only the outermost hides it.
class ProgressScope {
public:
    explicit ProgressScope(const QString &text = QObject::tr("请等待..."));
    ~ProgressScope();
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

    void setText(const QString &text);

private:
    QString outerText;
};
