#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The sample question bank shipped with the program: chapters, topics and
// questions kept as UTF-8 tables in data/sample/ (compiled in as resources),
// one question file per author in data/sample/questions/, pictures drawn by
// USignPictures. Malformed data throws EDatabaseError naming file and line
// of every fault found.

struct TSampleQuestion
{
    int Id = 0;
    int Chapter = 0;
    int Part = 0; // topic, see data/sample/parts.tsv
    int Type = 0; // 1 true/false, 2 single choice, 3 multiple choice
    QString Set;  // TT, two digits
    QString Content;
    QStringList Options; // always five, empty text when not offered
    QString Result;
    QString PictureKey;  // empty for no picture
    QString Explanation; // why the key is right, with its legal basis
};

// One question file: its name (which fixes its ID and set range) and text.
struct TQuestionFile
{
    QString Name;
    QByteArray Text;
};

// The questions of the files in the format of data/sample/questions/;
// every fault of every file is listed in the one error thrown.
QList<TSampleQuestion> ParseSampleQuestionFiles(const QList<TQuestionFile> &files);
QList<TSampleQuestion> ParseSampleQuestions(const QByteArray &text, const QString &fileName);

QList<TQuestionFile> SampleQuestionFiles();
QList<TSampleQuestion> ReadSampleQuestions();
QList<QPair<int, QString>> ReadSampleChapters();
QList<QPair<int, QString>> ReadSampleParts();

// Fills chapters, topics, questions (with their pictures and notes) and the
// templates of the nine licence classes into an empty bank, in one
// transaction. The second form takes other questions than the shipped ones.
void WriteSampleBank(QSqlDatabase &db);
void WriteSampleBank(QSqlDatabase &db, const QList<TSampleQuestion> &questions);
