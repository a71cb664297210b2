// Stores the sample records of a station, from a given unit on, and prints
// "done N" once unit N is stored or on the disk in the journal: what a
// station reports. The kill test kills it at random moments.
//   records_writer DEST STATION FIRST_UNIT
#include "sample_record.h"

#include "records/record_store.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    QString error;
    const std::optional<records::Destination> dest = records::parse_destination(argv[1], &error);
    if (!dest) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    records::RecordStore store(*dest);
    for (qint64 unit = QByteArray(argv[3]).toLongLong();; ++unit) {
        const auto result = store.store(sample_record(QString::fromLocal8Bit(argv[2]), unit));
        if (result.outcome == records::RecordStore::Outcome::Lost) {
            std::fprintf(stderr, "%s\n", qPrintable(result.message));
            return 1;
        }
        std::printf("done %lld\n", static_cast<long long>(unit));
        std::fflush(stdout);
    }
}
