// The pages the server writes itself: the confirmation, the boards, the refusals and the
// moderators' page. Plain HTML and one style sheet; every field goes through htmlEscaped().
#pragma once

#include "server/core/BoardEntry.h"
#include "server/core/Ranking.h"
#include "server/core/Submission.h"

#include <QString>
#include <optional>
#include <vector>

/// A whole page: the site's title and the page's heading over body (HTML, already escaped).
QString htmlPage(const QString& siteTitle, const QString& heading, const QString& body);

/// "Post 2:47 in Multiplication as Ann?", with the button that posts it: a form to postAddress
/// (the submission's own address, its fields encoded anew) carrying token. again: the page was
/// shown before and its form grew too old, so the child is asked to press once more.
QString confirmBody(const Submission& submission, const QString& postAddress,
                    const QByteArray& token, bool again);

/// Why a request was turned away, as a child reads it, with the way back to the boards.
QString messageBody(const QString& message);

/// The address of a board page: subject (or every subject), period, and the entry to mark.
QString boardAddress(std::optional<Subject> subject, BoardPeriod period, qint64 markedId = 0);

struct BoardSection
{
    Subject subject;
    std::vector<BoardEntry> entries;
};

/// The links between boards, then one table per section, the entry markedId highlighted.
QString boardBody(std::optional<Subject> subject, BoardPeriod period,
                  const std::vector<BoardSection>& sections, qint64 markedId,
                  const QTimeZone& zone);

/// "today", "this week", "all time".
QString periodWords(BoardPeriod period);
QString periodCode(BoardPeriod period);
std::optional<BoardPeriod> periodFromCode(const QString& code);

/// The moderators' page: the held entries first, then the latest ones, each with the buttons
/// that approve, hide or delete it; every form carries formToken.
QString adminBody(const std::vector<BoardEntry>& held, const std::vector<BoardEntry>& latest,
                  const QByteArray& formToken, const QTimeZone& zone, const QString& notice);
