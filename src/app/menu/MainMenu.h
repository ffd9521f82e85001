#pragma once

#include <QMap>
#include <QStringList>
#include <QWidget>

class QBoxLayout;
class QGridLayout;
class QLabel;
class QPushButton;

// The start screen: one button per menu command, grouped by subject and by
// tool. A click sends the command name (and an empty argument) through
// FSCommand. Only the commands the owner says it can carry out are offered.
class MainMenu : public QWidget {
    Q_OBJECT
public:
    explicit MainMenu(QWidget *parent = nullptr);

    static QStringList allCommands();

    // Offers exactly these commands (all of them until this is called);
    // groups left without a command disappear.
    void setAvailableCommands(const QStringList &commands);
    QStringList offeredCommands() const;
    QPushButton *buttonOf(const QString &command) const { return buttons.value(command); }

    // The review card: questions left of today's review and the days to the
    // exam (examDays < 0 and examSet false: no exam day in the plan).
    void setReviewSummary(int due, bool examSet, int examDays);

signals:
    void FSCommand(const QString &command, const QString &args);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Scaled {
        QWidget *widget;
        int basePixels;
        bool bold;
    };

    struct CardRow {
        QGridLayout *grid;
        QList<QWidget *> cards;
    };

    void addSection(const QString &title, const QList<QWidget *> &sectionCards);
    void placeCards(const CardRow &row);
    QWidget *makeHeader();
    QWidget *makeSubjectCard(int subject, const QString &practice, const QString &exam);
    QWidget *makeReviewCard();
    QWidget *makeToolCard(const QString &title, const QList<QPair<QString, QString>> &commands);
    QPushButton *addButton(QBoxLayout *layout, const QString &command, const QString &caption, const char *role);
    QLabel *addLabel(QBoxLayout *layout, const QString &text, const char *role, int basePixels, bool bold = false);
    void scaleText(QWidget *widget, int basePixels, bool bold = false);
    void rescale();

    QMap<QString, QPushButton *> buttons;
    // Cards and sections hide when they offer nothing.
    QList<QWidget *> cards;
    QList<QWidget *> sections;
    QList<Scaled> scaledText;
    QList<QBoxLayout *> cardLayouts;
    QList<QLabel *> subjectTopics; // left out on small screens, where the titles need the room
    QList<CardRow> rows;
    QBoxLayout *pageLayout = nullptr;
    QWidget *body = nullptr;
    QLabel *emblem = nullptr;
    QLabel *reviewDue = nullptr;
    QLabel *reviewExam = nullptr;
};
