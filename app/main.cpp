#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/frmkvelmor.h"

namespace {

const char* const kHowWithout =
    "to run it without one: xvfb-run -s '-screen 0 1024x768x24' kvelmor";

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
        std::fprintf(stderr, "kvelmor: cannot open the graphical display%s%s; %s\n",
                     display ? " " : "", display ? display : "", kHowWithout);
        std::_Exit(1);
    }
    heldMessages->append({type, message});
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::string platform = platformName(argc, argv);
    if ((platform.empty() || platform == "xcb") && !hasArgument(argc, argv, "-display") &&
        !isSet("DISPLAY") && !(platform.empty() && isSet("WAYLAND_DISPLAY"))) {
        std::fprintf(stderr, "kvelmor: no graphical display here (DISPLAY is not set); %s\n",
                     kHowWithout);
        return 1;
    }

    QList<std::pair<QtMsgType, QString>> held;
    heldMessages = &held;
    qtHandler = qInstallMessageHandler(startupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    for (const auto& [type, message] : held) qtHandler(type, QMessageLogContext(), message);

    QApplication::setApplicationName(QStringLiteral("Kvelmor"));
    // Installed, the desktop finds the icon and the menu entry under the program's id.
    QApplication::setDesktopFileName(QStringLiteral("org.example.kvelmor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.example.kvelmor")));
    kvelmor::FrmKvelmor window;
    window.show();
    return QApplication::exec();
}
