#include "UExamAccessibility.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "UExamClock.h"
#include "UExamWidgets.h"
#include "UQuery.h"

namespace {

template <typename T>
T *Part(QWidget *screen, const char *name)
{
    return screen->findChild<T *>(QLatin1String(name));
}

void Describe(QWidget *widget, const QString &name, const QString &description)
{
    if (!widget)
        return;
    // A label without a fixed name is read by its text, which is what it shows.
    if (!name.isEmpty())
        widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
}

// The clock's text changes every second; its name stays, so that a screen
// reader is not told of every tick, and its description follows the minutes.
void FollowClock(QWidget *screen)
{
    auto *clock = screen->findChild<TExamClock *>(QStringLiteral("ExamClock"));
    auto *time = Part<QLabel>(screen, "LabTime");
    if (!clock || !time)
        return;
    Describe(time, QStringLiteral("剩余时间"), QString());
    QObject::connect(clock, &TExamClock::Tick, time, [clock, time] {
        const QString description = time->text().isEmpty() ? QString() : ClockDescription(clock->SecondsLeft());
        if (description != time->accessibleDescription())
            time->setAccessibleDescription(description);
    });
}

// The focus stays in the answer entry from question to question: its name
// says which question it answers, so that a reader tells of every move.
void FollowQuestion(QWidget *screen)
{
    auto *paper = screen->findChild<TQuery *>(QStringLiteral("AQry"));
    auto *entry = Part<QLineEdit>(screen, "Edit1");
    if (!paper || !entry)
        return;
    QObject::connect(paper, &TQuery::AfterScroll, entry, [entry](TQuery *query) {
        if (query->Active() && !query->IsEmpty())
            entry->setAccessibleName(
                QStringLiteral("第 %1 题答案").arg(query->FieldByName(QStringLiteral("ID"))->AsString()));
    });
}

} // namespace

QString ClockDescription(int secondsLeft)
{
    if (secondsLeft <= 0)
        return QStringLiteral("时间已到");
    const int hours = secondsLeft / 3600;
    const int minutes = secondsLeft % 3600 / 60;
    if (hours > 0)
        return QStringLiteral("剩余 %1 小时 %2 分钟").arg(hours).arg(minutes);
    if (minutes > 0)
        return QStringLiteral("剩余 %1 分钟").arg(minutes);
    return QStringLiteral("剩余不到 1 分钟");
}

void DescribeExamScreen(QWidget *screen)
{
    Describe(Part<QLabel>(screen, "LabCylb"), QString(), QStringLiteral("模拟/练习车型"));
    Describe(Part<QLabel>(screen, "LabContent"), QString(), QStringLiteral("试题"));
    Describe(Part<QLabel>(screen, "LabType"), QString(), QStringLiteral("题型"));
    Describe(Part<QLabel>(screen, "ImgTheme"), QStringLiteral("试题图片"), QString());
    for (int i = 0; i < 5; ++i) {
        const QString name = QStringLiteral("Lab") + QChar(u'A' + i);
        Describe(screen->findChild<QLabel *>(name), QString(),
                 QStringLiteral("选项 %1：单击本项或在答案框中输入 %1 选择").arg(i + 1));
    }
    // The entry keeps the focus while the candidate works: its description
    // tells the keys that do the rest.
    Describe(Part<QLineEdit>(screen, "Edit1"), QStringLiteral("答案"),
             QStringLiteral("输入所选选项的号码，多选题依次输入各号码；回车到下一题，上下箭头换题，"
                            "Home 键本题确定，End 键本题不确定，Insert 键交卷"));
    if (auto *validity = Part<TRadioGroup>(screen, "RGYxx")) {
        Describe(validity, QStringLiteral("本题答题有效性"), QString());
        Describe(validity->Item(0), QString(), QStringLiteral("Home 键选择"));
        Describe(validity->Item(1), QString(), QStringLiteral("End 键选择"));
    }
    Describe(Part<QLabel>(screen, "Label1"), QString(), QStringLiteral("正确答案"));
    if (auto *legend = Part<QLabel>(screen, "Label2")) {
        // The legend speaks of colours; the signs beside the numbers say the same.
        Describe(legend, QString(), QStringLiteral("已做题为绿色并标 •，不确定题目为红色并标 ?"));
        legend->setToolTip(legend->accessibleDescription());
    }
    Describe(Part<QWidget>(screen, "Panel1"), QStringLiteral("答题卡"), QStringLiteral("单击题号转到该题"));
    Describe(Part<QWidget>(screen, "SpeedButton1"), QString(), QStringLiteral("上一题，Page Up 或上箭头键"));
    Describe(Part<QWidget>(screen, "SpeedButton2"), QString(), QStringLiteral("下一题，Page Down 或下箭头键"));
    Describe(Part<QWidget>(screen, "SpeedButton3"), QString(), QStringLiteral("交卷并评分，Insert 键"));
    Describe(Part<QWidget>(screen, "SpeedButton5"), QString(), QStringLiteral("关闭考试窗口，Esc 键；交卷前不能关闭"));
    FollowClock(screen);
    FollowQuestion(screen);
}
