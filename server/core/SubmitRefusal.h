// Why a submission is turned away, and how the refusal page says it to a child.
#pragma once

#include <QString>

enum class RefusalKind {
    QueryTooLong, ///< the raw query is longer than any the game can send
    BadEscape, ///< a % not followed by two hexadecimal digits
    BadText, ///< a value that is not UTF-8 once decoded
    RepeatedKey, ///< name, subj, time, date or valid given twice
    MissingKey, ///< one of the five keys absent
    UnknownSubject, ///< subj other than add, sub, mul, div, rnd
    BadTime, ///< time not m:ss from 0:00 to 3:00
    CheckMismatch, ///< valid differs from the check value of time and subj
    NameTooLong, ///< more than 20 characters once cleaned
    DateTooLong, ///< more than 32 characters once cleaned
};

struct SubmitRefusal
{
    RefusalKind kind;
    QString key; ///< the query key at fault ("name", "time", ...); empty when it is the query
    /// One or two sentences in a child's words for the refusal page; plain text, to be escaped.
    QString message() const;
};
