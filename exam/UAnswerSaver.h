#pragma once

#include <map>

#include <QObject>
#include <QRect>
#include <QString>
#include <QVariant>

class QLabel;
class QTimer;
class QWidget;
class TQuery;

// Commits the answers of the exam screen's paper. On the room's server a
// commit can fail when the connection is lost: the answer then stays in the
// paper as not saved, the candidate is told so on the screen, and it is
// written again every few seconds (reconnecting first) until it is saved.
// On the local bank a failed commit is an error as ever.
class TAnswerSaver : public QObject
{
    Q_OBJECT

public:
    // The notice appears on noticeParent within noticeArea.
    TAnswerSaver(TQuery *paper, QWidget *noticeParent, const QRect &noticeArea);

    // Posts the paper's edit; true when the answer is saved.
    bool Post();
    // Writes the answers not saved yet; true when none is left.
    bool Flush();
    int UnsavedCount() const { return int(FUnsaved.size()); }

    static constexpr int KRetryMilliseconds = 2000;

private:
    struct TAnswer
    {
        QVariant ExamineID;
        QVariant Answer;
        QVariant Validity;
    };

    bool Write(qint64 id, const TAnswer &answer) const;
    void ShowNotice();

    TQuery *FPaper;
    QLabel *FNotice;
    QTimer *FRetry;
    // By the question's ID: only its latest answer is kept.
    std::map<qint64, TAnswer> FUnsaved;
};
