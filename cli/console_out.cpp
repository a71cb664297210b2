#include "cli/console_out.h"

#include <cstdio>

namespace cli {
namespace {

void print_line(FILE* stream, const QString& line)
{
    const QByteArray text = (line + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stream);
    std::fflush(stream);
}

}  // namespace

void print_out(const QString& line)
{
    print_line(stdout, line);
}

void print_err(const QString& line)
{
    print_line(stderr, line);
}

}  // namespace cli
