// The pages the server writes itself.
#include "server/site/Pages.h"

#include "server/core/ConfirmQuestion.h"
#include "server/core/HtmlText.h"

#include <QDateTime>
#include <QUrlQuery>

namespace {

const std::array<BoardPeriod, 3> Periods { BoardPeriod::Day, BoardPeriod::Week,
                                           BoardPeriod::AllTime };

QString link(const QString& address, const QString& words, bool current)
{
    if (current) {
        return QStringLiteral("<a href=\"%1\" aria-current=\"page\">%2</a>")
            .arg(htmlEscaped(address), htmlEscaped(words));
    }
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(htmlEscaped(address), htmlEscaped(words));
}

QString sectionTable(const BoardSection& section, BoardPeriod period, qint64 markedId,
                     const QTimeZone& zone)
{
    QString html
        = QStringLiteral("<section><h2>%1</h2>\n").arg(htmlEscaped(subjectName(section.subject)));
    if (section.entries.empty()) {
        html += QStringLiteral("<p class=\"empty\">No times %1 yet. Be the first!</p>\n")
                    .arg(htmlEscaped(period == BoardPeriod::AllTime ? QStringLiteral("at all")
                                                                    : periodWords(period)));
        return html + QStringLiteral("</section>\n");
    }
    html += QStringLiteral("<table>\n<thead><tr><th scope=\"col\">Place</th>"
                           "<th scope=\"col\">Name</th><th scope=\"col\">Time</th>"
                           "<th scope=\"col\">Date</th></tr></thead>\n<tbody>\n");
    int place = 0;
    for (const BoardEntry& entry : section.entries) {
        ++place;
        const bool marked = entry.id == markedId;
        // The player's date is their own text; the receipt time says when it really came.
        const QString received = QDateTime::fromMSecsSinceEpoch(entry.receivedUtcMs, zone)
                                     .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        html += QStringLiteral("<tr%1><td>%2</td><td>%3%4</td><td>%5</td>"
                               "<td title=\"Received %6\">%7</td></tr>\n")
                    .arg(marked ? QStringLiteral(" class=\"mark\"") : QString())
                    .arg(place)
                    .arg(htmlEscaped(displayName(entry.name)),
                         marked ? QStringLiteral(" <strong>(your new time!)</strong>") : QString(),
                         submittedTimeText(entry.seconds), htmlEscaped(received),
                         htmlEscaped(entry.date));
    }
    return html + QStringLiteral("</tbody>\n</table>\n</section>\n");
}

} // namespace

QString htmlPage(const QString& siteTitle, const QString& heading, const QString& body)
{
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
               "<title>%1 - %2</title>\n"
               "<link rel=\"stylesheet\" href=\"/style.css\">\n</head>\n<body>\n"
               "<header><a href=\"/\">%2</a></header>\n<main>\n<h1>%1</h1>\n%3</main>\n"
               "<footer><a href=\"/cgi-bin/toptimes.pl\">Top times</a> "
               "<a href=\"/sumdash.htm\">About the game</a> "
               "<a href=\"/contact.htm\">Contact</a></footer>\n</body>\n</html>\n")
        .arg(htmlEscaped(heading), htmlEscaped(siteTitle), body);
}

QString confirmBody(const Submission& submission, const QString& postAddress,
                    const QByteArray& token, bool again)
{
    QString html;
    if (again) {
        html += QStringLiteral("<p>That page was open for a long while, so please press the "
                               "button once more.</p>\n");
    }
    html += QStringLiteral("<p class=\"question\">%1</p>\n")
                .arg(htmlEscaped(confirmQuestion(submission)));
    if (!submission.date.isEmpty()) {
        html += QStringLiteral("<p>Date: %1</p>\n").arg(htmlEscaped(submission.date));
    }
    html += QStringLiteral("<form method=\"post\" action=\"%1\">\n"
                           "<input type=\"hidden\" name=\"token\" value=\"%2\">\n"
                           "<button type=\"submit\">Yes, post my time</button>\n</form>\n"
                           "<p>%3</p>\n")
                .arg(htmlEscaped(postAddress), htmlEscaped(QString::fromLatin1(token)),
                     link(boardAddress(submission.subject, BoardPeriod::AllTime),
                          QStringLiteral("No, just show me the top times"), false));
    return html;
}

QString messageBody(const QString& message)
{
    return QStringLiteral("<p class=\"message\">%1</p>\n<p>%2</p>\n")
        .arg(htmlEscaped(message),
             link(QStringLiteral("/cgi-bin/toptimes.pl"), QStringLiteral("See the top times"),
                  false));
}

QString boardAddress(std::optional<Subject> subject, BoardPeriod period, qint64 markedId)
{
    QUrlQuery query;
    if (subject) {
        query.addQueryItem(QStringLiteral("subj"), subjectCode(*subject));
    }
    query.addQueryItem(QStringLiteral("period"), periodCode(period));
    if (markedId > 0) {
        query.addQueryItem(QStringLiteral("mark"), QString::number(markedId));
    }
    return QStringLiteral("/cgi-bin/toptimes.pl?") + query.toString(QUrl::FullyEncoded);
}

QString boardBody(std::optional<Subject> subject, BoardPeriod period,
                  const std::vector<BoardSection>& sections, qint64 markedId, const QTimeZone& zone)
{
    QString html = QStringLiteral("<nav aria-label=\"When\"><ul>");
    for (const BoardPeriod each : Periods) {
        QString words = periodWords(each);
        words[0] = words[0].toUpper();
        html += QStringLiteral("<li>") + link(boardAddress(subject, each), words, each == period)
            + QStringLiteral("</li>");
    }
    html += QStringLiteral("</ul></nav>\n<nav aria-label=\"Which\"><ul><li>")
        + link(boardAddress(std::nullopt, period), QStringLiteral("Every kind"), !subject)
        + QStringLiteral("</li>");
    for (const Subject each : AllSubjects) {
        html += QStringLiteral("<li>")
            + link(boardAddress(each, period), subjectName(each), subject == each)
            + QStringLiteral("</li>");
    }
    html += QStringLiteral("</ul></nav>\n");
    for (const BoardSection& section : sections) {
        html += sectionTable(section, period, markedId, zone);
    }
    return html;
}

QString periodWords(BoardPeriod period)
{
    switch (period) {
    case BoardPeriod::Day:
        return QStringLiteral("today");
    case BoardPeriod::Week:
        return QStringLiteral("this week");
    case BoardPeriod::AllTime:
        break;
    }
    return QStringLiteral("all time");
}

QString periodCode(BoardPeriod period)
{
    switch (period) {
    case BoardPeriod::Day:
        return QStringLiteral("day");
    case BoardPeriod::Week:
        return QStringLiteral("week");
    case BoardPeriod::AllTime:
        break;
    }
    return QStringLiteral("all");
}

std::optional<BoardPeriod> periodFromCode(const QString& code)
{
    for (const BoardPeriod period : Periods) {
        if (code == periodCode(period)) {
            return period;
        }
    }
    return std::nullopt;
}

namespace {

QString stateWords(EntryState state)
{
    switch (state) {
    case EntryState::Held:
        return QStringLiteral("waiting");
    case EntryState::Hidden:
        return QStringLiteral("hidden");
    case EntryState::Shown:
        break;
    }
    return QStringLiteral("shown");
}

QString moderationButton(qint64 id, const char* action, const QString& words,
                         const QByteArray& token, const QString& who)
{
    return QStringLiteral("<form class=\"inline\" method=\"post\" action=\"/admin\">"
                          "<input type=\"hidden\" name=\"id\" value=\"%1\">"
                          "<input type=\"hidden\" name=\"token\" value=\"%2\">"
                          "<button type=\"submit\" name=\"action\" value=\"%3\""
                          " aria-label=\"%4 %5\">%4</button></form>")
        .arg(QString::number(id), htmlEscaped(QString::fromLatin1(token)),
             QString::fromLatin1(action), htmlEscaped(words), htmlEscaped(who));
}

QString moderationTable(const std::vector<BoardEntry>& entries, const QByteArray& token,
                        const QTimeZone& zone)
{
    if (entries.empty()) {
        return QStringLiteral("<p class=\"empty\">None.</p>\n");
    }
    QString html = QStringLiteral(
        "<table>\n<thead><tr><th scope=\"col\">Name</th><th scope=\"col\">Kind</th>"
        "<th scope=\"col\">Time</th><th scope=\"col\">Their date</th>"
        "<th scope=\"col\">Received</th><th scope=\"col\">State</th>"
        "<th scope=\"col\">Do</th></tr></thead>\n<tbody>\n");
    for (const BoardEntry& entry : entries) {
        const QString who = displayName(entry.name) + QStringLiteral(", ")
            + submittedTimeText(entry.seconds) + QStringLiteral(" in ")
            + subjectName(entry.subject);
        QString buttons;
        if (entry.state != EntryState::Shown) {
            buttons += moderationButton(entry.id, "approve",
                                        entry.state == EntryState::Held ? QStringLiteral("Approve")
                                                                        : QStringLiteral("Show"),
                                        token, who);
        }
        if (entry.state != EntryState::Hidden) {
            buttons += moderationButton(entry.id, "hide", QStringLiteral("Hide"), token, who);
        }
        buttons += moderationButton(entry.id, "delete", QStringLiteral("Delete"), token, who);
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td>"
                               "<td>%6</td><td>%7</td></tr>\n")
                    .arg(htmlEscaped(displayName(entry.name)), subjectName(entry.subject),
                         submittedTimeText(entry.seconds), htmlEscaped(entry.date),
                         QDateTime::fromMSecsSinceEpoch(entry.receivedUtcMs, zone)
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                         stateWords(entry.state), buttons);
    }
    return html + QStringLiteral("</tbody>\n</table>\n");
}

} // namespace

QString adminBody(const std::vector<BoardEntry>& held, const std::vector<BoardEntry>& latest,
                  const QByteArray& formToken, const QTimeZone& zone, const QString& notice)
{
    QString html;
    if (!notice.isEmpty()) {
        html += QStringLiteral("<p class=\"message\" role=\"status\">%1</p>\n")
                    .arg(htmlEscaped(notice));
    }
    return html + QStringLiteral("<h2>Waiting for approval</h2>\n")
        + moderationTable(held, formToken, zone) + QStringLiteral("<h2>Latest times</h2>\n")
        + moderationTable(latest, formToken, zone);
}
