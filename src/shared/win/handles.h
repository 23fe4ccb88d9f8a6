// Owners for platform handles: each releases exactly what it owns, cannot be copied,
// and can be moved. Plain handle values elsewhere never own.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

template <typename Traits> class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }
    // For functions that return a handle through a pointer.
    Handle* receive() {
        reset();
        return &handle_;
    }
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle handle = Traits::Invalid()) {
        if (Traits::IsValid(handle_))
            Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Handle h) { FindClose(h); }
};

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};

struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DestroyIcon(h); }
};

using UniqueHandle = Owned<KernelHandleTraits>;
using UniqueFind = Owned<FindHandleTraits>;
using UniqueHKey = Owned<RegKeyTraits>;
using UniqueIcon = Owned<IconTraits>;

// A COM interface reference that is released with its owner.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void** receive() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    void reset() {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

// Initialises the component library for the current thread for as long as it lives.
class ComInit {
public:
    ComInit() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComInit() {
        if (initialised_)
            CoUninitialize();
    }
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;

private:
    bool initialised_;
};
