#include "e2e_kvelmor.h"

#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <cstring>

QString xdotool(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

KvelmorProcess::KvelmorProcess(const QStringList& environment)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const QString& assignment : environment) {
        const auto parts = assignment.split(QLatin1Char('='));
        env.insert(parts[0], parts.mid(1).join(QLatin1Char('=')));
        if (parts[0] == QLatin1String("QT_SCALE_FACTOR")) scale_ = parts[1].toDouble();
    }
    process_.setProcessEnvironment(env);
    process_.start(QStringLiteral(KVELMOR_BINARY), {});
    if (!process_.waitForStarted(10000)) return;

    const QString pid = QString::number(process_.processId());
    QElapsedTimer waited;
    waited.start();
    while (window_.isEmpty() && waited.elapsed() < 15000) {
        const QStringList found =
            xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--pid"), pid, QStringLiteral("--name"),
                     QStringLiteral("^Kvelmor - ")})
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (!found.isEmpty())
            window_ = found.first();
        else
            QThread::msleep(50);
    }
    if (hasWindow()) settledScreenshot();  // the first paint is on the screen
}

KvelmorProcess::~KvelmorProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QRect KvelmorProcess::geometry() const
{
    int x = 0, y = 0, w = 0, h = 0;
    const QString shell =
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window_});
    for (const QString& line : shell.split(QLatin1Char('\n'))) {
        const auto kv = line.split(QLatin1Char('='));
        if (kv.size() != 2) continue;
        if (kv[0] == QLatin1String("X")) x = kv[1].toInt();
        if (kv[0] == QLatin1String("Y")) y = kv[1].toInt();
        if (kv[0] == QLatin1String("WIDTH")) w = kv[1].toInt();
        if (kv[0] == QLatin1String("HEIGHT")) h = kv[1].toInt();
    }
    return {x, y, w, h};
}

void KvelmorProcess::click(int x, int y)
{
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window_,
             QString::number(int(x * scale_)), QString::number(int(y * scale_)),
             QStringLiteral("click"), QStringLiteral("1")});
}

void KvelmorProcess::drag(QPoint from, QPoint to)
{
    auto move = [this](QPoint p) {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window_,
                 QString::number(int(p.x() * scale_)), QString::number(int(p.y() * scale_))});
    };
    move(from);
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int i = 1; i <= 5; ++i) move(from + (to - from) * i / 5);
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
}

void KvelmorProcess::key(const char* keys)
{
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window_});
    xdotool(QStringList{QStringLiteral("key")} +
            QString::fromLatin1(keys).split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

void KvelmorProcess::unmapAndMap()
{
    xdotool({QStringLiteral("windowunmap"), QStringLiteral("--sync"), window_});
    QThread::msleep(200);
    xdotool({QStringLiteral("windowmap"), QStringLiteral("--sync"), window_});
}

QImage KvelmorProcess::screenshot() const
{
    const QRect g = geometry();
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, g.x(), g.y(), g.width(), g.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage KvelmorProcess::settledScreenshot()
{
    QImage previous = screenshot();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 30000) {
        QTest::qWait(250);
        QImage now = screenshot();
        if (now == previous) return now;
        previous = now;
    }
    return previous;
}

void KvelmorProcess::closeFromDesktop()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11->connection();
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : 0;
        free(reply);
        return a;
    };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window_.toUInt();
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

bool KvelmorProcess::waitForExit(int milliseconds)
{
    return process_.waitForFinished(milliseconds);
}

QString KvelmorProcess::errorOutput()
{
    return QString::fromUtf8(process_.readAllStandardError());
}
