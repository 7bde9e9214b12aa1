#include <QAbstractScrollArea>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "ExamScreenFixture.h"
#include "FrmPrew.h"
#include "RecordFixture.h"
#include "UApplication.h"
#include "UEditor.h"
#include "UFrmLearningRecord.h"
#include "UProgess.h"
#include "UQVComboBoxSelValue.h"
#include "UQVImageSelect.h"
#include "UQVImageShow.h"
#include "USelLxType.h"
#include "USetTheme.h"
#include "UXtglLogin.h"
#include "UnitInitialization.h"

// Every window of the programs laid out on the screens schools and learners
// have, at the scale factors of their desktops. Each screen and factor runs
// in a child process of this test: the screen and QT_SCALE_FACTOR are fixed
// when the application starts.

namespace {

const char *const KChildSwitch = "--laid-out-on-this-screen";

// The exam screen's picture is designed at 487 + 318 in an area 804 wide:
// its last column is clipped by design, at any scale by a design pixel.
bool IsDesignedOverhang(const QWidget &control, const QWidget &parent)
{
    const int designPixel = control.width() / 318 + 2;
    const QRect inside = parent.rect().adjusted(0, 0, designPixel, 0);
    return control.objectName() == QLatin1String("ImgTheme") && inside.contains(control.geometry());
}

QString Describe(const QWidget &widget)
{
    const QString name = widget.objectName().isEmpty() ? QString::fromLatin1(widget.metaObject()->className())
                                                       : widget.objectName();
    const QRect g = widget.geometry();
    return QStringLiteral("%1 (%2,%3 %4x%5)").arg(name).arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
}

// The visible controls directly inside widget, windows of their own aside.
QList<QWidget *> VisibleControls(const QWidget &widget)
{
    QList<QWidget *> controls;
    for (QWidget *child : widget.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && child->isVisible())
            controls.append(child);
    return controls;
}

// What is wrong with the layout under widget: a control that sticks out of
// its parent or overlaps a sibling. Contents that scroll are left alone.
QStringList LayoutFaults(const QWidget &widget)
{
    QStringList faults;
    if (qobject_cast<const QAbstractScrollArea *>(widget.parentWidget()))
        return faults;
    const QList<QWidget *> controls = VisibleControls(widget);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        if (!widget.rect().contains(controls[i]->geometry()) && !IsDesignedOverhang(*controls[i], widget))
            faults << QStringLiteral("%1 sticks out of %2").arg(Describe(*controls[i]), Describe(widget));
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                faults << QStringLiteral("%1 overlaps %2").arg(Describe(*controls[i]), Describe(*controls[j]));
        }
        faults << LayoutFaults(*controls[i]);
    }
    return faults;
}

} // namespace

// Runs in the child: each window is shown on the one screen of the process.
class TestScreenFitOnThisScreen : public TExamScreenTest
{
    Q_OBJECT

private slots:
    void examScreen();
    void setupDialogs();
    void paperWindows();
    void reportPreview();
    void connectionDialog();
    void bankEditor();
    void componentDialogs();
    void learningRecord();

private:
    // Shows the window and checks it lies on the screen with nothing clipped
    // or overlapping.
    static void ShowAndCheck(QWidget &window);
    static void CheckFits(const QWidget &window);
};

void TestScreenFitOnThisScreen::ShowAndCheck(QWidget &window)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    CheckFits(window);
}

void TestScreenFitOnThisScreen::CheckFits(const QWidget &window)
{
    // A maximised window's frame is rounded to device pixels at a fractional
    // scale and may reach a logical pixel further than the screen.
    const QRect available = window.screen()->availableGeometry();
    const int rounding = window.isMaximized() ? 1 : 0;
    QVERIFY2(available.adjusted(-rounding, -rounding, rounding, rounding).contains(window.frameGeometry()),
             qPrintable(QStringLiteral("%1 outside the available %2,%3 %4x%5")
                            .arg(Describe(window))
                            .arg(available.x())
                            .arg(available.y())
                            .arg(available.width())
                            .arg(available.height())));
    const QStringList faults = LayoutFaults(window);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestScreenFitOnThisScreen::examScreen()
{
    auto form = OpenExam("3");
    QVERIFY(form);
    CheckFits(*form);
    // The long question of four lines pushes the options down: it is laid
    // out by the form after the fit, at the fitted scale.
    GoTo(*form, 4);
    CheckFits(*form);
    const TExamScreen ui(*form);
    QVERIFY(ui.LabContent->height() >= ui.LabContent->heightForWidth(ui.LabContent->width()));
}

void TestScreenFitOnThisScreen::setupDialogs()
{
    TFrmXtglLogin login;
    ShowAndCheck(login);
    TFrmSelLxType practiceMode;
    ShowAndCheck(practiceMode);
}

void TestScreenFitOnThisScreen::paperWindows()
{
    TFrmSetTheme drawing;
    ShowAndCheck(drawing);
    TFrmProgess progress;
    ShowAndCheck(progress);
}

void TestScreenFitOnThisScreen::reportPreview()
{
    TPreForm preview;
    ShowAndCheck(preview);
}

void TestScreenFitOnThisScreen::connectionDialog()
{
    TFrmConnect connect;
    ShowAndCheck(connect);
}

void TestScreenFitOnThisScreen::bankEditor()
{
    TFrmEditor editor;
    ShowAndCheck(editor);
}

void TestScreenFitOnThisScreen::componentDialogs()
{
    QTemporaryDir folder;
    TFrmQVImageSelect select(folder.path());
    ShowAndCheck(select);
    select.close();
    QImage picture(1200, 900, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    TFrmQVImageShow show(picture);
    ShowAndCheck(show);
    show.close();
    TFrmQVComboBoxSelValue values;
    ShowAndCheck(values);
}

void TestScreenFitOnThisScreen::learningRecord()
{
    // The record keeps its own bank with the record's tables.
    FBank.reset();
    TRecordFixture fixture;
    fixture.SitMockExam(90);
    TFrmLearningRecord record("001", QStringLiteral("小型汽车"), "THEMECHAPTER in (1,2)");
    ShowAndCheck(record);
}

// Runs in the test: one child process per screen and scale factor.
class TestScreenFit : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowFitsTheScreen_data();
    void everyWindowFitsTheScreen();

private:
    QTemporaryDir FConfigs;
};

void TestScreenFit::everyWindowFitsTheScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("factor");
    for (const QSize screen : {QSize(1280, 800), QSize(1280, 1024), QSize(1366, 768), QSize(1920, 1080),
                               QSize(2560, 1440), QSize(3840, 2160)}) {
        for (const char *factor : {"1", "1.25", "1.5", "1.75", "2"})
            QTest::addRow("%dx%d@%s", screen.width(), screen.height(), factor) << screen << QString::fromLatin1(factor);
    }
}

void TestScreenFit::everyWindowFitsTheScreen()
{
    QFETCH(QSize, screen);
    QFETCH(QString, factor);
    const QJsonObject display{{"name", "Screen"},          {"x", 0},           {"y", 0},  {"width", screen.width()},
                              {"height", screen.height()}, {"logicalDpi", 96}, {"dpr", 1}};
    const QString config = FConfigs.filePath(QStringLiteral("%1x%2.json").arg(screen.width()).arg(screen.height()));
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{display}}}).toJson());
    file.close();

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
    environment.insert("QT_SCALE_FACTOR", factor);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {KChildSwitch});
    QVERIFY(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
    // The child did lay the windows out: no skipped or missing functions.
    QVERIFY2(output.contains("Totals: 10 passed, 0 failed, 0 skipped"), output.constData());
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], KChildSwitch) == 0) {
        argv[1] = argv[0];
        --argc;
        ++argv;
        TExamoraApplication application(argc, argv);
        InstallChineseFonts();
        TestScreenFitOnThisScreen test;
        return QTest::qExec(&test, argc, argv);
    }
    QCoreApplication application(argc, argv);
    TestScreenFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ScreenFit.moc"
