#include <QLabel>
#include <QTest>
#include <QTextLayout>

#include "ExamScreenFixture.h"
#include "UApplication.h"
#include "UComm.h"
#include "UDriveTypes.h"

// Small faults of the exam screen's layout, looked at on the real screen.

namespace {

// The lines a word-wrapped label breaks its text into at its width.
QStringList WrappedLines(const QLabel &label)
{
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label.contentsRect().width());
        lines << label.text().mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

} // namespace

class TestUMainLayout : public TExamScreenTest
{
    Q_OBJECT

private slots:
    void ClassNameKeepsItsBracketsTogether_data();
    void ClassNameKeepsItsBracketsTogether();
};

void TestUMainLayout::ClassNameKeepsItsBracketsTogether_data()
{
    QTest::addColumn<QString>("caption");
    for (const TDriveType &type : DriveTypes())
        QTest::newRow(qPrintable(type.Code)) << type.Caption;
}

void TestUMainLayout::ClassNameKeepsItsBracketsTogether()
{
    QFETCH(QString, caption);
    // The faces the program puts in place of 宋体.
    InstallChineseFonts();
    auto form = OpenExam("3");
    QVERIFY(form);
    const TExamScreen ui(*form);
    QCOMPARE(ui.LabCylb->text(), RunContext.DriveTypeCaption);
    // Every class's name as the licence dialog would leave it.
    ui.LabCylb->setText(caption);
    QCOMPARE(ui.LabCylb->font().family(), QStringLiteral("宋体"));
    QCOMPARE(ui.LabCylb->font().pixelSize(), 13);
    QVERIFY(ui.LabCylb->font().bold());
    // The name with its classes stands on the first line; "安全" may follow on the next.
    const QStringList lines = WrappedLines(*ui.LabCylb);
    QVERIFY2(lines.first().contains(QStringLiteral("）")), qPrintable(lines.join(u'/')));
    QVERIFY(lines.size() <= 2);
    QVERIFY(ui.LabCylb->heightForWidth(ui.LabCylb->width()) <= ui.LabCylb->height());
}

QTEST_MAIN(TestUMainLayout)
#include "tst_UMainLayout.moc"
