#include <memory>

#include <QTest>

#include "QVAdoQuery.h"
#include "QVDBGrid.h"
#include "TestSupport.h"
#include "UDM.h"

class TestQVDBGrid : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void WithoutColumnsEveryFieldUnderItsName();
    void ColumnsChooseTitleWidthAndText();
    void ColumnsOutliveReopening();

private:
    QStringList ShownTitles() const;
    QString Cell(int row, int column) const { return FGrid->model()->index(row, column).data().toString(); }

    // Both belong to the form.
    TQVAdoQuery *FQuery = nullptr;
    TQVDBGrid *FGrid = nullptr;
    std::unique_ptr<TTestBank> FBank;
    std::unique_ptr<QWidget> FForm;
};

QStringList TestQVDBGrid::ShownTitles() const
{
    QStringList titles;
    for (int column = 0; column < FGrid->model()->columnCount(); ++column) {
        if (!FGrid->isColumnHidden(column))
            titles << FGrid->model()->headerData(column, Qt::Horizontal).toString();
    }
    return titles;
}

void TestQVDBGrid::init()
{
    FBank = std::make_unique<TTestBank>();
    FBank->Exec("create table T_Person (ID integer primary key, Name text, Kind integer, Photo blob)");
    FBank->Exec("insert into T_Person values (1, 'Ann', 1, x'ffd8'), (2, 'Bob', 2, null), (3, 'Cy', 9, null)");
    FForm = std::make_unique<QWidget>();
    FQuery = new TQVAdoQuery(FForm.get());
    FQuery->SetConnection(DM->ACon);
    FGrid = new TQVDBGrid(FForm.get());
    FGrid->SetDataSet(FQuery);
    FQuery->SetSQL("select * from T_Person order by ID");
    FQuery->Open();
    FForm->show();
}

void TestQVDBGrid::cleanup()
{
    FForm.reset();
    FBank.reset();
}

void TestQVDBGrid::WithoutColumnsEveryFieldUnderItsName()
{
    QCOMPARE(ShownTitles(), (QStringList{"ID", "Name", "Kind", "Photo"}));
    QCOMPARE(Cell(0, 2), QStringLiteral("1"));
    QCOMPARE(Cell(0, 3), QStringLiteral("(BLOB)"));
    QCOMPARE(FGrid->model()->headerData(2, Qt::Vertical).toInt(), 3);
}

void TestQVDBGrid::ColumnsChooseTitleWidthAndText()
{
    const auto kindName = [](const QVariant &code) {
        return code.toInt() == 1 ? QStringLiteral("教练") : QStringLiteral("学员");
    };
    FGrid->SetColumns({{"name", "姓名", 120, {}}, {"KIND", "类别", 70, kindName}});
    QCOMPARE(ShownTitles(), (QStringList{"姓名", "类别"}));
    QCOMPARE(FGrid->columnWidth(1), 120);
    QCOMPARE(FGrid->columnWidth(2), 70);
    QCOMPARE(Cell(0, 1), QStringLiteral("Ann"));
    QCOMPARE(Cell(0, 2), QStringLiteral("教练"));
    QCOMPARE(Cell(1, 2), QStringLiteral("学员"));
    // The text is for showing only: the query keeps the code.
    QCOMPARE(FQuery->FieldByName("Kind")->AsInteger(), 1);
    // A new list replaces the old one.
    FGrid->SetColumns({{"ID", "编号", 0, {}}});
    QCOMPARE(ShownTitles(), QStringList{"编号"});
    QCOMPARE(Cell(2, 2), QStringLiteral("9"));
}

void TestQVDBGrid::ColumnsOutliveReopening()
{
    FGrid->SetColumns({{"Name", "姓名", 120, {}}});
    FQuery->Close();
    FQuery->SetSQL("select Photo, Name, ID from T_Person where ID > 1");
    FQuery->Open();
    QCOMPARE(ShownTitles(), QStringList{"姓名"});
    QVERIFY(!FGrid->isColumnHidden(1));
    QCOMPARE(FGrid->columnWidth(1), 120);
    QCOMPARE(Cell(0, 1), QStringLiteral("Bob"));
    FQuery->Edit();
    FQuery->FieldByName("Name")->SetAsString("Bo");
    FQuery->Post();
    QCOMPARE(ShownTitles(), QStringList{"姓名"});
    QCOMPARE(Cell(0, 1), QStringLiteral("Bo"));
}

QTEST_MAIN(TestQVDBGrid)

#include "tst_QVDBGrid.moc"
