#include "platform/win/shell/DisplayQt.h"

#include <QByteArray>
#include <QMessageLogger>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
const char* g_program = "";

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::vector<HeldMessage>* g_pHeld = nullptr;

// Qt reports a display that does not answer as a warning, then a list of its plugins, then
// aborts; the user gets our one line and status 1 instead.
void HoldWhileOpening(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr,
                     "%s: cannot open a window: the display in DISPLAY or WAYLAND_DISPLAY does "
                     "not answer\n",
                     g_program);
        std::_Exit(1);
    }
    g_pHeld->push_back({type, QByteArray(context.category), text});
}

void Replay(const HeldMessage& m) {
    QMessageLogger logger(nullptr, 0, nullptr, m.category.constData());
    switch (m.type) {
    case QtDebugMsg:
        logger.debug().noquote() << m.text;
        break;
    case QtInfoMsg:
        logger.info().noquote() << m.text;
        break;
    default:
        logger.warning().noquote() << m.text;
        break;
    }
}
} // namespace

std::unique_ptr<QApplication> AfxOpenDisplay(int& argc, char** argv) {
    // QT_QPA_PLATFORM names a display of Qt's own choosing (the tests draw offscreen).
    if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY") && !IsSet("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "%s: cannot open a window: no display (set DISPLAY or WAYLAND_DISPLAY)\n",
                     argv[0]);
        return nullptr;
    }
    std::vector<HeldMessage> held;
    g_pHeld = &held;
    g_program = argv[0];
    QtMessageHandler previous = qInstallMessageHandler(HoldWhileOpening);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    g_pHeld = nullptr;
    for (const HeldMessage& m : held)
        Replay(m);
    return app;
}
