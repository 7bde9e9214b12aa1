#include "UComm.h"

#include <memory>

#include <QHostInfo>

#include "UConnectionText.h"
#include "UDM.h"
#include "UMessageSeam.h"
#include "UQuery.h"
#include "UVersion.h"

TRunContext RunContext;

void ShowError(const QString &text)
{
    ShowMessageBox({QStringLiteral("错误"), text, TMsgIcon::Error, TMsgButtons::Ok});
}

void ShowInfo(const QString &text)
{
    ShowMessageBox({QStringLiteral("提示"), text, TMsgIcon::Information, TMsgButtons::Ok});
}

int AskOkCancel(const QString &text)
{
    return ShowMessageBox({QStringLiteral("提示"), text, TMsgIcon::Question, TMsgButtons::OkCancel}) == 1 ? 1 : 2;
}

bool OpenQuery(TQuery *query, const QString &sql)
{
    try {
        query->Close();
        query->SetConnection(DM ? DM->ACon : nullptr);
        query->SetSQL(sql);
        query->Open();
        return true;
    } catch (const std::exception &) {
        try {
            query->Close();
        } catch (const std::exception &) {
        }
        return false;
    }
}

TQuery *CreateOpenQuery(const QString &sql)
{
    auto query = std::make_unique<TQuery>();
    if (!OpenQuery(query.get(), sql))
        return nullptr;
    return query.release();
}

int ExecSql(const QString &sql)
{
    try {
        TQuery query;
        query.SetConnection(DM ? DM->ACon : nullptr);
        query.SetSQL(sql);
        return query.ExecSQL();
    } catch (const std::exception &) {
        return -1;
    }
}

QString GetVersionText()
{
    const auto version = ExecutableFileVersion();
    if (!version)
        return QStringLiteral("0.00");
    return QStringLiteral("%1.%2").arg(version->Major).arg(version->Minor);
}

QString GetSystemFlagText()
{
    const auto version = ExecutableFileVersion();
    if (!version)
        return QStringLiteral("0.00");
    return QStringLiteral("%1.%2").arg(version->Release).arg(version->Build);
}

QString GetComputerNameText()
{
    // The platform call filled a 40-character buffer: 39 characters at most.
    return QHostInfo::localHostName().left(39);
}

int CountChar(const QString &text, QChar c)
{
    return int(text.count(c));
}

int CountCharText(const QString &text, const QString &search)
{
    if (search.size() != 1)
        return 0;
    return CountChar(text, search.at(0));
}

namespace {

// One field as GetField returns it: tabs dropped, blanks and control
// characters trimmed as the classic Trim does. The field is copied into a
// buffer of 1024 characters, so a longer one is cut there before the trim;
// the control library's QVGetField has a buffer of its own, one larger.
QString CleanField(QStringView field)
{
    QString value;
    for (const QChar c : field) {
        if (c == QLatin1Char('\t'))
            continue;
        if (value.size() >= 1024)
            break;
        value += c;
    }
    return TrimBlanks(value);
}

} // namespace

QString TrimBlanks(const QString &text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && text.at(start).unicode() <= 32)
        ++start;
    while (end > start && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(start, end - start);
}

QString GetField(const QString &text, int fieldNumber, QChar separator)
{
    if (fieldNumber < 0)
        return QString();
    int pos = 0;
    for (int field = 0; field < fieldNumber; ++field) {
        const int next = text.indexOf(separator, pos);
        if (next < 0)
            return QString();
        pos = next + 1;
    }
    const int next = text.indexOf(separator, pos);
    return CleanField(QStringView(text).mid(pos, next < 0 ? -1 : next - pos));
}

// A ";" inside a quoted value does not end its entry, so a server or path
// holding one is found whole.
QString GetDataSource(const QString &connectionString)
{
    for (const QString &entry : SplitConnectionEntries(connectionString)) {
        const QString line = CleanField(entry);
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (line.left(eq).compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            return UnquoteConnectionValue(line.mid(eq + 1));
    }
    return QString();
}

bool IsPracticeMode(const QString &practiceMode)
{
    return practiceMode == QLatin1String("1") || practiceMode == QLatin1String("2");
}
