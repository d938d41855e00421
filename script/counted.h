#pragma once

#include <cstdint>
#include <utility>

// Values, variables, objects and loaded functions are shared by counting their holders. The
// count lives in the object (as the host's COM objects do), so a plain pointer handed to a
// host can be taken into a new holder at any time.
class CountedBase {
public:
    CountedBase() = default;
    CountedBase(const CountedBase&) = delete;
    CountedBase& operator=(const CountedBase&) = delete;

    void AddReference() noexcept { ++m_referenceCount; }

    // A release that brings the count to 0, or finds it already 0, destroys the object.
    void Release() noexcept
    {
        if (m_referenceCount <= 0 || --m_referenceCount == 0)
            delete this;
    }

    [[nodiscard]] std::int32_t ReferenceCount() const noexcept { return m_referenceCount; }

protected:
    virtual ~CountedBase() = default;

private:
    std::int32_t m_referenceCount = 0;
};

// One holder of a counted object; copying takes another reference, destruction releases.
template <class Type>
class Counted {
public:
    Counted() noexcept = default;
    Counted(std::nullptr_t) noexcept {}
    explicit Counted(Type* pointer) noexcept : m_pointer(pointer)
    {
        if (m_pointer)
            m_pointer->AddReference();
    }
    Counted(const Counted& other) noexcept : Counted(other.m_pointer) {}
    Counted(Counted&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    template <class Other>
    Counted(Counted<Other> other) noexcept : m_pointer(other.Detach()) {}
    ~Counted() { Reset(); }

    Counted& operator=(Counted other) noexcept
    {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }

    void Reset() noexcept
    {
        if (auto* pointer = std::exchange(m_pointer, nullptr))
            pointer->Release();
    }

    // Gives up the reference without releasing it; the caller now owns it.
    [[nodiscard]] Type* Detach() noexcept { return std::exchange(m_pointer, nullptr); }

    [[nodiscard]] Type* Get() const noexcept { return m_pointer; }
    Type* operator->() const noexcept { return m_pointer; }
    Type& operator*() const noexcept { return *m_pointer; }
    explicit operator bool() const noexcept { return m_pointer != nullptr; }
    bool operator==(const Counted& other) const noexcept { return m_pointer == other.m_pointer; }
    bool operator!=(const Counted& other) const noexcept { return m_pointer != other.m_pointer; }

private:
    Type* m_pointer = nullptr;
};

template <class Type, class... Arguments>
[[nodiscard]] Counted<Type> MakeCounted(Arguments&&... arguments)
{
    return Counted<Type>(new Type(std::forward<Arguments>(arguments)...));
}
