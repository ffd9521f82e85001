#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;
class QTextBrowser;

namespace ui {

class TitleStrip;

// The program's own window for its pages (help, regulations, contacts, the
// About pages): back, forward, links between the pages. Links to outside web
// addresses go to the desktop's browser; when none takes them the window says so.
class PageViewer : public QDialog {
    Q_OBJECT
public:
    explicit PageViewer(const QString &page, QWidget *parent = nullptr);

    TitleStrip *Caption;
    QTextBrowser *Browser;
    QPushButton *BackButton;    // "后退"
    QPushButton *ForwardButton; // "前进"
    QPushButton *CloseButton;   // "关闭"
    QLabel *Status;             // what happened to an outside link

private:
    void follow(const QUrl &link);
    void showTitle();
};

} // namespace ui
