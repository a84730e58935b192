// Movable, non-copyable owners for the handles this program creates.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

template <typename Handle, typename Traits>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~OwnedHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::valid(handle_); }
    Handle release() { return std::exchange(handle_, Traits::empty()); }
    void reset(Handle handle = Traits::empty()) {
        if (Traits::valid(handle_)) Traits::close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::empty();
};

template <typename Gdi>
struct GdiTraits {
    static Gdi empty() { return nullptr; }
    static bool valid(Gdi h) { return h != nullptr; }
    static void close(Gdi h) { DeleteObject(h); }
};

struct FileTraits {
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};

struct MappingTraits {
    static HANDLE empty() { return nullptr; }
    static bool valid(HANDLE h) { return h != nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};

struct ViewTraits {
    static const void* empty() { return nullptr; }
    static bool valid(const void* v) { return v != nullptr; }
    static void close(const void* v) { UnmapViewOfFile(v); }
};

struct ModuleTraits {
    static HMODULE empty() { return nullptr; }
    static bool valid(HMODULE h) { return h != nullptr; }
    static void close(HMODULE h) { FreeLibrary(h); }
};

struct DcTraits {
    static HDC empty() { return nullptr; }
    static bool valid(HDC h) { return h != nullptr; }
    static void close(HDC h) { DeleteDC(h); }
};

struct WindowTraits {
    static HWND empty() { return nullptr; }
    static bool valid(HWND window) { return window != nullptr; }
    static void close(HWND window) { DestroyWindow(window); }
};

struct IconTraits {
    static HICON empty() { return nullptr; }
    static bool valid(HICON h) { return h != nullptr; }
    static void close(HICON h) { DestroyIcon(h); }
};

template <typename Interface>
struct InterfaceTraits {
    static Interface* empty() { return nullptr; }
    static bool valid(Interface* pointer) { return pointer != nullptr; }
    static void close(Interface* pointer) { pointer->Release(); }
};

using OwnedBrush = OwnedHandle<HBRUSH, GdiTraits<HBRUSH>>;
using OwnedFont = OwnedHandle<HFONT, GdiTraits<HFONT>>;
using OwnedBitmap = OwnedHandle<HBITMAP, GdiTraits<HBITMAP>>;
using OwnedFile = OwnedHandle<HANDLE, FileTraits>;
using OwnedMapping = OwnedHandle<HANDLE, MappingTraits>;
using OwnedThread = OwnedHandle<HANDLE, MappingTraits>;  // null when absent, as a mapping
using OwnedView = OwnedHandle<const void*, ViewTraits>;
using OwnedModule = OwnedHandle<HMODULE, ModuleTraits>;
using OwnedMemoryDc = OwnedHandle<HDC, DcTraits>;
using OwnedIcon = OwnedHandle<HICON, IconTraits>;
using OwnedWindow = OwnedHandle<HWND, WindowTraits>;  // a window no parent destroys
// A COM interface pointer: one reference, released with its owner.
template <typename Interface>
using OwnedInterface = OwnedHandle<Interface*, InterfaceTraits<Interface>>;

// Puts back what SelectObject replaced when the scope ends.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The screen's device context, released when the scope ends.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() { if (dc_) ReleaseDC(nullptr, dc_); }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Balances one CoInitialize. A thread already in the multithreaded apartment
// refuses it (RPC_E_CHANGED_MODE); then there is nothing to undo, and undoing
// anyway would end that thread's own initialisation.
class ComInitialisation {
public:
    ComInitialisation() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ComInitialisation(const ComInitialisation&) = delete;
    ComInitialisation& operator=(const ComInitialisation&) = delete;
    ~ComInitialisation() {
        if (initialised_) CoUninitialize();
    }

private:
    bool initialised_;
};
