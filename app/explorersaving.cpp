#include "app/explorersaving.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>

#include "app/chainimage.h"
#include "app/controls.h"
#include "app/svgpicture.h"
#include "explore/chainfiles.h"

namespace kvelmor {

namespace {

QByteArray fileBytes(Explorer& explorer, bool picture, const QString& path, Language language)
{
    if (!picture) return QByteArray::fromStdString(chainCsv(explorer.chain()));
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return QByteArray::fromStdString(chainSvg(explorer, language));
    return pngBytes(chainImage(explorer, language, 1));
}

}  // namespace

QString saveChain(QWidget* parent, Explorer& explorer, bool picture, Language language)
{
    const QString base = QString::fromStdString(
        chainFileBase(explorer.setting(), explorer.step(), explorer.paths()));
    QFileDialog dialog(
        parent,
        qtext(picture ? TextKey::ExploreSavePicture : TextKey::ExploreSaveNumbers, language));
    dialog.setObjectName(QStringLiteral("dlgUložit"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(
        qtext(picture ? TextKey::ExplorePictureFiles : TextKey::ExploreNumberFiles, language)
            .split(QStringLiteral(";;")));
    // The suffix follows the kind chosen: a name typed without one gets it.
    const auto suffixOf = [](const QString& filter) {
        return filter.section(QStringLiteral("*."), 1).section(QLatin1Char(')'), 0, 0);
    };
    dialog.setDefaultSuffix(suffixOf(dialog.nameFilters().front()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    dialog.setDirectory(QDir::home());
    dialog.selectFile(base + (picture ? QStringLiteral(".svg") : QStringLiteral(".csv")));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};

    const QString path = dialog.selectedFiles().front();
    QSaveFile file(path);
    const QByteArray bytes = fileBytes(explorer, picture, path, language);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
        return qtext(TextKey::CannotWrite, language).arg(path, file.errorString());
    }
    return qtext(TextKey::ExploreSaved, language).arg(QFileInfo(path).fileName());
}

}  // namespace kvelmor
