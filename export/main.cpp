// kvelmor-export: the Kvelmor experiment without a window, written out as pictures and numbers.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <cstdio>

#include "export/exporter.h"
#include "export/exportoptions.h"

// The toolkit's warnings (about the session's runtime directory, say) mean nothing to someone
// exporting pictures; only its critical messages get through to stderr.
void toolkitMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "kvelmor-export: %s\n", message.toUtf8().constData());
    }
}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");  // never a window, never a display
    qInstallMessageHandler(toolkitMessage);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvelmor-export"));
    QApplication::setApplicationVersion(QStringLiteral(KVELMOR_VERSION));

    using Action = kvelmor::ParsedCommandLine::Action;
    const bool czech = kvelmor::prefersCzech();
    const auto parsed = kvelmor::parseCommandLine(QApplication::arguments().mid(1), czech);
    switch (parsed.action) {
    case Action::Help:
        std::fputs(kvelmor::helpText(czech).toUtf8().constData(), stdout);
        return 0;
    case Action::Version:
        std::printf("kvelmor-export %s\n", KVELMOR_VERSION);
        return 0;
    case Action::Error:
        std::fprintf(stderr, "kvelmor-export: %s\n%s\n", parsed.error.toUtf8().constData(),
                     czech ? "Více řekne 'kvelmor-export --help'."
                           : "Try 'kvelmor-export --help' for more information.");
        return 2;
    case Action::Export:
        break;
    }

    const auto& options = parsed.options;
    if (!QDir().mkpath(options.outDir)) {
        std::fprintf(stderr,
                     czech ? "kvelmor-export: nelze založit adresář %s\n"
                           : "kvelmor-export: cannot create directory %s\n",
                     options.outDir.toUtf8().constData());
        return 1;
    }
    const bool progress = options.settings.size() > 1 && isatty(STDERR_FILENO);
    const int total = int(options.settings.size());
    for (int n = 0; n < total; ++n) {
        const auto& setting = options.settings[n];
        if (progress) {
            std::fprintf(stderr, "\r[%2d/%d] %s", n + 1, total,
                         qPrintable(kvelmor::exportBaseName(options.outDir, setting)));
            std::fflush(stderr);
        }
        const QString error = kvelmor::exportSetting(setting, options.outDir, options.scale, czech);
        if (!error.isEmpty()) {
            if (progress) std::fputc('\n', stderr);
            std::fprintf(stderr, "kvelmor-export: %s\n", error.toUtf8().constData());
            return 1;
        }
    }
    if (progress) std::fputc('\n', stderr);
    return 0;
}
