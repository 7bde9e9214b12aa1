#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The sample question bank shipped with the program: chapters and questions
// kept as UTF-8 tables in data/sample/ (compiled in as resources), pictures
// drawn by USignPictures. Malformed data throws EDatabaseError naming the line.

struct TSampleQuestion
{
    int Id = 0;
    int Chapter = 0;
    int Type = 0;            // 1 true/false, 2 single choice, 3 multiple choice
    QString Set;             // TT, empty for no set
    QString Content;
    QStringList Options;     // always five, empty text when not offered
    QString Result;
    QString PictureKey;      // empty for no picture
};

// The questions of a table in the format of data/sample/questions.tsv;
// source names the table in error messages.
QList<TSampleQuestion> ParseSampleQuestions(const QByteArray &text, const QString &source);
QList<TSampleQuestion> ReadSampleQuestions();
QList<QPair<int, QString>> ReadSampleChapters();

// Fills chapters, questions (with their pictures) and the templates of the
// nine licence classes into an empty bank, in one transaction.
void WriteSampleBank(QSqlDatabase &db);
