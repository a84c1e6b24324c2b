#pragma once

#include <optional>

// The states of the Caps Lock, Num Lock and Scroll Lock keys, as the keyboard's indicator lights
// show them. Unknown (nullopt) where the system does not tell.
struct LockKeyStates {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

namespace LockKeys {

// Reads the keyboard indicator lights the kernel exposes (/sys/class/leds/*::capslock and so on).
// Gives nullopt when no keyboard indicator is visible, for example in a virtual machine or a
// container.
std::optional<LockKeyStates> read();

} // namespace LockKeys
