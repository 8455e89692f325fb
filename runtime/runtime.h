// Runtime types shared by every layer: the 16-bit String, fixed-length Array,
// the Object root, console output and the runtime-error exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Immutable-by-convention text of 16-bit code units with value semantics.
// Short texts (the game's per-frame HUD lines and numbers) live inside the
// object, so building and concatenating them never touches the heap.
class String {
  public:
    static constexpr int kInlineUnits = 31;

    String() noexcept { inline_[0] = 0; }
    String(const char* text); // each byte becomes one code unit
    String(const char* text, int count);
    String(const std::string& text);
    String(const char16_t* units, int count);
    explicit String(std::u16string_view units);
    explicit String(int value);   // "%i"
    explicit String(float value); // "%.17lg", ".0" appended when neither "." nor "e"
    explicit String(double value);
    String(const String& other);
    String(String&& other) noexcept;
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    ~String() { delete[] heap_; }

    int Length() const { return length_; }
    bool IsEmpty() const { return length_ == 0; }
    int operator[](int index) const { return Data()[index]; }
    // Zero-terminated.
    const char16_t* Data() const { return heap_ ? heap_ : inline_; }
    std::u16string_view Units() const { return std::u16string_view(Data(), static_cast<size_t>(length_)); }

    String operator+(const String& other) const;
    String operator+(const char* other) const;
    String operator+(int value) const;
    String operator+(float value) const { return *this + String(value); }
    String& operator+=(const String& other);
    bool operator==(const String& other) const { return Units() == other.Units(); }
    bool operator!=(const String& other) const { return !(*this == other); }
    bool operator==(const char* other) const;
    bool operator<(const String& other) const { return Units() < other.Units(); }

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
    char16_t* heap_ = nullptr; // owned; null while the text fits inline_
    int length_ = 0;
    int capacity_ = kInlineUnits; // units that fit before the terminator
    char16_t inline_[kInlineUnits + 1];

    char16_t* Buffer() { return heap_ ? heap_ : inline_; }
    void Reserve(int units);
    void Append(const char16_t* units, int count);
    void AppendBytes(const char* bytes, int count);
};

String operator+(const char* left, const String& right);

// Fixed-length array created zero-filled; the length never changes.
template <class T> class Array {
  public:
    Array() = default;
    explicit Array(int length)
        : data_(length > 0 ? new T[static_cast<size_t>(length)]() : nullptr),
          length_(length > 0 ? length : 0) {}
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
