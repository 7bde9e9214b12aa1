#include "UnitInitialization.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOption>

#include "UApplication.h"
#include "UComm.h"
#include "UCommandLine.h"
#include "UConnection.h"
#include "UDM.h"
#include "UError.h"
#include "UFonts.h"
#include "UMessageSeam.h"
#include "USqlServerClient.h"

namespace {

const char NoServerText[] = "您没有选择服务器！";
const char NoDatabaseText[] = "您没有选择相应的数据库！";
const char ConnectFailedText[] = "数据库连接失败！请检查服务器名称和登录名称及密码！";

// The outer size 382 × 380 less a 4-pixel sizeable border on each side
// and a 26-pixel caption: the window manager draws the frame around this.
constexpr int ClientWidth = 374;
constexpr int ClientHeight = 350;

// The look of two controls that Qt does not have as such: a password edit
// that shows "*" for each character, and a simple combo box, a typing field
// without a drop-down button whose item area lies below it (at the dialog's
// height of one line there is no room for it) and whose list never drops down.
class TConnectControlsStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override
    {
        if (control == CC_ComboBox && part == SC_ComboBoxArrow)
            return QRect();
        if (control == CC_ComboBox && part == SC_ComboBoxEditField) {
            const int frame = pixelMetric(PM_ComboBoxFrameWidth, option, widget);
            return option->rect.adjusted(frame, frame, -frame, -frame);
        }
        return QProxyStyle::subControlRect(control, option, part, widget);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        if (control != CC_ComboBox) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        // Only the field's frame: no button, no arrow.
        QStyleOptionFrame frame;
        frame.QStyleOption::operator=(*option);
        frame.lineWidth = pixelMetric(PM_DefaultFrameWidth, option, widget);
        frame.state |= State_Sunken;
        drawPrimitive(PE_PanelLineEdit, &frame, painter, widget);
    }
};

class TSimpleComboBox : public QComboBox
{
public:
    using QComboBox::QComboBox;
    void showPopup() override {}
};

template <typename T>
T *Place(T *control, const char *name, int left, int top)
{
    control->setObjectName(QLatin1String(name));
    control->move(left, top);
    return control;
}

} // namespace

TFrmConnect::TFrmConnect(QWidget *parent)
    : TFrmConnect(std::make_unique<TOdbcSqlServerClient>(), parent)
{
}

TFrmConnect::TFrmConnect(std::unique_ptr<TSqlServerClient> client, QWidget *parent)
    : QDialog(parent),
      ADOConnection1(std::move(client)),
      ADOQuery1(*ADOConnection1)
{
    setObjectName(QStringLiteral("FrmConnect"));
    setWindowTitle(QStringLiteral("SQL Server数据库连接设置"));
    // A title bar without system menu and caption buttons; Esc still cancels.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFont(SongFont(12));
    resize(ClientWidth, ClientHeight);
    CreateControls();
    FormCreate();
}

TFrmConnect::~TFrmConnect() = default;

void TFrmConnect::CreateControls()
{
    Label1 = Place(new QLabel(QStringLiteral("指定下列数据以连接到 SQL Server 数据："), this), "Label1", 30, 13);
    Label2 = Place(new QLabel(QStringLiteral("1.输入或选择服务器名称(&E)"), this), "Label2", 40, 35);
    auto *style = new TConnectControlsStyle;
    style->setParent(this);
    ComBServer = Place(new TSimpleComboBox(this), "ComBServer", 72, 55);
    ComBServer->setStyle(style);
    ComBServer->setEditable(true);
    ComBServer->setInsertPolicy(QComboBox::NoInsert);
    ComBServer->resize(249, 21);
    Label2->setBuddy(ComBServer);

    Label3 = Place(new QLabel(QStringLiteral("2.输入登录服务器的信息:"), this), "Label3", 40, 85);
    RadioButton1 = Place(new QRadioButton(QStringLiteral("使用 Windows NT 集成安全模式(&W)"), this), "RadioButton1", 72,
                         105);
    RadioButton2 = Place(new QRadioButton(QStringLiteral("使用指定的用户名称和密码(&U)"), this), "RadioButton2", 72, 127);
    RadioButton3 = Place(new QRadioButton(QStringLiteral("已安装Lumidrive软件"), this), "RadioButton3", 72, 150);
    RadioButton2->setChecked(true);
    // Tab enters the modes at the chosen one; Qt moves this stop with the focus later.
    RadioButton1->setFocusPolicy(Qt::ClickFocus);
    RadioButton3->setFocusPolicy(Qt::ClickFocus);

    Label4 = Place(new QLabel(QStringLiteral("用户名称(&U)"), this), "Label4", 72, 177);
    EdtUser = Place(new QLineEdit(QStringLiteral("sa"), this), "EdtUser", 144, 172);
    EdtUser->resize(172, 21);
    Label4->setBuddy(EdtUser);
    Label5 = Place(new QLabel(QStringLiteral("密码(&P)"), this), "Label5", 72, 202);
    EdtPassWord = Place(new QLineEdit(this), "EdtPassWord", 144, 199);
    EdtPassWord->resize(172, 21);
    EdtPassWord->setEchoMode(QLineEdit::Password);
    EdtPassWord->setStyle(style);
    Label5->setBuddy(EdtPassWord);
    CheckBox1 = Place(new QCheckBox(QStringLiteral("空白密码(&B)"), this), "CheckBox1", 72, 225);

    Label6 = Place(new QLabel(QStringLiteral("3.在服务器上选择数据库"), this), "Label6", 43, 249);
    CombData = Place(new QComboBox(this), "CombData", 69, 268);
    CombData->resize(245, 21);
    CombData->installEventFilter(this);

    Bevel1 = Place(new QFrame(this), "Bevel1", 15, 304);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->resize(334, 2);

    BtnOK = Place(new QPushButton(QStringLiteral("确定"), this), "BtnOK", 88, 320);
    BtnOK->resize(80, 22);
    BtnCancel = Place(new QPushButton(QStringLiteral("取消"), this), "BtnCancel", 216, 320);
    BtnCancel->resize(80, 22);

    for (QWidget *control :
         {static_cast<QWidget *>(Label1), static_cast<QWidget *>(Label2), static_cast<QWidget *>(Label3),
          static_cast<QWidget *>(Label4), static_cast<QWidget *>(Label5), static_cast<QWidget *>(Label6),
          static_cast<QWidget *>(RadioButton1), static_cast<QWidget *>(RadioButton2),
          static_cast<QWidget *>(RadioButton3), static_cast<QWidget *>(CheckBox1)})
        control->adjustSize();
    // The rows are 22 apart; Qt's hint for a radio button is taller.
    for (QRadioButton *radio : {RadioButton1, RadioButton2, RadioButton3})
        radio->resize(radio->width(), 21);

    for (QRadioButton *radio : {RadioButton1, RadioButton2, RadioButton3}) {
        connect(radio, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                RadioButton2Click();
        });
    }
    connect(CheckBox1, &QCheckBox::toggled, this, &TFrmConnect::CheckBox1Click);
    connect(BtnOK, &QPushButton::clicked, this, &TFrmConnect::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFrmConnect::BtnCancelClick);
}

TConnectSettings TFrmConnect::Settings() const
{
    TConnectSettings settings;
    if (RadioButton1->isChecked())
        settings.Mode = TLoginMode::lmIntegrated;
    else if (RadioButton3->isChecked())
        settings.Mode = TLoginMode::lmLumidrive;
    else
        settings.Mode = TLoginMode::lmUserPassword;
    settings.Server = ComBServer->currentText();
    settings.Database = CombData->currentText();
    settings.User = EdtUser->text();
    settings.Password = EdtPassWord->text();
    return settings;
}

void TFrmConnect::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

bool TFrmConnect::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == CombData && event->type() == QEvent::FocusIn) {
        // Focus coming back when a window or a popup closes is no entry
        // into the control; fetching then would loop after a message box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            CombDataEnter();
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmConnect::FormCreate()
{
    ComBServer->clear();
}

void TFrmConnect::FormShow()
{
    RadioButton2Click();
}

void TFrmConnect::SetEditColor(QLineEdit *edit, bool white)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(white ? QPalette::Base : QPalette::Button));
    edit->setPalette(palette);
}

void TFrmConnect::RadioButton2Click()
{
    const bool userAndPassword = RadioButton2->isChecked();
    EdtPassWord->clear();
    EdtPassWord->setEnabled(userAndPassword);
    SetEditColor(EdtPassWord, userAndPassword);
    EdtUser->clear();
    EdtUser->setEnabled(userAndPassword);
    if (userAndPassword) {
        EdtUser->setText(QStringLiteral("sa"));
        EdtUser->setReadOnly(true);
    }
    SetEditColor(EdtUser, userAndPassword);
    CheckBox1->setEnabled(userAndPassword);
}

void TFrmConnect::CheckBox1Click()
{
    const bool blank = CheckBox1->isChecked();
    if (blank)
        EdtPassWord->clear();
    EdtPassWord->setEnabled(!blank);
    SetEditColor(EdtPassWord, !blank);
}

void TFrmConnect::CombDataEnter()
{
    if (ComBServer->currentText().isEmpty()) {
        ShowError(QString::fromUtf8(NoServerText));
        return;
    }
    ADOConnection1->Disconnect();
    const QString connectionString = BuildConnectString(Settings(), TConnectPurpose::cpDatabaseList);
    try {
        ADOConnection1->Connect(connectionString);
    } catch (const std::exception &) {
        ADOConnection1->Disconnect();
        ShowError(QString::fromUtf8(ConnectFailedText));
        return;
    }
    QStringList databases;
    try {
        ADOQuery1.SQL = QString::fromLatin1(CatalogueSql);
        databases = ADOQuery1.Open(QStringLiteral("Name"));
    } catch (const std::exception &error) {
        ShowFrameworkError(ErrorText(error));
        return;
    }
    CombData->clear();
    CombData->addItems(DatabaseListEntries(RunContext.AppPath, connectionString, databases));
    // An emptied list loses its choice; the user picks anew.
    CombData->setCurrentIndex(-1);
}

void TFrmConnect::BtnOKClick()
{
    ADOConnection1->Disconnect();
    if (ComBServer->currentText().isEmpty()) {
        ShowError(QString::fromUtf8(NoServerText));
        return;
    }
    if (CombData->currentText().isEmpty()) {
        ShowError(QString::fromUtf8(NoDatabaseText));
        return;
    }
    try {
        ADOConnection1->Connect(BuildConnectString(Settings(), TConnectPurpose::cpConfirm));
    } catch (const std::exception &) {
        ADOConnection1->Disconnect();
        ShowError(QString::fromUtf8(ConnectFailedText));
        ComBServer->clear();
        ComBServer->clearEditText();
        ComBServer->setFocus(Qt::OtherFocusReason);
        return;
    }
    try {
        WriteDbConfig(RunContext.AppPath, ComBServer->currentText(), CombData->currentText());
    } catch (const std::exception &error) {
        ShowFrameworkError(ErrorText(error));
        return;
    }
    done(1);
}

void TFrmConnect::BtnCancelClick()
{
    done(2);
}

void StartDataModule(TDM &dataModule)
{
    DM = &dataModule;
    dataModule.RunConnectDialog = [] {
        TFrmConnect dialog;
        return ExecModal(dialog);
    };
    RunGuarded([&dataModule] { dataModule.DataModuleCreate(QCoreApplication::applicationDirPath()); });
}

int RunBankWindowProgram(int argc, char *argv[], const char *programName, const char *description,
                         const std::function<std::unique_ptr<QWidget>(TDM &)> &makeWindow)
{
    const TCommandLine commandLine(programName, TCommandLine::GuiUsage(description));
    if (const std::optional<int> status = commandLine.InfoStatus(argc, argv))
        return *status;
    TExamoraApplication app(argc, argv);
    if (const std::optional<int> status = commandLine.LeftoverStatus(app.arguments()))
        return *status;
    InstallQtMessageBoxes();
    InstallChineseFonts();

    TDM dataModule;
    StartDataModule(dataModule);
    if (!dataModule.ACon->Connected())
        return 1;
    const std::unique_ptr<QWidget> window = makeWindow(dataModule);
    window->show();
    const int result = TExamoraApplication::RunEventLoop();
    DM = nullptr;
    return result;
}
