#include <QApplication>
#include <QIcon>

#include "app/frmkvelmor.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kvelmor"));
    // Installed, the desktop finds the icon and the menu entry under the program's id.
    QApplication::setDesktopFileName(QStringLiteral("org.example.kvelmor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.example.kvelmor")));
    kvelmor::FrmKvelmor window;
    window.show();
    return QApplication::exec();
}
