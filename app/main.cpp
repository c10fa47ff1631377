#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/explorerlink.h"
#include "app/frmkvelmor.h"
#include "app/terminal.h"

using kvelmor::Language;
using kvelmor::TextKey;

namespace {

// The language of the messages: the one asked for with --lang where the terminal can show it,
// else the user's locale's (messageLanguage).
Language messages = Language::English;

QString text(TextKey key)
{
    return kvelmor::qtext(key, messages);
}

// A message of its own, then how to learn more, and status 2.
int refuse(const QString& message)
{
    kvelmor::writeText(STDERR_FILENO, QStringLiteral("kvelmor: ") + message + QLatin1Char('\n') +
                                          text(TextKey::TryHelp).arg(QStringLiteral("kvelmor")) +
                                          QLatin1Char('\n'));
    return 2;
}

// --lang LANGUAGE or --lang=LANGUAGE, taken out of the arguments before the toolkit sees them.
struct LanguageOption {
    std::optional<Language> language;
    TextKey error = TextKey::None;  // what was wrong, about `shown`
    QString shown;
};

LanguageOption takeLanguage(int& argc, char* argv[])
{
    LanguageOption option;
    bool given = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const char* value = nullptr;
        if (std::strcmp(argument, "--lang") == 0) {
            if (i + 1 >= argc) {
                option.error = TextKey::OptionNeedsValue;
                option.shown = QStringLiteral("--lang");
                break;
            }
            value = argv[++i];
        } else if (std::strncmp(argument, "--lang=", 7) == 0) {
            value = argument + 7;
        } else {
            argv[kept++] = argv[i];
            continue;
        }
        if (given) {
            option.error = TextKey::OptionGivenTwice;
            option.shown = QStringLiteral("--lang");
            break;
        }
        given = true;
        option.language = kvelmor::languageCalled(value);
        if (!option.language) {
            option.error = TextKey::UnknownLanguage;
            option.shown = kvelmor::shownBytes(value);
            break;
        }
    }
    if (option.error == TextKey::None) {
        argc = kept;
        argv[argc] = nullptr;
    }
    return option;
}

// --explore, taken out of the arguments before the toolkit sees them: whether it was there.
bool takeExplore(int& argc, char* argv[])
{
    bool found = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--explore") == 0) {
            found = true;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return found;
}

bool isHelpOrVersion(const char* argument)
{
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0 ||
           std::strcmp(argument, "--version") == 0;
}

// --help and --version answer without a window, so without a display. Returns the exit status,
// or -1 when neither was asked for. Output that cannot be written is said on standard error,
// with status 1.
int answerHelpOrVersion(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (!isHelpOrVersion(argv[i])) continue;
        const bool help = std::strcmp(argv[i], "--version") != 0;
        const int error = kvelmor::writeText(
            STDOUT_FILENO,
            help ? text(TextKey::KvelmorHelp) : QStringLiteral("kvelmor " KVELMOR_VERSION "\n"));
        if (!error) return 0;
        kvelmor::writeText(
            STDERR_FILENO,
            QStringLiteral("kvelmor: ") +
                text(TextKey::CannotWriteOutput).arg(kvelmor::systemReason(error, messages)) +
                QLatin1Char('\n'));
        return 1;
    }
    return -1;
}

// What the X11 platform takes on top of the toolkit's own options, "-name" as well as "--name":
// the option, and whether a value follows it.
struct X11Option {
    const char* name;
    bool takesValue;
};
constexpr X11Option kX11Options[] = {{"display", true},  {"name", true},   {"visual", true},
                                     {"geometry", true}, {"title", true},  {"icon", true},
                                     {"nograb", false},  {"dograb", false}};

// How many arguments from argv[i] on are one option of the X11 platform; 0 when none is.
int x11OptionLength(int argc, char* argv[], int i)
{
    if (argv[i][0] != '-') return 0;
    const char* name = argv[i] + (argv[i][1] == '-' ? 2 : 1);
    for (const X11Option& option : kX11Options) {
        if (std::strcmp(name, option.name) != 0) continue;
        return option.takesValue && i + 1 < argc ? 2 : 1;
    }
    return 0;
}

void dropMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) return;
    kvelmor::writeText(STDERR_FILENO, QStringLiteral("kvelmor: ") + message + QLatin1Char('\n'));
    std::_Exit(1);
}

// The first argument that neither kvelmor nor the toolkit takes, shown as a message shows it, or
// nothing: found without a display. The toolkit takes its own options, as it would for a window,
// on its offscreen platform (whatever platform was asked for); when the window would open on X11,
// that platform's own few options count too.
QString unknownArgumentWithoutDisplay(int argc, char* argv[], bool x11)
{
    std::vector<char*> arguments{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const bool platform =
            std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0;
        if (platform) {
            ++i;  // with its value, which the offscreen platform below replaces
        } else {
            arguments.push_back(argv[i]);
        }
    }
    char platformOption[] = "-platform", offscreen[] = "offscreen";
    arguments.insert(arguments.end(), {platformOption, offscreen, nullptr});
    int left = int(arguments.size()) - 1;
    const QtMessageHandler previous = qInstallMessageHandler(dropMessage);
    {
        const QApplication toolkit(left, arguments.data());
    }
    qInstallMessageHandler(previous);
    for (int i = 1; i < left; ++i) {
        if (isHelpOrVersion(arguments[i])) continue;
        if (const int length = x11 ? x11OptionLength(left, arguments.data(), i) : 0) {
            i += length - 1;
            continue;
        }
        return kvelmor::shownBytes(arguments[i]);
    }
    return {};
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
            QStringLiteral("kvelmor: ") +
                text(TextKey::CannotOpenDisplay)
                    .arg(display ? QLatin1Char(' ') + kvelmor::shownBytes(display) : QString(),
                         text(TextKey::HowToRunWithoutDisplay)) +
                QLatin1Char('\n'));
        std::_Exit(1);
    }
    heldMessages->append({type, message});
}

}  // namespace

int main(int argc, char* argv[])
{
    kvelmor::keepStandardDescriptors();
    kvelmor::useTheUsersLocale();
    const LanguageOption asked = takeLanguage(argc, argv);
    messages = kvelmor::messageLanguage(asked.language);
    if (asked.error != TextKey::None) return refuse(text(asked.error).arg(asked.shown));
    const bool explore = takeExplore(argc, argv);

    const std::string platform = platformName(argc, argv);
    const bool x11 = platform.empty() || platform == "xcb";
    const bool noDisplay = x11 && !hasArgument(argc, argv, "-display") && !isSet("DISPLAY") &&
                           !(platform.empty() && isSet("WAYLAND_DISPLAY"));
    bool helpOrVersion = false;
    for (int i = 1; i < argc; ++i) helpOrVersion = helpOrVersion || isHelpOrVersion(argv[i]);
    if (helpOrVersion || noDisplay) {
        // An unknown argument is named first, whatever else was asked.
        if (const QString unknown = unknownArgumentWithoutDisplay(argc, argv, x11);
            !unknown.isEmpty()) {
            return refuse(text(TextKey::UnknownArgument).arg(unknown));
        }
        if (helpOrVersion) return answerHelpOrVersion(argc, argv);
        kvelmor::writeText(STDERR_FILENO,
                           QStringLiteral("kvelmor: ") +
                               text(TextKey::NoDisplay).arg(text(TextKey::HowToRunWithoutDisplay)) +
                               QLatin1Char('\n'));
        return 1;
    }

    QList<std::pair<QtMsgType, QString>> held;
    heldMessages = &held;
    qtHandler = qInstallMessageHandler(startupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    // The toolkit has taken its own options (-platform, -display, -style...) out of argv; any
    // argument left is unknown, and its message alone is said.
    if (argc > 1) return refuse(text(TextKey::UnknownArgument).arg(kvelmor::shownBytes(argv[1])));
    for (const auto& [type, message] : held) qtHandler(type, QMessageLogContext(), message);

    QApplication::setApplicationName(QStringLiteral("Kvelmor"));
    // Installed, the desktop finds the icon and the menu entry under the program's id.
    QApplication::setDesktopFileName(QStringLiteral("org.example.kvelmor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.example.kvelmor")));
    kvelmor::FrmKvelmor window(nullptr, 0, asked.language.value_or(kvelmor::kDefaultLanguage));
    window.show();
    auto* explorer = new kvelmor::ExplorerLink(window);  // the window owns it
    if (explore) explorer->open();
    return QApplication::exec();
}
