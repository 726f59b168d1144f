#include <QCoreApplication>
#include <QStringList>

#include "cli/clisupport.h"
#include "cli/commands.h"

namespace
{

struct Subcommand {
    const char *name;
    int (*run)(const QStringList &arguments);
};

// One entry per subcommand; each lives in its own file and is declared in cli/commands.h.
const Subcommand kSubcommands[] = {
    {"exif", runExifCommand},
    {"thumb", runThumbCommand},
    {"jpeg", runJpegCommand},
    {"info", runInfoCommand},
    {"convert", runConvertCommand},
    {"rotate", runRotateCommand},
    {"rename-by-date", runRenameByDateCommand},
    {"hide", runHideCommand},
    {"show", runShowCommand},
};

QString usage()
{
    QStringList names;
    for (const Subcommand &subcommand : kSubcommands)
        names.append(QString::fromLatin1(subcommand.name));
    return QStringLiteral("usage: tabilo-cli --help | --version | %1 ...").arg(names.join(u'|'));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty())
        return failUsage(usage());
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("help")) {
        printLine(usage());
        return 0;
    }
    if (name == QLatin1String("--version")) {
        printLine(QStringLiteral("Tabilo " TABILO_VERSION));
        return 0;
    }
    for (const Subcommand &subcommand : kSubcommands) {
        if (name == QLatin1String(subcommand.name))
            return subcommand.run(arguments);
    }
    return failUsage(QStringLiteral("unknown subcommand \"%1\"; %2").arg(name, usage()));
}
