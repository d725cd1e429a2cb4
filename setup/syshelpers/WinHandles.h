// Small owners for Windows handles: each closes what it holds exactly once.
#pragma once

#include <windows.h>

#include <utility>

// A kernel handle (process, thread, event, file). Both null and
// INVALID_HANDLE_VALUE mean "none".
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : h_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept
    {
        if (this != &o) Reset(o.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
    HANDLE Release() { return std::exchange(h_, nullptr); }
    void Reset(HANDLE h = nullptr)
    {
        if (Valid()) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_ = nullptr;
};

// A directory search handle from FindFirstFileW.
class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    ~FindHandle()
    {
        if (Valid()) FindClose(h_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// An open registry key.
class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY Get() const { return h_; }
    HKEY* Receive()
    {
        Close();
        return &h_;
    }
    // The close's own result, so callers that report it can.
    LSTATUS Close()
    {
        LSTATUS r = ERROR_SUCCESS;
        if (h_) r = RegCloseKey(h_);
        h_ = nullptr;
        return r;
    }

private:
    HKEY h_ = nullptr;
};

// COM for the current thread for the lifetime of the object; only a
// successful CoInitialize is paired with CoUninitialize.
class ComApartment {
public:
    ComApartment() : hr_(CoInitialize(nullptr)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT hr_;
};

// One reference to a COM interface, released on destruction.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (p_) p_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    T* operator->() const { return p_; }
    void** ReceiveVoid()
    {
        if (p_) p_->Release();
        p_ = nullptr;
        return reinterpret_cast<void**>(&p_);
    }

private:
    T* p_ = nullptr;
};
