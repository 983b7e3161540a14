#include "tests/e2e/XKeyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

struct XKeyboard::Connection
{
    Display* display = XOpenDisplay(nullptr);
    ~Connection()
    {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }
};

XKeyboard::XKeyboard()
    : m_x(std::make_unique<Connection>())
{
}

XKeyboard::~XKeyboard() = default;

bool XKeyboard::connected() const
{
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    return m_x->display != nullptr
        && XTestQueryExtension(m_x->display, &event, &error, &major, &minor);
}

unsigned XKeyboard::keycodeOf(KeySymbol symbol)
{
    return XKeysymToKeycode(m_x->display, symbol);
}

void XKeyboard::tapKeycode(unsigned keycode, bool shift)
{
    Display* display = m_x->display;
    const unsigned shiftKey = XKeysymToKeycode(display, XK_Shift_L);
    if (shift) {
        XTestFakeKeyEvent(display, shiftKey, True, CurrentTime);
    }
    XTestFakeKeyEvent(display, keycode, True, CurrentTime);
    XTestFakeKeyEvent(display, keycode, False, CurrentTime);
    if (shift) {
        XTestFakeKeyEvent(display, shiftKey, False, CurrentTime);
    }
    // Once the server has the events, anything the test asks of the game comes after them.
    XSync(display, False);
}

namespace {

// Whether the symbol is on the shifted level of its key in the keyboard's current group.
bool needsShift(Display* display, unsigned keycode, KeySymbol symbol)
{
    XkbStateRec state {};
    XkbGetState(display, XkbUseCoreKbd, &state);
    return XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), state.group, 0) != symbol
        && XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), state.group, 1) == symbol;
}

} // namespace

bool XKeyboard::tap(KeySymbol symbol)
{
    const unsigned keycode = keycodeOf(symbol);
    if (keycode == 0) {
        return false;
    }
    tapKeycode(keycode, needsShift(m_x->display, keycode, symbol));
    return true;
}

bool XKeyboard::chord(KeySymbol modifier, KeySymbol symbol)
{
    const unsigned held = keycodeOf(modifier);
    const unsigned keycode = keycodeOf(symbol);
    if (held == 0 || keycode == 0) {
        return false;
    }
    Display* display = m_x->display;
    XTestFakeKeyEvent(display, held, True, CurrentTime);
    XTestFakeKeyEvent(display, keycode, True, CurrentTime);
    XTestFakeKeyEvent(display, keycode, False, CurrentTime);
    XTestFakeKeyEvent(display, held, False, CurrentTime);
    XSync(display, False);
    return true;
}

bool XKeyboard::type(const QString& text)
{
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        // Printable Latin-1 characters are their own X key symbols.
        const bool latin1 = (code >= 0x20 && code < 0x7f) || (code >= 0xa0 && code <= 0xff);
        if (!latin1 || !tap(code)) {
            return false;
        }
    }
    return true;
}

bool XKeyboard::press(KeySymbol symbol)
{
    const unsigned keycode = keycodeOf(symbol);
    if (keycode == 0) {
        return false;
    }
    XTestFakeKeyEvent(m_x->display, keycode, True, CurrentTime);
    XSync(m_x->display, False);
    return true;
}

bool XKeyboard::release(KeySymbol symbol)
{
    const unsigned keycode = keycodeOf(symbol);
    if (keycode == 0) {
        return false;
    }
    XTestFakeKeyEvent(m_x->display, keycode, False, CurrentTime);
    XSync(m_x->display, False);
    return true;
}

bool XKeyboard::numLockOn()
{
    XkbStateRec state {};
    XkbGetState(m_x->display, XkbUseCoreKbd, &state);
    return (state.locked_mods & XkbKeysymToModifiers(m_x->display, XK_Num_Lock)) != 0;
}

void XKeyboard::setNumLock(bool on)
{
    if (numLockOn() != on) {
        tap(XK_Num_Lock);
    }
}

void XKeyboard::reloadKeymap()
{
    m_x = std::make_unique<Connection>();
}
