// The application object of every GUI program brings Qt's own dialogs into
// Chinese: their standard buttons and labels come from Qt's catalogue.
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "UApplication.h"
#include "UTranslations.h"

class TQtTranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        const QString catalogue = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_CN.qm");
        if (!QFile::exists(catalogue))
            QSKIP(qPrintable(catalogue + QStringLiteral(" is not installed (package qt6-translations-l10n)")));
    }

    void PlatformThemeButtonsAreChinese()
    {
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Save"), QStringLiteral("保存"));
    }

    void MessageBoxStandardButtonsAreChinese()
    {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
        QVERIFY2(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("是")),
                 qPrintable(box.button(QMessageBox::Yes)->text()));
    }

    // A folder without the catalogue is no error for the program: nothing is
    // installed and the texts already there stay.
    void MissingCatalogueChangesNothing()
    {
        QTemporaryDir empty;
        QVERIFY(empty.isValid());
        QVERIFY(!InstallQtTranslations(*qApp, empty.path()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    }

    // Qt's own file dialog (the one drawn without the desktop's help).
    void FileDialogLabelsAreChinese()
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        const auto *lookIn = dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"));
        QVERIFY(lookIn);
        QCOMPARE(lookIn->text(), QStringLiteral("查找范围："));
    }
};

int main(int argc, char *argv[])
{
    TExamoraApplication app(argc, argv);
    TQtTranslationsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_QtTranslations.moc"
