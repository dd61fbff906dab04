#include "bench/x11/XTestInput.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

constexpr unsigned kLeftButton = 1;

Display* Of(void* display) {
    return static_cast<Display*>(display);
}

}  // namespace

XTestInput::XTestInput() : m_display(XOpenDisplay(nullptr)) {}

XTestInput::~XTestInput() {
    if (m_display != nullptr) {
        XCloseDisplay(Of(m_display));
    }
}

void XTestInput::MoveTo(int x, int y) {
    XTestFakeMotionEvent(Of(m_display), -1, x, y, CurrentTime);
    XFlush(Of(m_display));
}

void XTestInput::LeftButton(bool down) {
    XTestFakeButtonEvent(Of(m_display), kLeftButton, down ? True : False, CurrentTime);
    XFlush(Of(m_display));
}
