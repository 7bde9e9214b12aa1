#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "QVAdoQuery.h"
#include "QVCheckBox.h"
#include "QVCheckListBox.h"
#include "QVComboBox.h"
#include "QVComboBoxEx.h"
#include "QVDBGrid.h"
#include "QVEdit.h"
#include "QVMemo.h"
#include "QVRadioGroup.h"
#include "TestSupport.h"
#include "UDM.h"

namespace {

// A picture control as the query sees it: JPEG bytes in, JPEG bytes out.
class TFakePicture : public QWidget, public TQVPictureBinding
{
public:
    explicit TFakePicture(QWidget *parent)
        : QWidget(parent)
    {
    }
    bool CheckValue() override { return true; }
    QVariant GetValue() override { return FBytes.isEmpty() ? QVariant() : QVariant(FBytes); }
    void SetValue(const QVariant &value) override
    {
        FBytes = value.toByteArray();
        ++Loads;
    }
    void UpdateEditState() override { ++Refreshes; }
    void ClearPicture() override { FBytes.clear(); }

    QByteArray FBytes;
    int Loads = 0;
    int Refreshes = 0;
};

// A paging bar that narrows the statement to the first two rows.
class TFakePager : public QObject, public TQVPageCapture
{
public:
    void CaptureQuery(TQVAdoQuery *query, const QString &upperSql) override
    {
        Captured << upperSql;
        query->SetSQL(QStringLiteral("SELECT * FROM (") + upperSql + QStringLiteral(") a WHERE ID<=2"));
    }
    void CapturedOpenDone(TQVAdoQuery *query) override { OpenedRows << query->RecordCount(); }

    QStringList Captured;
    QList<int> OpenedRows;
};

// One form with a bound control of every kind on query A (Person) and a
// required combo box on query B (Dept).
struct TPersonForm
{
    QWidget Form;
    TQVAdoQuery *A;
    TQVAdoQuery *B;
    TQVDBGrid *GridA;
    TQVDBGrid *GridFree;
    TQVEdit *EdName;
    TQVEdit *EdAge;
    TQVCheckBox *CbActive;
    TQVMemo *MmNote;
    TQVRadioGroup *RgKind;
    TQVCheckListBox *ClTags;
    TQVComboBoxEx *CxDept;
    TQVComboBox *CbHead;
    TFakePicture *Photo;
    QGroupBox *Box;

    TPersonForm()
    {
        A = new TQVAdoQuery(&Form);
        A->SetConnection(DM->ACon);
        A->SetSQL(QStringLiteral("select * from Person order by ID"));
        B = new TQVAdoQuery(&Form);
        B->SetConnection(DM->ACon);
        B->SetSQL(QStringLiteral("select * from Dept order by Code"));
        Box = new QGroupBox(&Form);
        GridA = new TQVDBGrid(Box);
        GridA->SetDataSet(A);
        GridFree = new TQVDBGrid(&Form);
        EdName = new TQVEdit(&Form);
        Bind(EdName, A, "Name");
        EdAge = new TQVEdit(&Form);
        EdAge->SetEditType(etNumber);
        Bind(EdAge, A, "Age");
        CbActive = new TQVCheckBox(QStringLiteral("在职"), &Form);
        Bind(CbActive, A, "Active");
        MmNote = new TQVMemo(&Form);
        Bind(MmNote, A, "Note");
        RgKind = new TQVRadioGroup(QStringLiteral("类别"), &Form);
        RgKind->SetItems({QStringLiteral("学员"), QStringLiteral("教练")});
        Bind(RgKind, A, "Kind");
        ClTags = new TQVCheckListBox(&Form);
        ClTags->SetItems({QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")});
        ClTags->SetValueItems({QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03")});
        Bind(ClTags, A, "Tags");
        CxDept = new TQVComboBoxEx(&Form);
        CxDept->addItems({QStringLiteral("教务"), QStringLiteral("财务")});
        CxDept->SetValueItems({QStringLiteral("D1"), QStringLiteral("D2")});
        Bind(CxDept, A, "Dept");
        CbHead = new TQVComboBox(&Form);
        CbHead->addItems({QStringLiteral("张三"), QStringLiteral("李四")});
        CbHead->SetValueItems({QStringLiteral("1"), QStringLiteral("2")});
        CbHead->SetIsMust(true);
        Bind(CbHead, B, "HeadID");
        Photo = new TFakePicture(&Form);
        Bind(Photo, A, "Photo");
    }

    static void Bind(TQVBinding *control, TQVAdoQuery *query, const char *field)
    {
        control->SetDataSet(query);
        control->SetEditFieldName(QString::fromLatin1(field));
    }
};

} // namespace

class TestQVAdoQuery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void OpenLoadsControlsAfterTheQuerysOwnNotification();
    void ScrollLoadsBeforeAfterScroll();
    void InsertLoadsTheNewRecordBeforeAfterInsert();
    void EditUnlocksControlsAndLocksEveryGrid();
    void PostWritesEveryBoundValue();
    void FailedCheckOnAnotherQueryCancelsThisPost();
    void RequiredCheckListBlocksEveryQuery();
    void CancelReloadsTheRecord();
    void CloseClearsOnlyPictures();
    void PictureNeedsABlobField();
    void CountCaption();
    void CaptionOnDeleteAndPost();
    void OnlyTheOwnerIsScanned();
    void OwnerlessQueryWritesNoCountCaption();
    void UntrimmedFieldNameIsRefreshedButNotLoaded();
    void PagingBarCapturesWhileArmed();

private:
    std::unique_ptr<TTestBank> FBank;
};

void TestQVAdoQuery::init()
{
    FBank = std::make_unique<TTestBank>();
    FBank->Exec(QStringLiteral("CREATE TABLE Person (ID INTEGER PRIMARY KEY, Name TEXT, Age REAL, Active INTEGER, "
                               "Note TEXT, Kind TEXT, Tags TEXT, Dept TEXT, Photo BLOB)"));
    FBank->Exec(
        QStringLiteral("INSERT INTO Person VALUES (1, '王五', 30, 1, '备注一', '教练', '|01|03|', 'D2', x'FFD8FF')"));
    FBank->Exec(QStringLiteral("INSERT INTO Person VALUES (2, '赵六', 21.5, 0, NULL, '学员', NULL, 'D1', NULL)"));
    FBank->Exec(QStringLiteral("INSERT INTO Person VALUES (3, '孙七', NULL, 0, NULL, NULL, NULL, NULL, NULL)"));
    FBank->Exec(QStringLiteral("CREATE TABLE Dept (Code TEXT PRIMARY KEY, HeadID TEXT)"));
    FBank->Exec(QStringLiteral("INSERT INTO Dept VALUES ('D1', '2')"));
}

void TestQVAdoQuery::cleanup()
{
    FBank.reset();
}

void TestQVAdoQuery::OpenLoadsControlsAfterTheQuerysOwnNotification()
{
    TPersonForm f;
    QString nameDuringAfterOpen = QStringLiteral("unset");
    connect(f.A, &TQuery::AfterOpen, this, [&] { nameDuringAfterOpen = f.EdName->text(); });
    f.A->Open();
    QCOMPARE(nameDuringAfterOpen, QString());
    QCOMPARE(f.EdName->text(), QStringLiteral("王五"));
    QCOMPARE(f.EdAge->text(), QStringLiteral("30"));
    QVERIFY(f.CbActive->isChecked());
    QCOMPARE(f.MmNote->toPlainText(), QStringLiteral("备注一"));
    QCOMPARE(f.RgKind->GetValue(), QVariant(QStringLiteral("教练")));
    QVERIFY(f.ClTags->Checked(0) && !f.ClTags->Checked(1) && f.ClTags->Checked(2));
    QCOMPARE(f.CxDept->currentText(), QStringLiteral("财务"));
    QCOMPARE(f.Photo->FBytes, QByteArray("\xFF\xD8\xFF"));
    // Browsing: read-only, and the controls of B are left alone.
    QVERIFY(f.EdName->isReadOnly());
    QVERIFY(!f.CbActive->isEnabled());
    QCOMPARE(f.CbHead->currentIndex(), 0);
}

void TestQVAdoQuery::ScrollLoadsBeforeAfterScroll()
{
    TPersonForm f;
    f.A->Open();
    QString nameDuringAfterScroll;
    connect(f.A, &TQuery::AfterScroll, this, [&] { nameDuringAfterScroll = f.EdName->text(); });
    f.A->Next();
    QCOMPARE(nameDuringAfterScroll, QStringLiteral("赵六"));
    QCOMPARE(f.EdAge->GetValue(), QVariant(21.5));
    QVERIFY(!f.CbActive->isChecked());
    QCOMPARE(f.MmNote->toPlainText(), QString());
    QCOMPARE(f.ClTags->GetValue(), QVariant());
    QCOMPARE(f.CxDept->SelectedCode(), QStringLiteral("D1"));
    QCOMPARE(f.Photo->FBytes, QByteArray());
    f.A->Next();
    QCOMPARE(f.RgKind->ItemIndex(), -1);
    QCOMPARE(f.CxDept->SelectedIndex(), -1);
}

void TestQVAdoQuery::InsertLoadsTheNewRecordBeforeAfterInsert()
{
    TPersonForm f;
    f.B->Open();
    f.CbHead->SetItemIndex(1);
    bool editableDuringAfterInsert = false;
    int headDuringAfterInsert = -2;
    connect(f.B, &TQuery::AfterInsert, this, [&] {
        editableDuringAfterInsert = f.CbHead->isEnabled();
        headDuringAfterInsert = f.CbHead->ItemIndex();
    });
    f.B->Append();
    QVERIFY(editableDuringAfterInsert);
    // A null field of a new record shows the first name.
    QCOMPARE(headDuringAfterInsert, 0);
    f.B->Cancel();
    f.B->Edit();
    f.CbHead->SetValue(QVariant());
    QCOMPARE(f.CbHead->ItemIndex(), -1);
}

void TestQVAdoQuery::EditUnlocksControlsAndLocksEveryGrid()
{
    TPersonForm f;
    f.A->Open();
    f.B->Open();
    QVERIFY(f.GridA->isEnabled() && f.GridFree->isEnabled());
    QVERIFY(!f.CbHead->isEnabled());
    f.A->Edit();
    QVERIFY(!f.EdName->isReadOnly());
    QCOMPARE(f.EdName->palette().color(QPalette::Base), QColor(255, 255, 255));
    QVERIFY(f.CbActive->isEnabled() && f.RgKind->isEnabled() && f.ClTags->isEnabled());
    QVERIFY(!f.GridA->isEnabled());
    QVERIFY(!f.GridFree->isEnabled());
    QVERIFY(!f.CbHead->isEnabled()); // bound to B, which browses
    f.B->Edit();
    QVERIFY(f.CbHead->isEnabled());
    f.A->Cancel();
    QVERIFY(f.EdName->isReadOnly());
    // The grid rule follows the notifying query only.
    QVERIFY(f.GridA->isEnabled());
}

void TestQVAdoQuery::PostWritesEveryBoundValue()
{
    TPersonForm f;
    f.A->Open();
    f.B->Open();
    QSignalSpy beforePost(f.A, &TQuery::BeforePost);
    f.A->Edit();
    f.EdName->setText(QStringLiteral("王五五"));
    f.EdAge->setText(QStringLiteral("31.5"));
    f.CbActive->setChecked(false);
    f.MmNote->setPlainText(QStringLiteral("  "));
    f.RgKind->SetItemIndex(0);
    f.ClTags->SetChecked(1, true);
    f.CxDept->SetValue(QStringLiteral("D1"));
    f.Photo->FBytes = QByteArray("\xFF\xD8\x01", 3);
    f.A->Post();
    QCOMPARE(beforePost.count(), 1);
    QCOMPARE(f.A->State(), TQuery::dsBrowse);
    const QString row = QStringLiteral("select %1 from Person where ID=1");
    QCOMPARE(FBank->Scalar(row.arg(QStringLiteral("Name"))).toString(), QStringLiteral("王五五"));
    QCOMPARE(FBank->Scalar(row.arg(QStringLiteral("Age"))).toDouble(), 31.5);
    QCOMPARE(FBank->Scalar(row.arg(QStringLiteral("Active"))).toInt(), 0);
    QVERIFY(FBank->Scalar(row.arg(QStringLiteral("Note"))).isNull());
    QCOMPARE(FBank->Scalar(row.arg(QStringLiteral("Kind"))).toString(), QStringLiteral("学员"));
    QCOMPARE(FBank->Scalar(row.arg(QStringLiteral("Tags"))).toString(), QStringLiteral("|01|02|03|"));
    QCOMPARE(FBank->Scalar(row.arg(QStringLiteral("Dept"))).toString(), QStringLiteral("D1"));
    QCOMPARE(FBank->Scalar(row.arg(QStringLiteral("Photo"))).toByteArray(), QByteArray("\xFF\xD8\x01", 3));
    QVERIFY(f.GridA->isEnabled());
}

void TestQVAdoQuery::FailedCheckOnAnotherQueryCancelsThisPost()
{
    TPersonForm f;
    f.Form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.Form));
    f.A->Open();
    f.B->Open();
    f.B->Append();
    f.CbHead->SetItemIndex(-1);
    QSignalSpy beforePost(f.A, &TQuery::BeforePost);
    TScriptedMessages messages;
    f.A->Edit();
    f.EdName->setText(QStringLiteral("不会保存"));
    f.A->Post();
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Text, QStringLiteral("本项是必填项！"));
    QCOMPARE(messages.Last().Caption, QStringLiteral("错误"));
    QCOMPARE(beforePost.count(), 0);
    QCOMPARE(f.A->State(), TQuery::dsBrowse);
    QCOMPARE(f.B->State(), TQuery::dsInsert);
    QCOMPARE(FBank->Scalar(QStringLiteral("select Name from Person where ID=1")).toString(), QStringLiteral("王五"));
    // The cancel reloaded the record into the controls.
    QCOMPARE(f.EdName->text(), QStringLiteral("王五"));
    QVERIFY(f.CbHead->hasFocus());
}

void TestQVAdoQuery::RequiredCheckListBlocksEveryQuery()
{
    TPersonForm f;
    auto *free = new TQVCheckListBox(&f.Form);
    free->SetItems({QStringLiteral("一")});
    free->SetValueItems({QStringLiteral("1")});
    free->SetIsMust(true);
    f.B->Open();
    f.B->Edit();
    TScriptedMessages messages;
    f.B->Post();
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.Last().Text, QStringLiteral("本项是必填项！"));
    QCOMPARE(f.B->State(), TQuery::dsBrowse);
    free->SetChecked(0, true);
    f.B->Edit();
    f.CbHead->SetItemIndex(0);
    f.B->Post();
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(FBank->Scalar(QStringLiteral("select HeadID from Dept")).toString(), QStringLiteral("1"));
}

void TestQVAdoQuery::CancelReloadsTheRecord()
{
    TPersonForm f;
    f.A->Open();
    f.A->Edit();
    f.EdName->setText(QStringLiteral("改了"));
    f.ClTags->SetChecked(1, true);
    f.A->Cancel();
    QCOMPARE(f.EdName->text(), QStringLiteral("王五"));
    QVERIFY(!f.ClTags->Checked(1));
    QVERIFY(f.EdName->isReadOnly());
}

void TestQVAdoQuery::CloseClearsOnlyPictures()
{
    TPersonForm f;
    f.A->SetParentGroupBox(f.Box);
    f.A->Open();
    QVERIFY(!f.Photo->FBytes.isEmpty());
    f.A->Close();
    QVERIFY(f.Photo->FBytes.isEmpty());
    QCOMPARE(f.EdName->text(), QStringLiteral("王五"));
    QVERIFY(f.CbActive->isChecked());
    QCOMPARE(f.Box->title(), QStringLiteral("记录列表"));
}

void TestQVAdoQuery::PictureNeedsABlobField()
{
    TPersonForm f;
    f.Photo->SetEditFieldName(QStringLiteral("Name"));
    f.A->Open();
    QCOMPARE(f.Photo->Loads, 0);
    QVERIFY(f.Photo->Refreshes > 0);
    f.A->Edit();
    f.Photo->FBytes = QByteArray("\xFF\xD8", 2);
    f.EdName->setText(QStringLiteral("名字"));
    f.A->Post();
    QCOMPARE(FBank->Scalar(QStringLiteral("select Name from Person where ID=1")).toString(), QStringLiteral("名字"));
    // An empty picture writes null into a blob field.
    f.Photo->SetEditFieldName(QStringLiteral("Photo"));
    f.A->Edit();
    f.Photo->FBytes.clear();
    f.A->Post();
    QVERIFY(FBank->Scalar(QStringLiteral("select Photo from Person where ID=1")).isNull());
}

void TestQVAdoQuery::CountCaption()
{
    TPersonForm f;
    f.A->SetSQL(QStringLiteral("select * from Person where ID<=2"));
    f.A->SetParentGroupBox(f.Box);
    QCOMPARE(f.Box->title(), QStringLiteral("记录列表"));
    f.A->Open();
    QCOMPARE(f.Box->title(), QStringLiteral(" 当前记录 2 条"));
    f.A->Close();
    f.A->SetCountTableName(QStringLiteral("Person"));
    f.A->Open();
    QCOMPARE(f.Box->title(), QStringLiteral(" 共有记录 3 条，当前记录 2 条 "));
    f.A->Close();
    TScriptedMessages messages;
    f.A->SetCountTableName(QStringLiteral("NoSuchTable"));
    f.A->Open();
    QCOMPARE(f.Box->title(), QStringLiteral(" 当前记录 2 条"));
    QCOMPARE(messages.Count(), 0);
}

void TestQVAdoQuery::CaptionOnDeleteAndPost()
{
    TPersonForm f;
    f.A->SetParentGroupBox(f.Box);
    f.A->Open();
    f.Box->setTitle(QStringLiteral("marker"));
    f.A->Next();
    f.A->Edit();
    f.A->Cancel();
    QCOMPARE(f.Box->title(), QStringLiteral("marker"));
    f.A->Append();
    f.EdName->setText(QStringLiteral("新人"));
    f.A->Post();
    QCOMPARE(f.Box->title(), QStringLiteral(" 当前记录 4 条"));
    f.A->Delete();
    QCOMPARE(f.Box->title(), QStringLiteral(" 当前记录 3 条"));
}

void TestQVAdoQuery::OnlyTheOwnerIsScanned()
{
    TPersonForm f;
    // A second form, even one parented to the first, keeps its own controls.
    QWidget other(&f.Form, Qt::Window);
    auto *stranger = new TQVEdit(&other);
    TPersonForm::Bind(stranger, f.A, "Name");
    stranger->setText(QStringLiteral("别的窗体"));
    f.A->Open();
    QCOMPARE(stranger->text(), QStringLiteral("别的窗体"));
    QCOMPARE(f.EdName->text(), QStringLiteral("王五"));

    // Without an owner the query is a plain query.
    TQVAdoQuery plain;
    plain.SetConnection(DM->ACon);
    plain.SetSQL(QStringLiteral("select * from Person"));
    QSignalSpy opened(&plain, &TQuery::AfterOpen);
    plain.Open();
    plain.Edit();
    plain.FieldByName(QStringLiteral("Name"))->SetValue(QStringLiteral("甲"));
    plain.Post();
    QCOMPARE(opened.count(), 1);
    QCOMPARE(FBank->Scalar(QStringLiteral("select Name from Person where ID=1")).toString(), QStringLiteral("甲"));
}

void TestQVAdoQuery::OwnerlessQueryWritesNoCountCaption()
{
    QGroupBox box;
    TQVAdoQuery plain;
    plain.SetConnection(DM->ACon);
    plain.SetSQL(QStringLiteral("select * from Person"));
    plain.SetCountTableName(QStringLiteral("Person"));
    plain.SetParentGroupBox(&box);
    QCOMPARE(box.title(), QStringLiteral("记录列表"));
    plain.Open();
    QCOMPARE(box.title(), QStringLiteral("记录列表"));
    plain.Edit();
    plain.FieldByName(QStringLiteral("Name"))->SetValue(QStringLiteral("甲"));
    plain.Post();
    plain.Delete();
    QCOMPARE(box.title(), QStringLiteral("记录列表"));
    // Closing still shows the closed caption.
    box.setTitle(QStringLiteral("marker"));
    plain.Close();
    QCOMPARE(box.title(), QStringLiteral("记录列表"));
}

void TestQVAdoQuery::UntrimmedFieldNameIsRefreshedButNotLoaded()
{
    TPersonForm f;
    f.EdName->SetEditFieldName(QStringLiteral(" Name "));
    f.A->Open();
    QCOMPARE(f.EdName->text(), QString());
    f.A->Edit();
    QVERIFY(!f.EdName->isReadOnly());
}

void TestQVAdoQuery::PagingBarCapturesWhileArmed()
{
    TPersonForm f;
    TFakePager pager;
    f.A->SetSQL(QStringLiteral("select * from Person where Name<>'x'"));
    f.A->SetQVPageTool(&pager);
    QVERIFY(f.A->PagingArmed());
    f.A->Open();
    QCOMPARE(pager.Captured, QStringList{QStringLiteral("SELECT * FROM PERSON WHERE NAME<>'X'")});
    QCOMPARE(pager.OpenedRows, QList<int>{2});
    f.A->Close();
    f.A->SetSQL(QStringLiteral("select * from Person"));
    f.A->Open();
    QCOMPARE(pager.Captured.size(), 2);
    QCOMPARE(f.A->RecordCount(), 2);
    // Once the bar has reloaded itself, opens run the SQL as found.
    f.A->Close();
    f.A->SetPagingArmed(false);
    f.A->SetSQL(QStringLiteral("select * from Person"));
    f.A->Open();
    QCOMPARE(pager.Captured.size(), 2);
    QCOMPARE(f.A->RecordCount(), 3);
}

QTEST_MAIN(TestQVAdoQuery)
#include "tst_QVAdoQuery.moc"
