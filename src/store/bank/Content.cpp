#include "Content.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

namespace bank {

bool isSubjectiveType(int code) { return code == 65 || code == 72 || code == 73 || code == 74; }
bool isChoiceType(int code) { return code == 11 || code == 14; }

namespace {

const QStringList kOptionLetters = {"a", "b", "c", "d", "e", "f"};

QString headingOf(int subject) { return QString::number(subject) + QLatin1Char('0'); }

class Reader {
public:
    Reader(const QString &folder, bool upgrade) : m_dir(folder), m_upgrade(upgrade) {}

    Content read()
    {
        if (!m_dir.exists())
            fail(Where{m_dir.path(), 0}, QStringLiteral("the content folder does not exist"));
        else {
            readPlan();
            readLaws();
            for (int n = 1; n <= 5; ++n)
                if (!m_upgrade || m_dir.exists(QStringLiteral("s%1").arg(n)))
                    readSubject(n);
            if (m_content.subjects.isEmpty())
                fail(Where{m_dir.path(), 0}, QStringLiteral("no subject folder (s1 … s5)"));
        }
        if (!m_errors.isEmpty())
            throw SourceErrors(m_errors);
        return m_content;
    }

private:
    void fail(const Where &w, const QString &message) { m_errors.push_back({w.file, w.line, message}); }
    void fail(const Record &r, const QString &message) { fail(Where{r.file, r.line}, message); }

    QVector<Record> records(const QString &path)
    {
        if (!QFileInfo(path).isFile()) {
            fail(Where{path, 0}, QStringLiteral("missing file"));
            return {};
        }
        return readRecords(path, m_errors);
    }

    // Numbers may carry a trailing "# comment".
    static QString bare(const QString &value)
    {
        static const QRegularExpression comment(QStringLiteral(R"(\s+#.*$)"));
        QString v = value;
        v.remove(comment);
        return v.trimmed();
    }

    int number(const Record &r, const QString &name, int min, int max)
    {
        bool ok = false;
        const int v = bare(r.value(name)).toInt(&ok);
        if (!r.field(name))
            fail(r, QStringLiteral("missing field \"%1\"").arg(name));
        else if (!ok || v < min || v > max)
            fail({r.file, r.field(name)->line},
                 QStringLiteral("\"%1\" must be a whole number from %2 to %3").arg(name).arg(min).arg(max));
        return v;
    }

    bool onlyFields(const Record &r, const QStringList &allowed)
    {
        bool ok = true;
        for (const RecordField &f : r.fields)
            if (!allowed.contains(f.name)) {
                fail(Where{r.file, f.line}, QStringLiteral("unknown field \"%1\" in [%2]").arg(f.name, r.kind));
                ok = false;
            }
        return ok;
    }

    QString required(const Record &r, const QString &name)
    {
        const QString v = r.value(name).trimmed();
        if (v.isEmpty())
            fail(r, QStringLiteral("missing field \"%1\"").arg(name));
        return v;
    }

    void readPlan()
    {
        bool sawPlan = false;
        for (const Record &r : records(m_dir.filePath(QStringLiteral("plan.txt")))) {
            Plan &p = m_content.plan;
            if (r.kind == QLatin1String("plan")) {
                sawPlan = true;
                onlyFields(r, {"mode", "questions", "minutes", "exam-in-days", "least-mark", "exam-minutes"});
                const QString mode = bare(r.value(QStringLiteral("mode")));
                if (mode != QLatin1String("questions") && mode != QLatin1String("minutes"))
                    fail(r, QStringLiteral("\"mode\" must be questions or minutes"));
                p.mode = mode == QLatin1String("minutes") ? 1 : 0;
                p.questions = number(r, QStringLiteral("questions"), 1, 10000);
                p.minutes = number(r, QStringLiteral("minutes"), 1, 1440);
                p.examInDays = number(r, QStringLiteral("exam-in-days"), 1, 3650);
                p.leastMark = number(r, QStringLiteral("least-mark"), 0, 1000);
                p.examMinutes = number(r, QStringLiteral("exam-minutes"), 1, 600);
            } else if (r.kind == QLatin1String("product")) {
                onlyFields(r, {"id"});
                p.productId = required(r, QStringLiteral("id"));
            } else {
                fail(r, QStringLiteral("unknown record [%1] in plan.txt").arg(r.kind));
            }
        }
        if (!sawPlan || m_content.plan.productId.isEmpty())
            fail(Where{m_dir.filePath(QStringLiteral("plan.txt")), 0}, QStringLiteral("needs a [plan] and a [product] record"));
    }

    void readLaws()
    {
        const QDir laws(m_dir.filePath(QStringLiteral("laws")));
        const QStringList files = laws.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
        if (files.isEmpty())
            fail(Where{laws.path(), 0}, QStringLiteral("no exam-point catalogue files (*.txt)"));
        QSet<QString> codes;
        for (const QString &name : files) {
            for (const Record &r : records(laws.filePath(name))) {
                const QString code = r.argument.trimmed();
                const bool known = r.kind == QLatin1String("law") || r.kind == QLatin1String("item") ||
                                   r.kind == QLatin1String("point");
                if (!known) {
                    fail(r, QStringLiteral("unknown record [%1] in the catalogue").arg(r.kind));
                    continue;
                }
                const int length = r.kind == QLatin1String("law") ? 2 : (r.kind == QLatin1String("item") ? 6 : 10);
                const int parentLength = length == 2 ? 0 : (length == 6 ? 2 : 6);
                if (code.size() != length || !code.at(0).isLetterOrNumber() || code.contains(QLatin1Char('\''))) {
                    fail(r, QStringLiteral("[%1] needs a code of %2 characters").arg(r.kind).arg(length));
                    continue;
                }
                if (codes.contains(code)) {
                    fail(r, QStringLiteral("code %1 is used twice").arg(code));
                    continue;
                }
                if (parentLength && !codes.contains(code.left(parentLength)))
                    fail(r, QStringLiteral("%1 comes before its parent %2").arg(code, code.left(parentLength)));
                codes.insert(code);
                if (r.kind == QLatin1String("point")) {
                    onlyFields(r, {"title", "text"});
                    const RecordField *text = r.field(QStringLiteral("text"));
                    m_content.points.push_back({code, required(r, QStringLiteral("title")),
                                                text ? text->paragraphs : QStringList()});
                    if (!text)
                        fail(r, QStringLiteral("missing field \"text\""));
                } else {
                    onlyFields(r, {"name"});
                    m_content.catalogue.push_back({code, required(r, QStringLiteral("name"))});
                }
            }
        }
        for (const Point &p : std::as_const(m_content.points))
            m_pointCodes.insert(p.code);
    }

    void readSubject(int n)
    {
        Subject s;
        s.number = n;
        const QDir dir(m_dir.filePath(QStringLiteral("s%1").arg(n)));
        readTypes(dir, s);
        readChapters(dir, s);
        const QStringList files = dir.entryList({QStringLiteral("*.q")}, QDir::Files, QDir::Name);
        if (files.isEmpty())
            fail(Where{dir.path(), 0}, QStringLiteral("no question files (*.q)"));
        for (const QString &name : files)
            readQuestions(dir.filePath(name), s);
        checkSubjectWide(s);
        m_content.subjects.push_back(s);
    }

    void checkSubjectWide(const Subject &s)
    {
        QSet<int> types;
        for (const QuestionType &t : s.types)
            types.insert(t.code);
        QMap<QString, Where> stems;
        for (const Question &q : s.questions) {
            if (!types.contains(q.type))
                fail(q.where, QStringLiteral("type %1 is not listed in types.txt of subject %2").arg(q.type).arg(s.number));
            const QString stem = q.stem.join(QString()).simplified();
            if (stems.contains(stem) && q.group < 0)
                fail(q.where, QStringLiteral("the same stem as %1:%2").arg(stems[stem].file).arg(stems[stem].line));
            if (q.group < 0)
                stems.insert(stem, q.where);
        }
    }

    void readTypes(const QDir &dir, Subject &s)
    {
        for (const Record &r : records(dir.filePath(QStringLiteral("types.txt")))) {
            if (r.kind != QLatin1String("type")) {
                fail(r, QStringLiteral("unknown record [%1] in types.txt").arg(r.kind));
                continue;
            }
            onlyFields(r, {"name", "count", "marks", "time"});
            QuestionType t;
            t.code = r.argument.toInt();
            if (!isChoiceType(t.code) && !isSubjectiveType(t.code) && t.code != 41)
                fail(r, QStringLiteral("unknown question type %1").arg(r.argument));
            t.name = required(r, QStringLiteral("name"));
            t.count = number(r, QStringLiteral("count"), 0, 500);
            t.marks = number(r, QStringLiteral("marks"), 0, 100);
            bool ok = false;
            t.minutes = bare(r.value(QStringLiteral("time"))).toDouble(&ok);
            if (!ok || t.minutes < 0.1 || t.minutes > 30)
                fail(r, QStringLiteral("\"time\" must be minutes from 0.1 to 30"));
            s.types.push_back(t);
        }
        if (s.types.isEmpty())
            fail(Where{dir.filePath(QStringLiteral("types.txt")), 0}, QStringLiteral("no question types"));
    }

    void readChapters(const QDir &dir, Subject &s)
    {
        QSet<QString> codes;
        for (const Record &r : records(dir.filePath(QStringLiteral("chapters.txt")))) {
            if (r.kind != QLatin1String("chapter")) {
                fail(r, QStringLiteral("unknown record [%1] in chapters.txt").arg(r.kind));
                continue;
            }
            onlyFields(r, {"name", "hint", "guide", "chart"});
            Chapter c;
            c.code = r.argument.trimmed();
            const int len = c.code.size();
            static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
            if (!(len == 1 || len == 2 || len == 4 || len == 6) || !digits.match(c.code).hasMatch() ||
                c.code.at(0) != QChar(u'0' + s.number)) {
                fail(r, QStringLiteral("chapter code %1 must be 1, 2, 4 or 6 digits starting with %2")
                            .arg(c.code)
                            .arg(s.number));
                continue;
            }
            if (codes.contains(c.code))
                fail(r, QStringLiteral("chapter %1 appears twice").arg(c.code));
            const QString parent = c.code.left(len == 2 ? 1 : len - 2);
            if (len > 1 && !codes.contains(parent))
                fail(r, QStringLiteral("chapter %1 comes before its parent %2").arg(c.code, parent));
            codes.insert(c.code);
            c.name = required(r, QStringLiteral("name"));
            c.hint = r.value(QStringLiteral("hint"));
            if (const RecordField *g = r.field(QStringLiteral("guide")))
                c.guide = g->paragraphs;
            const QString chart = bare(r.value(QStringLiteral("chart")));
            if (!chart.isEmpty() && chart != QLatin1String("yes") && chart != QLatin1String("no"))
                fail(r, QStringLiteral("\"chart\" must be yes or no"));
            c.chart = chart == QLatin1String("yes");
            s.chapters.push_back(c);
        }
        const QString heading = headingOf(s.number);
        if (!codes.contains(QString::number(s.number)) || !codes.contains(heading))
            fail(Where{dir.filePath(QStringLiteral("chapters.txt")), 0},
                 QStringLiteral("needs the subject row %1 and the heading row %2").arg(s.number).arg(heading));
        m_sections.clear();
        for (const QString &code : std::as_const(codes))
            if (code.size() == 6)
                m_sections.insert(code);
    }

    void readQuestions(const QString &path, Subject &s)
    {
        QString section;
        int openGroup = -1;
        for (const Record &r : records(path)) {
            if (r.kind == QLatin1String("in")) {
                section = r.argument.trimmed();
                if (!m_sections.contains(section) || !section.startsWith(headingOf(s.number)))
                    fail(r, QStringLiteral("[in %1] is not a section (6-character chapter) of subject %2")
                                .arg(section)
                                .arg(s.number));
            } else if (r.kind == QLatin1String("group")) {
                if (openGroup >= 0)
                    fail(r, QStringLiteral("[group] inside a group; close the previous one with [/group]"));
                onlyFields(r, {"stem"});
                s.groups.push_back({section, r.field(QStringLiteral("stem")) ? r.field(QStringLiteral("stem"))->paragraphs
                                                                          : QStringList(),
                                    {r.file, r.line}});
                if (!r.field(QStringLiteral("stem")))
                    fail(r, QStringLiteral("a group needs its shared \"stem\""));
                openGroup = int(s.groups.size()) - 1;
            } else if (r.kind == QLatin1String("/group")) {
                if (openGroup < 0)
                    fail(r, QStringLiteral("[/group] without [group]"));
                else if (!std::any_of(s.questions.cbegin(), s.questions.cend(),
                                      [&](const Question &q) { return q.group == openGroup; }))
                    fail(r, QStringLiteral("a group needs at least one question"));
                openGroup = -1;
            } else if (r.kind == QLatin1String("q")) {
                if (section.isEmpty())
                    fail(r, QStringLiteral("question before any [in CODE]"));
                s.questions.push_back(readQuestion(r, section, openGroup));
            } else {
                fail(r, QStringLiteral("unknown record [%1] in a question file").arg(r.kind));
            }
        }
        if (openGroup >= 0)
            fail(Where{path, 0}, QStringLiteral("a [group] is not closed with [/group]"));
    }

    Question readQuestion(const Record &r, const QString &section, int group)
    {
        Question q;
        q.type = r.argument.toInt();
        q.chapter = section;
        q.group = group;
        q.where = {r.file, r.line};
        onlyFields(r, {"stem", "a", "b", "c", "d", "e", "f", "key", "explain", "points"});
        if (const RecordField *f = r.field(QStringLiteral("stem")))
            q.stem = f->paragraphs;
        else
            fail(r, QStringLiteral("missing field \"stem\""));
        for (const QString &letter : kOptionLetters) {
            if (const RecordField *f = r.field(letter))
                q.options << f->text();
            else
                break;
        }
        int present = 0;
        for (const QString &letter : kOptionLetters)
            present += r.field(letter) ? 1 : 0;
        if (present != q.options.size())
            fail(r, QStringLiteral("options must run A, B, C … without gaps"));
        if (const RecordField *f = r.field(QStringLiteral("explain")))
            q.explanation = f->paragraphs;
        q.points = bare(r.value(QStringLiteral("points"))).split(QRegularExpression(QStringLiteral("[\\s,，]+")),
                                                               Qt::SkipEmptyParts);
        if (q.points.size() > 10)
            fail(r, QStringLiteral("at most ten exam points"));
        for (const QString &p : std::as_const(q.points))
            if (!m_pointCodes.contains(p))
                fail(r, QStringLiteral("exam point %1 is not in the catalogue").arg(p));
        q.key = bare(r.value(QStringLiteral("key"))).toUpper();
        checkKey(r, q);
        return q;
    }

    void checkKey(const Record &r, Question &q)
    {
        const int n = int(q.options.size());
        const QString letters = QStringLiteral("ABCDEF").left(n);
        if (isChoiceType(q.type)) {
            if (n < 2)
                fail(r, QStringLiteral("a choice question needs 2 to 6 options"));
            bool inOrder = !q.key.isEmpty();
            for (int i = 0; i < q.key.size(); ++i)
                inOrder = inOrder && letters.contains(q.key.at(i)) && (i == 0 || q.key.at(i) > q.key.at(i - 1));
            if (!inOrder)
                fail(r, QStringLiteral("key \"%1\" must be option letters in order").arg(q.key));
            else if (q.type == 11 && q.key.size() != 1)
                fail(r, QStringLiteral("a single-choice key is one letter"));
            else if (q.type == 14 && q.key.size() < 2)
                fail(r, QStringLiteral("a multiple-choice key has at least two letters"));
        } else if (q.type == 41) {
            if (n != 0)
                fail(r, QStringLiteral("true/false questions take no option lines"));
            if (q.key != QLatin1String("A") && q.key != QLatin1String("B"))
                fail(r, QStringLiteral("a true/false key is A (正确) or B (错误)"));
        } else if (isSubjectiveType(q.type)) {
            if (n != 0)
                fail(r, QStringLiteral("subjective questions take no option lines"));
            if (!q.key.isEmpty() && q.key != QLatin1String("1"))
                fail(r, QStringLiteral("a subjective question has no key"));
            q.key = QStringLiteral("1");
        } else {
            fail(r, QStringLiteral("unknown question type %1").arg(r.argument));
        }
    }

    QDir m_dir;
    bool m_upgrade = false; // subjects without a folder are left out
    Content m_content;
    QVector<SourceError> m_errors;
    QSet<QString> m_pointCodes;
    QSet<QString> m_sections;
};

} // namespace

Content readContent(const QString &folder) { return Reader(folder, false).read(); }

Content readUpgradeContent(const QString &folder) { return Reader(folder, true).read(); }

} // namespace bank
