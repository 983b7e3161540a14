// Fuzz target: any bytes as a club file; reading never crashes, and what it reads writes back.
#include "records/ClubFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView contents(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto records = readClubRecords(contents);
    if (!records) {
        return 0;
    }
    // Every record read back from the file's text survives being stored again unchanged,
    // as long as its fields hold no separator or line end of their own.
    for (const ClubRecord& record : *records) {
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
        const QByteArray line = EncodeClubText(clubRecordText(record.name, record.time, record.type)) + "\r\n";
        const auto again = readClubRecords(line);
        if (!again || again->size() != 1 || again->front() != record) {
            std::abort();
        }
    }
    return 0;
}
