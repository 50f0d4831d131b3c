#include "program/qt/QuietConsole.h"

#include <QtGlobal>
#include <QString>
#include <cstdio>

namespace quorvane {
namespace {

QtMessageHandler g_previous = nullptr;
bool g_soundTold = false;

// Messages that only say the desktop session lacks something Quorvane copes
// without: the runtime folder, a sound server, a window system feature of
// the off-screen platform.
bool IsChatter(const QString& text) {
    return text.startsWith("QStandardPaths: XDG_RUNTIME_DIR not set") ||
           text.startsWith("This plugin does not support");
}

bool SaysNoSoundServer(const QMessageLogContext& context, const QString& text) {
    return text.contains("pa_context_connect() failed") ||
           (context.category && QString(context.category).startsWith("qt.multimedia") &&
            text.contains("pulse", Qt::CaseInsensitive));
}

void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) {
        if (IsChatter(text)) return;
        if (SaysNoSoundServer(context, text)) {
            if (!g_soundTold) {
                g_soundTold = true;
                std::fputs("Quorvane: no sound server is running, so hits cannot be recorded; "
                           "everything else works as usual.\n",
                           stderr);
            }
            return;
        }
    }
    if (g_previous) g_previous(type, context, text);
}

}  // namespace

void InstallQuietConsole() { g_previous = qInstallMessageHandler(Handle); }

}  // namespace quorvane
