#pragma once

#include <QDialog>

namespace ui {
class FlatButton;
}
class QPushButton;

// The About window: who makes the program, and links to the local pages.
class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget *parent = nullptr);

    QPushButton *epEfTrBtn1;        // "关 闭"
    ui::FlatButton *epTransparentBtn1; // makers' page
    ui::FlatButton *epTransparentBtn2; // publisher's page
    ui::FlatButton *epTransparentBtn3; // company page
    ui::FlatButton *epTransparentBtn5; // "关    闭"

private:
    void openPage(const QString &relativePath);
};
