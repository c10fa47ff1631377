#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/frmkvelmor.h"
#include "app/terminal.h"

namespace {

bool czech = false;  // the language of the messages, from the user's locale

QString text(const char* cs, const char* en)
{
    return QString::fromUtf8(czech ? cs : en);
}

QString howWithout()
{
    return text("bez něj ho spustíte takto: xvfb-run -s '-screen 0 1024x768x24' kvelmor",
                "to run it without one: xvfb-run -s '-screen 0 1024x768x24' kvelmor");
}

QString helpText()
{
    return text(
        "Použití: kvelmor [volby Qt]\n"
        "\n"
        "Otevře okno programu Kvelmor: světlo jednou štěrbinou jako součet šipek. Obrázky\n"
        "a čísla hotového pokusu bez okna uloží kvelmor-export.\n"
        "\n"
        "Volby:\n"
        "  -h, --help     vypíše tuto nápovědu\n"
        "      --version  vypíše verzi\n"
        "Platí i volby knihovny Qt, mimo jiné -platform JMÉNO, -display DISPLEJ, -style JMÉNO\n"
        "a -qwindowgeometry ŠÍŘKAxVÝŠKA+X+Y.\n"
        "\n"
        "Návratový kód: 0 okno bylo zavřeno, 1 chybí grafický displej, 2 chybné argumenty.\n",
        "Usage: kvelmor [Qt options]\n"
        "\n"
        "Opens the Kvelmor window: light through a single slit as a sum of arrows. kvelmor-export\n"
        "writes a finished run as pictures and numbers without a window.\n"
        "\n"
        "Options:\n"
        "  -h, --help     show this help\n"
        "      --version  show the version\n"
        "Qt's own options work too, among them -platform NAME, -display DISPLAY, -style NAME\n"
        "and -qwindowgeometry WIDTHxHEIGHT+X+Y.\n"
        "\n"
        "Exit status: 0 the window was closed, 1 no graphical display, 2 bad arguments.\n");
}

// --help and --version answer before the toolkit starts, so without a display. Returns the exit
// status, or -1 when neither was asked for.
int answerHelpOrVersion(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const bool help = std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0;
        if (!help && std::strcmp(argv[i], "--version") != 0) continue;
        const int error = kvelmor::writeText(
            STDOUT_FILENO, help ? helpText() : QStringLiteral("kvelmor " KVELMOR_VERSION "\n"));
        if (!error) return 0;
        kvelmor::writeText(STDERR_FILENO, text("kvelmor: nelze zapsat na standardní výstup: %1\n",
                                               "kvelmor: cannot write to standard output: %1\n")
                                              .arg(kvelmor::systemReason(error, czech)));
        return 1;
    }
    return -1;
}

// The windowing platform Qt will try first: `-platform NAME` on the command line, else
// QT_QPA_PLATFORM; empty for Qt's default (X11 here).
std::string platformName(int argc, char* argv[])
{
    std::string name;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 && i + 1 < argc) name = argv[i + 1];
    }
    if (name.empty()) {
        const char* variable = std::getenv("QT_QPA_PLATFORM");
        if (variable) name = variable;
    }
    return name.substr(0, name.find_first_of(";:"));
}

bool hasArgument(int argc, char* argv[], const char* argument)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], argument) == 0) return true;
    }
    return false;
}

bool isSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value && *value;
}

// While Qt starts, its messages wait here: a platform that cannot start (a display that does not
// answer, say) ends in one line of our own and status 1 instead of Qt's abort; otherwise they are
// passed on as they came.
QtMessageHandler qtHandler = nullptr;
QList<std::pair<QtMsgType, QString>>* heldMessages = nullptr;

void startupMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        const char* display = std::getenv("DISPLAY");
        kvelmor::writeText(
            STDERR_FILENO,
            text("kvelmor: nelze otevřít grafický displej%1; %2\n",
                 "kvelmor: cannot open the graphical display%1; %2\n")
                .arg(display ? QLatin1Char(' ') + kvelmor::shownBytes(display) : QString(),
                     howWithout()));
        std::_Exit(1);
    }
    heldMessages->append({type, message});
}

}  // namespace

int main(int argc, char* argv[])
{
    kvelmor::useTheUsersLocale();
    czech = kvelmor::prefersCzech();
    if (const int status = answerHelpOrVersion(argc, argv); status >= 0) return status;

    const std::string platform = platformName(argc, argv);
    if ((platform.empty() || platform == "xcb") && !hasArgument(argc, argv, "-display") &&
        !isSet("DISPLAY") && !(platform.empty() && isSet("WAYLAND_DISPLAY"))) {
        kvelmor::writeText(STDERR_FILENO,
                           text("kvelmor: není tu grafický displej (DISPLAY není nastaveno); %1\n",
                                "kvelmor: no graphical display here (DISPLAY is not set); %1\n")
                               .arg(howWithout()));
        return 1;
    }

    QList<std::pair<QtMsgType, QString>> held;
    heldMessages = &held;
    qtHandler = qInstallMessageHandler(startupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    // The toolkit has taken its own options (-platform, -display, -style...) out of argv; any
    // argument left is unknown, and its message alone is said.
    if (argc > 1) {
        kvelmor::writeText(STDERR_FILENO,
                           text("kvelmor: neznámý argument '%1'\nVíce řekne 'kvelmor --help'.\n",
                                "kvelmor: unknown argument '%1'\nTry 'kvelmor --help' for more "
                                "information.\n")
                               .arg(kvelmor::shownBytes(argv[1])));
        return 2;
    }
    for (const auto& [type, message] : held) qtHandler(type, QMessageLogContext(), message);

    QApplication::setApplicationName(QStringLiteral("Kvelmor"));
    // Installed, the desktop finds the icon and the menu entry under the program's id.
    QApplication::setDesktopFileName(QStringLiteral("org.example.kvelmor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.example.kvelmor")));
    kvelmor::FrmKvelmor window;
    window.show();
    return QApplication::exec();
}
