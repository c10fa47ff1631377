// kvelmor-export: the Kvelmor experiment without a window, written out as pictures and numbers.
#include <sys/mman.h>
#include <unistd.h>

#include <QApplication>
#include <QFontInfo>
#include <cerrno>
#include <cstdlib>
#include <new>

#include "app/terminal.h"
#include "export/exporter.h"
#include "export/exportoptions.h"
#include "export/outputfiles.h"

namespace {

// The toolkit's messages (about the session's runtime directory, say) mean nothing to someone
// exporting pictures and would be in English whatever the locale: only a fatal one, which ends
// the program, gets through.
void toolkitMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) kvelmor::writeText(STDERR_FILENO, "kvelmor-export: " + message + '\n');
}

// The first write to standard output or standard error that failed, as an errno value.
int outLost = 0, errLost = 0;

void say(int fd, const QString& text)
{
    const int error = kvelmor::writeText(fd, text);
    int& lost = fd == STDOUT_FILENO ? outLost : errLost;
    if (error && !lost) lost = error;
}

void complain(const QString& message)
{
    say(STDERR_FILENO, QStringLiteral("kvelmor-export: ") + message + QLatin1Char('\n'));
}

// Output that could not be written (a full disk, a closed descriptor) is a failure too: a
// successful `status` becomes 1 when anything was lost.
int finish(int status, bool czech)
{
    kvelmor::stopHoldingInterruptions();
    if (outLost) {
        complain((czech ? QStringLiteral("nelze zapsat na standardní výstup: %1")
                        : QStringLiteral("cannot write to standard output: %1"))
                     .arg(kvelmor::systemReason(outLost, czech)));
    }
    return status == 0 && (outLost || errLost) ? 1 : status;
}

// Without any font the pictures' labels would be empty boxes. With none installed, fontconfig
// still names its generic families, but a font asked for resolves to no family at all.
bool hasFonts()
{
    for (const char* family : {"Arial", "Times New Roman"}) {
        if (QFontInfo(QFont(QString::fromLatin1(family))).family().isEmpty()) return false;
    }
    return true;
}

// Whether the address space left (under `ulimit -v`, say) holds an export of `options`. The
// toolkit ends the program when its platform plugin cannot be loaded, and the font library
// (fontconfig) crashes when an allocation fails halfway, so the room is checked before either
// starts: the program's growth from here to the end of the export, measured at each scale (one
// setting; several, two of them in flight), with a quarter and 24 MB to spare.
bool hasRoomFor(const kvelmor::ExportOptions& options)
{
    const bool several = options.settings.size() > 1;
    const std::size_t grows = options.scale == 4   ? (several ? 190 : 120)
                              : options.scale == 2 ? (several ? 83 : 55)
                                                   : (several ? 69 : 50);  // MB
    const std::size_t bytes = (grows + grows / 4 + 24) << 20;
    void* room =
        ::mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (room == MAP_FAILED) return false;
    ::munmap(room, bytes);
    return true;
}

int exportSettings(const kvelmor::ExportOptions& options, bool czech)
{
    if (const QString error = kvelmor::makeFolder(options.outDir, czech); !error.isEmpty()) {
        complain(error);
        return 1;
    }
    const kvelmor::FolderClaim claim(options.outDir);
    const int total = int(options.settings.size());
    const bool progress = total > 1 && isatty(STDERR_FILENO);
    kvelmor::Exporter exporter(options.settings, options.outDir, options.scale, czech);
    const QString error = exporter.run([&](int n) {
        if (!progress) return;
        say(STDERR_FILENO, QStringLiteral("\r[%1/%2] ").arg(n + 1, 2).arg(total) +
                               kvelmor::shownBytes(options.outDir) + QLatin1Char('/') +
                               kvelmor::exportBaseName(options.settings[n]));
    });
    if (progress) say(STDERR_FILENO, QStringLiteral("\n"));
    if (!error.isEmpty()) {
        complain(error);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    kvelmor::keepStandardDescriptors();
    kvelmor::holdInterruptions();
    kvelmor::useTheUsersLocale();
    const bool czech = kvelmor::prefersCzech();

    // Only the export's own options count; the toolkit sees none of them (no -platform, no
    // -display), and it never needs a display.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i) arguments << QByteArray(argv[i]);
    using Action = kvelmor::ParsedCommandLine::Action;
    const auto parsed = kvelmor::parseCommandLine(arguments, czech);
    switch (parsed.action) {
    case Action::Help:
        say(STDOUT_FILENO, kvelmor::helpText(czech));
        return finish(0, czech);
    case Action::Version:
        say(STDOUT_FILENO, QStringLiteral("kvelmor-export " KVELMOR_VERSION "\n"));
        return finish(0, czech);
    case Action::Error:
        say(STDERR_FILENO,
            QStringLiteral("kvelmor-export: %1\n%2\n")
                .arg(parsed.error,
                     czech ? QStringLiteral("Více řekne 'kvelmor-export --help'.")
                           : QStringLiteral("Try 'kvelmor-export --help' for more information.")));
        return finish(2, czech);
    case Action::Export:
        break;
    }

    if (!hasRoomFor(parsed.options)) {
        complain((czech ? QStringLiteral("pro tento export nestačí paměť: %1")
                        : QStringLiteral("not enough memory for this export: %1"))
                     .arg(kvelmor::systemReason(ENOMEM, czech)));
        return finish(1, czech);
    }
    try {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(toolkitMessage);
        int toolkitArgc = 1;
        char* toolkitArgv[] = {argv[0], nullptr};
        QApplication app(toolkitArgc, toolkitArgv);
        if (!hasFonts()) {
            complain(czech ? QStringLiteral("nenalezeno žádné písmo; nainstalujte balíček "
                                            "fonts-liberation2")
                           : QStringLiteral("no fonts found; install the package "
                                            "fonts-liberation2"));
            return finish(1, czech);
        }
        return finish(exportSettings(parsed.options, czech), czech);
    } catch (const std::bad_alloc&) {
        complain(kvelmor::systemReason(ENOMEM, czech));
    } catch (const std::system_error& error) {
        complain(kvelmor::systemReason(error.code().value(), czech));
    }
    return finish(1, czech);
}
