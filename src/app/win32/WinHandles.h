// Win32: owners for the handles of the tray program and its dialogs. Each closes its handle with
// the matching function; copies are forbidden, moves hand the handle on.
#pragma once

#include <windows.h>

#include <utility>

// Close answers whether the handle was closed.
template <typename Handle, bool (*Close)(Handle)> class UniqueWinHandle {
public:
    UniqueWinHandle() = default;
    explicit UniqueWinHandle(Handle handle) : m_handle(handle) {}
    ~UniqueWinHandle() { reset(); }
    UniqueWinHandle(const UniqueWinHandle&) = delete;
    UniqueWinHandle& operator=(const UniqueWinHandle&) = delete;
    UniqueWinHandle(UniqueWinHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueWinHandle& operator=(UniqueWinHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    Handle release() { return std::exchange(m_handle, nullptr); }
    // Closes the held handle; true when there was none or closing succeeded. On failure the
    // handle is kept, so the caller still holds what it could not close.
    bool reset(Handle handle = nullptr) {
        if (m_handle != nullptr && !Close(m_handle))
            return false;
        m_handle = handle;
        return true;
    }

private:
    Handle m_handle = nullptr;
};

namespace win_handles {

inline bool CloseKernelObject(HANDLE handle) {
    return ::CloseHandle(handle) != FALSE;
}
inline bool CloseIcon(HICON icon) {
    return ::DestroyIcon(icon) != FALSE;
}
inline bool CloseMenu(HMENU menu) {
    return ::DestroyMenu(menu) != FALSE;
}
inline bool CloseBrush(HBRUSH brush) {
    return ::DeleteObject(brush) != FALSE;
}
inline bool CloseRegKey(HKEY key) {
    return ::RegCloseKey(key) == ERROR_SUCCESS;
}

} // namespace win_handles

using UniqueHandle = UniqueWinHandle<HANDLE, win_handles::CloseKernelObject>;
using IconHandle = UniqueWinHandle<HICON, win_handles::CloseIcon>;
using MenuHandle = UniqueWinHandle<HMENU, win_handles::CloseMenu>;
using BrushHandle = UniqueWinHandle<HBRUSH, win_handles::CloseBrush>;
using RegKey = UniqueWinHandle<HKEY, win_handles::CloseRegKey>;
