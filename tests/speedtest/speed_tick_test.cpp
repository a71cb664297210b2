// The speed log's rows, a "none" left empty (the header is checked where the logs are written).

#include "speedtest/speed_tick.h"
#include "testing/qstring_printer.h"

#include <gtest/gtest.h>

namespace {

TEST(SpeedCsv, RowsLeaveWhatIsMissingEmpty)
{
    struct Case {
        SpeedTick tick;
        const char* row;
    };
    const Case cases[] = {
        {{0, 900, 1, 0, 0, 0}, "0,900,1,0,0,0"},
        {{1234567, 1500, 66, 683, 2092, 2088}, "1234567,1500,66,683,2092,2088"},
        {{15, 2100, 133, {}, {}, 4100}, "15,2100,133,,,4100"},    // no answer
        {{20, 1500, 66, 65535, 21, {}}, "20,1500,66,65535,21,"},  // nothing shown
        {{5, 930, 3, {}, {}, {}}, "5,930,3,,,"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(speed::csv_row(c.tick), QString::fromLatin1(c.row));
}

}  // namespace
