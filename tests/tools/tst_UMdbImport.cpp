#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "UDbError.h"
#include "UMdbImport.h"

namespace {

const QString KNorthwind = QStringLiteral(EXAMORA_TEST_MDB);

// Where the Access file is missing, the tests that read it say where they looked.
#define SKIP_WITHOUT_ACCESS_FILE()                                                                                     \
    if (!QFile::exists(KNorthwind))                                                                                    \
    QSKIP(qPrintable(QStringLiteral("no Access file at %1 (set the CMake variable EXAMORA_TEST_MDB)").arg(KNorthwind)))

// Where the catalogue row of the table "Categories" names it in nwind.mdb,
// and the header bytes of the (obfuscated) code page field of a Jet 3 file.
constexpr qsizetype KCategoriesCatalogueName = 0x164db9;
constexpr qsizetype KJet3CodePage = 0x3c;

// A copy of nwind.mdb with bytes changed, in the test's temporary folder.
QString PatchedCopy(const QTemporaryDir &dir, const QString &name, const std::function<void(QByteArray &)> &patch)
{
    QFile source(KNorthwind);
    if (!source.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = source.readAll();
    patch(bytes);
    const QString path = dir.filePath(name);
    QFile target(path);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size())
        return {};
    return path;
}

// Rows of mdb-export's CSV: quoted fields may hold commas, newlines and "".
QList<QStringList> ParseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field += text[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\n')) {
            row << field;
            rows << row;
            row.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    return rows;
}

} // namespace

class TestUMdbImport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FNorthwindBank;
    QSqlDatabase FDb;

private slots:
    void initTestCase()
    {
        if (!QFile::exists(KNorthwind))
            return;
        FNorthwindBank = FDir.filePath(QStringLiteral("nwind.sqlite"));
        ImportMdb(KNorthwind, FNorthwindBank);
        FDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("imported"));
        FDb.setDatabaseName(FNorthwindBank);
        QVERIFY(FDb.open());
    }

    void cleanupTestCase()
    {
        FDb.close();
        FDb = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("imported"));
    }

    void DecodesTextOfEveryStorage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("jet4");
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QString>("text");
        const QByteArray drive = QByteArray::fromHex("7e9a"); // 驾 in UCS-2, low byte first
        QTest::newRow("jet4 plain UCS-2") << QByteArray::fromHex("7e9a769a") << true << 0 << QStringLiteral("驾驶");
        QTest::newRow("jet4 compressed latin") << QByteArray::fromHex("fffe414243") << true << 0 << QStringLiteral("ABC");
        QTest::newRow("jet4 compressed switching to two bytes and back") << QByteArray::fromHex("fffe4100") + drive
                + QByteArray::fromHex("0042") << true << 0 << QStringLiteral("A驾B");
        QTest::newRow("jet4 compressed starting in two bytes")
            << QByteArray::fromHex("fffe00") + drive << true << 0 << QStringLiteral("驾");
        QTest::newRow("jet4 empty") << QByteArray() << true << 0 << QString();
        QTest::newRow("jet3 GBK beyond GB2312")
            << QByteArray::fromHex("d6ece946bbf9") << false << 936 << QStringLiteral("朱镕基");
        QTest::newRow("jet3 Big5") << QByteArray::fromHex("be72be70") << false << 950 << QStringLiteral("駕駛");
        QTest::newRow("jet3 western") << QByteArray::fromHex("426f6ced766172") << false << 1252
                                      << QStringLiteral("Bolívar");
        QTest::newRow("jet3 cut multibyte character")
            << QByteArray::fromHex("41d6") << false << 936 << QStringLiteral("A\uFFFD");
    }

    void DecodesTextOfEveryStorage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, jet4);
        QFETCH(int, codePage);
        QFETCH(QString, text);
        QCOMPARE(DecodeJetText(bytes, jet4, codePage), text);
    }

    void ConvertsDatesAndCurrency()
    {
        const auto at = [](int y, int m, int d, int h, int min, int s) {
            return QDateTime(QDate(y, m, d), QTime(h, min, s), Qt::UTC);
        };
        QCOMPARE(JetDateTime(0.0), at(1899, 12, 30, 0, 0, 0));
        QCOMPARE(JetDateTime(1.5), at(1899, 12, 31, 12, 0, 0));
        // Before the epoch the fraction still counts forward from midnight.
        QCOMPARE(JetDateTime(-1.25), at(1899, 12, 29, 6, 0, 0));
        QCOMPARE(JetDateTime(36526.999999999), at(2000, 1, 2, 0, 0, 0)); // rounds into the next day
        QCOMPARE(JetCurrencyText(0), QStringLiteral("0.0000"));
        QCOMPARE(JetCurrencyText(127500), QStringLiteral("12.7500"));
        QCOMPARE(JetCurrencyText(-5), QStringLiteral("-0.0005"));
        QCOMPARE(JetCurrencyText(std::numeric_limits<qint64>::min()), QStringLiteral("-922337203685477.5808"));
    }

    void ImportsEveryTableWithItsRows()
    {
        SKIP_WITHOUT_ACCESS_FILE();
        const QList<QPair<QString, int>> expected{
            {QStringLiteral("Order Details"), 2155}, {QStringLiteral("Orders"), 830},
            {QStringLiteral("Products"), 77},        {QStringLiteral("Shippers"), 3},
            {QStringLiteral("Categories"), 8},       {QStringLiteral("Customers"), 91},
            {QStringLiteral("Employees"), 9},        {QStringLiteral("Suppliers"), 29},
        };
        QCOMPARE(FDb.tables().size(), expected.size());
        for (const auto &[table, rows] : expected) {
            QSqlQuery count(FDb);
            QVERIFY2(count.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)), qPrintable(table));
            count.next();
            QCOMPARE(count.value(0).toInt(), rows);
        }
        // Northwind is not a bank: no bank tables are added to it.
        QVERIFY(!FDb.tables().contains(QStringLiteral("T_KS_THEME")));
    }

    void KeepsTypesAndValues()
    {
        SKIP_WITHOUT_ACCESS_FILE();
        QSqlQuery order(FDb);
        QVERIFY(order.exec(QStringLiteral("SELECT OrderDate, Freight, typeof(Freight), ShipRegion, ShipName, EmployeeID "
                                          "FROM Orders WHERE OrderID=10331")));
        QVERIFY(order.next());
        QCOMPARE(order.value(0).toString(), QStringLiteral("1994-11-16 00:00:00"));
        QCOMPARE(order.value(1).toDouble(), 10.19);
        QCOMPARE(order.value(2).toString(), QStringLiteral("real"));
        QVERIFY(order.value(3).isNull());
        QCOMPARE(order.value(4).toString(), QStringLiteral("Bon app'"));
        QCOMPARE(order.value(5).toInt(), 9);

        QSqlQuery product(FDb);
        QVERIFY(product.exec(QStringLiteral("SELECT UnitPrice, Discontinued FROM Products WHERE ProductID=5")));
        QVERIFY(product.next());
        QCOMPARE(product.value(0).toDouble(), 21.35);
        QCOMPARE(product.value(1).toInt(), 1); // yes/no

        QSqlQuery detail(FDb);
        QVERIFY(
            detail.exec(QStringLiteral("SELECT Discount FROM \"Order Details\" WHERE OrderID=10250 AND ProductID=51")));
        QVERIFY(detail.next());
        QCOMPARE(detail.value(0).toDouble(), 0.15); // a single, kept as the decimal it was typed as

        const QSqlRecord columns = FDb.record(QStringLiteral("Categories"));
        QCOMPARE(columns.count(), 4);
        QSqlQuery types(FDb);
        QVERIFY(types.exec(QStringLiteral("SELECT sql FROM sqlite_master WHERE name='Orders'")));
        QVERIFY(types.next());
        QVERIFY(types.value(0).toString().contains(QStringLiteral("\"OrderDate\" DATETIME")));
        QVERIFY(types.value(0).toString().contains(QStringLiteral("\"ShipName\" VARCHAR(40)")));
    }

    void KeepsOlePicturesWhole()
    {
        SKIP_WITHOUT_ACCESS_FILE();
        QSqlQuery pictures(FDb);
        QVERIFY(pictures.exec(
            QStringLiteral("SELECT CategoryID, Picture, typeof(Picture) FROM Categories ORDER BY CategoryID")));
        int seen = 0;
        while (pictures.next()) {
            ++seen;
            const QByteArray ole = pictures.value(1).toByteArray();
            QCOMPARE(pictures.value(2).toString(), QStringLiteral("blob"));
            QVERIFY(ole.startsWith(QByteArray::fromHex("151c2f00"))); // OLE object header
            // The embedded bitmap declares its own size: it must fit the blob.
            const qsizetype bitmap = ole.indexOf("BM");
            QVERIFY(bitmap > 0);
            const quint32 declared = qFromLittleEndian<quint32>(ole.constData() + bitmap + 2);
            QVERIFY2(bitmap + qsizetype(declared) <= ole.size(), qPrintable(QString::number(seen)));
            QVERIFY(declared > 1000);
        }
        QCOMPARE(seen, 8);
    }

    void AgreesWithMdbExport_data()
    {
        QTest::addColumn<QString>("table");
        for (const char *table :
             {"Order Details", "Orders", "Products", "Shippers", "Categories", "Customers", "Employees", "Suppliers"})
            QTest::newRow(table) << QString::fromLatin1(table);
    }

    void AgreesWithMdbExport()
    {
        QFETCH(QString, table);
        SKIP_WITHOUT_ACCESS_FILE();
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("mdb-export"));
        if (tool.isEmpty())
            QSKIP("mdb-export is not installed");
        QProcess exporter;
        exporter.start(tool,
                       {QStringLiteral("-T"), QStringLiteral("%Y-%m-%d %H:%M:%S"), QStringLiteral("-b"),
                        QStringLiteral("hex"), QStringLiteral("-0"), QStringLiteral("<NULL>"), KNorthwind, table});
        QVERIFY(exporter.waitForFinished(60000));
        QCOMPARE(exporter.exitCode(), 0);
        const QList<QStringList> expected = ParseCsv(QString::fromUtf8(exporter.readAllStandardOutput()));
        QVERIFY(expected.size() > 1);

        QSqlQuery rows(FDb);
        QVERIFY(rows.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table)));
        QCOMPARE(rows.record().count(), expected[0].size());
        for (int c = 0; c < expected[0].size(); ++c)
            QCOMPARE(rows.record().fieldName(c), expected[0][c]);
        int r = 1;
        for (; rows.next(); ++r) {
            QVERIFY(r < expected.size());
            for (int c = 0; c < expected[r].size(); ++c) {
                const QString want = expected[r][c];
                const QVariant got = rows.value(c);
                const QString where =
                    QStringLiteral("row %1, %2: %3 / %4").arg(r).arg(expected[0][c], want, got.toString().left(40));
                bool number = false;
                const double wanted = want.toDouble(&number);
                if (want == QLatin1String("<NULL>"))
                    QVERIFY2(got.isNull() || got.toString().isEmpty(),
                             qPrintable(where)); // mdb-export cannot tell "" from NULL
                else if (got.typeId() == QMetaType::QByteArray)
                    QVERIFY2(got.toByteArray().toHex().toUpper() == want.toLatin1(), qPrintable(where));
                else if (number && (got.typeId() == QMetaType::Double || got.typeId() == QMetaType::LongLong))
                    QVERIFY2(float(got.toDouble()) == float(wanted), qPrintable(where));
                else
                    QVERIFY2(got.toString() == want, qPrintable(where));
            }
        }
        QCOMPARE(r, expected.size());
    }

    void DecodesJet3TextInTheFilesCodePage()
    {
        SKIP_WITHOUT_ACCESS_FILE();
        // nwind.mdb saved as if by a Chinese Access: code page 936, one
        // category name in GBK with a character GB2312 lacks (镕).
        QTemporaryDir dir;
        const QString chinese = PatchedCopy(dir, QStringLiteral("chinese.mdb"), [](QByteArray &bytes) {
            const QByteArray oldPage = QByteArray::fromHex("e404"), newPage = QByteArray::fromHex("a803"); // 1252 → 936
            for (int i = 0; i < 2; ++i)
                bytes[KJet3CodePage + i] = char(bytes[KJet3CodePage + i] ^ oldPage[i] ^ newPage[i]);
            const qsizetype at = bytes.indexOf("Condiments");
            bytes.replace(at, 10, QByteArray::fromHex("d6ece946bbf9d2fbc1cf")); // 朱镕基饮料
        });
        QVERIFY(!chinese.isEmpty());
        const TMdbFile file(chinese);
        QCOMPARE(file.CodePage(), 936);
        QVERIFY(!file.IsJet4());
        const TMdbTable *categories = nullptr;
        for (const TMdbTable &table : file.Tables())
            if (table.Name == QLatin1String("Categories"))
                categories = &table;
        QVERIFY(categories);
        QStringList names;
        file.ReadRows(*categories, [&](const QVariantList &row) { names << row[1].toString(); });
        QCOMPARE(names.size(), 8);
        QCOMPARE(names[0], QStringLiteral("Beverages"));
        QCOMPARE(names[1], QStringLiteral("朱镕基饮料"));
    }

    void ClosesTheFileWhenATableCannotBeRead()
    {
        SKIP_WITHOUT_ACCESS_FILE();
        // Every table definition but the catalogue's own (page 2) loses its
        // page type: the catalogue reads, the first user table does not.
        QTemporaryDir dir;
        const QString damaged = PatchedCopy(dir, QStringLiteral("damaged.mdb"), [](QByteArray &bytes) {
            constexpr qsizetype pageSize = 2048;
            for (qsizetype page = 3 * pageSize; page < bytes.size(); page += pageSize)
                if (bytes[page] == 0x02)
                    bytes[page] = 0x00;
        });
        QVERIFY(!damaged.isEmpty());
        const auto handlesOn = [](const QString &fileName) {
            int count = 0;
            for (const QFileInfo &fd :
                 QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
                count += fd.symLinkTarget() == QFileInfo(fileName).canonicalFilePath() ? 1 : 0;
            return count;
        };
        {
            const TMdbFile open(KNorthwind);
            QCOMPARE(handlesOn(KNorthwind), 1);
        }
        QCOMPARE(handlesOn(KNorthwind), 0);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, TMdbFile{damaged});
        QCOMPARE(handlesOn(damaged), 0);
    }

    void GivesBankTablesTheirSchema()
    {
        SKIP_WITHOUT_ACCESS_FILE();
        // The Categories table renamed to the question table of a bank.
        QTemporaryDir dir;
        const QString source = PatchedCopy(dir, QStringLiteral("bank.mdb"), [](QByteArray &bytes) {
            if (bytes.mid(KCategoriesCatalogueName, 10) == "Categories")
                bytes.replace(KCategoriesCatalogueName, 10, "T_KS_THEME");
        });
        const QString target = dir.filePath(QStringLiteral("bank.sqlite"));
        const TMdbImportReport report = ImportMdb(source, target);
        QVERIFY(report.Notes.contains(QStringLiteral("T_KS_Model is not in the Access file: added empty")));
        // The explanations are a table of this system's own: an Access bank has none.
        QVERIFY(report.Notes.contains(QStringLiteral("T_KS_ThemeNote is not in the Access file: added empty")));
        QVERIFY(report.Notes.contains(QStringLiteral("T_KS_THEME.ThemeChapter is not in the Access table: left NULL")));
        QVERIFY(report.Notes.contains(
            QStringLiteral("T_KS_THEME.ThemeSpareA is not in the Access table: filled with its default")));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bank"));
            db.setDatabaseName(target);
            QVERIFY(db.open());
            for (const char *table : {"T_KS_THEME", "T_KS_CHAPTER", "T_KS_Model", "T_KS_ThemeModelContent",
                                      "T_KS_ExamineTheme", "T_KS_ExamineTheme_TT"})
                QVERIFY2(db.tables().contains(QString::fromLatin1(table)), table);
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("SELECT ThemeID, CategoryName, ThemeSpareA, ThemeChapter, length(Picture) "
                                              "FROM T_KS_THEME ORDER BY ThemeID")));
            QVERIFY(query.next());
            QCOMPARE(query.value(1).toString(), QStringLiteral("Beverages"));
            QCOMPARE(query.value(2).toString(), QString(""));
            QVERIFY(!query.value(2).isNull());
            QVERIFY(query.value(3).isNull());
            QCOMPARE(query.value(4).toInt(), 10746);
            // The schema's key and indexes are there.
            QVERIFY(db.primaryIndex(QStringLiteral("T_KS_THEME")).contains(QStringLiteral("ThemeID")));
            QVERIFY(query.exec(
                QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type='index' AND name='IX_THEME_DRAW'")));
            QVERIFY(query.next());
            QCOMPARE(query.value(0).toInt(), 1);
            QVERIFY(!query.exec(QStringLiteral("INSERT INTO T_KS_THEME (ThemeID) VALUES (1)")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bank"));
    }

    void ReportsProgressUpToTheTotal()
    {
        SKIP_WITHOUT_ACCESS_FILE();
        QTemporaryDir dir;
        qint64 lastDone = 0, lastTotal = 0, calls = 0;
        ImportMdb(KNorthwind, dir.filePath(QStringLiteral("p.sqlite")), [&](qint64 done, qint64 total) {
            QVERIFY(done > lastDone);
            lastDone = done;
            lastTotal = total;
            ++calls;
        });
        QCOMPARE(lastDone, qint64(2155 + 830 + 77 + 3 + 8 + 91 + 9 + 29));
        QCOMPARE(lastTotal, lastDone);
        QCOMPARE(calls, lastDone);
    }

    void RefusesWithoutLeavingFiles()
    {
        QTemporaryDir dir;
        // An existing bank is never overwritten.
        const QString existing = dir.filePath(QStringLiteral("live.sqlite"));
        {
            QFile file(existing);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("papers in progress");
        }
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ImportMdb(KNorthwind, existing));
        QFile kept(existing);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("papers in progress"));

        // A file that is not an Access file, and one that does not exist.
        const QString target = dir.filePath(QStringLiteral("new.sqlite"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ImportMdb(existing, target));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ImportMdb(dir.filePath(QStringLiteral("missing.mdb")), target));
        QVERIFY(!QFile::exists(target));
        QVERIFY(!QFile::exists(target + QStringLiteral(".partial")));
    }

    void NeverTouchesNamesItDidNotMake()
    {
        SKIP_WITHOUT_ACCESS_FILE();
        QTemporaryDir dir;
        // A dangling symbolic link is refused, not written through.
        const QString link = dir.filePath(QStringLiteral("link.sqlite"));
        const QString pointee = dir.filePath(QStringLiteral("pointee.sqlite"));
        QVERIFY(QFile::link(pointee, link));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ImportMdb(KNorthwind, link));
        QVERIFY(!QFile::exists(pointee));

        // Someone else's file of the name a fixed temporary name would have.
        const QString target = dir.filePath(QStringLiteral("new.sqlite"));
        const QString stranger = target + QStringLiteral(".partial");
        {
            QFile file(stranger);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not ours");
        }
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ImportMdb(stranger, target));
        const auto entries = [&dir] {
            return QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        };
        QCOMPARE(entries(), QStringList({QStringLiteral("link.sqlite"), QStringLiteral("new.sqlite.partial")}));
        ImportMdb(KNorthwind, target);
        QCOMPARE(entries(),
                 QStringList({QStringLiteral("link.sqlite"), QStringLiteral("new.sqlite"),
                              QStringLiteral("new.sqlite.partial")}));
        QFile kept(stranger);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("not ours"));
    }
};

QTEST_GUILESS_MAIN(TestUMdbImport)
#include "tst_UMdbImport.moc"
