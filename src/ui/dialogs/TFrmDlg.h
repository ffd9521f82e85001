#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QStackedWidget;
namespace ui {
class Bevel;
class ShapeButton;
class TitleStrip;
} // namespace ui

// The program's own message box: a title strip, an icon page, the message and
// up to three buttons whose modal results are 1, 2 and 3.
class TFrmDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFrmDlg(QWidget *parent = nullptr);

    // The one box of the program, created on first use.
    static TFrmDlg &instance();

    // Sets caption, message, buttons (layout 0-3), captions (mode) and icon
    // page; the box is then ready to be shown.
    void prepare(const QString &caption, const QString &text, int layout, const QString &mode, int iconPage);
    int designWidth() const { return designedWidth; }
    QStringList visibleButtonCaptions() const; // left to right

    ui::Bevel *Image1;
    ui::TitleStrip *Image2;
    QLabel *Label1;
    QLabel *fcLabel1;
    ui::ShapeButton *fcShapeBtn1;
    ui::ShapeButton *fcShapeBtn2;
    ui::ShapeButton *fcShapeBtn3;
    QStackedWidget *epNoteBook1;

public slots:
    void reject() override; // Escape answers like the box's cancelling button

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyLayout(int layout);
    void fitToText();
    QList<ui::ShapeButton *> visibleButtonsLeftToRight() const;

    int designedWidth;
};

// Shows the message box modally; returns the result of the button pressed (1, 2 or 3).
int ShowMessageBox(const QString &caption, const QString &text, int layout, const QString &mode, int iconPage);

// Runs a command; a database error ends only that command and is shown in the box as "错误".
void RunReportingErrors(const std::function<void()> &command);
