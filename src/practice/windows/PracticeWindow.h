#pragma once

#include "AnsweringControls.h"
#include "GroupPager.h"
#include "PracticeGlyphs.h"
#include "PracticeSession.h"
#include "PracticeVariant.h"
#include "RunningClock.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;
class QPushButton;
class QSplitter;
class QTextEdit;
namespace richtext { class RichView; }
namespace store { class Query; }
namespace ui {
class Gauge;
class TitleStrip;
} // namespace ui

namespace practice {

class AnswerPages;
class NumberBoard;
class TypeBoard;

// The practice machine that the chapter practice window and the exam-point
// practice window share: the question set of PracticeSql in groups of 20,
// the type list, the answer pages, marking, the answer panel, the answer-time
// gauge and the clock. A window gives its differences as a PracticeVariant.
class PracticeWindow : public QDialog {
    Q_OBJECT
public:
    ~PracticeWindow() override;

    // Clears the run's answers and opens the question set; false when it is empty.
    bool PrepareSession();

    // The hint board, fitted to its room.
    void setBoardText(const QString &text);

    int currentRecord() const { return CurrentRecord; }
    const GroupPager &pager() const { return m_pager; }
    void done(int result) override;

    ui::TitleStrip *Caption;
    QLabel *Label11, *Label12, *Label13, *Label14, *Label15, *Label16;
    QLabel *epLabel2;
    QLabel *Label1, *epLabel1;
    // The group figures and the close and desktop commands carry the variant's object names.
    QLabel *Label2, *Lb_zs, *Label4, *Lb_ts, *Label6;
    QLabel *Label7, *Lb_zb, *Label9;
    QPushButton *FlatSpeedButton1, *FlatSpeedButton2;
    QLabel *epLabel3, *epLabel4;
    NumberBoard *fcBG_th;
    TypeBoard *fcBG_tx;
    ui::Gauge *epIndiGauge1;
    QTimer *Timer1;
    ui::RunningClock *KZTimeCounter1;
    QWidget *Panel1;
    richtext::RichView *Re1;
    QSplitter *FlatSplitter1;
    richtext::RichView *Re2;
    QWidget *Panel2;
    QLabel *Lb_answtip, *Label22, *Label23;
    QTextEdit *Memo1, *Memo2;
    AnswerPages *Notebook1;
    QLabel *Label21, *Label24;
    QPushButton *epEfTrBtn1, *epEfTrBtn2, *epEfTrBtn3, *epEfTrBtn4, *epEfTrBtn5, *epEfTrBtn6;
    QPushButton *epEfTrBtn7, *epEfTrBtn8, *epEfTrBtn9, *epEfTrBtn10, *epEfTrBtn11, *epEfTrBtn99;

protected:
    PracticeWindow(const PracticeVariant &variant, QWidget *parent = nullptr);

    // Shows the current question again from the question set, after it was edited.
    void refreshCurrentQuestion();

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Situation { Submit, Leave, Quiet };

    static void notice(const QString &text); // a notice with one OK button

    void buildControls();
    void buildAnswerPanel();
    void buildCommands();
    void applyLayout(bool compact);
    void connectHandlers();

    store::Query &questions() const;
    void FormShow();
    void typePicked(int index);
    void openGroup();
    void showRecord(int record);
    void showQuestion(const QuestionView &view);
    void showBody(const QuestionView &view);
    void markQuestion(Situation situation);
    void pressRecord(int record);
    void stepTo(const GroupPager::Step &step);
    void FlatSpeedButton1Click();
    void FlatSpeedButton2Click();
    void epEfTrBtn6Click();
    void Timer1Timer();
    void epEfTrBtn4Click();
    void epEfTrBtn5Click();
    void epEfTrBtn9Click();
    void epEfTrBtn10Click();
    void epEfTrBtn7Click();
    void epEfTrBtn8Click();
    void closeSession();
    // Runs a command; a database error ends only that command. A bank that
    // can no longer be written ends the run, with one message.
    void guarded(const std::function<void()> &command);

    const PracticeVariant m_variant;
    AnswerPanel m_answerPanel;
    NumberGlyphs m_glyphs;
    TypeGlyphs m_typeGlyphs;
    QVector<TypeEntry> m_types;
    int m_typeIndex = -1;
    GroupPager m_pager;
    AnswerGauge m_gauge;
    QElapsedTimer m_questionClock; // since the question on display was shown
    int CurrentRecord = 0;
    bool m_shown = false;
    bool m_closed = false;
    bool m_writeRefused = false;
};

} // namespace practice
