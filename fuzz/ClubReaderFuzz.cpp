// Fuzz target: any bytes as a club file. Reading never crashes; the records are the same
// whatever chunks the bytes arrive in; a file of whole lines reads as it did when the lines
// were joined into one text before it was cut at the separators; and what is read writes back.
#include "records/ClubFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

/// The file's lines joined (every carriage-return line-feed pair dropped), decoded as one text
/// and cut at every separator, three fields to a record: how the club was read before lines
/// were read one at a time. Nothing when a byte is not ours.
std::optional<std::vector<ClubRecord>> joinedReading(QByteArrayView contents)
{
    QByteArray joined;
    for (qsizetype i = 0; i < contents.size(); ++i) {
        if (contents[i] == '\r' && i + 1 < contents.size() && contents[i + 1] == '\n') {
            ++i;
            continue;
        }
        joined += contents[i];
    }
    const std::optional<QString> text = DecodeClubText(joined);
    if (!text) {
        return std::nullopt;
    }
    std::vector<QStringView> fields;
    if (!text->isEmpty()) {
        const QStringView all(*text);
        qsizetype start = 0;
        for (qsizetype found = all.indexOf(ClubSeparator); found >= 0;
             found = all.indexOf(ClubSeparator, start)) {
            fields.push_back(all.sliced(start, found - start));
            start = found + ClubSeparator.size();
        }
        fields.push_back(all.sliced(start));
    }
    std::vector<ClubRecord> records;
    for (std::size_t first = 0; first + 2 < fields.size(); first += 3) {
        records.push_back({ fields[first].toString(), fields[first + 1].toString(),
                            fields[first + 2].toString() });
    }
    return records;
}

/// Every line ends in a carriage return and line feed, and no other carriage return or line
/// feed is in the file.
bool onlyWholeLines(QByteArrayView contents)
{
    if (!contents.isEmpty() && !contents.endsWith("\r\n")) {
        return false;
    }
    for (qsizetype i = 0; i < contents.size(); ++i) {
        if (contents[i] == '\n' && (i == 0 || contents[i - 1] != '\r')) {
            return false;
        }
        if (contents[i] == '\r' && (i + 1 == contents.size() || contents[i + 1] != '\n')) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView contents(reinterpret_cast<const char*>(data),
                                  static_cast<qsizetype>(size));
    const std::vector<ClubRecord> records = readClubRecords(contents);

    // The same records when the file comes in chunks, as it is read from disk.
    const qsizetype chunk = size > 0 ? 1 + data[0] % 13 : 1;
    std::vector<ClubRecord> chunked;
    ClubLineReader reader([&chunked](QStringView name, QStringView time, QStringView type) {
        chunked.push_back({ name.toString(), time.toString(), type.toString() });
    });
    for (qsizetype start = 0; start < contents.size(); start += chunk) {
        reader.feed(contents.sliced(start, std::min(chunk, contents.size() - start)));
    }
    reader.finish();
    if (chunked != records) {
        std::abort();
    }

    // A file whose every line holds one record reads as it always did.
    if (onlyWholeLines(contents)
        && static_cast<qsizetype>(records.size()) == contents.count("\r\n")) {
        if (joinedReading(contents) != std::optional(records)) {
            std::abort();
        }
    }

    // Every record read back from the file's text survives being stored again unchanged, as
    // long as its fields hold no separator or line end of their own. It is stored after a first
    // line, where it was read from.
    const QByteArray first = EncodeClubText(clubRecordText("First", "1:00", "Addition")) + "\r\n";
    for (const ClubRecord& record : records) {
        if (record.name.contains(QLatin1Char('|')) || record.time.contains(QLatin1Char('|'))
            || record.type.contains(QLatin1Char('|'))) {
            continue;
        }
        bool control = false;
        for (const QString* field : { &record.name, &record.time, &record.type }) {
            for (QChar c : *field) {
                control = control || c.category() == QChar::Other_Control;
            }
        }
        if (control) {
            continue;
        }
        const QByteArray line
            = EncodeClubText(clubRecordText(record.name, record.time, record.type)) + "\r\n";
        const std::vector<ClubRecord> again = readClubRecords(first + line);
        if (again.size() != 2 || again.back() != record) {
            std::abort();
        }
    }
    return 0;
}
