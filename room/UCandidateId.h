#pragma once

#include <QDate>
#include <QString>

// Who sits at a seat of the exam room: the document number and the name the
// candidate signs in with, checked before the paper is drawn.
struct TCandidate
{
    QString IdNumber;
    QString Name;
};

// What the sign-in refuses, with the message the candidate reads.
struct TCandidateCheck
{
    TCandidate Candidate; // trimmed; a resident ID's check letter in upper case
    QString Problem;      // empty when the entry is accepted
    bool ProblemInName = false;

    bool Accepted() const { return Problem.isEmpty(); }
};

// Checks an 18-character resident ID number: 17 digits and a check digit
// (a digit or X) computed from them, with a real date of birth no later
// than today in characters 7 to 14. Empty when it is sound, else the reason.
QString ResidentIdProblem(const QString &idNumber, const QDate &today = QDate::currentDate());

// Another document (passport, officer's card …): not empty, at most
// KMaxOtherIdLength characters of letters, digits, brackets and dashes.
QString OtherIdProblem(const QString &idNumber);

constexpr int KMaxOtherIdLength = 32;
constexpr int KMaxNameLength = 40;

// The whole sign-in: the number (as a resident ID unless otherDocument),
// then the name, which must not be empty. The entry comes back trimmed.
TCandidateCheck CheckCandidate(const QString &idNumber, const QString &name, bool otherDocument,
                               const QDate &today = QDate::currentDate());
