#include <QFile>
#include <QTest>

#include "UFrTemplate.h"

Q_DECLARE_METATYPE(Qt::Alignment)

class TestUFrTemplate : public QObject
{
    Q_OBJECT

private slots:
    void ShippedTemplateHasEveryBand();
    void MemoOptions_data();
    void MemoOptions();
    void MemoText_data();
    void MemoText();
    void Mistakes_data();
    void Mistakes();
    void PageSection();
};

void TestUFrTemplate::ShippedTemplateHasEveryBand()
{
    QFile file(QStringLiteral(EXAMORA_SOURCE_DIR "/data/TestMn.frf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const TfrTemplate parsed = ParseTemplate(QString::fromUtf8(file.readAll()));
    for (TfrBandType type : {TfrBandType::PageHeader, TfrBandType::ReportTitle, TfrBandType::ColumnHeader,
                             TfrBandType::MasterData, TfrBandType::ReportSummary, TfrBandType::PageFooter})
        QVERIFY(parsed.Band(type));
    QCOMPARE(parsed.PaperSize, QPageSize::A4);

    // The detail band prints the number, the question, both answers and the verdict.
    QStringList names;
    for (const TfrMemo &memo : parsed.Band(TfrBandType::MasterData)->Memos) {
        for (const TfrTextPart &part : memo.Parts) {
            if (part.IsExpression)
                names << part.Expression.Name;
        }
    }
    QCOMPARE(names, QStringList({"ID", "ThemeContent", "AnswerResult", "ThemeResult", "OTZ"}));
}

void TestUFrTemplate::MemoOptions_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<Qt::Alignment>("alignment");
    QTest::addColumn<double>("fontSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("frame");
    QTest::addColumn<bool>("wrap");
    const Qt::Alignment leftMiddle = Qt::AlignLeft | Qt::AlignVCenter;
    QTest::newRow("none: left, middle, 10.5 pt") << "" << leftMiddle << 10.5 << false << false << false;
    QTest::newRow("centre keeps the vertical middle")
        << "Center" << Qt::Alignment(Qt::AlignHCenter | Qt::AlignVCenter) << 10.5 << false << false << false;
    QTest::newRow("right bottom") << "Right Bottom" << Qt::Alignment(Qt::AlignRight | Qt::AlignBottom) << 10.5 << false
                                  << false << false;
    QTest::newRow("top keeps the horizontal left")
        << "Top" << Qt::Alignment(Qt::AlignLeft | Qt::AlignTop) << 10.5 << false << false << false;
    QTest::newRow("any letter case") << "bold FRAME wrap size=9" << leftMiddle << 9.0 << true << true << true;
    QTest::newRow("fractional size") << "Size=10.5 Bold" << leftMiddle << 10.5 << true << false << false;
}

void TestUFrTemplate::MemoOptions()
{
    QFETCH(QString, options);
    const TfrTemplate parsed = ParseTemplate(
        QStringLiteral("[MasterData]\nHeight = 7\nMemo = 1 2 30 7 | %1 | x\n").arg(options));
    const TfrMemo &memo = parsed.Band(TfrBandType::MasterData)->Memos.at(0);
    QCOMPARE(memo.Rect, QRectF(1, 2, 30, 7));
    QTEST(memo.Alignment, "alignment");
    QTEST(memo.FontSize, "fontSize");
    QTEST(memo.Bold, "bold");
    QTEST(memo.Frame, "frame");
    QTEST(memo.WordWrap, "wrap");
}

void TestUFrTemplate::MemoText_data()
{
    // Each part: "L:" literal, "N:" name, "C:field=value" / "C:field<>value" count, "S:field;condition" sum.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("plain text") << "题号" << QStringList{"L:题号"};
    QTest::newRow("field in text") << "第 [Page] 页" << QStringList{"L:第 ", "N:Page", "L: 页"};
    QTest::newRow("blanks inside brackets") << "[ ThemeContent ]" << QStringList{"N:ThemeContent"};
    QTest::newRow("doubled brackets are text") << "[[ID]] [ID]" << QStringList{"L:[ID] ", "N:ID"};
    QTest::newRow("a bar belongs to the text") << "a|b" << QStringList{"L:a|b"};
    QTest::newRow("count of every row") << "[COUNT()]" << QStringList{"C:="};
    QTest::newRow("count with condition") << "[count(OTZ=正确)]" << QStringList{"C:OTZ=正确"};
    QTest::newRow("count with not-equal") << "[COUNT(OTZ <> 正确)]" << QStringList{"C:OTZ<>正确"};
    QTest::newRow("sum with condition") << "[SUM(ThemeBit; OTZ=正确)]" << QStringList{"S:ThemeBit;OTZ=正确"};
    QTest::newRow("sum of every row") << "[SUM(ThemeBit)]" << QStringList{"S:ThemeBit;="};
}

void TestUFrTemplate::MemoText()
{
    QFETCH(QString, text);
    QStringList parts;
    for (const TfrTextPart &part : ParseMemoText(text)) {
        const TfrExpression &e = part.Expression;
        const QString condition = e.Condition.Field + (e.Condition.Equal ? "=" : "<>") + e.Condition.Value;
        if (!part.IsExpression)
            parts << "L:" + part.Literal;
        else if (e.Kind == TfrExpression::ekName)
            parts << "N:" + e.Name;
        else if (e.Kind == TfrExpression::ekCount)
            parts << "C:" + condition;
        else
            parts << "S:" + e.Name + ";" + condition;
    }
    QTEST(parts, "parts");
}

void TestUFrTemplate::Mistakes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown section") << "[Report]\n[Footer]\n"
                                     << "第 2 行";
    QTest::newRow("band twice") << "[MasterData]\n\n[MasterData]\n"
                                << "第 3 行";
    QTest::newRow("line outside a section") << "Height = 3\n"
                                            << "不在任何段中";
    QTest::newRow("memo without text part") << "[PageFooter]\nMemo = 0 0 10 5 | Center\n"
                                            << "第 2 行";
    QTest::newRow("memo with three numbers") << "[PageFooter]\nMemo = 0 0 10 | | x\n"
                                             << "4 个数值";
    QTest::newRow("negative height") << "[PageFooter]\nHeight = -2\n"
                                     << "Height";
    QTest::newRow("unknown option") << "[PageFooter]\nMemo = 0 0 10 5 | Blink | x\n"
                                    << "Blink";
    QTest::newRow("unclosed bracket") << "[PageFooter]\nMemo = 0 0 10 5 | | [Page\n"
                                      << "缺少 ]";
    QTest::newRow("unknown function") << "[PageFooter]\nMemo = 0 0 10 5 | | [AVG(ThemeBit)]\n"
                                      << "AVG";
    QTest::newRow("condition without field") << "[PageFooter]\nMemo = 0 0 10 5 | | [COUNT(=正确)]\n"
                                             << "条件";
    QTest::newRow("unknown paper") << "[Report]\nPaper = A9\n"
                                   << "A9";
    QTest::newRow("comment lines are skipped") << "# a\n; b\n[Report]\nFont =\n"
                                               << "第 4 行";
}

void TestUFrTemplate::Mistakes()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    try {
        ParseTemplate(text);
        QFAIL("the template was accepted");
    } catch (const ETemplateError &error) {
        const QString what = QString::fromUtf8(error.what());
        QVERIFY2(what.contains(message), qPrintable(what));
    }
}

void TestUFrTemplate::PageSection()
{
    const TfrTemplate parsed = ParseTemplate(
        QStringLiteral("[report]\npaper = A5\nOrientation = Landscape\nMargins = 5 6 7 8\nFont = 黑体\n"));
    const QPageLayout layout = parsed.PageLayout();
    QCOMPARE(layout.pageSize().id(), QPageSize::A5);
    QCOMPARE(layout.orientation(), QPageLayout::Landscape);
    QCOMPARE(layout.margins(QPageLayout::Millimeter), QMarginsF(5, 6, 7, 8));
    QCOMPARE(parsed.FontFamily, QStringLiteral("黑体"));
    QVERIFY(parsed.Bands.empty());
}

QTEST_GUILESS_MAIN(TestUFrTemplate)
#include "tst_UFrTemplate.moc"
