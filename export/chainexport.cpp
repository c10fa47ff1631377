#include "export/chainexport.h"

#include <cerrno>

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
    const std::string svg = chainSvg(explorer, languages.plot, languages.window);
    const std::vector<OutputFile> files{
        {base + QStringLiteral(".csv"), QByteArray::fromStdString(chainCsv(explorer.chain()))},
        {base + QStringLiteral(".svg"), QByteArray::fromStdString(svg)},
        {base + QStringLiteral(".png"),
         pngBytes(svgPicture(svg, QSize(kChainPictureWidth, kChainPictureHeight), scale))},
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
