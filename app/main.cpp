#include <QApplication>

#include "app/frmkvelmor.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kvelmor"));
    kvelmor::FrmKvelmor window;
    window.show();
    return QApplication::exec();
}
