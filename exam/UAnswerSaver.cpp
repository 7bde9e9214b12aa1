#include "UAnswerSaver.h"

#include <QLabel>
#include <QSqlQuery>
#include <QTimer>

#include "UConnection.h"
#include "UDbError.h"
#include "UQuery.h"
#include "USqlText.h"

TAnswerSaver::TAnswerSaver(TQuery *paper, QWidget *noticeParent, const QRect &noticeArea)
    : QObject(noticeParent),
      FPaper(paper),
      FNotice(new QLabel(noticeParent)),
      FRetry(new QTimer(this))
{
    FNotice->setObjectName(QStringLiteral("LabUnsaved"));
    FNotice->setGeometry(noticeArea);
    FNotice->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    FNotice->hide();
    FRetry->setInterval(KRetryMilliseconds);
    connect(FRetry, &QTimer::timeout, this, &TAnswerSaver::Flush);
}

bool TAnswerSaver::Post()
{
    const qint64 id = FPaper->FieldByName(QStringLiteral("ID"))->Value().toLongLong();
    const TAnswer answer{FPaper->FieldByName(QStringLiteral("ExamineID"))->Value(),
                         FPaper->FieldByName(QStringLiteral("AnswerResult"))->Value(),
                         FPaper->FieldByName(QStringLiteral("Yxx_St"))->Value()};
    try {
        FPaper->Post();
        // A later answer saved makes the earlier unsaved one void.
        FUnsaved.erase(id);
        ShowNotice();
        return true;
    } catch (const EDatabaseError &) {
        if (!FPaper->Connection() || !FPaper->Connection()->IsPostgres())
            throw;
    }
    FPaper->EndEditUnwritten();
    FUnsaved[id] = answer;
    ShowNotice();
    FRetry->start();
    return false;
}

bool TAnswerSaver::Flush()
{
    for (auto it = FUnsaved.begin(); it != FUnsaved.end();) {
        if (!Write(it->first, it->second))
            break;
        it = FUnsaved.erase(it);
    }
    ShowNotice();
    if (FUnsaved.empty())
        FRetry->stop();
    return FUnsaved.empty();
}

bool TAnswerSaver::Write(qint64 id, const TAnswer &answer) const
{
    TConnection *connection = FPaper->Connection();
    const QString sql = QStringLiteral("UPDATE %1 SET AnswerResult=?, Yxx_St=? WHERE ExamineID=? AND ID=?")
                            .arg(FirstFromTable(FPaper->SQL()));
    // A lost connection is opened again once, then the answer written.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt > 0) {
            try {
                connection->Close();
                connection->Open();
            } catch (const EDatabaseError &) {
                return false;
            }
        }
        QSqlQuery update(connection->Database());
        update.prepare(sql);
        for (const QVariant &value : {answer.Answer, answer.Validity, answer.ExamineID, QVariant(id)})
            update.addBindValue(value);
        if (update.exec())
            return true;
    }
    return false;
}

void TAnswerSaver::ShowNotice()
{
    FNotice->setVisible(!FUnsaved.empty());
    FNotice->setText(QStringLiteral("%1 题的答案尚未保存，正在重新连接考场服务器……").arg(FUnsaved.size()));
}
