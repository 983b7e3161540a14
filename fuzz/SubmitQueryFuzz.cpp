// Fuzz target: any query sent to the scoreboard's submission address. An accepted one is clean
// (cleaning it again changes nothing, at most 20 visible characters, nothing left that could
// close an HTML tag once escaped), reads back the same from the address its confirmation form
// posts to, and its confirmation token checks out for it alone.
#include "server/core/ConfirmToken.h"
#include "server/core/HtmlText.h"
#include "server/core/PlayerText.h"
#include "server/core/Submission.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView query(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto read = submissionFromQuery(query);
    const auto* submission = std::get_if<Submission>(&read);
    if (!submission) {
        return 0;
    }
    if (cleanedPlayerText(submission->name) != submission->name
        || cleanedPlayerText(submission->date) != submission->date
        || visibleCharacterCount(submission->name) > MaxNameCharacters
        || htmlEscaped(submission->name).contains(u'<')
        || htmlEscaped(submission->date).contains(u'"')) {
        std::abort();
    }
    const auto again = submissionFromQuery(submitQuery(*submission));
    const auto* same = std::get_if<Submission>(&again);
    if (!same || same->name != submission->name || same->subject != submission->subject
        || same->seconds != submission->seconds || same->date != submission->date) {
        std::abort();
    }
    const QByteArray secret(ServerSecretBytes, 's');
    const QByteArray nonce(ConfirmNonceBytes, 'n');
    const QByteArray token = confirmToken(secret, *submission, 1'000'000, nonce);
    if (checkConfirmToken(secret, *submission, token, 1'000'000).verdict != TokenVerdict::Valid) {
        std::abort();
    }
    Submission faster = *submission;
    faster.seconds = submission->seconds == 0 ? 1 : submission->seconds - 1;
    if (checkConfirmToken(secret, faster, token, 1'000'000).verdict != TokenVerdict::Forged) {
        std::abort();
    }
    return 0;
}
