// kvelmor-export: the Kvelmor experiment without a window, written out as pictures and numbers.
#include <unistd.h>

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "export/exporter.h"
#include "export/exportoptions.h"
#include "export/outputfiles.h"

namespace {

// The toolkit's warnings (about the session's runtime directory, say) mean nothing to someone
// exporting pictures; only its critical messages get through to stderr.
void toolkitMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "kvelmor-export: %s\n", message.toUtf8().constData());
    }
}

void say(std::FILE* stream, const QString& text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

// Output that could not be written (a full disk, a closed pipe) is a failure too: flushes both
// streams and turns a successful `status` into 1 when either lost something.
int finish(int status, bool czech)
{
    const bool outLost = std::fflush(stdout) != 0 || std::ferror(stdout);
    const int outError = errno;
    if (outLost) {
        say(stderr,
            (czech ? QStringLiteral("kvelmor-export: nelze zapsat na standardní výstup: %1\n")
                   : QStringLiteral("kvelmor-export: cannot write to standard output: %1\n"))
                .arg(kvelmor::systemReason(outError, czech)));
    }
    const bool errLost = std::fflush(stderr) != 0 || std::ferror(stderr);
    return status == 0 && (outLost || errLost) ? 1 : status;
}

}  // namespace

int main(int argc, char* argv[])
{
    std::setlocale(LC_ALL, "");
    // The language of the system's reasons follows the locale alone, as the export's own texts do.
    ::unsetenv("LANGUAGE");
    const bool czech = kvelmor::prefersCzech();

    // Only the export's own options count; the toolkit sees none of them (no -platform, no
    // -display), and it never needs a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(toolkitMessage);
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    QApplication app(toolkitArgc, toolkitArgv);
    QApplication::setApplicationName(QStringLiteral("kvelmor-export"));
    QApplication::setApplicationVersion(QStringLiteral(KVELMOR_VERSION));

    using Action = kvelmor::ParsedCommandLine::Action;
    const auto parsed = kvelmor::parseCommandLine(arguments, czech);
    switch (parsed.action) {
    case Action::Help:
        say(stdout, kvelmor::helpText(czech));
        return finish(0, czech);
    case Action::Version:
        std::printf("kvelmor-export %s\n", KVELMOR_VERSION);
        return finish(0, czech);
    case Action::Error:
        say(stderr,
            QStringLiteral("kvelmor-export: %1\n%2\n")
                .arg(parsed.error,
                     czech ? QStringLiteral("Více řekne 'kvelmor-export --help'.")
                           : QStringLiteral("Try 'kvelmor-export --help' for more information.")));
        return finish(2, czech);
    case Action::Export:
        break;
    }

    const auto& options = parsed.options;
    if (const QString error = kvelmor::makeFolder(options.outDir, czech); !error.isEmpty()) {
        say(stderr, QStringLiteral("kvelmor-export: ") + error + QLatin1Char('\n'));
        return finish(1, czech);
    }
    const int total = int(options.settings.size());
    const bool progress = total > 1 && isatty(STDERR_FILENO);
    kvelmor::Exporter exporter(options.settings, options.outDir, options.scale, czech);
    const QString error = exporter.run([&](int n) {
        if (!progress) return;
        say(stderr, QStringLiteral("\r[%1/%2] ").arg(n + 1, 2).arg(total) + options.outDir +
                        QLatin1Char('/') + kvelmor::exportBaseName(options.settings[n]));
        std::fflush(stderr);
    });
    if (progress) std::fputc('\n', stderr);
    if (!error.isEmpty()) {
        say(stderr, QStringLiteral("kvelmor-export: ") + error + QLatin1Char('\n'));
        return finish(1, czech);
    }
    return finish(0, czech);
}
