#pragma once

#include <utility>

// A hook is a std::function that a part built later fills; until then it is empty and calling it
// does nothing.
template <typename Hook, typename... Args> void callHook(const Hook& hook, Args&&... args) {
    if (hook)
        hook(std::forward<Args>(args)...);
}
