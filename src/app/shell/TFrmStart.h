#pragma once

#include "musicplayer.h"

#include <QWidget>
#include <functional>

class MainMenu;

// The main window: full screen, the main menu, background music, and the
// command table that turns menu commands into windows and actions.
class TFrmStart : public QWidget {
    Q_OBJECT
public:
    explicit TFrmStart(QWidget *parent = nullptr);
    ~TFrmStart() override;

    // False when FormCreate refused to run (the program then ends).
    bool created() const { return m_created; }

    void FormShow();
    bool FormCloseQuery();
    void ShockwaveFlash1FSCommand(const QString &command, const QString &args);
    void PlayMusic(const QString &file, bool play);

    // Command names the table can carry out, in table order.
    QStringList commandNames() const;

    MainMenu *ShockwaveFlash1;
    MusicPlayer MidiMediaPlayer;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void FormCreate();
    void buildCommandTable();
    void openPage(const QString &relativePath);
    void quitAfterPlanCheck();
    // Today's review left undone: the learner confirms quitting (true) or stays.
    bool leaveReviewUnfinished();
    void refreshReviewCard();

    struct Command {
        QString name;
        std::function<void()> action;
    };
    QVector<Command> m_commands;
    bool m_created = false;
};

// The layout class of a screen: "800" for 800 wide or 600 high, else "1024".
QString ScreenClassFor(const QSize &screen);
// The program asks for small fonts: a logical resolution of exactly 96 dpi.
bool SmallFontsInUse(double logicalDpi);
// Loads TypeTimes and TypeCodes from tab_tx<subject>; keeps them when the table is empty.
void LoadTypeTimes(int subject);

extern TFrmStart *FrmStart;
