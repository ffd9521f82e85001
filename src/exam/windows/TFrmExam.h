#pragma once

#include "AnsweringControls.h"
#include "PracticeGlyphs.h"
#include "RunningClock.h"

#include <QDialog>
#include <QHash>

class QGroupBox;
class QLabel;
class QPushButton;
class QSplitter;
class QStackedWidget;
namespace richtext { class RichView; }
namespace store { class Error; class Query; }
namespace practice {
class AnswerPages;
class NumberBoard;
} // namespace practice
namespace exam { class RunningText; }

// The mock-exam window: a paper sat against the clock in mode "new", handed
// in and marked, then reviewed in mode "old" (also when reopened from the
// paper review). Answers are counted as in practice.
class TFrmExam : public QDialog {
    Q_OBJECT
public:
    explicit TFrmExam(QWidget *parent = nullptr);
    ~TFrmExam() override;

    // The paper to sit ("new", score 0, "0:00:00") or to review ("old").
    void InitPaper(const QString &tableName, const QString &title, const QString &mode, double score,
                   const QString &timeText);
    // Opens the paper; false after "无法打开试卷！" when it is missing or empty.
    bool OpenPaper();

    QString mode() const { return m_mode; }
    bool dropOnClose() const { return DropOnClose; }
    int currentRecord() const { return CurrentRecord; }
    bool isPaused() const { return m_paused; }

    QLabel *epLabel2, *Label4, *Label5, *Label6, *Label7, *Label1;
    QWidget *Panel1;
    richtext::RichView *Re1;
    QSplitter *FlatSplitter1;
    richtext::RichView *Re2;
    QWidget *Panel2;
    QLabel *Lb_answtip;
    practice::AnswerPages *Notebook1;
    QPushButton *epEfTrBtn1, *epEfTrBtn2;
    QPushButton *epEfTrBtn3, *epEfTrBtn6, *epEfTrBtn10, *epEfTrBtn5;
    QPushButton *epEfTrBtn9, *epEfTrBtn12, *epEfTrBtn4, *epEfTrBtn7;
    QGroupBox *GroupBox1;
    QPushButton *epEfTrBtn8, *epEfTrBtn11, *epEfTrBtn13;
    QStackedWidget *Notebook_Time;
    QLabel *epLb_time1, *epLb_time2, *Lb_zfs;
    practice::NumberBoard *fcBG_th;
    QWidget *suiPanel1;
    exam::RunningText *epRunPanel1;
    ui::RunningClock *KZTimeCounter1;

public slots:
    void reject() override; // Escape asks like 交卷

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildCommands();
    void buildHintBoard();
    void applyLayout(bool compact);
    void connectHandlers();

    store::Query &paper() const;
    bool isNew() const { return m_mode == QLatin1String("new"); }
    void FormShow();
    void applyMode();
    void refreshAnswerSheet();
    void showRecord(int record);
    void showAnswerState();
    void showQuestionText();
    void RecordAnswer(int record, bool quiet);
    void clockTicked(const QString &text);
    void timeOut();
    void epEfTrBtn3Click();
    void MarkPaper();
    void epEfTrBtn13Click();
    void epEfTrBtn6Click();
    void epEfTrBtn4Click();
    void epEfTrBtn5Click();
    void epEfTrBtn9Click();
    void epEfTrBtn12Click();
    void epEfTrBtn8Click();
    void ExportPaper();
    // A time-out that fell while a note, the settings or a message was open waits for it to close.
    void timeOutWhenChildCloses();
    void finish();
    void closePaper();
    // An answer or a marking that could not be saved: the learner may try
    // again, unless the bank cannot be written at all, which ends the exam.
    void answerNotSaved(const store::Error &error);

    practice::NumberGlyphs m_glyphs;
    practice::AnswerPanel m_answerPanel;
    QHash<int, QString> m_typeCaptions;
    QString m_table;
    QString m_title;
    QString m_mode;
    double m_score = 0;
    QString m_timeText = QStringLiteral("0:00:00");
    bool DropOnClose = false;
    int CurrentRecord = 0;
    bool m_shown = false;
    bool m_paused = false;
    bool m_previousWasEnabled = false;
    bool m_nextWasEnabled = false;
    bool m_finishing = false;
    bool m_closed = false;
};
