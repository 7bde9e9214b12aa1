#include "UPracticeLists.h"

#include "UDM.h"
#include "UQuery.h"

namespace {

TNameCodeList ReadList(const QString &sql, int nameField, int codeField)
{
    TQuery query;
    query.SetConnection(DM ? DM->ACon : nullptr);
    query.SetSQL(sql);
    query.Open();
    TNameCodeList list;
    for (; !query.Eof(); query.Next()) {
        list.Names << query.Fields(nameField)->AsString();
        list.Codes << query.Fields(codeField)->AsString();
    }
    return list;
}

} // namespace

TNameCodeList ReadSetList(const QString &chapterFilter)
{
    const TNameCodeList all = ReadList(QStringLiteral("select Distinct(TT) from T_KS_THEME where ") + chapterFilter
                                           + QStringLiteral(" and (TT is not null or TT<>'') order by TT "),
                                       0, 0);
    TNameCodeList sets;
    for (int i = 0; i < all.Codes.size(); ++i) {
        if (all.Codes.at(i).trimmed().isEmpty())
            continue;
        sets.Names << all.Names.at(i);
        sets.Codes << all.Codes.at(i);
    }
    return sets;
}

TNameCodeList ReadChapterList(const QString &chapterFilter)
{
    return ReadList(QStringLiteral("select ThemeChapter,THEMENAME from T_KS_CHAPTER where ") + chapterFilter, 1, 0);
}

QString SetPracticeScope(const QString &setNumber)
{
    return setNumber.trimmed().size() == 1 ? QStringLiteral("0") + setNumber : setNumber;
}
