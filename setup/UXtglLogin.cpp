#include "UXtglLogin.h"

#include <utility>

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QRadioButton>

#include "QVAdoQuery.h"
#include "UComm.h"
#include "UDriveTypes.h"
#include "UFonts.h"
#include "UPictureButton.h"
#include "UTiming.h"

namespace {

constexpr int KBannerHeight = 118;

} // namespace

TFrmXtglLogin::TFrmXtglLogin(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmXtglLogin"));
    setWindowTitle(QStringLiteral("系统登录"));
    setFixedSize(441, 284);
    setFont(SongFont(13));

    const QPoint positions[9] = {{20, 138},  {20, 159},  {20, 180},  {20, 201}, {20, 222},
                                 {209, 138}, {209, 159}, {209, 180}, {209, 201}};
    for (int i = 0; i < 9; ++i) {
        auto *radio = new QRadioButton(DriveTypes()[i].Caption, this);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        // The serif CJK face runs wider than the original 宋体: close the
        // letters up a little so the left column's captions end before the
        // right column starts.
        QFont radioFont = SongFont(13);
        radioFont.setLetterSpacing(QFont::AbsoluteSpacing, -1.2);
        radio->setFont(radioFont);
        radio->move(positions[i]);
        radio->resize(qMin(radio->sizeHint().width() + 4, i < 5 ? 209 - 20 - 2 : 441 - 209 - 2), 19);
        radio->setAutoFillBackground(true);
        QPalette palette = radio->palette();
        // Buttons fill their background with the Button role, not Window.
        palette.setColor(radio->backgroundRole(), QColor(219, 228, 233));
        palette.setColor(QPalette::WindowText, Qt::black);
        radio->setPalette(palette);
        radio->setAccessibleDescription(QStringLiteral("按 %1 键选择此车型，按回车键登录").arg(i + 1));
        radio->installEventFilter(this);
        FRadioButtons[i] = radio;
    }
    FRadioButtons[0]->setChecked(true);

    SpeedButton1 = new TPictureButton(QStringLiteral("登录"), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(105, 248, 76, 25);
    SpeedButton1->setAccessibleDescription(QStringLiteral("以所选车型登录"));
    SpeedButton2 = new TPictureButton(QStringLiteral("取消"), this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(257, 248, 76, 25);
    SpeedButton2->setAccessibleDescription(QStringLiteral("不登录，退出程序"));
    QVAdoQuery1 = new TQVAdoQuery(this);
    QVAdoQuery1->setObjectName(QStringLiteral("QVAdoQuery1"));
    connect(SpeedButton1, &QAbstractButton::clicked, this, &TFrmXtglLogin::SpeedButton1Click);
    connect(SpeedButton2, &QAbstractButton::clicked, this, &TFrmXtglLogin::SpeedButton2Click);
}

void TFrmXtglLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Restored after being minimised, the dialog keeps the candidate's class.
    if (!std::exchange(FShown, true))
        FormShow();
}

void TFrmXtglLogin::FormShow()
{
    FRadioButtons[0]->setChecked(true);
    FRadioButtons[0]->setFocus();
}

void TFrmXtglLogin::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The background picture: a banner with the title over a plain light area.
    painter.fillRect(rect(), QColor(238, 244, 249));
    QLinearGradient banner(0, 0, 0, KBannerHeight);
    banner.setColorAt(0, QColor(22, 84, 160));
    banner.setColorAt(1, QColor(66, 140, 210));
    painter.fillRect(QRect(0, 0, width(), KBannerHeight), banner);
    QFont title(QStringLiteral("Noto Sans CJK SC"));
    title.setPixelSize(40);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(28, 18, width() - 40, 52), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Examora"));
    static bool logged = false;
    if (!logged) {
        logged = true;
        LogTiming("licence-dialog-painted");
    }
}

bool TFrmXtglLogin::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress
        && std::find(FRadioButtons.begin(), FRadioButtons.end(), watched) != FRadioButtons.end()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            RadioButton1KeyPress(QChar(13));
            return true;
        }
        if (!key->text().isEmpty())
            RadioButton1KeyPress(key->text().at(0));
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmXtglLogin::RadioButton1KeyPress(QChar key)
{
    if (key == QChar(13)) {
        SpeedButton1Click();
        return;
    }
    if (key >= QLatin1Char('1') && key <= QLatin1Char('9')) {
        // The focus frame goes with the choice, so the next key works from there.
        QRadioButton *chosen = FRadioButtons[key.digitValue() - 1];
        chosen->setChecked(true);
        chosen->setFocus(Qt::ShortcutFocusReason);
    }
}

void TFrmXtglLogin::SpeedButton1Click()
{
    for (size_t i = 0; i < FRadioButtons.size(); ++i) {
        if (!FRadioButtons[i]->isChecked())
            continue;
        RunContext.DriveTypeCode = DriveTypes()[i].Code;
        RunContext.ChapterFilter = DriveTypes()[i].ChapterFilter;
        RunContext.DriveTypeCaption = FRadioButtons[i]->text();
        done(1);
        return;
    }
}

void TFrmXtglLogin::SpeedButton2Click()
{
    done(2);
}
