// Holds one reference to an interface and releases it when it goes, so that a member or a local
// can never leak a reference or release one twice.
#pragma once

#include <cstddef>
#include <utility>

#include "platform/com/unknown.h"

namespace com {

template <class T>
class ComPtr {
  public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Shares the caller's pointer: takes a reference of its own.
    explicit ComPtr(T* pointer) noexcept : m_p(pointer) { InternalAddRef(); }
    ComPtr(const ComPtr& other) noexcept : m_p(other.m_p) { InternalAddRef(); }
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other) noexcept {
        ComPtr(other).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).Swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) noexcept {
        Reset();
        return *this;
    }

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

    // Releases the held reference (if any) and becomes null. Safe to call again.
    void Reset() noexcept {
        if (T* p = std::exchange(m_p, nullptr)) {
            p->Release();
        }
    }
    // Takes over a reference the caller already owns (no AddRef).
    void Attach(T* pointer) noexcept {
        Reset();
        m_p = pointer;
    }
    // Hands the reference to the caller, who must release it.
    [[nodiscard]] T* Detach() noexcept { return std::exchange(m_p, nullptr); }

    // For out parameters: the old reference is released first, so filling a held pointer again
    // does not leak.
    T** operator&() noexcept { return ReleaseAndGetAddressOf(); }
    T** ReleaseAndGetAddressOf() noexcept {
        Reset();
        return &m_p;
    }
    void** ReleaseAndGetVoidAddressOf() noexcept {
        return reinterpret_cast<void**>(ReleaseAndGetAddressOf());
    }

    // Asks the held object for interface U; out is null unless the result is success.
    template <class U>
    HRESULT As(ComPtr<U>& out) const noexcept {
        if (!m_p) {
            out.Reset();
            return E_POINTER;
        }
        return m_p->QueryInterface(U::kIid, out.ReleaseAndGetVoidAddressOf());
    }

    void Swap(ComPtr& other) noexcept { std::swap(m_p, other.m_p); }

    friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept { return a.m_p == b.m_p; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) noexcept { return a.m_p == nullptr; }

  private:
    void InternalAddRef() const noexcept {
        if (m_p) {
            m_p->AddRef();
        }
    }

    T* m_p = nullptr;
};

}  // namespace com
