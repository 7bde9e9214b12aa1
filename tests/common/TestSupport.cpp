#include "TestSupport.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include "UBankFile.h"
#include "UComm.h"
#include "UConnection.h"
#include "UDM.h"
#include "UIniFile.h"
#include "UPostgresServer.h"
#include "URoomConfig.h"

TScriptedMessages::TScriptedMessages()
{
    SetMessageHandler([this](const TMessageRequest &request) {
        FShown.push_back(request);
        if (WhileOpen)
            WhileOpen(request);
        if (FAnswers.empty())
            return FDefault;
        const int answer = FAnswers.front();
        FAnswers.pop_front();
        return answer;
    });
}

TScriptedMessages::~TScriptedMessages()
{
    SetMessageHandler(nullptr);
}

bool TTestBank::OnServer()
{
    return qEnvironmentVariable("EXAMORA_TEST_ENGINE") == QLatin1String("postgres");
}

QString TTestBank::EngineUnavailable()
{
    if (!OnServer())
        return QString();
    if (const QString why = TPostgresServer::Unavailable(); !why.isEmpty())
        return why;
    return TPostgresServer::Shared().Running() ? QString() : TPostgresServer::Shared().Error();
}

TTestBank::TTestBank()
{
    QDir(FDir.path()).mkpath(QStringLiteral("Data"));
    static int counter = 0;
    FConnectionName = QStringLiteral("test-bank-%1").arg(++counter);
    if (OnServer()) {
        CreateServerBank();
    } else {
        QSqlDatabase db = CreateBankFile(DatabaseFile(), FConnectionName);
        Q_UNUSED(db);
    }
    FDM = std::make_unique<TDM>();
    FDM->DataModuleCreate(FDir.path());
    DM = FDM.get();
}

TTestBank::~TTestBank()
{
    if (DM == FDM.get())
        DM = nullptr;
    FDM.reset();
    QSqlDatabase::database(FConnectionName, false).close();
    QSqlDatabase::removeDatabase(FConnectionName);
}

void TTestBank::CreateServerBank()
{
    FConnInfo = TPostgresServer::Shared().CreateDatabase(QStringLiteral("bank"));
    if (FConnInfo.isEmpty())
        QTest::qFail(qPrintable(TPostgresServer::Shared().Error()), __FILE__, __LINE__);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), FConnectionName);
    db.setConnectOptions(FConnInfo);
    if (!db.open())
        QTest::qFail(qPrintable(db.lastError().text()), __FILE__, __LINE__);
    for (const QString &statement : ServerSchemaStatements())
        Exec(statement);
    // The two SQLite functions the tests' own checks are written with.
    Exec(QStringLiteral("CREATE FUNCTION ifnull(anyelement, anyelement) RETURNS anyelement LANGUAGE sql IMMUTABLE "
                        "AS 'SELECT coalesce($1, $2)'"));
    Exec(QStringLiteral("CREATE FUNCTION group_concat_step(text, text) RETURNS text LANGUAGE sql IMMUTABLE "
                        "AS 'SELECT CASE WHEN $2 IS NULL THEN $1 WHEN $1 IS NULL THEN $2 ELSE $1 || '','' || $2 END'"));
    Exec(QStringLiteral("CREATE AGGREGATE group_concat(text) (SFUNC = group_concat_step, STYPE = text)"));
    TIniFile room(FDir.filePath(KRoomConfigFile));
    room.WriteString(QStringLiteral("Server"), QStringLiteral("ConnInfo"), FConnInfo);
    room.WriteString(QStringLiteral("Room"), QStringLiteral("Name"), QStringLiteral("测试考场"));
    room.UpdateFile();
}

QString TTestBank::AppPath() const
{
    return AppPathOf(FDir.path());
}

QString TTestBank::DatabaseFile() const
{
    return FDir.path() + QStringLiteral("/Data/Jsy_Data.mdb");
}

QSqlDatabase TTestBank::Db() const
{
    return QSqlDatabase::database(FConnectionName);
}

void TTestBank::Exec(const QString &sql) const
{
    QSqlQuery query(Db());
    if (!query.exec(sql))
        QTest::qFail(qPrintable(query.lastError().text() + QStringLiteral(" in ") + sql), __FILE__, __LINE__);
}

QVariant TTestBank::Scalar(const QString &sql) const
{
    QSqlQuery query(Db());
    if (!query.exec(sql) || !query.next())
        return QVariant();
    return query.value(0);
}

void TTestBank::RefuseRows(const QString &name, const QString &event, const QString &table, const QString &condition,
                           const QString &message) const
{
    if (!OnServer()) {
        Exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, '%5'); END")
                 .arg(name, event, table, condition.isEmpty() ? QString() : QStringLiteral("WHEN ") + condition, message));
        return;
    }
    Exec(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS 'BEGIN RAISE EXCEPTION ''%2''; END'")
             .arg(name, message));
    Exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW %4 EXECUTE FUNCTION %1()")
             .arg(name, event, table, condition.isEmpty() ? QString() : QStringLiteral("WHEN (%1)").arg(condition)));
}

void TTestBank::AllowRows(const QString &name, const QString &table) const
{
    Exec(OnServer() ? QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, table)
                    : QStringLiteral("DROP TRIGGER %1").arg(name));
}

void TTestBank::AddTheme(int themeId, const QVariantMap &columns)
{
    QVariantMap values{
        {QStringLiteral("ThemeID"), themeId},
        {QStringLiteral("ThemePart"), 1},
        {QStringLiteral("ThemeChapter"), 1},
        {QStringLiteral("ThemeType"), 2},
        {QStringLiteral("ThemeContent"), QStringLiteral("题目%1").arg(themeId)},
        {QStringLiteral("ThemeSpareA"), QStringLiteral("甲")},
        {QStringLiteral("ThemeSpareB"), QStringLiteral("乙")},
        {QStringLiteral("ThemeSpareC"), QStringLiteral("丙")},
        {QStringLiteral("ThemeSpareD"), QStringLiteral("丁")},
        {QStringLiteral("ThemeSpareE"), QStringLiteral("")},
        {QStringLiteral("ThemeResult"), QStringLiteral("1")},
        {QStringLiteral("ZT"), 1},
    };
    for (auto it = columns.begin(); it != columns.end(); ++it)
        values[it.key()] = it.value();
    QStringList names, marks;
    for (auto it = values.begin(); it != values.end(); ++it) {
        names << it.key();
        marks << QStringLiteral("?");
    }
    QSqlQuery query(Db());
    query.prepare(QStringLiteral("INSERT INTO T_KS_THEME (%1) VALUES (%2)")
                      .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    for (auto it = values.begin(); it != values.end(); ++it)
        query.addBindValue(it.value());
    if (!query.exec())
        QTest::qFail(qPrintable(query.lastError().text()), __FILE__, __LINE__);
}

void TTestBank::AddModel(int modelId, const QString &driveType, const QVariant &randomTheme, int minutes, int isUser)
{
    QSqlQuery query(Db());
    query.prepare(
        QStringLiteral("INSERT INTO T_KS_Model (ModelID, IsUser, DirvesType, RandomTheme, KSSJ) VALUES (?,?,?,?,?)"));
    query.addBindValue(modelId);
    query.addBindValue(isUser);
    query.addBindValue(driveType);
    query.addBindValue(randomTheme);
    query.addBindValue(minutes);
    if (!query.exec())
        QTest::qFail(qPrintable(query.lastError().text()), __FILE__, __LINE__);
}

void TTestBank::AddContent(int modelId, int part, int chapter, int type, int themeCount, int selectCount, int themeBit,
                           int bitCount)
{
    Exec(QStringLiteral("INSERT INTO T_KS_ThemeModelContent (ModelID, ThemePart, ThemeChapter, ThemeType, ThemeCount, "
                        "SelectCount, ThemeBit, BitCount) VALUES (%1,%2,%3,%4,%5,%6,%7,%8)")
             .arg(modelId)
             .arg(part)
             .arg(chapter)
             .arg(type)
             .arg(themeCount)
             .arg(selectCount)
             .arg(themeBit)
             .arg(bitCount));
}
