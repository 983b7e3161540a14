// A keyboard on the X server: keys pressed through XTEST, as if a person pressed them, so they
// travel the whole way — server keymap, input focus, the toolkit's key translation — to the game.
#pragma once

#include <QString>
#include <memory>

using KeySymbol = unsigned long; // an X KeySym, without pulling Xlib into every test

class XKeyboard
{
public:
    /// Opens its own connection to the display in $DISPLAY.
    XKeyboard();
    ~XKeyboard();
    XKeyboard(const XKeyboard&) = delete;
    XKeyboard& operator=(const XKeyboard&) = delete;

    bool connected() const;

    /// Presses and releases the key that makes this symbol in the current layout, holding Shift
    /// when the symbol sits on the key's shifted level. False when no key makes it.
    bool tap(KeySymbol symbol);
    /// A held modifier (e.g. XK_Control_L) around a key, for shortcuts such as Ctrl+O.
    bool chord(KeySymbol modifier, KeySymbol symbol);
    /// Each character of the text through tap(); Latin-1 characters map to their own symbols.
    bool type(const QString& text);

    /// One physical key by its keycode, with or without Shift: what the finger does, whatever
    /// the layout makes of it.
    void tapKeycode(unsigned keycode, bool shift);
    /// Half a tap, for keys held down across a check (Enter held while the red X shows).
    bool press(KeySymbol symbol);
    bool release(KeySymbol symbol);

    /// The keycode the current layout gives a symbol's key (0: none).
    unsigned keycodeOf(KeySymbol symbol);

    bool numLockOn();
    /// Taps Num Lock when it is not already in the wanted state.
    void setNumLock(bool on);

    /// Forgets the cached keymap, after the layout was changed from outside (setxkbmap).
    void reloadKeymap();

private:
    struct Connection;
    std::unique_ptr<Connection> m_x;
};
