#include <memory>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "TestSupport.h"
#include "UApplication.h"
#include "UComm.h"
#include "UConnectSettings.h"
#include "UConnection.h"
#include "UDM.h"
#include "UDbError.h"
#include "UIniFile.h"
#include "UQuit.h"
#include "USqlServerClient.h"
#include "UnitInitialization.h"

namespace {

// What a scripted server saw and how it answers.
struct TFakeServer
{
    QStringList Databases{QStringLiteral("master"), QStringLiteral("JsyData")};
    bool RefuseLogins = false;
    bool CatalogueFails = false;
    QStringList ConnectStrings;
    int CatalogueReads = 0;
    bool Open = false;
};

class TFakeSqlServerClient : public TSqlServerClient
{
public:
    explicit TFakeSqlServerClient(std::shared_ptr<TFakeServer> server)
        : FServer(std::move(server))
    {
    }

    void Connect(const QString &connectionString) override
    {
        FServer->ConnectStrings << connectionString;
        if (FServer->RefuseLogins)
            throw EDatabaseError(QStringLiteral("Login failed for user 'sa'."));
        FServer->Open = true;
    }
    void Disconnect() override { FServer->Open = false; }
    bool Connected() const override { return FServer->Open; }
    QStringList ReadColumn(const QString &sql, const QString &column) override
    {
        if (sql != QLatin1String(CatalogueSql) || column != QLatin1String("Name"))
            throw EDatabaseError(QStringLiteral("unexpected statement: ") + sql);
        ++FServer->CatalogueReads;
        if (FServer->CatalogueFails)
            throw EDatabaseError(QStringLiteral("Invalid object name 'master.dbo.sysdatabases'."));
        return FServer->Databases;
    }

private:
    std::shared_ptr<TFakeServer> FServer;
};

QStringList Items(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

void EnterByTab(QWidget *control)
{
    QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(control, &event);
}

} // namespace

class TestUnitInitialization : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InstallChineseFonts(); }
    void init();
    void cleanup();

    void Layout_data();
    void Layout();
    void WindowHasNoCaptionButtonsAndCentres();
    void LoginModeRule();
    void BlankPassword();
    void PasswordShowsStarsServerFieldHasNoDropDown();
    void TypedPasswordWithSemicolonStaysAPassword();
    void DatabaseListEntries_data();
    void DatabaseListEntries();
    void DatabaseListFailuresKeepTheList();
    void FocusComingBackDoesNotFetch();
    void OkChecksAndRefusal();
    void OkConnectionStrings_data();
    void OkConnectionStrings();
    void OkWritesDbConfigInGbk();
    void CancelAndEscapeCloseWithCancel();
    void StartUpWithMissingDatabase();
    void RealClientFailsCleanlyOnClosedPort();

private:
    std::unique_ptr<TFrmConnect> NewForm();
    template <typename T>
    T *Control(const char *name) const
    {
        return FForm->findChild<T *>(QLatin1String(name));
    }
    void ChooseDatabase(const QString &server, const QString &database);

    std::unique_ptr<QTemporaryDir> FDir;
    std::shared_ptr<TFakeServer> FServer;
    std::unique_ptr<TFrmConnect> FForm;
    std::unique_ptr<TScriptedMessages> FMessages;
};

void TestUnitInitialization::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    RunContext.AppPath = AppPathOf(FDir->path());
    FServer = std::make_shared<TFakeServer>();
    FMessages = std::make_unique<TScriptedMessages>();
    FForm = NewForm();
    FForm->show();
}

void TestUnitInitialization::cleanup()
{
    FForm.reset();
    FMessages.reset();
    FDir.reset();
    ResetQuitRequestForTesting();
}

std::unique_ptr<TFrmConnect> TestUnitInitialization::NewForm()
{
    return std::make_unique<TFrmConnect>(std::make_unique<TFakeSqlServerClient>(FServer));
}

void TestUnitInitialization::ChooseDatabase(const QString &server, const QString &database)
{
    Control<QComboBox>("ComBServer")->setEditText(server);
    auto *combData = Control<QComboBox>("CombData");
    EnterByTab(combData);
    combData->setCurrentIndex(combData->findText(database));
    QCOMPARE(combData->currentText(), database);
}

void TestUnitInitialization::Layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry"); // width/height 0: sized to its text
    QTest::addColumn<QString>("text");
    auto row = [](const char *name, QRect geometry, const char *text) {
        QTest::newRow(name) << QString::fromLatin1(name) << geometry << QString::fromUtf8(text);
    };
    row("Label1", QRect(30, 13, 0, 0), "指定下列数据以连接到 SQL Server 数据：");
    row("Label2", QRect(40, 35, 0, 0), "1.输入或选择服务器名称(&E)");
    row("ComBServer", QRect(72, 55, 249, 21), "");
    row("Label3", QRect(40, 85, 0, 0), "2.输入登录服务器的信息:");
    row("RadioButton1", QRect(72, 105, 0, 0), "使用 Windows NT 集成安全模式(&W)");
    row("RadioButton2", QRect(72, 127, 0, 0), "使用指定的用户名称和密码(&U)");
    row("RadioButton3", QRect(72, 150, 0, 0), "已安装Lumidrive软件");
    row("Label4", QRect(72, 177, 0, 0), "用户名称(&U)");
    row("EdtUser", QRect(144, 172, 172, 21), "sa");
    row("Label5", QRect(72, 202, 0, 0), "密码(&P)");
    row("EdtPassWord", QRect(144, 199, 172, 21), "");
    row("CheckBox1", QRect(72, 225, 0, 0), "空白密码(&B)");
    row("Label6", QRect(43, 249, 0, 0), "3.在服务器上选择数据库");
    row("CombData", QRect(69, 268, 245, 21), "");
    row("Bevel1", QRect(15, 304, 334, 2), "");
    row("BtnOK", QRect(88, 320, 80, 22), "确定");
    row("BtnCancel", QRect(216, 320, 80, 22), "取消");
}

void TestUnitInitialization::Layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QWidget *control = FForm->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->pos(), geometry.topLeft());
    if (geometry.width() > 0)
        QCOMPARE(control->size(), geometry.size());
    QCOMPARE(control->font().pixelSize(), 12);
    QCOMPARE(control->font().family(), QStringLiteral("宋体"));
    QString shown;
    if (auto *label = qobject_cast<QLabel *>(control))
        shown = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        shown = button->text();
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        shown = edit->text();
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        shown = combo->currentText();
    QCOMPARE(shown, text);
}

void TestUnitInitialization::WindowHasNoCaptionButtonsAndCentres()
{
    QCOMPARE(FForm->windowTitle(), QStringLiteral("SQL Server数据库连接设置"));
    const Qt::WindowFlags flags = FForm->windowFlags();
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowMinMaxButtonsHint));
    QVERIFY(Control<QRadioButton>("RadioButton2")->isChecked());
    QCOMPARE(Control<QComboBox>("ComBServer")->count(), 0);
    QVERIFY(Control<QComboBox>("ComBServer")->isEditable());
    QVERIFY(!Control<QComboBox>("CombData")->isEditable());
    QCOMPARE(Control<QLineEdit>("EdtPassWord")->echoMode(), QLineEdit::Password);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(FForm->frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(FForm->frameGeometry().center().y() - screen.center().y()) <= 1);
    QDir().mkpath(QStringLiteral("/work/shots"));
    FForm->grab().save(QStringLiteral("/work/shots/connect-dialog.png"));
}

void TestUnitInitialization::LoginModeRule()
{
    auto *user = Control<QLineEdit>("EdtUser");
    auto *password = Control<QLineEdit>("EdtPassWord");
    auto *blank = Control<QCheckBox>("CheckBox1");
    const QColor white = QApplication::palette().color(QPalette::Base);
    const QColor grey = QApplication::palette().color(QPalette::Button);

    QCOMPARE(user->text(), QStringLiteral("sa"));
    QVERIFY(user->isReadOnly() && user->isEnabled());
    QVERIFY(password->isEnabled() && blank->isEnabled());
    QCOMPARE(password->palette().color(QPalette::Base), white);
    password->setText(QStringLiteral("secret"));

    for (const char *other : {"RadioButton1", "RadioButton3"}) {
        QTest::mouseClick(Control<QRadioButton>(other), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY2(user->text().isEmpty() && password->text().isEmpty(), other);
        QVERIFY(!user->isEnabled() && !password->isEnabled() && !blank->isEnabled());
        QCOMPARE(user->palette().color(QPalette::Base), grey);
        QCOMPARE(password->palette().color(QPalette::Base), grey);

        password->setText(QStringLiteral("typed meanwhile"));
        QTest::mouseClick(Control<QRadioButton>("RadioButton2"), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(user->text(), QStringLiteral("sa"));
        QVERIFY(user->isReadOnly() && user->isEnabled() && password->isEnabled() && blank->isEnabled());
        QVERIFY(password->text().isEmpty());
        QCOMPARE(user->palette().color(QPalette::Base), white);
    }

    // The rule leaves the blank-password box as it is.
    blank->setChecked(true);
    QTest::mouseClick(Control<QRadioButton>("RadioButton1"), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(blank->isChecked());
}

void TestUnitInitialization::BlankPassword()
{
    auto *password = Control<QLineEdit>("EdtPassWord");
    auto *blank = Control<QCheckBox>("CheckBox1");
    password->setText(QStringLiteral("secret"));
    QTest::mouseClick(blank, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(password->text().isEmpty());
    QVERIFY(!password->isEnabled());
    QCOMPARE(password->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));

    ChooseDatabase(QStringLiteral("srv"), QStringLiteral("JsyData"));
    QTest::mouseClick(Control<QPushButton>("BtnOK"), Qt::LeftButton);
    QCOMPARE(FForm->result(), 1);
    QVERIFY(FServer->ConnectStrings.last().startsWith(QStringLiteral("Provider=SQLOLEDB.1;Password=;Persist")));

    QTest::mouseClick(blank, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(password->isEnabled());
    QCOMPARE(password->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
}

void TestUnitInitialization::PasswordShowsStarsServerFieldHasNoDropDown()
{
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
    auto *password = Control<QLineEdit>("EdtPassWord");
    password->setFocus();
    QTest::keyClicks(password, QStringLiteral("pw;1"));
    QCOMPARE(password->text(), QString("pw;1"));
    QCOMPARE(password->displayText(), QString("****"));

    // A simple combo: a typing field with no button, whose list never drops.
    auto *server = Control<QComboBox>("ComBServer");
    QStyleOptionComboBox option;
    option.initFrom(server);
    option.editable = true;
    QVERIFY(server->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, server).isEmpty());
    QCOMPARE(server->lineEdit()->width(), server->width() - 2 * server->lineEdit()->x());
    server->addItem(QStringLiteral("far-away"));
    server->setFocus();
    QTest::keyClick(server, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(server, Qt::Key_F4);
    QTest::mouseClick(server, Qt::LeftButton, {}, QPoint(server->width() - 5, server->height() / 2));
    QVERIFY(!server->view()->isVisible());
}

void TestUnitInitialization::TypedPasswordWithSemicolonStaysAPassword()
{
    QTest::keyClicks(Control<QComboBox>("ComBServer")->lineEdit(), QStringLiteral("srv"));
    QTest::keyClicks(Control<QLineEdit>("EdtPassWord"), QStringLiteral("x;Data Source=other"));
    EnterByTab(Control<QComboBox>("CombData"));
    const TConnectionTarget target = MapConnectionString(FServer->ConnectStrings.last());
    QCOMPARE(target.Server, QString("srv"));
    QCOMPARE(target.Password, QString("x;Data Source=other"));
}

void TestUnitInitialization::DatabaseListEntries_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("scripts"); // how many of the five SysData scripts exist
    QTest::addColumn<QStringList>("expected");
    const QString newEntry = QString::fromUtf8(NewDatabaseEntry);
    const QString restore = QString::fromUtf8(RestoreDatabaseEntry);
    const QString computer = GetComputerNameText();
    QTest::newRow("other server, no scripts") << "far-away" << 0 << QStringList{"master", "JsyData"};
    QTest::newRow("dot server") << "." << 0 << QStringList{restore, "master", "JsyData"};
    QTest::newRow("computer name in lower case") << computer.toLower() << 0 << QStringList{restore, "master", "JsyData"};
    QTest::newRow("computer name in upper case") << computer.toUpper() << 0 << QStringList{restore, "master", "JsyData"};
    QTest::newRow("all scripts, local") << "." << 5 << QStringList{newEntry, restore, "master", "JsyData"};
    QTest::newRow("all scripts, other server") << "far-away" << 5 << QStringList{newEntry, "master", "JsyData"};
    for (int missing = 0; missing < 5; ++missing)
        QTest::addRow("script %d missing", missing) << "far-away" << -missing - 1 << QStringList{"master", "JsyData"};
}

void TestUnitInitialization::DatabaseListEntries()
{
    QFETCH(QString, server);
    QFETCH(int, scripts);
    QFETCH(QStringList, expected);
    const QStringList names{"Drop.Sql", "AlterTable.Sql", "CreateProc.Sql", "CreateTable.Sql", "InsertData.Sql"};
    QDir(FDir->path()).mkpath(QStringLiteral("SysData"));
    for (int i = 0; i < names.size(); ++i) {
        const bool present = scripts == 5 || (scripts < 0 && i != -scripts - 1);
        if (present) {
            QFile file(FDir->path() + QStringLiteral("/SysData/") + names[i]);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    Control<QComboBox>("ComBServer")->setEditText(server);
    auto *combData = Control<QComboBox>("CombData");
    EnterByTab(combData);
    QCOMPARE(FMessages->Count(), 0);
    QCOMPARE(Items(combData), expected);
    QCOMPARE(combData->currentText(), QString());
    QCOMPARE(FServer->ConnectStrings.last(),
             QStringLiteral("Provider=SQLOLEDB.1;Password=;Persist Security Info=True;User ID=sa;Initial Catalog= ;"
                            "Data Source=")
                 + server);
    QVERIFY(FServer->Open);
}

void TestUnitInitialization::DatabaseListFailuresKeepTheList()
{
    auto *combData = Control<QComboBox>("CombData");
    EnterByTab(combData);
    QCOMPARE(FMessages->Last().Caption, QStringLiteral("错误"));
    QCOMPARE(FMessages->Last().Text, QStringLiteral("您没有选择服务器！"));
    QVERIFY(FServer->ConnectStrings.isEmpty());

    Control<QComboBox>("ComBServer")->setEditText(QStringLiteral("srv"));
    EnterByTab(combData);
    QCOMPARE(Items(combData), (QStringList{"master", "JsyData"}));

    FServer->RefuseLogins = true;
    FServer->Databases = {QStringLiteral("other")};
    EnterByTab(combData);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("数据库连接失败！请检查服务器名称和登录名称及密码！"));
    QCOMPARE(FMessages->Last().Icon, TMsgIcon::Error);
    QCOMPARE(Items(combData), (QStringList{"master", "JsyData"}));
    QVERIFY(!FServer->Open);

    FServer->RefuseLogins = false;
    FServer->CatalogueFails = true;
    EnterByTab(combData);
    QCOMPARE(FMessages->Last().Caption, QStringLiteral("Examora"));
    QVERIFY(FMessages->Last().Text.contains(QStringLiteral("sysdatabases")));
    QCOMPARE(Items(combData), (QStringList{"master", "JsyData"}));
}

void TestUnitInitialization::FocusComingBackDoesNotFetch()
{
    Control<QComboBox>("ComBServer")->setEditText(QStringLiteral("srv"));
    auto *combData = Control<QComboBox>("CombData");
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent event(QEvent::FocusIn, reason);
        QApplication::sendEvent(combData, &event);
    }
    QCOMPARE(FServer->CatalogueReads, 0);

    // A real Tab from the check box enters the list and fetches.
    FForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    Control<QCheckBox>("CheckBox1")->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(Control<QCheckBox>("CheckBox1"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), combData);
    QCOMPARE(FServer->CatalogueReads, 1);
}

void TestUnitInitialization::OkChecksAndRefusal()
{
    auto *server = Control<QComboBox>("ComBServer");
    auto *ok = Control<QPushButton>("BtnOK");
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("您没有选择服务器！"));

    server->setEditText(QStringLiteral("srv"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("您没有选择相应的数据库！"));
    QVERIFY(FServer->ConnectStrings.isEmpty());

    ChooseDatabase(QStringLiteral("srv"), QStringLiteral("JsyData"));
    server->addItem(QStringLiteral("leftover"));
    server->setEditText(QStringLiteral("srv"));
    FServer->RefuseLogins = true;
    FForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("数据库连接失败！请检查服务器名称和登录名称及密码！"));
    QVERIFY(FForm->isVisible());
    QCOMPARE(server->currentText(), QString());
    QCOMPARE(server->count(), 0);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(server));
    QVERIFY(!FServer->Open);

    // Without retyping, the next OK finds no server.
    const int connects = int(FServer->ConnectStrings.size());
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("您没有选择服务器！"));
    QCOMPARE(FServer->ConnectStrings.size(), connects);
    QVERIFY(!QFile::exists(RunContext.AppPath + QStringLiteral("DBConfig.cfg")));
}

void TestUnitInitialization::OkConnectionStrings_data()
{
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("listString");
    QTest::addColumn<QString>("okString");
    QTest::newRow("user and password")
        << "RadioButton2"
        << "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=True;User ID=sa;Initial Catalog= ;Data Source=srv"
        << "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=True;User ID=sa;Initial Catalog=JsyData;Data Source=srv";
    QTest::newRow("integrated security")
        << "RadioButton1"
        << "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Initial Catalog= ;Data Source=srv"
        << "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Initial Catalog=JsyData;Data Source=srv";
    const QString fixed = QStringLiteral("Provider=SQLOLEDB.1;Password=") + LumidrivePassword()
        + QStringLiteral(";Persist Security Info=True;User ID=sa;Initial Catalog= ");
    QTest::newRow("Lumidrive server") << "RadioButton3" << fixed + ";Data Source=srv"
                                      << fixed + "JsyData;Data Source=srv";
}

void TestUnitInitialization::OkConnectionStrings()
{
    QFETCH(QString, radio);
    QFETCH(QString, listString);
    QFETCH(QString, okString);
    QTest::mouseClick(Control<QRadioButton>(qPrintable(radio)), Qt::LeftButton, {}, QPoint(5, 5));
    if (Control<QLineEdit>("EdtPassWord")->isEnabled())
        QTest::keyClicks(Control<QLineEdit>("EdtPassWord"), QStringLiteral("pw"));
    ChooseDatabase(QStringLiteral("srv"), QStringLiteral("JsyData"));
    QTest::mouseClick(Control<QPushButton>("BtnOK"), Qt::LeftButton);
    QCOMPARE(FMessages->Count(), 0);
    QCOMPARE(FServer->ConnectStrings, (QStringList{listString, okString}));
    QCOMPARE(FForm->result(), 1);
    QVERIFY(FServer->Open);
}

void TestUnitInitialization::OkWritesDbConfigInGbk()
{
    const QString fileName = RunContext.AppPath + QStringLiteral("DBConfig.cfg");
    {
        TIniFile earlier(fileName, TIniFile::ieGbk);
        earlier.WriteString(QStringLiteral("Other"), QStringLiteral("键"), QStringLiteral("保留"));
        earlier.WriteString(QStringLiteral("DataBase"), QStringLiteral("服务器名"), QStringLiteral("old"));
        earlier.UpdateFile();
    }
    ChooseDatabase(QStringLiteral("服务器甲"), QStringLiteral("JsyData"));
    QTest::mouseClick(Control<QPushButton>("BtnOK"), Qt::LeftButton);
    QCOMPARE(FForm->result(), 1);

    // A second dialog confirms other settings: the file keeps only the last.
    FServer->Databases = {QStringLiteral("题库")};
    FForm = NewForm();
    FForm->show();
    ChooseDatabase(QStringLiteral("."), QStringLiteral("题库"));
    QTest::mouseClick(Control<QPushButton>("BtnOK"), Qt::LeftButton);
    QCOMPARE(FForm->result(), 1);

    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains(EncodeGbk(QStringLiteral("数据库名=题库"))));
    QVERIFY(!bytes.contains(QStringLiteral("服务器名").toUtf8()));
    TIniFile ini(fileName, TIniFile::ieGbk);
    QCOMPARE(ini.ReadString(QStringLiteral("DataBase"), QStringLiteral("服务器名"), {}), QStringLiteral("."));
    QCOMPARE(ini.ReadString(QStringLiteral("DataBase"), QStringLiteral("数据库名"), {}), QStringLiteral("题库"));
    QCOMPARE(ini.ReadString(QStringLiteral("Other"), QStringLiteral("键"), {}), QStringLiteral("保留"));
}

void TestUnitInitialization::CancelAndEscapeCloseWithCancel()
{
    FForm->hide();
    QTimer::singleShot(0, FForm.get(), [this] { QTest::mouseClick(Control<QPushButton>("BtnCancel"), Qt::LeftButton); });
    QCOMPARE(ExecModal(*FForm), 2);
    QTimer::singleShot(0, FForm.get(), [this] { QTest::keyClick(FForm.get(), Qt::Key_Escape); });
    QCOMPARE(ExecModal(*FForm), 2);
    QVERIFY(FServer->ConnectStrings.isEmpty());
}

void TestUnitInitialization::StartUpWithMissingDatabase()
{
    // No Data/Jsy_Data.mdb in the program folder: the dialog comes up.
    TDM dataModule;
    int shown = 0;
    dataModule.RunConnectDialog = [this, &shown] {
        ++shown;
        TFrmConnect dialog(std::make_unique<TFakeSqlServerClient>(FServer));
        QTimer::singleShot(0, &dialog, [&dialog] {
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("BtnCancel")), Qt::LeftButton);
        });
        return ExecModal(dialog);
    };
    dataModule.DataModuleCreate(FDir->path());
    QCOMPARE(shown, 1);
    QVERIFY(QuitRequested());
    QCOMPARE(FMessages->Count(), 0);

    // Confirmed: the same missing file is tried once more and its error leaves.
    ResetQuitRequestForTesting();
    dataModule.RunConnectDialog = [this] {
        TFrmConnect dialog(std::make_unique<TFakeSqlServerClient>(FServer));
        QTimer::singleShot(0, &dialog, [&dialog] {
            dialog.findChild<QComboBox *>(QStringLiteral("ComBServer"))->setEditText(QStringLiteral("srv"));
            auto *combData = dialog.findChild<QComboBox *>(QStringLiteral("CombData"));
            EnterByTab(combData);
            combData->setCurrentIndex(1);
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("BtnOK")), Qt::LeftButton);
        });
        return ExecModal(dialog);
    };
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, dataModule.DataModuleCreate(FDir->path()));
    QVERIFY(!QuitRequested());
    QVERIFY(QFile::exists(RunContext.AppPath + QStringLiteral("DBConfig.cfg")));
}

void TestUnitInitialization::RealClientFailsCleanlyOnClosedPort()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        QSKIP("the QODBC driver is not installed");
    // A port that was free a moment ago: nothing listens on it.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();

    FForm = std::make_unique<TFrmConnect>();
    FForm->show();
    auto *server = Control<QComboBox>("ComBServer");
    const QString address = QStringLiteral("127.0.0.1,%1").arg(port);
    QElapsedTimer clock;
    for (const char *radio : {"RadioButton2", "RadioButton1", "RadioButton3"}) {
        QTest::mouseClick(Control<QRadioButton>(radio), Qt::LeftButton, {}, QPoint(5, 5));
        server->setEditText(address);
        clock.start();
        EnterByTab(Control<QComboBox>("CombData"));
        // A generous bound: a hang would wait for the engine's own timeouts.
        QVERIFY2(clock.elapsed() < 15000, radio);
        QCOMPARE(FMessages->Last().Text, QStringLiteral("数据库连接失败！请检查服务器名称和登录名称及密码！"));
    }

    // OK fails the same way and the dialog stays usable.
    Control<QComboBox>("CombData")->addItem(QStringLiteral("JsyData"));
    Control<QComboBox>("CombData")->setCurrentIndex(0);
    server->setEditText(address);
    clock.start();
    QTest::mouseClick(Control<QPushButton>("BtnOK"), Qt::LeftButton);
    QVERIFY(clock.elapsed() < 15000);
    QCOMPARE(FMessages->Last().Text, QStringLiteral("数据库连接失败！请检查服务器名称和登录名称及密码！"));
    QCOMPARE(server->currentText(), QString());
    for (const TMessageRequest &message : FMessages->Shown())
        QVERIFY(!message.Text.contains(LumidrivePassword()));
    FForm->hide();
    QTimer::singleShot(0, FForm.get(), [this] { QTest::mouseClick(Control<QPushButton>("BtnCancel"), Qt::LeftButton); });
    QCOMPARE(ExecModal(*FForm), 2);
}

QTEST_MAIN(TestUnitInitialization)
#include "tst_UnitInitialization.moc"
