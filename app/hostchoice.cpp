#include "hostchoice.h"

#include "word/builtin/host.h"
#ifdef TONVALE_HAVE_UNO
#include "word/uno/unohost.h"
#endif
#ifdef TONVALE_UNO_PLUGIN
#include "unoplugin.h"
#endif
#ifdef TONVALE_HAVE_COM
#include "word/com/host.h"
#endif

#include <QCommandLineParser>

namespace app
{

HostKind builtinHostKind(BuiltinInstance &instance)
{
    HostKind kind;
    kind.name = "builtin";
    kind.names = word::builtin::Host().names();
    kind.attach = [&instance]() -> std::shared_ptr<word::Application> {
        return instance.running;
    };
    kind.start = [&instance]() -> std::shared_ptr<word::Application> {
        instance.running = std::make_shared<word::builtin::Host>();
        return instance.running;
    };
    return kind;
}

std::vector<HostKind> hostKinds(BuiltinInstance &builtin)
{
    std::vector<HostKind> kinds;
    // A real word processor comes first and is the default: Word on Windows, LibreOffice Writer on
    // Linux when it is installed. Where none is, the built-in word processor is the default.
#ifdef TONVALE_HAVE_COM
    kinds.push_back({"word",
                     {"Microsoft Word", "Word"},
                     []() -> std::shared_ptr<word::Application> {
                         return word::com::Host::attach();
                     },
                     []() -> std::shared_ptr<word::Application> {
                         return word::com::Host::start();
                     }});
#endif
#if defined(TONVALE_HAVE_UNO)
    HostKind writer{"libreoffice",
                    {"LibreOffice Writer", "LibreOffice Writer"},
                    []() -> std::shared_ptr<word::Application> {
                        return word::uno::attach();
                    },
                    []() -> std::shared_ptr<word::Application> {
                        return word::uno::start();
                    }};
    const bool officeInstalled = !word::uno::findSoffice().empty();
#elif defined(TONVALE_UNO_PLUGIN)
    // The host is a module of its own, there only when it and the office's libraries are installed.
    const word::uno::PluginInterface *plugin = installedUnoPlugin();
    if (!plugin) {
        kinds.push_back(builtinHostKind(builtin));
        return kinds;
    }
    HostKind writer{"libreoffice", {"LibreOffice Writer", "LibreOffice Writer"}, plugin->attach, plugin->start};
    const bool officeInstalled = !plugin->findSoffice().empty();
#endif
#if defined(TONVALE_HAVE_UNO) || defined(TONVALE_UNO_PLUGIN)
    if (!officeInstalled) {
        kinds.push_back(builtinHostKind(builtin));
        kinds.push_back(std::move(writer));
        return kinds;
    }
    kinds.push_back(std::move(writer));
#endif
    kinds.push_back(builtinHostKind(builtin));
    return kinds;
}

const HostKind *findHostKind(const std::vector<HostKind> &kinds, std::string_view name)
{
    for (const HostKind &kind : kinds) {
        if (kind.name == name) {
            return &kind;
        }
    }
    return nullptr;
}

Options parseOptions(const QStringList &arguments, const std::vector<HostKind> &kinds, const QString &settingsVariable)
{
    QStringList names;
    for (const HostKind &kind : kinds) {
        names << QString::fromStdString(kind.name);
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tonvale transposes the chords of a song sheet open in a word processor."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption host(QStringLiteral("host"),
                                  QStringLiteral("The word processor to work with: %1 (default %2).")
                                      .arg(names.join(QStringLiteral(", ")), names.value(0)),
                                  QStringLiteral("name"));
    const QCommandLineOption open(
        QStringLiteral("open"),
        QStringLiteral("Open this song sheet (HTML or plain text) in the built-in word processor."),
        QStringLiteral("file"));
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Keep the preferences in this file (also $TONVALE_SETTINGS)."),
                                      QStringLiteral("file"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and end."));
    parser.addOptions({help, version, host, open, settings});

    Options options;
    options.usage =
        parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("tonvale")).toStdString();
    if (!parser.parse(arguments)) {
        options.error = parser.errorText().toStdString();
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.error = "Unexpected argument: " + parser.positionalArguments().constFirst().toStdString();
        return options;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    if (parser.isSet(host)) {
        options.host = parser.value(host).toStdString();
    } else {
        // A sheet to open means the built-in word processor, which is the one that opens files.
        options.host = parser.isSet(open) ? "builtin" : names.value(0).toStdString();
    }
    if (!findHostKind(kinds, options.host)) {
        options.error =
            "Unknown host \"" + options.host + "\"; choose one of: " + names.join(QStringLiteral(", ")).toStdString();
        return options;
    }
    options.open = parser.value(open).toStdString();
    if (!options.open.empty() && options.host != "builtin") {
        options.error = "--open works with the built-in host only";
        return options;
    }
    options.settings = (parser.isSet(settings) ? parser.value(settings) : settingsVariable).toStdString();
    return options;
}

} // namespace app
