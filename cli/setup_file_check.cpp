#include "cli/setup_file_check.h"

#include "cli/console_out.h"
#include "params/setup_file_check.h"

namespace cli {

bool setup_file_usable(const QString& path)
{
    const QStringList problems = setup_file_problems(path);
    for (const QString& problem : problems)
        print_err(QStringLiteral("zelt-cli: ") + problem);
    return problems.isEmpty();
}

}  // namespace cli
