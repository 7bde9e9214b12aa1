#include "UApplication.h"

#include <QDialog>
#include <QFont>
#include <QMessageBox>
#include <QPushButton>

#include "UError.h"
#include "UMessageSeam.h"
#include "UQuit.h"
#include "UScreenFit.h"
#include "UTranslations.h"

TExamoraApplication::TExamoraApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // No display name: Qt would append it to every window title on a real
    // desktop ("系统登录 — Examora"), and the captions are exact texts.
    setApplicationName(QStringLiteral("Examora"));
    InstallQtTranslations(*this);
    InstallScreenFit(*this);
}

bool TExamoraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowFrameworkError(ErrorText(error));
    }
    return false;
}

int TExamoraApplication::RunEventLoop()
{
    if (QuitRequested())
        return 0;
    return exec();
}

int ExecModal(QDialog &dialog)
{
    if (QuitRequested())
        return 2;
    const QMetaObject::Connection closer = QObject::connect(TQuitNotifier::Instance(), &TQuitNotifier::QuitRequested,
                                                            &dialog, &QDialog::reject);
    const int result = dialog.exec();
    QObject::disconnect(closer);
    return result == QDialog::Accepted || result == 1 ? 1 : 2;
}

void InstallQtMessageBoxes()
{
    SetMessageHandler([](const TMessageRequest &request) {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(request.Caption);
        box.setText(request.Text);
        switch (request.Icon) {
        case TMsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case TMsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case TMsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        case TMsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case TMsgIcon::None: break;
        }
        QPushButton *ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        if (request.Buttons == TMsgButtons::OkCancel) {
            QPushButton *cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
        } else {
            box.setEscapeButton(ok);
        }
        box.setDefaultButton(ok);
        box.exec();
        return box.clickedButton() == ok ? 1 : 2;
    });
}

void CloseOpenMessageBoxes()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *box = qobject_cast<QMessageBox *>(window); box && box->isVisible())
            box->reject();
    }
}

void InstallChineseFonts()
{
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"));
    QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"));
}
