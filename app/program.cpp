#include "program.h"

#include "documentwindow.h"
#include "frmmain.h"
#include "hostchoice.h"
#include "messagebox.h"
#include "prefs/qt/qsettingsstore.h"
#include "textsheet.h"
#include "tonvale/version.h"
#include "word/builtin/host.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include <iostream>

static void initTonvaleResources()
{
    Q_INIT_RESOURCE(tonvale);
}

namespace app
{

void initResources()
{
    initTonvaleResources();
}

namespace
{

std::unique_ptr<prefs::QSettingsStore> settingsStore(const std::string &file)
{
    if (file.empty()) {
        return std::make_unique<prefs::QSettingsStore>();
    }
    return std::make_unique<prefs::QSettingsStore>(QString::fromStdString(file));
}

/// Opens the song sheet in path in a new built-in host; false (with the reason on stderr) when it cannot be read.
bool openInBuiltinHost(const std::string &path, BuiltinInstance &builtin)
{
    const QString file = QString::fromStdString(path);
    QString error;
    auto sheet = loadSheetFile(file, &error);
    if (!sheet) {
        std::cerr << "tonvale: " << error.toStdString() << '\n';
        return false;
    }
    builtin.running = std::make_shared<word::builtin::Host>();
    builtin.running->open(std::move(*sheet), QFileInfo(file).absoluteFilePath().toStdString());
    return true;
}

} // namespace

int runProgram(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    BuiltinInstance builtin;
    const std::vector<HostKind> kinds = hostKinds(builtin);
    const Options options = parseOptions(arguments, kinds, qEnvironmentVariable("TONVALE_SETTINGS"));
    if (!options.error.empty()) {
        std::cerr << "tonvale: " << options.error << "\n\n" << options.usage;
        return 2;
    }
    if (options.help) {
        std::cout << options.usage;
        return 0;
    }
    if (options.version) {
        std::cout << "tonvale " << tonvale::versionString << '\n';
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tonvale"));
    QApplication::setOrganizationName(QStringLiteral("Tonvale"));
    QApplication::setQuitOnLastWindowClosed(false); // the program ends when Tonvale's window closes
    initResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/tonvale/icon16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/tonvale/icon32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);
    if (!options.open.empty() && !openInBuiltinHost(options.open, builtin)) {
        return 2;
    }

    const auto store = settingsStore(options.settings);
    MessageBoxPrompter prompter;
    frmMain window(prompter, *store);
    if (!window.logic().Form_Load(*findHostKind(kinds, options.host))) {
        return window.logic().exitCode();
    }
    prompter.setParent(&window);

    std::unique_ptr<DocumentWindow> face;
    if (auto host = std::dynamic_pointer_cast<word::builtin::Host>(window.logic().host())) {
        face = std::make_unique<DocumentWindow>(host);
        window.logic().setEndGuard([&face] {
            return face->confirmEnd();
        });
    }
    window.show();
    if (face) {
        face->move(window.frameGeometry().topRight() + QPoint(12, 0));
        face->show();
    }
    const int code = QApplication::exec();
    window.logic().setEndGuard(nullptr);
    if (face) {
        face->offerSave(); // an untrapped error ends the program without a close
    }
    store->sync();
    return window.logic().exitCode() != 0 ? window.logic().exitCode() : code;
}

} // namespace app
