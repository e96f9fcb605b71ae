// Win32: owners for the handles of the tray program and its dialogs. Each closes its handle with
// the matching function; copies are forbidden, moves hand the handle on.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits> class UniqueWinHandle {
public:
    using Handle = typename Traits::Handle;

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
    explicit operator bool() const { return Traits::IsValid(m_handle); }
    Handle release() { return std::exchange(m_handle, Traits::Invalid()); }
    // Closes the held handle; true when there was none or closing succeeded. On failure the
    // handle is kept, so the caller still holds what it could not close.
    bool reset(Handle handle = Traits::Invalid()) {
        if (Traits::IsValid(m_handle) && !Traits::Close(m_handle))
            return false;
        m_handle = handle;
        return true;
    }

private:
    Handle m_handle = Traits::Invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::CloseHandle(h) != FALSE; }
};

struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::DestroyIcon(h) != FALSE; }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::DestroyMenu(h) != FALSE; }
};

struct BrushTraits {
    using Handle = HBRUSH;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::DeleteObject(h) != FALSE; }
};

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::RegCloseKey(h) == ERROR_SUCCESS; }
};

using UniqueHandle = UniqueWinHandle<KernelHandleTraits>;
using IconHandle = UniqueWinHandle<IconTraits>;
using MenuHandle = UniqueWinHandle<MenuTraits>;
using BrushHandle = UniqueWinHandle<BrushTraits>;
using RegKey = UniqueWinHandle<RegKeyTraits>;
