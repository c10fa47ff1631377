// kvelmor-export: the Kvelmor experiment without a window, written out as pictures and numbers.
#include <sys/mman.h>
#include <unistd.h>

#include <QApplication>
#include <QFontInfo>
#include <cerrno>
#include <cstdlib>
#include <new>

#include "app/controls.h"
#include "app/terminal.h"
#include "export/chainexport.h"
#include "export/exporter.h"
#include "export/exportoptions.h"
#include "export/hiddenfiles.h"
#include "export/interruptions.h"
#include "export/outputfiles.h"

using kvelmor::Language;
using kvelmor::TextKey;

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
int finish(int status, Language messages)
{
    kvelmor::stopHoldingInterruptions();
    if (outLost) {
        complain(kvelmor::qtext(TextKey::CannotWriteOutput, messages)
                     .arg(kvelmor::systemReason(outLost, messages)));
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

int exportSettings(const kvelmor::ExportOptions& options, kvelmor::ExportLanguages languages)
{
    if (const QString error = kvelmor::makeFolder(options.outDir, languages.messages);
        !error.isEmpty()) {
        complain(error);
        return 1;
    }
    kvelmor::removeLeftovers(options.outDir);
    if (options.chain) {
        const QString error = kvelmor::exportChain(options.settings.front(), *options.chain,
                                                   options.outDir, options.scale, languages);
        if (!error.isEmpty()) complain(error);
        return error.isEmpty() ? 0 : 1;
    }
    const int total = int(options.settings.size());
    const bool progress = total > 1 && isatty(STDERR_FILENO);
    kvelmor::Exporter exporter(options.settings, options.outDir, options.scale, languages);
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

// The languages of the export: --lang for everything when given, the messages only where the
// terminal can show them. Without it the picture is Czech, as the window is, and the plot, a
// UTF-8 file, follows the language the locale variables name, installed or not.
kvelmor::ExportLanguages languagesFor(std::optional<Language> asked)
{
    const Language plot = kvelmor::localeNamesCzech() ? Language::Czech : Language::English;
    return {asked.value_or(kvelmor::kDefaultLanguage), asked.value_or(plot),
            kvelmor::messageLanguage(asked)};
}

}  // namespace

int main(int argc, char* argv[])
{
    kvelmor::keepStandardDescriptors();
    kvelmor::holdInterruptions();
    kvelmor::useTheUsersLocale();

    // Only the export's own options count; the toolkit sees none of them (no -platform, no
    // -display), and it never needs a display.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i) arguments << QByteArray(argv[i]);
    using Action = kvelmor::ParsedCommandLine::Action;
    const auto parsed = kvelmor::parseCommandLine(arguments);
    const kvelmor::ExportLanguages languages = languagesFor(parsed.options.language);
    const Language messages = languages.messages;
    switch (parsed.action) {
    case Action::Help:
        say(STDOUT_FILENO, kvelmor::qtext(TextKey::ExportHelp, messages));
        return finish(0, messages);
    case Action::Version:
        say(STDOUT_FILENO, QStringLiteral("kvelmor-export " KVELMOR_VERSION "\n"));
        return finish(0, messages);
    case Action::Error:
        complain(parsed.errorText(messages) + QLatin1Char('\n') +
                 kvelmor::qtext(TextKey::TryHelp, messages).arg(QStringLiteral("kvelmor-export")));
        return finish(2, messages);
    case Action::Export:
        break;
    }

    if (!hasRoomFor(parsed.options)) {
        complain(kvelmor::qtext(TextKey::NoMemoryForExport, messages)
                     .arg(kvelmor::systemReason(ENOMEM, messages)));
        return finish(1, messages);
    }
    try {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(toolkitMessage);
        int toolkitArgc = 1;
        char* toolkitArgv[] = {argv[0], nullptr};
        QApplication app(toolkitArgc, toolkitArgv);
        if (!hasFonts()) {
            complain(kvelmor::qtext(TextKey::NoFonts, messages));
            return finish(1, messages);
        }
        return finish(exportSettings(parsed.options, languages), messages);
    } catch (const std::bad_alloc&) {
        complain(kvelmor::systemReason(ENOMEM, messages));
    } catch (const std::system_error& error) {
        complain(kvelmor::systemReason(error.code().value(), messages));
    }
    return finish(1, messages);
}
