#include "export/chainexport.h"

#include <cerrno>

#include "app/chainimage.h"
#include "app/controls.h"
#include "app/svgpicture.h"
#include "app/terminal.h"
#include "explore/chainfiles.h"
#include "export/outputfiles.h"

namespace kvelmor {

QString exportChain(const ExportSetting& setting, ChainChoice choice, const QByteArray& dir,
                    int scale, ExportLanguages languages)
{
    const std::optional<ExploreSetting> explored =
        exploreSettingFor(setting.frequencyText.toStdString(), setting.distance);
    const QString base = QString::fromStdString(
        explored ? chainFileBase(*explored, choice.step, choice.paths) : std::string("kvelmor"));
    if (!explored) {
        return qtext(TextKey::CannotMake, languages.messages)
            .arg(base, systemReason(EINVAL, languages.messages));
    }
    Explorer explorer(*explored);
    explorer.choose(choice.step, choice.paths);
    // One language for the whole of each file: the plot's, which the locale chooses without
    // --lang.
    const std::vector<OutputFile> files{
        {base + QStringLiteral(".csv"), QByteArray::fromStdString(chainCsv(explorer.chain()))},
        {base + QStringLiteral(".svg"),
         QByteArray::fromStdString(chainSvg(explorer, languages.plot))},
        {base + QStringLiteral(".png"), pngBytes(chainImage(explorer, languages.plot, scale))},
    };
    for (const OutputFile& file : files) {
        if (file.bytes.isEmpty()) {
            return qtext(TextKey::CannotMake, languages.messages)
                .arg(file.name, systemReason(ENOMEM, languages.messages));
        }
    }
    return writeTogether(dir, files, languages.messages);
}

}  // namespace kvelmor
