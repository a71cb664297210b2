#include "station_window/records_table.h"

#include <QFileInfo>
#include <QHeaderView>

namespace station_window {

RecordsTable::RecordsTable(QWidget* parent) : QTableWidget(0, 7, parent)
{
    setHorizontalHeaderLabels({tr("Unit"), tr("Port"), tr("Model"), tr("Firmware"), tr("Result"),
                               tr("Reason"), tr("Finished (UTC)")});
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAccessibleName(tr("Last records"));
}

void RecordsTable::show(const QList<records::UnitRecord>& newestFirst)
{
    records_ = newestFirst.mid(0, kShown);
    fill();
}

void RecordsTable::add(const records::UnitRecord& record)
{
    records_.prepend(record);
    if (records_.size() > kShown)
        records_.removeLast();
    fill();
}

void RecordsTable::fill()
{
    setRowCount(static_cast<int>(records_.size()));
    for (int row = 0; row < records_.size(); ++row) {
        const records::UnitRecord& r = records_[row];
        const QStringList cells{QString::number(r.unit),
                                QFileInfo(r.port).fileName(),
                                r.model,
                                r.fw_after.isEmpty() ? r.fw_before : r.fw_after,
                                r.result == QLatin1String("pass") ? tr("PASS") : tr("FAIL"),
                                r.reason,
                                r.finished_utc.toUTC().toString(Qt::ISODate)};
        for (int column = 0; column < cells.size(); ++column)
            setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

}  // namespace station_window
