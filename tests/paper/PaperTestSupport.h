#pragma once

#include <memory>

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QObject>
#include <QSqlQuery>
#include <QTest>
#include <QVariantList>

#include "TestSupport.h"
#include "UComm.h"
#include "UThemeCfg.h"

// What the store tests of the logic, the windows and two programs at once share.

inline const QString KCaption = QStringLiteral("小型汽车（C1、C2、C3、C4）");

inline void WriteThemeCfgText(const QByteArray &text)
{
    QFile file(ThemeCfgFileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Theme.Cfg of a drawn paper: section n names question ids[n-1] with n points.
inline QByteArray DrawnPaper(const QList<int> &ids, const QString &time = QStringLiteral("45"))
{
    QByteArray text = "[System]\nTime=" + time.toUtf8() + "\nThemeCount=" + QByteArray::number(ids.size()) + "\n";
    for (int n = 1; n <= ids.size(); ++n)
        text += "[" + QByteArray::number(n) + "]\nThemeID=" + QByteArray::number(ids[n - 1])
            + "\nThemeBit=" + QByteArray::number(n) + "\n";
    return text;
}

inline void SetRun(const QString &mode, const QString &scope = QString())
{
    RunContext.PracticeMode = mode;
    RunContext.PracticeScope = scope;
    RunContext.DriveTypeCode = QStringLiteral("001");
    RunContext.DriveTypeCaption = KCaption;
    RunContext.ChapterFilter = QStringLiteral("THEMECHAPTER in (1)");
}

// ID, ThemeID and ThemeBit of every row of one paper, by ID.
inline QList<QVariantList> PaperRows(const TTestBank &bank, const QString &table, qint64 examineId)
{
    QSqlQuery query(bank.Db());
    query.exec(
        QStringLiteral("select ID, ThemeID, ThemeBit from %1 where ExamineID=%2 order by ID").arg(table).arg(examineId));
    QList<QVariantList> rows;
    while (query.next())
        rows << QVariantList{query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt()};
    return rows;
}

// The base of the store tests: a fresh bank for every test function, the
// run a mock exam until the test sets another.
class TPaperBankTest : public QObject
{
    Q_OBJECT

protected slots:
    void init()
    {
        EXAMORA_REQUIRE_TEST_ENGINE();
        FBank = std::make_unique<TTestBank>();
        SetRun(QStringLiteral("3"));
    }
    void cleanup() { FBank.reset(); }

protected:
    std::unique_ptr<TTestBank> FBank;
};
