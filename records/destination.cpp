#include "records/destination.h"

#include <QDir>
#include <QUrl>
#include <QUrlQuery>

namespace records {
namespace {

// $XDG_STATE_HOME/zelt, or ~/.local/state/zelt; nothing when neither is set.
std::optional<QString> state_folder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty()) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty())
            return std::nullopt;
        state = home + QStringLiteral("/.local/state");
    }
    return state + QStringLiteral("/zelt");
}

std::optional<Destination> postgres(const QString& text, QString* error)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString socket = QUrlQuery(url).queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    Destination d;
    d.kind = Destination::Kind::Postgres;
    d.host = socket.isEmpty() ? url.host() : socket;
    d.port = url.port(-1);
    d.user = url.userName();
    d.password = url.password();
    d.database = url.path().mid(1);
    if (!url.isValid() || d.host.isEmpty() || d.user.isEmpty() || d.database.isEmpty() ||
        d.database.contains(QLatin1Char('/'))) {
        *error = QStringLiteral("%1 is not postgresql://USER@HOST/DATABASE "
                                "(or postgresql://USER@/DATABASE?host=/socket/folder)")
                     .arg(url.toDisplayString(QUrl::RemovePassword));
        return std::nullopt;
    }
    // The journal of a server lives on this machine, named after the server.
    const std::optional<QString> folder = state_folder();
    if (!folder) {
        *error = QStringLiteral("neither XDG_STATE_HOME nor HOME is set, so there is no place for the journal "
                                "of the records that the server cannot take; set one of them");
        return std::nullopt;
    }
    QString name = d.host + (d.port >= 0 ? QStringLiteral(":%1").arg(d.port) : QString()) + QLatin1Char('-') +
                   d.database;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    d.journal = *folder + QStringLiteral("/postgresql-") + name + QStringLiteral(".journal.jsonl");
    return d;
}

}  // namespace

QString Destination::describe() const
{
    if (kind == Kind::Sqlite)
        return file;
    const bool socket = host.startsWith(QLatin1Char('/'));
    return QStringLiteral("postgresql://%1@%2%3/%4%5")
        .arg(user, socket ? QString() : host, port >= 0 ? QStringLiteral(":%1").arg(port) : QString(), database,
             socket ? QStringLiteral("?host=") + host : QString());
}

std::optional<Destination> parse_destination(const QString& text, QString* error)
{
    if (text.startsWith(QLatin1String("postgresql://")) || text.startsWith(QLatin1String("postgres://")))
        return postgres(text, error);
    Destination d;
    if (text.isEmpty()) {
        const std::optional<QString> folder = state_folder();
        if (!folder) {
            *error = QStringLiteral("neither XDG_STATE_HOME nor HOME is set, so there is no default place for "
                                    "the records; give --records FILE.sqlite or set one of them");
            return std::nullopt;
        }
        d.file = *folder + QStringLiteral("/station.sqlite");
    } else {
        d.file = QDir::cleanPath(QDir::current().absoluteFilePath(text));
    }
    d.journal = d.file + QStringLiteral(".journal.jsonl");
    return d;
}

}  // namespace records
