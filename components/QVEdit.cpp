#include "QVEdit.h"

#include <cmath>

#include <QDateTime>

#include "UQVControlComm.h"

namespace {

const QString KRequired = QStringLiteral("本项是必填项！");
const QString KEmptyDate = QStringLiteral("-  -");
const QString KEmptyTime = QStringLiteral(":  :00");
const QString KEmptyDateTime = QStringLiteral("-  -     :  :00");
const QString KDateForm = QStringLiteral("yyyy-MM-dd");
const QString KTimeForm = QStringLiteral("hh:mm:ss");
const QString KDateTimeForm = QStringLiteral("yyyy-MM-dd hh:mm:ss");

bool ReadNumber(const QString &text, double &number)
{
    bool ok = false;
    number = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(number);
}

QDate ReadDate(const QString &parseText)
{
    return QDate::fromString(parseText, KDateForm);
}

QTime ReadTime(const QString &parseText)
{
    return QTime::fromString(parseText, KTimeForm);
}

QDateTime ReadDateTime(const QString &parseText)
{
    return QDateTime::fromString(parseText, KDateTimeForm);
}

// A field value as a date-time: typed values as they are, text (SQLite
// keeps dates as text) in the ISO forms.
QDateTime ValueAsDateTime(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.typeId() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0));
    if (value.typeId() == QMetaType::QTime)
        return QDateTime(QDate(1899, 12, 30), value.toTime());
    const QString text = value.toString().trimmed();
    QDateTime dateTime = QDateTime::fromString(text, Qt::ISODate);
    if (!dateTime.isValid())
        dateTime = QDateTime::fromString(text, KDateTimeForm);
    if (!dateTime.isValid() && QDate::fromString(text, Qt::ISODate).isValid())
        dateTime = QDateTime(QDate::fromString(text, Qt::ISODate), QTime(0, 0));
    if (!dateTime.isValid()) {
        QTime time = QTime::fromString(text, KTimeForm);
        if (!time.isValid())
            time = QTime::fromString(text, QStringLiteral("hh:mm"));
        if (time.isValid())
            dateTime = QDateTime(QDate(1899, 12, 30), time);
    }
    return dateTime;
}

} // namespace

QVariant QVEditTextValue(const QString &text, int editType)
{
    switch (editType) {
    case etText: return text.trimmed().isEmpty() ? QVariant() : QVariant(text);
    case etNumber: {
        double number = 0;
        if (text.trimmed().isEmpty() || !ReadNumber(text, number))
            return QVariant();
        return number;
    }
    case etDate: {
        const QString s = MaskTextToParseText(text, mmDate);
        const QDate date = ReadDate(s);
        return s.trimmed() == KEmptyDate || !date.isValid() ? QVariant() : QVariant(date);
    }
    case etTime: {
        const QString s = MaskTextToParseText(text, mmTime);
        const QTime time = ReadTime(s);
        return s.trimmed() == KEmptyTime || !time.isValid() ? QVariant() : QVariant(time);
    }
    case etDateTime: {
        const QString s = MaskTextToParseText(text, mmDateTime);
        const QDateTime dateTime = ReadDateTime(s);
        return s.trimmed() == KEmptyDateTime || !dateTime.isValid() ? QVariant() : QVariant(dateTime);
    }
    default: return QVariant();
    }
}

bool QVEditValueText(const QVariant &value, int editType, QString &text)
{
    if (value.isNull() || value.toString().isEmpty()) {
        text.clear();
        return true;
    }
    switch (editType) {
    case etText:
    case etNumber: text = value.toString(); return true;
    case etDate: text = ValueAsDateTime(value).toString(QStringLiteral("yyyy年MM月dd日")); return true;
    case etTime: text = ValueAsDateTime(value).toString(QStringLiteral("hh:mm")); return true;
    case etDateTime: text = ValueAsDateTime(value).toString(QStringLiteral("yyyy年MM月dd日 hh:mm")); return true;
    default: return false;
    }
}

QString QVEditCheckMessage(const QString &text, int editType, bool isMust)
{
    const QString trimmed = text.trimmed();
    switch (editType) {
    case etText: return isMust && trimmed.isEmpty() ? KRequired : QString();
    case etNumber: {
        if (isMust && trimmed.isEmpty())
            return KRequired;
        double number = 0;
        if (!trimmed.isEmpty() && !ReadNumber(trimmed, number))
            return QStringLiteral("请输入正确的数字！");
        return QString();
    }
    case etDate: {
        const QString s = MaskTextToParseText(text, mmDate).trimmed();
        if (isMust && s == KEmptyDate)
            return KRequired;
        if (s == KEmptyDate)
            return QString();
        const QDate date = ReadDate(s);
        if (!date.isValid())
            return QStringLiteral("请输入正确的日期！");
        if (date < QDate(1753, 1, 1) || date > QDate(9999, 12, 31))
            return QStringLiteral("日期范围应在\"1753-01-01\"至\"9999-12-31\"之间！");
        return QString();
    }
    case etTime: {
        const QString s = MaskTextToParseText(text, mmTime).trimmed();
        if (isMust && s == KEmptyTime)
            return KRequired;
        if (s != KEmptyTime && !ReadTime(s).isValid())
            return QStringLiteral("请输入正确的时间！");
        return QString();
    }
    case etDateTime: {
        const QString s = MaskTextToParseText(text, mmDateTime).trimmed();
        if (isMust && s == KEmptyDateTime)
            return KRequired;
        if (s != KEmptyDateTime && !ReadDateTime(s).isValid())
            return QStringLiteral("请输入正确的日期！");
        return QString();
    }
    default: return QString();
    }
}

TQVEdit::TQVEdit(QWidget *parent)
    : QLineEdit(parent)
{
}

void TQVEdit::SetEditType(int editType)
{
    FEditType = quint8(editType);
    // Blanks stand for the places not yet filled in, as the conversion expects.
    switch (FEditType) {
    case etDate: setInputMask(QStringLiteral("0000年00月00日; ")); break;
    case etTime: setInputMask(QStringLiteral("00:00; ")); break;
    case etDateTime: setInputMask(QStringLiteral("0000年00月00日 00:00; ")); break;
    default: setInputMask(QString()); break;
    }
}

bool TQVEdit::CheckValue()
{
    if (!Editing())
        return true;
    const QString message = QVEditCheckMessage(displayText(), FEditType, FIsMust);
    if (message.isEmpty())
        return true;
    setFocus();
    QVShowError(message);
    return false;
}

QVariant TQVEdit::GetValue()
{
    return QVEditTextValue(displayText(), FEditType);
}

void TQVEdit::SetValue(const QVariant &value)
{
    QString text;
    if (QVEditValueText(value, FEditType, text))
        setText(text);
}

void TQVEdit::UpdateEditState()
{
    if (!FCanEdit) {
        QVSetBaseColor(this, KQVReadOnlyColor);
        setReadOnly(true);
        return;
    }
    if (!DataSet())
        return;
    const bool editing = Editing();
    QVSetBaseColor(this, editing ? KQVEditableColor : KQVReadOnlyColor);
    setReadOnly(!editing);
}
