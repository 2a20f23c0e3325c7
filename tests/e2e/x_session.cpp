#include "x_session.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vantorel::testing {

bool XSession::closeWindow(const QString& windowId) const
{
    Display* x = XOpenDisplay(display_.toLatin1().constData());
    if (!x)
        return false;
    bool ok = false;
    const Window window = windowId.toULong(&ok, 16);
    if (ok) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        ok = XSendEvent(x, window, False, NoEventMask, &event) != 0;
        XFlush(x);
    }
    XCloseDisplay(x);
    return ok;
}

}  // namespace vantorel::testing
