#pragma once
// The growable array of fixed-size elements that holds the placements. After
// every Select, Append, Delete, Clear, First and Next it publishes the current
// element's address into its owner's cursor variable.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

template <typename T>
class TDynaArray
{
    static_assert(std::is_trivially_copyable_v<T>, "elements are moved as bytes");

public:
    explicit TDynaArray(T **cursor)
        : Cursor(cursor)
    {
        publish();
    }
    ~TDynaArray() { std::free(Buffer); }
    TDynaArray(const TDynaArray &) = delete;
    TDynaArray &operator=(const TDynaArray &) = delete;

    std::uint32_t Count = 0;
    std::int32_t CurrentIndex = -1;
    T *Current = nullptr;
    const std::uint32_t GrowBy = 1;
    const std::int32_t ItemSize = std::int32_t(sizeof(T));

    std::int32_t capacity() const { return Capacity; }

    // No range check: callers pass valid indices.
    T *Select(int index)
    {
        CurrentIndex = index;
        Current = Buffer + index;
        publish();
        return Current;
    }

    T *Append()
    {
        const std::size_t bytes = std::size_t(Count + GrowBy) * sizeof(T);
        T *grown = static_cast<T *>(Buffer ? std::realloc(Buffer, bytes) : std::malloc(bytes));
        if (!grown)
            throw std::bad_alloc();
        Buffer = grown;
        Capacity = std::int32_t(bytes);
        std::memset(static_cast<void *>(Buffer + Count), 0, sizeof(T));
        ++Count;
        return Select(int(Count) - 1);
    }

    void Delete(int index)
    {
        if (index < 0 || std::uint32_t(index) >= Count)
            return;
        std::memmove(static_cast<void *>(Buffer + index), Buffer + index + 1, (Count - std::uint32_t(index) - 1) * sizeof(T));
        --Count;
        if (Count == 0) {
            std::free(Buffer);
            Buffer = nullptr;
            Capacity = 0;
        } else if (T *shrunk = static_cast<T *>(std::realloc(Buffer, Count * sizeof(T)))) {
            Buffer = shrunk;
            Capacity = std::int32_t(Count * sizeof(T));
        }
        noCurrent();
    }

    void Clear()
    {
        std::free(Buffer);
        Buffer = nullptr;
        Capacity = 0;
        Count = 0;
        noCurrent();
    }

    void Exchange(int a, int b)
    {
        if (a < 0 || b < 0 || std::uint32_t(a) >= Count || std::uint32_t(b) >= Count)
            return;
        T temp;
        std::memcpy(static_cast<void *>(&temp), Buffer + a, sizeof(T));
        std::memcpy(static_cast<void *>(Buffer + a), Buffer + b, sizeof(T));
        std::memcpy(static_cast<void *>(Buffer + b), &temp, sizeof(T));
    }

    void First()
    {
        if (Count == 0)
            return;
        CurrentIndex = 0;
        Current = Buffer;
        publish();
    }

    // Makes element CurrentIndex current and advances; false past the end.
    bool Next()
    {
        if (Count == 0 || CurrentIndex < 0 || std::uint32_t(CurrentIndex) >= Count)
            return false;
        Current = Buffer + CurrentIndex;
        ++CurrentIndex;
        publish();
        return true;
    }

    // Direct access for readers that do not move the cursor.
    T &at(int index) { return Buffer[index]; }
    const T &at(int index) const { return Buffer[index]; }
    int size() const { return int(Count); }

private:
    void noCurrent()
    {
        CurrentIndex = -1;
        Current = nullptr;
        publish();
    }
    void publish()
    {
        if (Cursor)
            *Cursor = Current;
    }

    T **Cursor;
    T *Buffer = nullptr;
    std::int32_t Capacity = 0;
};
