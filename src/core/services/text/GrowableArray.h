#pragma once

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace sedilo {

// An array of plain values that grows with realloc. A large list's texts
// and offsets grow to megabytes; realloc moves such blocks by remapping
// their pages, where a std::vector or std::string copies them into fresh
// memory at every doubling and touches every page twice.
template <class T>
class GrowableArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    GrowableArray() = default;
    ~GrowableArray() { std::free(m_data); }
    GrowableArray(GrowableArray&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
          m_capacity(std::exchange(other.m_capacity, 0))
    {
    }
    GrowableArray& operator=(GrowableArray&& other) noexcept
    {
        if (this != &other) {
            std::free(m_data);
            m_data = std::exchange(other.m_data, nullptr);
            m_size = std::exchange(other.m_size, 0);
            m_capacity = std::exchange(other.m_capacity, 0);
        }
        return *this;
    }
    GrowableArray(const GrowableArray&) = delete;
    GrowableArray& operator=(const GrowableArray&) = delete;

    std::size_t size() const { return m_size; }
    const T* data() const { return m_data; }
    const T& operator[](std::size_t index) const { return m_data[index]; }

    void push_back(const T& value) { append(&value, 1); }
    void append(const T* values, std::size_t count)
    {
        if (count == 0)
            return;
        if (m_size + count > m_capacity)
            grow(m_size + count);
        std::memcpy(m_data + m_size, values, count * sizeof(T));
        m_size += count;
    }

private:
    void grow(std::size_t needed)
    {
        std::size_t capacity = m_capacity < 16 ? 16 : m_capacity;
        while (capacity < needed)
            capacity *= 2;
        void* grown = std::realloc(m_data, capacity * sizeof(T));
        if (!grown)
            throw std::bad_alloc();
        m_data = static_cast<T*>(grown);
        m_capacity = capacity;
    }

    T* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace sedilo
