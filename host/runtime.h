// Runtime types shared by every layer: the 16-bit String, fixed-length Array,
// the Object root, console output and the runtime-error exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Immutable-by-convention text of 16-bit code units with value semantics.
class String {
public:
    String() = default;
    String(const char* text); // each byte becomes one code unit
    String(const std::string& text);
    String(const char16_t* units, int count);
    explicit String(std::u16string units) : units_(std::move(units)) {}
    explicit String(int value);   // "%i"
    explicit String(float value); // "%.17lg", ".0" appended when neither "." nor "e"
    explicit String(double value);

    int Length() const { return static_cast<int>(units_.size()); }
    bool IsEmpty() const { return units_.empty(); }
    int operator[](int index) const { return units_[static_cast<size_t>(index)]; }
    const char16_t* Data() const { return units_.data(); }
    const std::u16string& Units() const { return units_; }

    String operator+(const String& other) const;
    String operator+(const char* other) const { return *this + String(other); }
    String operator+(int value) const { return *this + String(value); }
    String operator+(float value) const { return *this + String(value); }
    String& operator+=(const String& other);
    bool operator==(const String& other) const { return units_ == other.units_; }
    bool operator!=(const String& other) const { return units_ != other.units_; }
    bool operator==(const char* other) const { return *this == String(other); }
    bool operator<(const String& other) const { return units_ < other.units_; }

    int Find(const String& sub, int start = 0) const;
    int FindLast(const String& sub) const;
    int FindLast(const String& sub, int start) const;
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    bool Contains(const String& sub) const { return Find(sub) >= 0; }
    String Slice(int from) const;
    String Slice(int from, int to) const;
    std::vector<String> Split(const String& separator) const;
    String Replace(const String& find, const String& with) const;
    String ToLower() const;
    String ToUpper() const;

    // 8-bit text: each code unit keeps its low byte.
    std::string ToCString() const;
    // Wide text for file names.
    std::wstring ToWString() const;

private:
    std::u16string units_;
};

String operator+(const char* left, const String& right);

// Fixed-length array created zero-filled; the length never changes.
template <class T> class Array {
public:
    Array() = default;
    explicit Array(int length) : data_(length > 0 ? new T[static_cast<size_t>(length)]() : nullptr), length_(length > 0 ? length : 0) {}
    Array(const Array& other) : Array(other.length_) {
        for (int i = 0; i < length_; ++i) data_[i] = other.data_[i];
    }
    Array(Array&&) noexcept = default;
    Array& operator=(const Array& other) {
        if (this != &other) {
            Array copy(other);
            *this = std::move(copy);
        }
        return *this;
    }
    Array& operator=(Array&&) noexcept = default;

    int Length() const { return length_; }
    T& operator[](int index) { return data_[index]; }
    const T& operator[](int index) const { return data_[index]; }
    T* Data() { return data_.get(); }
    const T* Data() const { return data_.get(); }
    T* begin() { return data_.get(); }
    T* end() { return data_.get() + length_; }
    const T* begin() const { return data_.get(); }
    const T* end() const { return data_.get() + length_; }

private:
    std::unique_ptr<T[]> data_;
    int length_ = 0;
};

// Root of every framework and game object.
class Object {
public:
    virtual ~Object() = default;
};

// Root of the host-layer objects.
class gxtkObject : public Object {};

// Writes the text as 8-bit text plus a line end to standard output and flushes.
void Print(const String& text);
void DebugLog(const String& text);

// Runtime error: empty message exits 0 silently, any other enters dbg_error.
[[noreturn]] void Error(const String& message);

// Prints "Cobalt Runtime Error : <text>", an empty line, then exits with status -1.
[[noreturn]] void dbg_error(const char* text);

// Writes the text and a line end to standard output.
void warn(const char* text);
// As warn, then exits with status -1.
[[noreturn]] void fail(const char* text);

// Root of the program's exceptions; one that escapes the program is reported.
class ThrowableObject : public Object {};
