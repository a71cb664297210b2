#include "backups/last_read.h"

#include "backups/settings_backup.h"

namespace backups {

void LastRead::remember(const QString& port, const QString& model, const SettingValues& values)
{
    read_ = Read{port, model, values};
}

std::optional<QString> LastRead::back_up_before_overwrite(const QString& port, const QString& model) const
{
    if (!read_ || read_->port != port || read_->model != model)
        return std::nullopt;
    QString error;
    const std::optional<QString> path = save(read_->values, model, &error);
    if (!path)
        warn_not_saved(error);
    return path;
}

}  // namespace backups
